#include "WallFile.h"

#include "ConfigJson.h"
#include "JsonOutput.h"
#include "RZ8Ctrl.h"

#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>
#include <QSet>
#include <algorithm>
#include <map>
#include <optional>

namespace {

// Top-level keys, and those of a controller besides the required "model" and "config":
// save writes the informative ones, load does not need them.
const QSet<QString> kWallKeys = {"format", "version", "saved", "controllers"};
const QSet<QString> kEntryKeys = {"model",     "config",   "com",        "boxId",
                                  "modelName", "firmware", "resolution", "userPixels"};

QStringList unknownKeys(const QJsonObject& object, const QSet<QString>& known) {
    QStringList unknown;
    for (auto it = object.begin(); it != object.end(); ++it)
        if (!known.contains(it.key())) unknown << it.key();
    return unknown;
}

// The box ID a key names: the plain decimal number, nothing else ("03" would be a
// second key for box 3).
int boxIdOfKey(const QString& key) {
    bool ok = false;
    const int id = key.toInt(&ok, 10);
    if (!ok || QString::number(id) != key || id < kCtlMinBoxId || id > kCtlMaxBoxId) return 0;
    return id;
}

// One printable character, as scan shows the model.
std::optional<char> modelLetter(const QJsonValue& value) {
    const QString text = value.toString();
    if (!value.isString() || text.size() != 1 || text[0].unicode() <= 0x20 ||
        text[0].unicode() >= 0x7F)
        return std::nullopt;
    return char(text[0].unicode());
}

// One controller of the file; its problems go to errors with the box ID in front.
bool readEntry(int boxId, const QJsonValue& value, WallEntry& entry, QStringList& errors) {
    const QString who = QStringLiteral("box ID %1: ").arg(boxId);
    if (!value.isObject()) {
        errors << who + QStringLiteral("not a JSON object");
        return false;
    }
    const QJsonObject object = value.toObject();
    const qsizetype before = errors.size();
    for (const QString& key : unknownKeys(object, kEntryKeys))
        errors << who + QStringLiteral("unknown field \"%1\"").arg(key);
    const QJsonValue id = object.value("boxId");
    if (!id.isUndefined() && id.toInt(-1) != boxId)
        errors << who + QStringLiteral("boxId says %1; the key says %2")
                            .arg(JsonValueText(id))
                            .arg(boxId);
    const QJsonValue model = object.value("model");
    const std::optional<char> letter = modelLetter(model);
    if (model.isUndefined())
        errors << who + QStringLiteral("missing field model");
    else if (!letter)
        errors << who + QStringLiteral("model must be the model letter, e.g. \"D\"");
    else
        entry.model = *letter;
    const QJsonValue config = object.value("config");
    QStringList configErrors;
    if (config.isUndefined())
        errors << who + QStringLiteral("missing field config");
    else if (!config.isObject())
        errors << who + QStringLiteral("config must be a JSON object of fields");
    else if (!ConfigFromJson(config.toObject(), entry.config, configErrors))
        for (const QString& e : configErrors)
            errors << who + e;
    entry.boxId = boxId;
    return errors.size() == before;
}

} // namespace

WallRead ParseWall(const QByteArray& text) {
    WallRead read;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &parseError);
    if (doc.isNull()) {
        read.errors << QStringLiteral("not valid JSON: %1 at byte %2")
                           .arg(parseError.errorString())
                           .arg(parseError.offset);
        return read;
    }
    if (!doc.isObject()) {
        read.errors << QStringLiteral("not a wall file: the document is not a JSON object");
        return read;
    }
    const QJsonObject wall = doc.object();
    const QJsonValue format = wall.value("format");
    if (format.toString() != QLatin1String(kWallFormat)) {
        // Anything else is not ours: say so and look no further.
        read.errors << QStringLiteral("not a wall file: \"format\" must be \"%1\"")
                           .arg(QLatin1String(kWallFormat));
        return read;
    }
    const QJsonValue version = wall.value("version");
    if (!version.isDouble() || version.toDouble() != kWallVersion) {
        read.errors << QStringLiteral("wall file version %1 is not supported; this kztrctl "
                                      "reads version %2")
                           .arg(version.isUndefined() ? QStringLiteral("(none)")
                                                      : JsonValueText(version))
                           .arg(kWallVersion);
        return read;
    }
    for (const QString& key : unknownKeys(wall, kWallKeys))
        read.errors << QStringLiteral("unknown field \"%1\"").arg(key);
    const QJsonValue controllers = wall.value("controllers");
    if (!controllers.isObject()) {
        read.errors << QStringLiteral("\"controllers\" must be a JSON object keyed by box ID");
        return read;
    }
    const QJsonObject byId = controllers.toObject();
    if (byId.isEmpty()) read.errors << QStringLiteral("the file lists no controller");
    std::vector<WallEntry> entries;
    for (auto it = byId.begin(); it != byId.end(); ++it) {
        const int id = boxIdOfKey(it.key());
        if (id == 0) {
            read.errors << QStringLiteral("controller key \"%1\" is not a box ID from %2 to %3")
                               .arg(it.key())
                               .arg(kCtlMinBoxId)
                               .arg(kCtlMaxBoxId);
            continue;
        }
        WallEntry entry;
        if (readEntry(id, it.value(), entry, read.errors)) entries.push_back(entry);
    }
    if (!read.errors.isEmpty()) return read;
    std::sort(entries.begin(), entries.end(),
              [](const WallEntry& a, const WallEntry& b) { return a.boxId < b.boxId; });
    read.entries = std::move(entries);
    return read;
}

WallRead ReadWallFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        WallRead read;
        read.errors << QStringLiteral("cannot read the file: %1").arg(file.errorString());
        return read;
    }
    return ParseWall(file.readAll());
}

QStringList UnkeyableControllers(const std::vector<FoundController>& controllers) {
    std::map<int, QStringList> comsById;
    for (const FoundController& c : controllers)
        comsById[c.boxId] << QStringLiteral("COM%1").arg(c.com);
    QStringList problems;
    for (const auto& [id, coms] : comsById) {
        if (id == CRZ8Ctrl::kNoBoxId)
            problems << QStringLiteral("%1 %2 no box ID; give %3 one with boxid")
                            .arg(coms.join(QStringLiteral(", ")),
                                 coms.size() > 1 ? QStringLiteral("have") : QStringLiteral("has"),
                                 coms.size() > 1 ? QStringLiteral("each") : QStringLiteral("it"));
        else if (coms.size() > 1)
            problems << QStringLiteral("box ID %1 is on %2; give them unique IDs with boxid")
                            .arg(id)
                            .arg(coms.join(QStringLiteral(" and ")));
    }
    return problems;
}

QJsonObject WallToJson(const std::vector<ControllerSnapshot>& snapshots, const QDateTime& savedAt) {
    QJsonObject controllers;
    for (const ControllerSnapshot& s : snapshots) {
        QJsonObject entry = SnapshotToJson(s);
        entry.remove("boxId");
        controllers.insert(QString::number(s.controller.boxId), entry);
    }
    return {{"format", QLatin1String(kWallFormat)},
            {"version", kWallVersion},
            {"saved", savedAt.toOffsetFromUtc(savedAt.offsetFromUtc()).toString(Qt::ISODate)},
            {"controllers", controllers}};
}

bool WriteWallFile(const QString& path, const QJsonObject& wall, QString& error) {
    QSaveFile file(path);
    const QByteArray text = JsonText(wall);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
