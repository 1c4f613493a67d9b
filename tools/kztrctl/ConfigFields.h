#pragma once
// The configuration fields kztrctl shows and sets, in operator units, with the limits
// the panel's controls allow.
#include "RZ8Full.h"

#include <QString>
#include <QStringList>

// Sets one field of record from its operator text; false with a message for an unknown
// field or a value out of range (record unchanged then).
bool ApplyConfigAssignment(RZ8Full& record, const QString& field, const QString& value,
                           QString& error);

// One line per field, "name  value", for show and set.
QStringList DescribeConfig(const RZ8Full& record, const QString& resolutionText);

// Field names, values and limits for --help.
QString ConfigFieldHelp();
