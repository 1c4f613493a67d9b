#include "JsonOutput.h"

#include "ConfigJson.h"
#include "CtlSession.h"
#include "EdidDecoder.h"
#include "RZ8Models.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

QJsonObject checksum(uint8_t expected, uint8_t read) {
    return {{"expected", expected}, {"read", read}, {"ok", expected == read}};
}

} // namespace

QJsonObject ControllerToJson(const FoundController& c) {
    return {
        {"com", c.com},
        {"boxId", c.boxId == CRZ8Ctrl::kNoBoxId ? QJsonValue() : QJsonValue(c.boxId)},
        {"model", QString(CtlSession::ModelLetter(c.model))},
        {"modelName", CtlSession::ModelName(c.model)},
        {"firmware", c.fwVer},
    };
}

QJsonObject ScanToJson(const std::vector<FoundController>& found, const QStringList& notes) {
    QJsonArray controllers;
    for (const FoundController& c : found)
        controllers.append(ControllerToJson(c));
    return {{"controllers", controllers}, {"notes", QJsonArray::fromStringList(notes)}};
}

QJsonObject SnapshotToJson(const ControllerSnapshot& snapshot) {
    QJsonObject json = ControllerToJson(snapshot.controller);
    json.insert("resolution",
                snapshot.resolution.isEmpty() ? QJsonValue() : QJsonValue(snapshot.resolution));
    json.insert("config", ConfigToJson(snapshot.config));
    if (snapshot.userPixels)
        json.insert("userPixels", QJsonObject{{"width", snapshot.userPixels->width()},
                                              {"height", snapshot.userPixels->height()}});
    return json;
}

QJsonObject EdidReadoutToJson(const EdidReadout& readout) {
    QJsonObject json = readout.controller ? ControllerToJson(*readout.controller) : QJsonObject();
    const QByteArray& bytes = readout.bytes;
    json.insert("length", bytes.size());
    json.insert("bytes", QString::fromLatin1(bytes.toHex().toUpper()));
    json.insert("headerOk", readout.headerOk);
    const BlockChecksumResult& sums = readout.sums;
    QJsonObject checksums{{"checksum0", checksum(sums.checksum0, sums.read0)}};
    if (readout.hasExtension) {
        checksums.insert("checksum1", checksum(sums.checksum1, sums.read1));
        if (sums.hasDid) checksums.insert("checksumdid", checksum(sums.checksumdid, sums.readdid));
    }
    json.insert("checksums", checksums);
    const QString polarity = PolarityText(readout.syncFlags);
    json.insert("syncPolarity",
                QJsonObject{{"byte", RZ8_EDID_SYNC_FLAGS_OFFSET},
                            {"value", readout.syncFlags},
                            {"text", polarity.isEmpty() ? QJsonValue() : QJsonValue(polarity)}});
    json.insert("decoded",
                EdidToJson(DecodeEdid(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                      size_t(bytes.size()))));
    return json;
}

QJsonObject OutcomesToJson(const QString& command, const std::vector<ControllerOutcome>& outcomes,
                           const QStringList& notes) {
    QJsonArray controllers;
    for (const ControllerOutcome& o : outcomes) {
        QJsonObject json = ControllerToJson(o.controller);
        json.insert("ok", o.ok);
        if (!o.ok) {
            json.insert("error", o.error);
        } else {
            json.insert("result", o.result);
            if (o.readBack) {
                const QString& resolution = o.readBack->resolution;
                json.insert("resolution",
                            resolution.isEmpty() ? QJsonValue() : QJsonValue(resolution));
                json.insert("config", ConfigToJson(o.readBack->config));
            }
        }
        controllers.append(json);
    }
    return {{"command", command},
            {"controllers", controllers},
            {"notes", QJsonArray::fromStringList(notes)}};
}

QByteArray JsonText(const QJsonObject& document) {
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}
