#include "ConfigJson.h"

#include "ConfigFieldTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <cmath>
#include <limits>

namespace {

// JSON numbers go through the same text check as set, so the limits live in one place.
bool assignJson(const ConfigField& f, RZ8Full& record, const QJsonValue& v, QString& error) {
    if (f.isChoice()) {
        if (!v.isString()) {
            error = QStringLiteral("%1 must be text, one of %2; not %3")
                        .arg(QLatin1String(f.name), f.choiceList(), JsonValueText(v));
            return false;
        }
        return f.assign(record, v.toString(), error);
    }
    if (!v.isDouble()) {
        error = QStringLiteral("%1 must be a number from %2 to %3, not %4")
                    .arg(QLatin1String(f.name))
                    .arg(f.min)
                    .arg(f.max)
                    .arg(JsonValueText(v));
        return false;
    }
    const double d = v.toDouble();
    const bool whole = std::trunc(d) == d && std::abs(d) < std::numeric_limits<int>::max();
    return f.assign(record, whole ? QString::number(qint64(d)) : QString::number(d), error);
}

} // namespace

QString JsonValueText(const QJsonValue& value) {
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(wrapped.mid(1, wrapped.size() - 2));
}

QJsonObject ConfigToJson(const RZ8Full& record) {
    QJsonObject json;
    for (const ConfigField& f : ConfigFieldTable()) {
        const unsigned v = f.get(record);
        json.insert(QLatin1String(f.name),
                    f.isChoice() ? QJsonValue(f.choiceText(v)) : QJsonValue(qint64(v)));
    }
    return json;
}

bool ConfigFromJson(const QJsonObject& json, RZ8Full& record, QStringList& errors) {
    const qsizetype before = errors.size();
    for (auto it = json.begin(); it != json.end(); ++it)
        if (!FindConfigField(it.key())) errors << UnknownConfigField(it.key());
    RZ8Full result = record;
    QStringList missing;
    for (const ConfigField& f : ConfigFieldTable()) {
        const QJsonValue v = json.value(QLatin1String(f.name));
        QString error;
        if (v.isUndefined())
            missing << QLatin1String(f.name);
        else if (!assignJson(f, result, v, error))
            errors << error;
    }
    if (!missing.isEmpty())
        errors << QStringLiteral("missing field%1 %2")
                      .arg(missing.size() > 1 ? QStringLiteral("s") : QString(),
                           missing.join(QStringLiteral(", ")));
    if (errors.size() != before) return false;
    record = result;
    return true;
}
