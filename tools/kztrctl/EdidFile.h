#pragma once
// kztrctl edid --file: an EDID from a file, decoded as a controller's is, with no port
// opened. Binary as the kernel gives it (/sys/class/drm/*/edid) or hex text as EDID
// tools print it.
#include "CommandLine.h"
#include "CtlRecords.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Larger files are refused unread: 256 blocks of 128 bytes, the most an EDID can have.
constexpr qint64 kEdidFileMaxBytes = 32 * 1024;

struct EdidFileRead {
    std::optional<EdidReadout> readout;
    QString error; // when readout is empty: why the file is not taken, for the operator
};

// The file's contents as an EDID: binary when it starts with the EDID header, else hex
// digits with any whitespace between them, optionally after a "edid-decode (hex):" line
// (up to the first line that is not hex). At least one whole block, header first.
EdidFileRead EdidFromBytes(const QByteArray& contents);
EdidFileRead ReadEdidFile(const QString& path);

// Prints the report (or the --json document) of request.edidFile; the process status.
int RunEdidFile(const CtlRequest& request);
