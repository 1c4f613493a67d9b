#pragma once
// kztrctl as the operator runs it: a copy of the program in a scratch folder (so its
// LogoFiles/ is the test's), talking to simulated controllers on pseudo-terminals.
// Needs KZTRCTL_EXECUTABLE, the path of the built program.
#include "SimulatedPortsTest.h"

#include <QDate>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <algorithm>
#include <vector>

namespace kztr::test {

struct RunResult {
    int exitCode = -1;
    QStringList out; // stdout lines
    QByteArray stdoutBytes;
    QString err;

    // stdout as one JSON object; a null object (and a test failure) when it is not one.
    QJsonObject Json() const {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(stdoutBytes, &error);
        EXPECT_TRUE(doc.isObject()) << error.errorString().toStdString() << "\n"
                                    << stdoutBytes.toStdString();
        return doc.object();
    }
};

class KztrctlProgramTest : public SimulatedPortsTest {
protected:
    // Starts the simulator with these controllers and puts the program beside them.
    void StartWith(const std::vector<kztr::sim::ControllerConfig>& controllers) {
        ASSERT_TRUE(dir.isValid());
        for (const kztr::sim::ControllerConfig& c : controllers)
            ASSERT_TRUE(sim.addController(c)) << "COM" << c.com << ": " << sim.error();
        ASSERT_TRUE(sim.start(PortDir().toStdString())) << sim.error();
        program = dir.path() + "/kztrctl";
        ASSERT_TRUE(QFile::copy(QStringLiteral(KZTRCTL_EXECUTABLE), program));
    }

    RunResult Run(const QStringList& args, int limitMs = 30000) {
        // The program inherits RZ8_PORT_DIR from the fixture.
        QProcess p;
        p.start(program, args);
        RunResult r;
        if (!p.waitForFinished(limitMs)) {
            p.kill();
            p.waitForFinished();
            r.err = "did not finish";
            return r;
        }
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.stdoutBytes = p.readAllStandardOutput();
        r.out = QString::fromUtf8(r.stdoutBytes).split('\n', Qt::SkipEmptyParts);
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    // Lines of today's daily log beside the program.
    QStringList LogLines() const {
        QFile f(dir.path() + "/LogoFiles/" + QDate::currentDate().toString("yyyy.MM.dd") + ".txt");
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll()).split("\r\n", Qt::SkipEmptyParts);
    }

    // Command frames received (com 0: by any controller); configuration reads, the
    // single 0xFF byte, do not count.
    size_t CommandFrames(int com = 0) const {
        const std::vector<kztr::sim::Request> requests = sim.requests(com);
        return size_t(
            std::count_if(requests.begin(), requests.end(),
                          [](const kztr::sim::Request& r) { return r.bytes.size() > 1; }));
    }

    QString program;
};

} // namespace kztr::test
