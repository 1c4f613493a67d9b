#include "PortsFile.h"

#include "PortMap.h"
#include "PortTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <set>

namespace kztr {

std::string portsFilePath() {
    return (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/KZTRMaster/KZTRPorts.json"))
        .toStdString();
}

PortsFileRead readPortsFile(const std::string& path) {
    PortsFileRead read;
    QFile file(QString::fromStdString(path));
    if (!file.exists()) return read;
    read.status = PortsFileRead::Status::Damaged;
    if (!file.open(QIODevice::ReadOnly)) {
        read.error = "unreadable: " + file.errorString().toStdString();
        return read;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject()) {
        read.error = parseError.error != QJsonParseError::NoError
                         ? "not JSON: " + parseError.errorString().toStdString()
                         : std::string("not a JSON object");
        return read;
    }
    const QJsonValue ports = doc.object().value(QStringLiteral("ports"));
    if (!ports.isArray()) {
        read.error = "no \"ports\" list";
        return read;
    }
    std::vector<PortsFileEntry> entries;
    std::set<int> numbers;
    std::set<std::string> targets;
    for (const QJsonValue& v : ports.toArray()) {
        const QJsonObject o = v.toObject();
        const QJsonValue com = o.value(QStringLiteral("com"));
        const QJsonValue target = o.value(QStringLiteral("target"));
        const QJsonValue description = o.value(QStringLiteral("description"));
        PortsFileEntry e;
        e.com = com.isDouble() && com.toDouble() == com.toInt() ? com.toInt() : 0;
        e.target = target.toString().toStdString();
        e.description = description.toString().toStdString();
        if (!v.isObject() || e.com < kFirstControllerCom || e.com > kLastControllerCom) {
            read.error = "an entry without a COM number from 1 to 15";
            return read;
        }
        const std::string where = "COM" + std::to_string(e.com);
        if (!target.isString() || !parsePortTarget(e.target) ||
            (!description.isUndefined() && !description.isString())) {
            read.error = where + " without a valid target";
            return read;
        }
        if (!numbers.insert(e.com).second) {
            read.error = where + " twice";
            return read;
        }
        if (!targets.insert(e.target).second) {
            read.error = e.target + " twice";
            return read;
        }
        entries.push_back(std::move(e));
    }
    read.entries = std::move(entries);
    std::sort(read.entries.begin(), read.entries.end(),
              [](const PortsFileEntry& a, const PortsFileEntry& b) { return a.com < b.com; });
    read.status = PortsFileRead::Status::Ok;
    return read;
}

bool writePortsFile(const std::string& path, std::vector<PortsFileEntry> entries,
                    std::string& error) {
    std::sort(entries.begin(), entries.end(),
              [](const PortsFileEntry& a, const PortsFileEntry& b) { return a.com < b.com; });
    QJsonArray ports;
    for (const PortsFileEntry& e : entries) {
        QJsonObject o{{QStringLiteral("com"), e.com},
                      {QStringLiteral("target"), QString::fromStdString(e.target)}};
        if (!e.description.empty())
            o.insert(QStringLiteral("description"), QString::fromStdString(e.description));
        ports.append(o);
    }
    const QString name = QString::fromStdString(path);
    QDir().mkpath(QFileInfo(name).absolutePath());
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QJsonDocument(QJsonObject{{QStringLiteral("ports"), ports}}).toJson()) < 0 ||
        !file.commit()) {
        error = "cannot be written: " + file.errorString().toStdString();
        return false;
    }
    return true;
}

} // namespace kztr
