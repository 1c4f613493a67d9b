#include "WallAction.h"

#include "CtlOutput.h"
#include "JsonOutput.h"

namespace {

// The commands --all goes with, as the operator types them.
QString commandWord(CtlCommand c) {
    switch (c) {
    case CtlCommand::Set:
        return QStringLiteral("set");
    case CtlCommand::Pattern:
        return QStringLiteral("pattern");
    case CtlCommand::Reset:
        return QStringLiteral("reset");
    default:
        return QStringLiteral("command");
    }
}

} // namespace

ControllerOrder OrderOf(const CtlRequest& request) {
    ControllerOrder order;
    // The command line lets only these three come here.
    order.kind = request.command == CtlCommand::Pattern ? ControllerOrder::Kind::Pattern
                 : request.command == CtlCommand::Reset ? ControllerOrder::Kind::Reset
                                                        : ControllerOrder::Kind::Set;
    order.assignments = request.assignments;
    order.pattern = request.pattern;
    return order;
}

bool ActOnConnected(CtlSession& session, const CtlRequest& request, QString& error) {
    return ActOnConnected(session, OrderOf(request), error);
}

int ActOnWall(CtlSession& session, const CtlRequest& request) {
    QStringList notes;
    const std::vector<FoundController> found = session.Scan(kCtlFirstCom, kCtlLastScanCom, &notes);
    for (const QString& n : notes)
        CtlNote(n);
    if (found.empty()) {
        CtlNote(CtlSession::NothingFound(kCtlFirstCom, kCtlLastScanCom));
        return kCtlExitFailed;
    }
    if (request.command == CtlCommand::Reset)
        // Nothing else shows for the restart pause; they all take it together.
        CtlNote(found.size() == 1
                    ? QStringLiteral("resetting the one controller found; it takes about 10 s "
                                     "to restart")
                    : QStringLiteral("resetting %1 controllers at once; they take about 10 s "
                                     "to restart, together")
                          .arg(found.size()));

    const std::vector<ControllerOutcome> outcomes =
        ActOnControllers(session, found, OrderOf(request));

    QStringList failed;
    for (const ControllerOutcome& o : outcomes) {
        if (o.ok) continue;
        CtlNote(o.error);
        failed << CtlSession::BoxLabel(o.controller);
    }
    if (request.json) {
        CtlPrintRaw(JsonText(OutcomesToJson(commandWord(request.command), outcomes, notes)));
    } else {
        for (const ControllerOutcome& o : outcomes)
            CtlPrint(CtlSession::BoxLabel(o.controller) + QStringLiteral(": ") +
                     (o.ok ? o.result : QStringLiteral("failed: ") + o.error));
    }
    if (failed.isEmpty()) return kCtlExitOk;
    CtlNote(QStringLiteral("%1 --all: %2 of %3 controllers failed: %4")
                .arg(commandWord(request.command))
                .arg(failed.size())
                .arg(outcomes.size())
                .arg(failed.join(QStringLiteral(", "))));
    return kCtlExitFailed;
}
