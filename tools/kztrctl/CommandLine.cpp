#include "CommandLine.h"

#include "ConfigFields.h"

namespace {

std::optional<CtlCommand> commandNamed(const QString& name) {
    static const std::vector<std::pair<QString, CtlCommand>> names = {
        {"help", CtlCommand::Help},   {"scan", CtlCommand::Scan},
        {"show", CtlCommand::Show},   {"set", CtlCommand::Set},
        {"edid", CtlCommand::Edid},   {"pattern", CtlCommand::Pattern},
        {"boxid", CtlCommand::BoxId}, {"reset", CtlCommand::Reset},
        {"save", CtlCommand::Save},   {"load", CtlCommand::Load},
        {"ports", CtlCommand::Ports},
    };
    for (const auto& [n, c] : names)
        if (n == name) return c;
    return std::nullopt;
}

CtlParseResult fail(const QString& message) {
    return {std::nullopt, message};
}

// Whole decimal number within [min, max].
std::optional<int> number(const QString& text, int min, int max) {
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok || v < min || v > max) return std::nullopt;
    return v;
}

// The flags that are not --com, or nullptr for an unknown option.
bool* flagNamed(const QString& option, CtlRequest& request) {
    if (option == QLatin1String("--json")) return &request.json;
    if (option == QLatin1String("--dry-run")) return &request.dryRun;
    if (option == QLatin1String("--force")) return &request.force;
    if (option == QLatin1String("--all")) return &request.all;
    return nullptr;
}

// The commands that act on every controller with --all.
bool wallCommand(CtlCommand c) {
    return c == CtlCommand::Set || c == CtlCommand::Pattern || c == CtlCommand::Reset;
}

// What a command takes in place of --com, for the message when neither is given.
QString instead(CtlCommand c) {
    if (wallCommand(c)) return QStringLiteral(" or --all");
    if (c == CtlCommand::Edid) return QStringLiteral(" or --file PATH");
    return {};
}

// A flag given to a command it does not belong to.
QString misplacedFlag(const CtlRequest& r) {
    if (r.all && !wallCommand(r.command))
        return QStringLiteral("--all goes with set, pattern and reset");
    const bool jsonCommand = r.command == CtlCommand::Scan || r.command == CtlCommand::Show ||
                             r.command == CtlCommand::Edid || r.command == CtlCommand::Ports ||
                             r.all;
    if (r.json && !jsonCommand)
        return QStringLiteral("--json goes with scan, show and edid, ports alone, and --all");
    if (r.command == CtlCommand::Load) return {};
    if (r.dryRun) return QStringLiteral("--dry-run goes with load only");
    if (r.force) return QStringLiteral("--force goes with load only");
    return {};
}

// save and load: one file name.
CtlParseResult withFile(CtlRequest request, const QStringList& positional, const QString& name,
                        const char* usage) {
    if (positional.size() != 1)
        return fail(QStringLiteral("%1 needs one file name: kztrctl %1 %2")
                        .arg(name, QLatin1String(usage)));
    if (positional[0].isEmpty()) return fail(QStringLiteral("the file name is empty"));
    request.file = positional[0];
    return {request, {}};
}

// ports, ports set N TARGET, ports forget N.
CtlParseResult withPorts(CtlRequest request, const QStringList& positional) {
    const QString action = positional.value(0);
    if (positional.isEmpty()) return {request, {}};
    const int wanted = action == QLatin1String("set")      ? 3
                       : action == QLatin1String("forget") ? 2
                                                           : 0;
    if (wanted == 0)
        return fail(QStringLiteral("ports takes set or forget, not \"%1\"").arg(action));
    if (request.json)
        return fail(QStringLiteral("--json goes with ports alone, not ports %1").arg(action));
    if (positional.size() != wanted)
        return fail(wanted == 3
                        ? QStringLiteral("ports set needs a COM number and a port: kztrctl "
                                         "ports set N /dev/...|rfc2217://HOST:PORT|tcp://HOST:PORT")
                        : QStringLiteral("ports forget needs one COM number"));
    const std::optional<int> com = number(positional[1], kCtlFirstCom, kCtlLastScanCom);
    if (!com)
        return fail(QStringLiteral("ports %1 needs a COM number from %2 to %3, not \"%4\"")
                        .arg(action)
                        .arg(kCtlFirstCom)
                        .arg(kCtlLastScanCom)
                        .arg(positional[1]));
    request.portCom = *com;
    if (wanted == 2) {
        request.portsAction = CtlPortsAction::Forget;
        return {request, {}};
    }
    const QString target = positional[2];
    const auto parsed = kztr::parsePortTarget(target.toStdString());
    if (!parsed || (!parsed->isNetwork() && !target.startsWith(QLatin1Char('/'))))
        return fail(QStringLiteral("\"%1\" is not a device path (/dev/...) or a network port "
                                   "(rfc2217://HOST:PORT, tcp://HOST:PORT)")
                        .arg(target));
    request.portsAction = CtlPortsAction::Set;
    request.portTarget = target;
    return {request, {}};
}

} // namespace

