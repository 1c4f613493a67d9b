#pragma once
// The plain report of edid: controller, hex dump, checksums, sync polarity and what
// the EDID says about the monitor.
#include "CtlRecords.h"

#include <QString>
#include <QStringList>

// An incomplete block gets its controller line and dump only; an EDID from a file has
// no controller line.
QStringList EdidReportLines(const EdidReadout& readout);

// Two upper-case hex digits, as the dump shows a byte.
QString HexByte(uint8_t v);
