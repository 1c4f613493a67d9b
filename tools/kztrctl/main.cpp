// kztrctl: the controllers from the command line, over the panel's own device link.
#include "CommandLine.h"
#include "CtlOutput.h"
#include "CtlSession.h"
#include "EdidFile.h"
#include "JsonOutput.h"
#include "ModuleDirectory.h"
#include "PortsCommand.h"
#include "WallAction.h"
#include "WallFile.h"
#include "WallLoad.h"
#include "WallSave.h"

#include <QCoreApplication>

namespace {

int failed(const QString& message) {
    CtlNote(message);
    return kCtlExitFailed;
}

int scan(const CtlRequest& request, CtlSession& session) {
    QStringList notes;
    const std::vector<FoundController> found = session.Scan(kCtlFirstCom, kCtlLastScanCom, &notes);
    // In the JSON as well, but scripts that only watch stderr still hear of them.
    for (const QString& n : notes)
        CtlNote(n);
    if (found.empty()) return failed(CtlSession::NothingFound(kCtlFirstCom, kCtlLastScanCom));
    if (request.json) {
        CtlPrintRaw(JsonText(ScanToJson(found, notes)));
        return kCtlExitOk;
    }
    for (const FoundController& c : found)
        CtlPrint(CtlSession::ControllerLine(c));
    return kCtlExitOk;
}

int load(const CtlRequest& request, CtlSession& session) {
    // The whole file is checked before any port is opened.
    const WallRead wall = ReadWallFile(request.file);
    if (!wall.errors.isEmpty()) {
        for (const QString& e : wall.errors)
            CtlNote(QStringLiteral("%1: %2").arg(request.file, e));
        CtlNote(QStringLiteral("%1: nothing loaded").arg(request.file));
        return kCtlExitRefused;
    }
    return LoadWall(session, wall.entries, {request.dryRun, request.force});
}

int run(const CtlRequest& request, CtlSession& session) {
    if (request.all) return ActOnWall(session, request);
    switch (request.command) {
    case CtlCommand::Scan:
        return scan(request, session);
    case CtlCommand::Save:
        return SaveWall(session, request.com, request.file);
    case CtlCommand::Load:
        return load(request, session);
    case CtlCommand::Show: {
        ControllerSnapshot snapshot;
        QString error;
        if (!session.ReadSnapshot(request.com, snapshot, error)) return failed(error);
        if (request.json)
            CtlPrintRaw(JsonText(SnapshotToJson(snapshot)));
        else
            CtlPrintLines(session.Describe());
        return kCtlExitOk;
    }
    default:
        break;
    }

    QString error;
    if (!session.Connect(request.com, error)) return failed(error);
    switch (request.command) {
    case CtlCommand::Set:
        if (!ActOnConnected(session, request, error)) return failed(error);
        CtlPrintLines(session.Describe());
        return kCtlExitOk;
    case CtlCommand::Edid: {
        // JSON only of a whole block; the text shows what arrived of a broken one.
        bool ok = false;
        if (request.json) {
            EdidReadout readout;
            ok = session.ReadEdid(readout, error);
            if (ok) CtlPrintRaw(JsonText(EdidReadoutToJson(readout)));
        } else {
            QStringList report;
            ok = session.ReadEdid(report, error);
            CtlPrintLines(report);
        }
        return ok ? kCtlExitOk : failed(error);
    }
    case CtlCommand::Pattern:
        if (!ActOnConnected(session, request, error)) return failed(error);
        CtlPrint(QStringLiteral("COM%1: %2")
                     .arg(request.com)
                     .arg(CtlSession::PatternDone(request.pattern)));
        return kCtlExitOk;
    case CtlCommand::BoxId: {
        const int old = session.Port().GetBoxId();
        if (!session.SetBoxId(uint8_t(request.boxId), error)) return failed(error);
        CtlPrint(
            QStringLiteral("COM%1: box ID %2 -> %3").arg(request.com).arg(old).arg(request.boxId));
        return kCtlExitOk;
    }
    case CtlCommand::Reset:
        // Nothing else shows for the restart pause; say why the wait is long.
        CtlNote(QStringLiteral("COM%1: resetting; the controller takes about 10 s to restart")
                    .arg(request.com));
        if (!ActOnConnected(session, request, error)) return failed(error);
        CtlPrint(QStringLiteral("COM%1: controller reset").arg(request.com));
        return kCtlExitOk;
    default:
        return kCtlExitRefused;
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();

    const CtlParseResult parsed = ParseCtlArguments(args);
    if (!parsed.request) {
        CtlNote(QStringLiteral("%1\nTry 'kztrctl --help'.").arg(parsed.error));
        return kCtlExitRefused;
    }
    if (parsed.request->command == CtlCommand::Help) {
        CtlPrintRaw(CtlUsageText().toUtf8());
        return kCtlExitOk;
    }
    // No controller is talked to by these, so no daily log either.
    if (parsed.request->command == CtlCommand::Ports) return RunPorts(*parsed.request);
    if (!parsed.request->edidFile.isEmpty()) return RunEdidFile(*parsed.request);
    // The panel's daily log: beside the executable, or per user when that cannot be written.
    CtlSession session(ChooseFileDirectories(GetModuleDirectory()).logDir);
    return run(*parsed.request, session);
}