CtlParseResult ParseCtlArguments(const QStringList& args) {
    if (args.isEmpty()) return fail(QStringLiteral("no command given"));
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h")))
        return {CtlRequest{}, {}};

    const std::optional<CtlCommand> command = commandNamed(args[0]);
    if (!command) return fail(QStringLiteral("unknown command \"%1\"").arg(args[0]));
    CtlRequest request;
    request.command = *command;

    QStringList positional;
    bool haveCom = false;
    bool haveFile = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        QString comText;
        if (a == QLatin1String("--file") || a.startsWith(QLatin1String("--file="))) {
            if (a == QLatin1String("--file") && i + 1 >= args.size())
                return fail(QStringLiteral("--file needs a file name"));
            request.edidFile = a == QLatin1String("--file") ? args[++i] : a.mid(7);
            if (request.edidFile.isEmpty()) return fail(QStringLiteral("the file name is empty"));
            haveFile = true;
            continue;
        }
        if (a == QLatin1String("--com")) {
            if (i + 1 >= args.size()) return fail(QStringLiteral("--com needs a COM number"));
            comText = args[++i];
        } else if (a.startsWith(QLatin1String("--com="))) {
            comText = a.mid(6);
        } else if (bool* flag = flagNamed(a, request)) {
            *flag = true;
            continue;
        } else if (a.startsWith(QLatin1String("--"))) {
            return fail(QStringLiteral("unknown option \"%1\"").arg(a));
        } else {
            positional << a;
            continue;
        }
        const std::optional<int> com = number(comText, kCtlFirstCom, kCtlLastCom);
        if (!com)
            return fail(QStringLiteral("--com needs a COM number from %1 to %2, not \"%3\"")
                            .arg(kCtlFirstCom)
                            .arg(kCtlLastCom)
                            .arg(comText));
        request.com = *com;
        haveCom = true;
    }

    const QString name = args[0];
    const QString misplaced = misplacedFlag(request);
    if (!misplaced.isEmpty()) return fail(misplaced);
    if (haveFile && request.command != CtlCommand::Edid)
        return fail(QStringLiteral("--file goes with edid only"));
    if (haveFile) {
        if (haveCom)
            return fail(QStringLiteral("edid takes either --com N or --file PATH, not both"));
        if (!positional.isEmpty())
            return fail(QStringLiteral("edid takes no arguments, got \"%1\"").arg(positional[0]));
        return {request, {}};
    }
    switch (request.command) {
    case CtlCommand::Help:
    case CtlCommand::Scan:
        if (haveCom) return fail(QStringLiteral("%1 takes no --com").arg(name));
        if (!positional.isEmpty())
            return fail(
                QStringLiteral("%1 takes no arguments, got \"%2\"").arg(name, positional[0]));
        return {request, {}};
    case CtlCommand::Save:
        return withFile(request, positional, name, "[--com N] FILE");
    case CtlCommand::Ports:
        if (haveCom)
            return fail(QStringLiteral("ports takes no --com: kztrctl ports set N TARGET"));
        return withPorts(request, positional);
    case CtlCommand::Load:
        if (haveCom)
            return fail(QStringLiteral("load takes no --com: it finds the controllers by box ID"));
        return withFile(request, positional, name, "FILE [--dry-run] [--force]");
    default:
        break;
    }
    if (haveCom && request.all)
        return fail(QStringLiteral("%1 takes either --com N or --all, not both").arg(name));
    if (!haveCom && !request.all)
        return fail(QStringLiteral("%1 needs --com N%2").arg(name, instead(request.command)));

    switch (request.command) {
    case CtlCommand::Show:
    case CtlCommand::Edid:
    case CtlCommand::Reset:
        if (!positional.isEmpty())
            return fail(
                QStringLiteral("%1 takes no arguments, got \"%2\"").arg(name, positional[0]));
        break;
    case CtlCommand::Set: {
        if (positional.isEmpty()) return fail(QStringLiteral("set needs at least one field=value"));
        RZ8Full probe{};
        for (const QString& p : positional) {
            const int eq = p.indexOf(QLatin1Char('='));
            if (eq <= 0) return fail(QStringLiteral("\"%1\" is not field=value").arg(p));
            const QString field = p.left(eq).toLower();
            const QString value = p.mid(eq + 1);
            QString error;
            if (!ApplyConfigAssignment(probe, field, value, error)) return fail(error);
            request.assignments.emplace_back(field, value);
        }
        break;
    }
    case CtlCommand::Pattern: {
        static const QStringList modes = {"on", "rgbw", "off"};
        if (positional.size() != 1)
            return fail(QStringLiteral("pattern needs one of on, rgbw, off"));
        if (!modes.contains(positional[0].toLower()))
            return fail(QStringLiteral("pattern needs one of on, rgbw, off; not \"%1\"")
                            .arg(positional[0]));
        request.pattern = positional[0].toLower();
        break;
    }
    case CtlCommand::BoxId: {
        if (positional.size() != 1)
            return fail(QStringLiteral("boxid needs the new box ID (one number)"));
        const std::optional<int> id = number(positional[0], kCtlMinBoxId, kCtlMaxBoxId);
        if (!id)
            return fail(QStringLiteral("box ID must be a number from %1 to %2, not \"%3\"")
                            .arg(kCtlMinBoxId)
                            .arg(kCtlMaxBoxId)
                            .arg(positional[0]));
        request.boxId = *id;
        break;
    }
    default:
        break;
    }
    return {request, {}};
}

