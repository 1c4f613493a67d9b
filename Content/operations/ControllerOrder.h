#pragma once
// set, pattern and reset as orders for a controller, whoever gives them (kztrctl's
// command line or a later program): the same frames whether one controller is done or a
// whole wall at once.
#include "CtlRecords.h"
#include "CtlSession.h"

#include <QString>
#include <utility>
#include <vector>

struct ControllerOrder {
    enum class Kind { Set, Pattern, Reset };
    Kind kind = Kind::Set;
    // Set: field=value, in order, already checked against the field table.
    std::vector<std::pair<QString, QString>> assignments;
    // Pattern: on, rgbw or off.
    QString pattern;
};

// The order on the controller session has just connected.
bool ActOnConnected(CtlSession& session, const ControllerOrder& order, QString& error);

// Connects each of controllers and gives it the order, all at the same time over
// sessions like like (see RunOnEachController). The outcomes are in the order of
// controllers, each with the report's words for what was done.
std::vector<ControllerOutcome> ActOnControllers(const CtlSession& like,
                                                const std::vector<FoundController>& controllers,
                                                const ControllerOrder& order);
