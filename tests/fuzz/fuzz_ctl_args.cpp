// The kztrctl command line: the input is split into arguments at each newline (one
// trailing newline ends the last argument). A parse that succeeds must give a request
// within the limits its command allows (one COM number, or --all without one), whose
// assignments apply again (as text and through the JSON of wall files), and which
// parses back to itself when written out.
#include "CommandLine.h"
#include "ConfigFields.h"
#include "ConfigJson.h"
#include "FuzzSupport.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QSet>
#include <QStringList>
#include <cstdint>

namespace {

QString CommandName(CtlCommand c) {
    switch (c) {
    case CtlCommand::Help:
        return QStringLiteral("help");
    case CtlCommand::Scan:
        return QStringLiteral("scan");
    case CtlCommand::Show:
        return QStringLiteral("show");
    case CtlCommand::Set:
        return QStringLiteral("set");
    case CtlCommand::Edid:
        return QStringLiteral("edid");
    case CtlCommand::Pattern:
        return QStringLiteral("pattern");
    case CtlCommand::BoxId:
        return QStringLiteral("boxid");
    case CtlCommand::Reset:
        return QStringLiteral("reset");
    case CtlCommand::Save:
        return QStringLiteral("save");
    case CtlCommand::Load:
        return QStringLiteral("load");
    case CtlCommand::Ports:
        return QStringLiteral("ports");
    }
    std::abort();
}

// The request written out as the arguments that ask for it.
QStringList Arguments(const CtlRequest& r) {
    QStringList args{CommandName(r.command)};
    if (r.com != 0) args << QStringLiteral("--com") << QString::number(r.com);
    if (r.all) args << QStringLiteral("--all");
    for (const auto& [field, value] : r.assignments)
        args << field + QLatin1Char('=') + value;
    if (r.command == CtlCommand::Pattern) args << r.pattern;
    if (r.command == CtlCommand::BoxId) args << QString::number(r.boxId);
    if (!r.file.isEmpty()) args << r.file;
    if (!r.edidFile.isEmpty()) args << QStringLiteral("--file") << r.edidFile;
    if (r.portsAction == CtlPortsAction::Set)
        args << QStringLiteral("set") << QString::number(r.portCom) << r.portTarget;
    if (r.portsAction == CtlPortsAction::Forget)
        args << QStringLiteral("forget") << QString::number(r.portCom);
    if (r.json) args << QStringLiteral("--json");
    if (r.dryRun) args << QStringLiteral("--dry-run");
    if (r.force) args << QStringLiteral("--force");
    return args;
}

bool Same(const CtlRequest& a, const CtlRequest& b) {
    return a.command == b.command && a.com == b.com && a.all == b.all &&
           a.assignments == b.assignments && a.pattern == b.pattern && a.boxId == b.boxId &&
           a.file == b.file && a.edidFile == b.edidFile && a.json == b.json &&
           a.dryRun == b.dryRun && a.force == b.force && a.portsAction == b.portsAction &&
           a.portCom == b.portCom && a.portTarget == b.portTarget;
}

// A configuration within every limit, for the assignments to start from.
RZ8Full ValidConfig() {
    RZ8Full r{};
    const char* const fields[][2] = {
        {"mode", "7"},    {"vr", "60"},     {"hblank", "280"}, {"ho", "20"},  {"hsw", "30"},
        {"vblank", "45"}, {"vo", "5"},      {"vsw", "6"},      {"hpol", "+"}, {"vpol", "-"},
        {"depth", "8"},   {"audio", "off"}, {"edid", "v1.3"}};
    for (const auto& f : fields) {
        QString error;
        FUZZ_CHECK(ApplyConfigAssignment(r, QLatin1String(f[0]), QLatin1String(f[1]), error));
    }
    return r;
}

void CheckAssignments(const CtlRequest& r) {
    static const RZ8Full base = ValidConfig();
    RZ8Full record = base;
    QSet<QString> fields;
    for (const auto& [field, value] : r.assignments) {
        QString error;
        FUZZ_CHECK(field == field.toLower());
        FUZZ_CHECK(ApplyConfigAssignment(record, field, value, error));
        FUZZ_CHECK(error.isEmpty());
        fields.insert(field);
    }
    // Only the fields named changed.
    for (const ConfigChange& change : DiffConfig(base, record))
        FUZZ_CHECK(fields.contains(change.field));
    // What set accepts, a wall file holds: through JSON and back unchanged.
    const QJsonObject json = ConfigToJson(record);
    RZ8Full again = base;
    QStringList errors;
    FUZZ_CHECK(ConfigFromJson(json, again, errors));
    FUZZ_CHECK(errors.isEmpty());
    FUZZ_CHECK(ConfigToJson(again) == json);
    FUZZ_CHECK(DiffConfig(record, again).empty());
    FUZZ_CHECK(!DescribeConfig(record, QString()).isEmpty());
}

void CheckRequest(const CtlRequest& r) {
    const CtlCommand c = r.command;
    const bool wallWide =
        c == CtlCommand::Set || c == CtlCommand::Pattern || c == CtlCommand::Reset;
    // edid reads a file instead of a controller with --file.
    const bool fromFile = !r.edidFile.isEmpty();
    if (fromFile) FUZZ_CHECK(c == CtlCommand::Edid);
    const bool comNeeded = c == CtlCommand::Show || (c == CtlCommand::Edid && !fromFile) ||
                           c == CtlCommand::BoxId || wallWide;
    // --all stands instead of --com, on the commands that act on every controller only.
    if (r.all) FUZZ_CHECK(wallWide);
    if (r.all)
        FUZZ_CHECK(r.com == 0);
    else if (comNeeded)
        FUZZ_CHECK(r.com >= kCtlFirstCom && r.com <= kCtlLastCom);
    else if (c == CtlCommand::Save)
        FUZZ_CHECK(r.com == 0 || (r.com >= kCtlFirstCom && r.com <= kCtlLastCom));
    else
        FUZZ_CHECK(r.com == 0);

    if (c == CtlCommand::BoxId)
        FUZZ_CHECK(r.boxId >= kCtlMinBoxId && r.boxId <= kCtlMaxBoxId);
    else
        FUZZ_CHECK(r.boxId == 0);

    static const QStringList patterns = {"on", "rgbw", "off"};
    if (c == CtlCommand::Pattern)
        FUZZ_CHECK(patterns.contains(r.pattern));
    else
        FUZZ_CHECK(r.pattern.isEmpty());

    FUZZ_CHECK((c == CtlCommand::Set) == !r.assignments.empty());
    FUZZ_CHECK((c == CtlCommand::Save || c == CtlCommand::Load) == !r.file.isEmpty());
    if (r.json)
        FUZZ_CHECK(c == CtlCommand::Scan || c == CtlCommand::Show || c == CtlCommand::Edid ||
                   c == CtlCommand::Ports || r.all);
    // ports names its COM number apart from --com, within the numbers searched.
    if (c == CtlCommand::Ports && r.portsAction != CtlPortsAction::List)
        FUZZ_CHECK(r.portCom >= kCtlFirstCom && r.portCom <= kCtlLastScanCom);
    else
        FUZZ_CHECK(r.portCom == 0 && r.portTarget.isEmpty());
    if (r.dryRun || r.force) FUZZ_CHECK(c == CtlCommand::Load);
    CheckAssignments(r);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<QByteArray> parts = input.split('\n');
    if (input.endsWith('\n')) parts.removeLast();
    QStringList args;
    for (const QByteArray& part : parts)
        args << QString::fromLocal8Bit(part);

    const CtlParseResult parsed = ParseCtlArguments(args);
    if (!parsed.request) {
        FUZZ_CHECK(!parsed.error.isEmpty());
        return 0;
    }
    FUZZ_CHECK(parsed.error.isEmpty());
    CheckRequest(*parsed.request);

    const CtlParseResult again = ParseCtlArguments(Arguments(*parsed.request));
    FUZZ_CHECK(again.request.has_value());
    FUZZ_CHECK(Same(*again.request, *parsed.request));
    return 0;
}
