#pragma once
// The documents of --json: every document about one controller starts with the fields
// of its scan entry, so scripts read scan, show, edid and the wall file alike.
#include "CtlRecords.h"

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>
#include <vector>

// com, boxId (null for a controller without an ID), model, modelName, firmware.
QJsonObject ControllerToJson(const FoundController& c);
// {"controllers": [...], "notes": [...]}.
QJsonObject ScanToJson(const std::vector<FoundController>& found, const QStringList& notes);
// The controller, "resolution", "config" (see ConfigJson) and, on the user-defined
// position, "userPixels": {"width", "height"}.
QJsonObject SnapshotToJson(const ControllerSnapshot& snapshot);
// The controller, the bytes as hex text, the checks of the plain report and the
// decoded EDID under "decoded".
QJsonObject EdidReadoutToJson(const EdidReadout& readout);

// What --all did: {"command": "set", "controllers": [...], "notes": [...]}, each
// controller with "ok" and "error" or "result"; after set also "resolution" and
// "config" as read back.
QJsonObject OutcomesToJson(const QString& command, const std::vector<ControllerOutcome>& outcomes,
                           const QStringList& notes);

// Indented, as printed.
QByteArray JsonText(const QJsonObject& document);
