#pragma once
// Every accessibility event the process sends, as a platform bridge receives it. Qt only
// hands events to its update handler while a screen reader is active, which never happens
// offscreen; a bridge gets them all. Link kztr_a11ytestsupport and call Clear() first.
#include <QAccessible>
#include <QString>
#include <QVariant>

#include <vector>

namespace kztr::test {

struct AccessibleEventRecord {
    QAccessible::Event type;
    QString name;               // the object's name when the event was sent
    QAccessible::State changed; // StateChanged only
    QVariant value;             // ValueChanged only
};

class AccessibleEventLog {
public:
    static std::vector<AccessibleEventRecord>& Events();
    static void Clear() { Events().clear(); }
    // Events of one type for the object of that name.
    static std::vector<AccessibleEventRecord> Of(QAccessible::Event type, const QString& name);
};

} // namespace kztr::test
