#pragma once
// set, pattern and reset: on the one connected controller, or with --all on every
// controller the scan finds, all at once.
#include "CommandLine.h"
#include "CtlRecords.h"
#include "CtlSession.h"

#include <vector>

// request's set, pattern or reset on the controller session has just connected: the
// frames are the same whether one controller or a whole wall is being done.
bool ActOnConnected(CtlSession& session, const CtlRequest& request, QString& error);

// Connects each of controllers and acts on it, all at the same time over sessions like
// like (see RunOnEachController). The outcomes are in the order of controllers.
std::vector<ControllerOutcome> ActOnControllers(const CtlSession& like,
                                                const std::vector<FoundController>& controllers,
                                                const CtlRequest& request);

// The --all command: scans, acts on every controller found, then reports one line per
// controller in box-ID order (or, with --json, one document). Returns the exit status.
int ActOnWall(CtlSession& session, const CtlRequest& request);
