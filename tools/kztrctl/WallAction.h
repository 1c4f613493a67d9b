#pragma once
// set, pattern and reset from the command line: on the one connected controller, or with
// --all on every controller the scan finds, all at once.
#include "CommandLine.h"
#include "ControllerOrder.h"

// The order a set, pattern or reset request gives.
ControllerOrder OrderOf(const CtlRequest& request);

// request's set, pattern or reset on the controller session has just connected.
bool ActOnConnected(CtlSession& session, const CtlRequest& request, QString& error);

// The --all command: scans, acts on every controller found, then reports one line per
// controller in box-ID order (or, with --json, one document). Returns the exit status.
int ActOnWall(CtlSession& session, const CtlRequest& request);
