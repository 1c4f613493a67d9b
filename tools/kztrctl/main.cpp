// kztrctl: the controllers from the command line, over the panel's own device link.
#include "CommandLine.h"
#include "ConfigFields.h"
#include "CtlSession.h"
#include "ModuleDirectory.h"
#include "PortMap.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

enum ExitStatus { kOk = 0, kControllerFailed = 1, kUsage = 2 };

void print(const QString& text) {
    std::fputs(qUtf8Printable(text + '\n'), stdout);
}
void printLines(const QStringList& lines) {
    for (const QString& l : lines)
        print(l);
}
void note(const QString& message) {
    std::fputs(qUtf8Printable(QStringLiteral("kztrctl: ") + message + '\n'), stderr);
}
int failed(const QString& message) {
    note(message);
    return kControllerFailed;
}

// "COM1 (/dev/ttyUSB0)": where a COM number is looked for on this machine.
QString comWithPath(int com) {
    return QStringLiteral("COM%1 (%2)")
        .arg(com)
        .arg(QString::fromStdString(kztr::devicePathForCom(com)));
}

QString patternDone(const QString& mode) {
    if (mode == QLatin1String("on")) return QStringLiteral("test pattern on");
    if (mode == QLatin1String("rgbw")) return QStringLiteral("RGBW pattern on");
    return QStringLiteral("test and RGBW patterns off");
}

int run(const CtlRequest& request, CtlSession& session) {
    QString error;
    if (request.command == CtlCommand::Scan) {
        QStringList notes;
        const std::vector<FoundController> found =
            session.Scan(kCtlFirstCom, kCtlLastScanCom, &notes);
        for (const QString& n : notes)
            note(n);
        if (found.empty())
            return failed(QStringLiteral("no controller found on %1 to %2")
                              .arg(comWithPath(kCtlFirstCom), comWithPath(kCtlLastScanCom)));
        for (const FoundController& c : found)
            print(CtlSession::ControllerLine(c));
        return kOk;
    }
    if (!session.Connect(request.com, error)) return failed(error);

    switch (request.command) {
    case CtlCommand::Show:
        if (session.m_hTmpRZ8Full.hRZ8Data.I_output_mode == kUserResPosition &&
            !session.ReadPixelCounts(error))
            return failed(error);
        printLines(session.Describe());
        return kOk;
    case CtlCommand::Set: {
        for (const auto& [field, value] : request.assignments) {
            QString ignored; // checked when the command line was read
            ApplyConfigAssignment(session.m_hCurRZ8Full, field, value, ignored);
        }
        if (session.m_hCurRZ8Full.hRZ8Data.I_output_mode == kUserResPosition &&
            !session.ReadPixelCounts(error))
            return failed(error);
        if (!session.ApplyCurrent(error)) return failed(error);
        printLines(session.Describe());
        return kOk;
    }
    case CtlCommand::Edid: {
        QStringList report;
        const bool ok = session.ReadEdid(report, error);
        printLines(report);
        return ok ? kOk : failed(error);
    }
    case CtlCommand::Pattern:
        if (!session.Pattern(request.pattern, error)) return failed(error);
        print(QStringLiteral("COM%1: %2").arg(request.com).arg(patternDone(request.pattern)));
        return kOk;
    case CtlCommand::BoxId: {
        const int old = session.m_pCurRZ8Dev->GetBoxId();
        if (!session.SetBoxId(uint8_t(request.boxId), error)) return failed(error);
        print(
            QStringLiteral("COM%1: box ID %2 -> %3").arg(request.com).arg(old).arg(request.boxId));
        return kOk;
    }
    case CtlCommand::Reset:
        // Nothing else shows for the restart pause; say why the wait is long.
        note(QStringLiteral("COM%1: resetting; the controller takes about 10 s to restart")
                 .arg(request.com));
        if (!session.Reset(error)) return failed(error);
        print(QStringLiteral("COM%1: controller reset").arg(request.com));
        return kOk;
    default:
        return kUsage;
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();

    const CtlParseResult parsed = ParseCtlArguments(args);
    if (!parsed.request) {
        std::fputs(qUtf8Printable(
                       QStringLiteral("kztrctl: %1\nTry 'kztrctl --help'.\n").arg(parsed.error)),
                   stderr);
        return kUsage;
    }
    if (parsed.request->command == CtlCommand::Help) {
        std::fputs(qUtf8Printable(CtlUsageText()), stdout);
        return kOk;
    }
    // The daily log lives beside the executable, as the panel's does.
    CtlSession session(LogDirectoryIn(GetModuleDirectory()));
    return run(*parsed.request, session);
}
