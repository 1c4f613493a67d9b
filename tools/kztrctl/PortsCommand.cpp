#include "PortsCommand.h"

#include "CtlOutput.h"
#include "JsonOutput.h"
#include "PortMap.h"

#include <QJsonArray>

namespace {

using kztr::ComPortView;

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QString originName(ComPortView::Origin o) {
    switch (o) {
    case ComPortView::Origin::Free:
        return QStringLiteral("free");
    case ComPortView::Origin::PortDir:
        return QStringLiteral("RZ8_PORT_DIR");
    case ComPortView::Origin::PortMap:
        return QStringLiteral("RZ8_PORT_MAP");
    case ComPortView::Origin::PortsFile:
        return QStringLiteral("ports file");
    case ComPortView::Origin::Default:
        return QStringLiteral("default");
    }
    return {};
}

QString line(const ComPortView& v) {
    const QString com = QStringLiteral("COM%1").arg(v.com);
    if (v.origin == ComPortView::Origin::Free) return com + QStringLiteral("  free");
    QString state;
    if (v.network) {
        state = QStringLiteral("network port");
    } else if (v.present) {
        state = QStringLiteral("present");
        if (v.device) {
            state += QStringLiteral(": ") + text(v.device->kernelName);
            if (!v.device->description().empty())
                state += QStringLiteral(", ") + text(v.device->description());
        }
    } else {
        state = QStringLiteral("not present");
        if (!v.lastSeen.empty()) state += QStringLiteral(" (last seen: %1)").arg(text(v.lastSeen));
    }
    if (v.origin != ComPortView::Origin::PortsFile)
        state += QStringLiteral(" [%1]").arg(originName(v.origin));
    return QStringLiteral("%1  %2  %3").arg(com, text(v.target), state);
}

QJsonValue orNull(const std::string& s) {
    return s.empty() ? QJsonValue() : QJsonValue(text(s));
}

void note(const kztr::PortsOverview& o) {
    for (const std::string& n : o.notes)
        CtlNote(text(n));
}

} // namespace

QStringList PortsLines() {
    const kztr::PortsOverview overview = kztr::describePorts();
    note(overview);
    QStringList lines;
    for (const ComPortView& v : overview.ports)
        lines << line(v);
    return lines;
}

QJsonObject PortsJson() {
    const kztr::PortsOverview overview = kztr::describePorts();
    note(overview);
    QJsonArray ports;
    for (const ComPortView& v : overview.ports) {
        QJsonValue device;
        if (v.device)
            device = QJsonObject{{QStringLiteral("kernelName"), text(v.device->kernelName)},
                                 {QStringLiteral("stableName"), text(v.device->stableName)},
                                 {QStringLiteral("maker"), orNull(v.device->maker)},
                                 {QStringLiteral("product"), orNull(v.device->product)},
                                 {QStringLiteral("serialNumber"), orNull(v.device->serialNumber)},
                                 {QStringLiteral("usb"), v.device->usb}};
        ports.append(QJsonObject{{QStringLiteral("com"), v.com},
                                 {QStringLiteral("target"), orNull(v.target)},
                                 {QStringLiteral("origin"), originName(v.origin)},
                                 {QStringLiteral("network"), v.network},
                                 {QStringLiteral("present"), v.present},
                                 {QStringLiteral("device"), device},
                                 {QStringLiteral("lastSeen"), orNull(v.lastSeen)}});
    }
    QJsonArray notes;
    for (const std::string& n : overview.notes)
        notes.append(text(n));
    return {{QStringLiteral("portsFile"), text(overview.filePath)},
            {QStringLiteral("damaged"), overview.fileDamaged},
            {QStringLiteral("notes"), notes},
            {QStringLiteral("ports"), ports}};
}

int RunPorts(const CtlRequest& request) {
    std::string message;
    kztr::PortsEdit result = kztr::PortsEdit::Done;
    switch (request.portsAction) {
    case CtlPortsAction::List:
        if (request.json)
            CtlPrintRaw(JsonText(PortsJson()));
        else
            CtlPrintLines(PortsLines());
        return kCtlExitOk;
    case CtlPortsAction::Set:
        result = kztr::assignComPort(request.portCom, request.portTarget.toStdString(), message);
        break;
    case CtlPortsAction::Forget:
        result = kztr::forgetComPort(request.portCom, message);
        break;
    }
    if (result != kztr::PortsEdit::Done) {
        CtlNote(text(message));
        return kCtlExitFailed;
    }
    CtlPrint(text(message));
    return kCtlExitOk;
}
