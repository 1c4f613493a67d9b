// The rz8sim program: ready line, serving through its links, clean exit on SIGTERM.
#include "RZ8Ctrl.h"
#include "ScopedEnv.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;
using kztr::test::ScopedEnv;

namespace {

class Rz8SimExecutableTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString ports() const { return dir.path() + "/ports"; }

    // Starts rz8sim and waits for its first line.
    QString startSim(const QStringList& args) {
        sim.start(QStringLiteral(RZ8SIM_EXECUTABLE), args);
        if (!sim.waitForStarted(5000)) return "not started";
        if (!sim.canReadLine() && !sim.waitForReadyRead(5000)) return "no output";
        return QString::fromUtf8(sim.readLine()).trimmed();
    }

    QTemporaryDir dir;
    QProcess sim;
};

TEST_F(Rz8SimExecutableTest, ServesUntilSigtermThenRemovesLinksAndExitsZero) {
    const QString record = dir.path() + "/requests.txt";
    ASSERT_EQ(startSim({"--dir", ports(), "--ctl", "com=3,box=2,model=C,fw=17", "--ctl",
                        "com=5,box=1,model=H", "--record", record}),
              "ready");
    EXPECT_TRUE(QFileInfo(ports() + "/COM3").isSymLink());
    EXPECT_TRUE(QFileInfo(ports() + "/COM5").isSymLink());

    {
        ScopedEnv env("RZ8_PORT_DIR", ports().toStdString());
        CRZ8Ctrl port;
        ASSERT_EQ(port.OpenPort(3, 460800), 1);
        const uint8_t request = 0xFF;
        ASSERT_EQ(port.APIPU_SendData(&request, 1), TRUE);
        ASSERT_TRUE(port.WaitReadable(2s));
        std::this_thread::sleep_for(20ms);
        uint8_t reply[16] = {};
        ASSERT_EQ(port.ReadData(reply, 16), 16);
        EXPECT_EQ(reply[0], 0xFF);
        EXPECT_EQ(reply[1], 'C');
        EXPECT_EQ(reply[2], 17);
        EXPECT_EQ(reply[3], 2);
    }

    sim.terminate(); // SIGTERM
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(ports() + "/COM3").exists() || QFileInfo(ports() + "/COM3").isSymLink());
    EXPECT_FALSE(QFileInfo(ports() + "/COM5").isSymLink());

    QFile file(record);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString lines = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(lines.contains(QRegularExpression("^[0-9.]+ COM3 FF\n$"))) << lines.toStdString();
}

struct BadArgsRow {
    const char* name;
    QStringList args;
    const char* message;
};
void PrintTo(const BadArgsRow& row, std::ostream* os) {
    *os << row.name;
}

class Rz8SimBadArgs : public Rz8SimExecutableTest,
                      public ::testing::WithParamInterface<BadArgsRow> {};

TEST_P(Rz8SimBadArgs, RefusesWithMessageAndExitCodeTwo) {
    QStringList args = GetParam().args;
    args.replaceInStrings("DIR", ports());
    sim.start(QStringLiteral(RZ8SIM_EXECUTABLE), args);
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(sim.readAllStandardError()).contains(GetParam().message));
    EXPECT_FALSE(QFileInfo(ports() + "/COM3").isSymLink());
}

INSTANTIATE_TEST_SUITE_P(
    Sim, Rz8SimBadArgs,
    ::testing::Values(
        BadArgsRow{"NoController", {"--dir", "DIR"}, "usage"},
        BadArgsRow{"NoDir", {"--ctl", "com=3"}, "usage"},
        BadArgsRow{"MissingCom", {"--dir", "DIR", "--ctl", "box=2"}, "com=N is required"},
        BadArgsRow{"BadBox", {"--dir", "DIR", "--ctl", "com=3,box=300"}, "box must be a number"},
        BadArgsRow{"BadModel", {"--dir", "DIR", "--ctl", "com=3,model=CC"}, "model must be one"},
        BadArgsRow{"UnknownKey", {"--dir", "DIR", "--ctl", "com=3,speed=9"}, "not a known"},
        BadArgsRow{"CtlWithoutValue", {"--dir", "DIR", "--ctl"}, "--ctl needs a value"},
        BadArgsRow{"SameComTwice",
                   {"--dir", "DIR", "--ctl", "com=3", "--ctl", "com=3"},
                   "already simulated"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
