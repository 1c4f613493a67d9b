#pragma once
// The command line of kztrctl: which command, which port, what to change.
#include "PortMap.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

enum class CtlCommand { Help, Scan, Show, Set, Edid, Pattern, BoxId, Reset };

struct CtlRequest {
    CtlCommand command = CtlCommand::Help;
    int com = 0;                                          // show, set, edid, pattern, boxid, reset
    std::vector<std::pair<QString, QString>> assignments; // set: field=value, in order
    QString pattern;                                      // on, rgbw or off
    int boxId = 0;                                        // boxid
};

struct CtlParseResult {
    std::optional<CtlRequest> request;
    QString error; // set when request is empty: what is wrong, for the operator
};

constexpr int kCtlFirstCom = kztr::kFirstControllerCom;
constexpr int kCtlLastScanCom = kztr::kLastControllerCom; // scan looks where the panel looks
constexpr int kCtlLastCom = 255;
constexpr int kCtlMinBoxId = 1;
constexpr int kCtlMaxBoxId = 254; // 255 means "no ID"

// args without the program name. Field names and values of set are checked here too.
CtlParseResult ParseCtlArguments(const QStringList& args);

QString CtlUsageText();
