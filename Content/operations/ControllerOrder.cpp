#include "ControllerOrder.h"

#include "ConfigFields.h"
#include "WallRun.h"

namespace {

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
                           const ControllerOrder& order) {
    ControllerOutcome outcome;
    outcome.controller = controller;
    if (!session.Connect(controller.com, outcome.error) ||
        !ActOnConnected(session, order, outcome.error))
        return outcome;
    outcome.ok = true;
    switch (order.kind) {
    case ControllerOrder::Kind::Set:
        outcome.result = setDone(session.m_hOldRZ8Full, session.m_hTmpRZ8Full);
        outcome.readBack = session.LastRead();
        break;
    case ControllerOrder::Kind::Pattern:
        outcome.result = CtlSession::PatternDone(order.pattern);
        break;
    case ControllerOrder::Kind::Reset:
        outcome.result = QStringLiteral("controller reset");
        break;
    }
    return outcome;
}

} // namespace

bool ActOnConnected(CtlSession& session, const ControllerOrder& order, QString& error) {
    switch (order.kind) {
    case ControllerOrder::Kind::Set:
        for (const auto& [field, value] : order.assignments) {
            QString ignored; // checked when the order was made
            ApplyConfigAssignment(session.m_hCurRZ8Full, field, value, ignored);
        }
        return session.WriteCurrent(error);
    case ControllerOrder::Kind::Pattern:
        return session.Pattern(order.pattern, error);
    case ControllerOrder::Kind::Reset:
        return session.Reset(error);
    }
    return false;
}

std::vector<ControllerOutcome> ActOnControllers(const CtlSession& like,
                                                const std::vector<FoundController>& controllers,
                                                const ControllerOrder& order) {
    std::vector<ControllerOutcome> outcomes(controllers.size());
    RunOnEachController(like, controllers.size(), [&](size_t p, CtlSession& session) {
        outcomes[p] = actOnOne(session, controllers[p], order);
    });
    return outcomes;
}
