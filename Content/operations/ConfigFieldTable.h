#pragma once
// The one table of configuration fields kztrctl knows: names, limits, choices and where
// each sits in the record. The text of show and set, the JSON of show and the wall
// file all go through it, so a field added here is everywhere at once.
#include "RZ8Full.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

struct ConfigChoice {
    QStringList texts; // accepted spellings, lower case; the first is the one shown
    unsigned value;
};

struct ConfigField {
    const char* name;
    const char* help;
    int min, max;                      // numeric fields; choices ignore them
    std::vector<ConfigChoice> choices; // empty: a number
    std::function<unsigned(const RZ8Full&)> get;
    std::function<void(RZ8Full&, unsigned)> set;
    const char* unit; // after a number in text, e.g. " Hz"; JSON numbers go without it
    const char* note; // after the values in --help, or empty

    bool isChoice() const { return !choices.empty(); }
    // The shown spelling of a stored value; the bare number when no choice has it.
    QString choiceText(unsigned value) const;
    // "8, 10"; other accepted spellings in brackets: "+ (or positive, pos), ...".
    QString choiceList() const;
    // The value as show prints it, e.g. "75 Hz" or "+".
    QString shown(const RZ8Full& record) const;
    // Sets the field from the operator's text with the checks of set; false with a
    // message (record unchanged then).
    bool assign(RZ8Full& record, const QString& text, QString& error) const;
};

// In the order show lists them.
const std::vector<ConfigField>& ConfigFieldTable();
// By its lower-case name; nullptr for a name that is not a field.
const ConfigField* FindConfigField(const QString& name);
// "unknown field "x"; known fields: mode, vr, ..." for the operator.
QString UnknownConfigField(const QString& name);
