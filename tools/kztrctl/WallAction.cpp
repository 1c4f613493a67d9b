#include "WallAction.h"

#include "ConfigFields.h"
#include "CtlOutput.h"
#include "JsonOutput.h"
#include "WallRun.h"

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

// The report's words for a done set: what the controller holds now that it did not.
QString setDone(const RZ8Full& before, const RZ8Full& after) {
    const std::vector<ConfigChange> changes = DiffConfig(before, after);
    if (changes.empty()) return QStringLiteral("applied, nothing changed");
    QStringList parts;
    for (const ConfigChange& c : changes)
        parts << QStringLiteral("%1: %2 -> %3").arg(c.field, c.before, c.after);
    return QStringLiteral("applied, ") + parts.join(QStringLiteral(", "));
}

ControllerOutcome actOnOne(CtlSession& session, const FoundController& controller,
                           const CtlRequest& request) {
    ControllerOutcome outcome;
    outcome.controller = controller;
    if (!session.Connect(controller.com, outcome.error) ||
        !ActOnConnected(session, request, outcome.error))
        return outcome;
    outcome.ok = true;
    switch (request.command) {
    case CtlCommand::Set:
        outcome.result = setDone(session.m_hOldRZ8Full, session.m_hTmpRZ8Full);
        outcome.readBack = session.LastRead();
        break;
    case CtlCommand::Pattern:
        outcome.result = CtlSession::PatternDone(request.pattern);
        break;
    default:
        outcome.result = QStringLiteral("controller reset");
        break;
    }
    return outcome;
}

} // namespace

bool ActOnConnected(CtlSession& session, const CtlRequest& request, QString& error) {
    switch (request.command) {
    case CtlCommand::Set:
        for (const auto& [field, value] : request.assignments) {
            QString ignored; // checked when the command line was read
            ApplyConfigAssignment(session.m_hCurRZ8Full, field, value, ignored);
        }
        return session.WriteCurrent(error);
    case CtlCommand::Pattern:
        return session.Pattern(request.pattern, error);
    case CtlCommand::Reset:
        return session.Reset(error);
    default:
        // The command line lets no other command come here.
        error = QStringLiteral("not a command for every controller");
        return false;
    }
}

std::vector<ControllerOutcome> ActOnControllers(const CtlSession& like,
                                                const std::vector<FoundController>& controllers,
                                                const CtlRequest& request) {
    std::vector<ControllerOutcome> outcomes(controllers.size());
    RunOnEachController(like, controllers.size(), [&](size_t p, CtlSession& session) {
        outcomes[p] = actOnOne(session, controllers[p], request);
    });
    return outcomes;
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

    const std::vector<ControllerOutcome> outcomes = ActOnControllers(session, found, request);

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
