#pragma once
// kztrctl ports: what each COM number names, and changing the per-user ports file.
#include "CommandLine.h"

#include <QJsonObject>
#include <QStringList>

// Lists, sets or forgets as the request says; the process status.
int RunPorts(const CtlRequest& request);

// The listing of kztr::describePorts(), as text lines and as the --json document.
QStringList PortsLines();
QJsonObject PortsJson();
