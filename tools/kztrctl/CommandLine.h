#pragma once
// The command line of kztrctl: which command, which port, what to change.
#include "CtlRecords.h"
#include "PortMap.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

enum class CtlCommand { Help, Scan, Show, Set, Edid, Pattern, BoxId, Reset, Save, Load, Ports };

// ports: list them, give a number a port, or free it.
enum class CtlPortsAction { List, Set, Forget };

struct CtlRequest {
    CtlCommand command = CtlCommand::Help;
    int com = 0;      // show, set, edid, pattern, boxid, reset; save (0 = every controller)
    bool all = false; // set, pattern, reset: every controller found, instead of --com
    std::vector<std::pair<QString, QString>> assignments; // set: field=value, in order
    QString pattern;                                      // on, rgbw or off
    int boxId = 0;                                        // boxid
    QString file;                                         // save, load
    QString edidFile;                                     // edid --file, instead of --com
    bool json = false;                                    // scan, show, edid; with all
    bool dryRun = false;                                  // load
    bool force = false;                                   // load
    CtlPortsAction portsAction = CtlPortsAction::List;    // ports
    int portCom = 0;                                      // ports set, ports forget
    QString portTarget;                                   // ports set
};

// What the process returns; --help states them.
enum CtlExitStatus {
    kCtlExitOk = 0,
    kCtlExitFailed = 1,  // a port or controller failed, or a load did not match
    kCtlExitRefused = 2, // usage error, or a wall file or wall refused before writing
};

struct CtlParseResult {
    std::optional<CtlRequest> request;
    QString error; // set when request is empty: what is wrong, for the operator
};

constexpr int kCtlFirstCom = kztr::kFirstControllerCom;
constexpr int kCtlLastScanCom = kztr::kLastControllerCom; // scan looks where the panel looks
constexpr int kCtlLastCom = 255;

// args without the program name. Field names and values of set are checked here too.
CtlParseResult ParseCtlArguments(const QStringList& args);

QString CtlUsageText();