QString CtlUsageText() {
    return QStringLiteral(
               "Usage: kztrctl <command> [--com N | --all] [arguments] [options]\n"
               "\n"
               "Talks to RZ8 controllers on their serial ports (COM<n>; with RZ8_PORT_DIR set,\n"
               "$RZ8_PORT_DIR/COM<n>, e.g. controllers simulated by rz8sim).\n"
               "\n"
               "Commands:\n"
               "  scan [--json]            probe COM1 to COM15 and list the controllers found,\n"
               "                           sorted by box ID: COM number, box ID, model letter,\n"
               "                           model name, firmware. Every port is asked at once,\n"
               "                           so ports that open without a controller cost 5 s\n"
               "                           together; such ports, and ports that exist but\n"
               "                           cannot be opened, are named on stderr.\n"
               "  show --com N [--json]    the controller's configuration in operator units\n"
               "  set --com N field=value ...\n"
               "                           read the configuration, change the named fields,\n"
               "                           apply it (command 0x00), read it back and show it\n"
               "  set --all field=value ... [--json]\n"
               "                           the same on every controller found, all at once;\n"
               "                           one line each: what changed, or why it failed\n"
               "  edid --com N [--json]    read the EDID: hex dump, checksum results, sync\n"
               "                           polarity, what it says about the monitor\n"
               "  edid --file PATH [--json]\n"
               "                           the same for an EDID in a file, no port opened:\n"
               "                           binary (as /sys/class/drm/*/edid holds it) or hex\n"
               "                           text (whitespace ignored), at most 32 KiB; the\n"
               "                           controller's fields left out. Status 2 for a file\n"
               "                           that is not an EDID\n"
               "  pattern --com N on|rgbw|off\n"
               "  pattern --all on|rgbw|off [--json]\n"
               "                           test pattern on, RGBW pattern on, or both off\n"
               "  boxid --com N ID         give the controller a new box ID (%1 to %2)\n"
               "  reset --com N            hardware reset (takes about 10 s)\n"
               "  reset --all [--json]     every controller at once, about 10 s in all\n"
               "  save [--com N] FILE      scan (or take COM N only), read every controller and\n"
               "                           write their configurations to FILE, keyed by box\n"
               "                           ID; refused when a box ID is missing or shared\n"
               "  load FILE [--dry-run] [--force]\n"
               "                           check FILE whole, scan, then write each of its\n"
               "                           controllers to the one with its box ID now, as set\n"
               "                           does, all at once, and report old -> new and what\n"
               "                           read back differently, in box-ID order. Refused\n"
               "                           (nothing sent) for a damaged file or a controller\n"
               "                           of another model. Controllers not in FILE are left\n"
               "                           alone.\n"
               "  ports [--json]           COM1 to COM15: the port each names (device, stable\n"
               "                           name, maker, product, serial number, or network\n"
               "                           address) and whether it is present now\n"
               "  ports set N TARGET       give COM N the device (/dev/..., kept by its stable\n"
               "                           name) or network port (rfc2217://HOST:PORT,\n"
               "                           tcp://HOST:PORT), taking it from any other number\n"
               "  ports forget N           free COM N in the ports file\n"
               "  help, --help             this text\n"
               "\n"
               "Options:\n"
               "  --com N    the COM number of the controller to talk to\n"
               "  --file PATH\n"
               "             edid: the EDID in this file instead of a controller's\n"
               "  --all      set, pattern, reset: every controller the scan finds, all at the\n"
               "             same time, each over its own port; reported in box-ID order,\n"
               "             status 1 when any failed (the others are still done)\n"
               "  --json     print one JSON document instead of the text. Every controller\n"
               "             has com, boxId (null: no ID), model, modelName, firmware; show\n"
               "             adds resolution and config (the fields below, numbers in their\n"
               "             units, choices as their first spelling), edid adds the bytes as\n"
               "             hex, the checksums and the decoded EDID. On failure: nothing\n"
               "             on stdout, the message on stderr. With --all: the controllers,\n"
               "             each with ok and error or result (after set also config as\n"
               "             read back), printed when some failed too.\n"
               "  --dry-run  load: show the differences, send nothing\n"
               "  --force    load: write to controllers of another model than the file's\n"
               "\n"
               "Fields of set (and of config in JSON and wall files):\n")
               .arg(kCtlMinBoxId)
               .arg(kCtlMaxBoxId) +
           ConfigFieldHelp() +
           QStringLiteral(
               "\n"
               "Every command sent to a controller (not the configuration reads) leaves a line\n"
               "in LogoFiles/<YYYY.MM.DD>.txt beside this program, as the panel does; where\n"
               "that folder cannot be written (an installed package), in\n"
               "~/.local/share/KZTRMaster/LogoFiles/ ($XDG_DATA_HOME/KZTRMaster/LogoFiles/).\n"
               "With --all and load, the commands going out together are logged in box-ID\n"
               "order.\n"
               "\n"
               "COM numbers: USB serial adapters get the lowest free number when first seen\n"
               "and keep it in ~/.config/KZTRMaster/KZTRPorts.json\n"
               "($XDG_CONFIG_HOME/KZTRMaster/), by their /dev/serial/by-id/ name. RZ8_PORT_MAP\n"
               "(\"1=/dev/ttyS0,2=tcp://HOST:PORT\") overrides single numbers; a number nobody\n"
               "holds is /dev/ttyUSB<n-1>. A damaged ports file is left as it is (ports set and\n"
               "forget refuse it with status 1).\n"
               "\n"
               "Exit status: 0 success; 1 the port or the controller failed (message on\n"
               "stderr; with --all, any of them), or a load found a controller missing or\n"
               "different after writing; 2 usage error (unknown command, field or option,\n"
               "value out of range, --com with --all), or a wall file or wall that load\n"
               "refused before writing anything, or a file for edid --file that cannot be\n"
               "read or is not an EDID.\n");
}
