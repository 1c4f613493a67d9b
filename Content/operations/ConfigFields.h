#pragma once
// The configuration fields kztrctl shows and sets, in operator units, with the limits
// the panel's controls allow (see ConfigFieldTable for the fields themselves).
#include "RZ8Full.h"

#include <QString>
#include <QStringList>
#include <vector>

// Sets one field of record from its operator text; false with a message for an unknown
// field or a value out of range (record unchanged then).
bool ApplyConfigAssignment(RZ8Full& record, const QString& field, const QString& value,
                           QString& error);

// One line per field, "name  value", for show and set.
QStringList DescribeConfig(const RZ8Full& record, const QString& resolutionText);

// Field names, values and limits for --help.
QString ConfigFieldHelp();

// Copies every field into to; the rest of to (header, command parameter) stays.
void CopyConfigFields(const RZ8Full& from, RZ8Full& to);

struct ConfigChange {
    QString field;
    QString before; // as show prints it, e.g. "60 Hz"
    QString after;
};

// The fields whose values differ, in the order show lists them.
std::vector<ConfigChange> DiffConfig(const RZ8Full& before, const RZ8Full& after);
