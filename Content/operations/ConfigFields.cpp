#include "ConfigFields.h"

#include "ConfigFieldTable.h"

bool ApplyConfigAssignment(RZ8Full& record, const QString& field, const QString& value,
                           QString& error) {
    const ConfigField* f = FindConfigField(field.toLower());
    if (!f) {
        error = UnknownConfigField(field);
        return false;
    }
    return f->assign(record, value, error);
}

QStringList DescribeConfig(const RZ8Full& record, const QString& resolutionText) {
    QStringList lines;
    lines << QStringLiteral("%1  %2 (mode %3)")
                 .arg(QStringLiteral("resolution"), -10)
                 .arg(resolutionText.isEmpty() ? QStringLiteral("?") : resolutionText)
                 .arg(int(record.hRZ8Data.I_output_mode));
    for (const ConfigField& f : ConfigFieldTable()) {
        if (QLatin1String(f.name) == QLatin1String("mode")) continue;
        lines << QStringLiteral("%1  %2").arg(QLatin1String(f.name), -10).arg(f.shown(record));
    }
    return lines;
}

QString ConfigFieldHelp() {
    QString text;
    for (const ConfigField& f : ConfigFieldTable()) {
        const QString values =
            f.isChoice()
                ? f.choiceList()
                : QStringLiteral("%1 to %2%3").arg(f.min).arg(f.max).arg(QLatin1String(f.unit));
        QString line = QStringLiteral("  %1  %2: %3")
                           .arg(QLatin1String(f.name), -8)
                           .arg(QLatin1String(f.help), values);
        if (*f.note) line += QLatin1Char(' ') + QLatin1String(f.note);
        text += line + QLatin1Char('\n');
    }
    return text;
}

void CopyConfigFields(const RZ8Full& from, RZ8Full& to) {
    for (const ConfigField& f : ConfigFieldTable())
        f.set(to, f.get(from));
}

std::vector<ConfigChange> DiffConfig(const RZ8Full& before, const RZ8Full& after) {
    std::vector<ConfigChange> changes;
    for (const ConfigField& f : ConfigFieldTable())
        if (f.get(before) != f.get(after))
            changes.push_back({QLatin1String(f.name), f.shown(before), f.shown(after)});
    return changes;
}
