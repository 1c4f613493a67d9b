// kztrctl with a controller behind a real serial device server (Debian's ser2net in front
// of a simulated controller's pseudo-terminal), as rfc2217:// and as tcp://: the
// operator's commands work as on a local adapter, and a server that dies or a target
// nobody answers on is a port fault like any other.
#include "EdidImage.h"
#include "KztrctlProgram.h"
#include "RZ8Frames.h"
#include "Ser2netServer.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <fcntl.h>
#include <iostream>
#include <map>
#include <optional>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using kztr::sim::Faults;
using kztr::test::RunResult;
using kztr::test::ScopedEnv;
using kztr::test::SimController;
using Clock = std::chrono::steady_clock;

namespace {

// The controller behind the server is COM3 to the simulator and COM1 to the program; the
// one on COM5 stays on its own pseudo-terminal, named in the map by its device path.
constexpr int kSimCom = 3;
constexpr uint8_t kBox = 2;
const QString kNetLine = QStringLiteral("COM1  box ID 2  model C  ZEPH - T1/T3  firmware 17");
const QString kLocalLine = QStringLiteral("COM5  box ID 1  model D  ZEPH - T4/T5  firmware 19");

double secondsSince(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

class KztrctlNetworkTest : public kztr::test::KztrctlProgramTest,
                           public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        if (kztr::test::Ser2netServer::executable().isEmpty())
            GTEST_SKIP() << "ser2net is not installed (apt-get install ser2net)";
        ASSERT_NO_FATAL_FAILURE(
            StartWith({SimController(kSimCom, kBox, 'C', 17), SimController(5, 1, 'D', 19)}));
        m_device = Device(kSimCom);
        ASSERT_FALSE(m_device.isEmpty());
        QString error;
        ASSERT_TRUE(m_server.start(dir.path(), m_device, error)) << error.toStdString();
        MapPorts({});
    }

    QString Device(int com) const {
        return QFileInfo(QString::fromStdString(sim.linkPath(com))).canonicalFilePath();
    }

    // COM1 on the server, COM5 on its terminal, the extra entries, and every other number
    // on a path that does not exist, so an adapter on this machine cannot join in.
    void MapPorts(const std::map<int, std::string>& extra) {
        std::map<int, std::string> entries = extra;
        entries[1] = m_server.target(GetParam());
        entries[5] = Device(5).toStdString();
        std::string map;
        for (int com = 1; com <= 15; ++com) {
            const auto it = entries.find(com);
            const std::string target =
                it != entries.end() ? it->second : (dir.path() + "/absent").toStdString();
            map += (map.empty() ? "" : ",") + std::to_string(com) + "=" + target;
        }
        m_map.emplace("RZ8_PORT_MAP", map);
    }

    void DropHeldInput() {
        const int fd = ::open(m_device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(fd, 0) << m_device.toStdString();
        EXPECT_EQ(::tcflush(fd, TCIFLUSH), 0);
        ::close(fd);
    }

    // Starts the program without waiting for it.
    void Start(QProcess& p, const QStringList& args) {
        p.start(program, args);
        ASSERT_TRUE(p.waitForStarted(5000));
    }

    QString m_device;
    kztr::test::Ser2netServer m_server;
    // The map alone names the ports: the simulator's folder would win over it.
    ScopedEnv m_noPortDir{"RZ8_PORT_DIR", std::nullopt};
    std::optional<ScopedEnv> m_map;
};

TEST_P(KztrctlNetworkTest, OperatorCommandsWorkAsOnALocalAdapter) {
    const RunResult scan = Run({"scan"});
    EXPECT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    EXPECT_EQ(scan.out, (QStringList{kLocalLine, kNetLine}));

    const RunResult show = Run({"show", "--com", "1"});
    ASSERT_EQ(show.exitCode, 0) << show.err.toStdString();
    EXPECT_EQ(show.out.value(0), kNetLine);

    const RunResult set = Run({"set", "--com", "1", "vr=50"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    EXPECT_EQ(sim.state(kSimCom)->config.VRHz(), 50);
    const RunResult again = Run({"show", "--com", "1"});
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_TRUE(again.out.contains("vr          50 Hz")) << again.out.join('\n').toStdString();

    // The dump byte for byte: the block has 0xFF bytes, which telnet doubles on the way.
    const RunResult edid = Run({"edid", "--com", "1"});
    ASSERT_EQ(edid.exitCode, 0) << edid.err.toStdString();
    QByteArray bytes;
    for (const QString& line :
         edid.out.filter(QRegularExpression("^[0-9A-F]{4}: ([0-9A-F]{2} ){15}[0-9A-F]{2}$")))
        bytes += QByteArray::fromHex(line.mid(6).toLatin1());
    const auto expected = kztr::sim::makeEdid(0x1E, "RZ8 SIM", kBox, false);
    EXPECT_EQ(bytes, QByteArray(reinterpret_cast<const char*>(expected.data()),
                                qsizetype(expected.size())));

    // Offsets a wall file accepts (a fresh simulated controller has 0, below the limits).
    for (const char* com : {"1", "5"})
        ASSERT_EQ(Run({"set", "--com", com, "ho=10", "hsw=10", "vo=2", "vsw=2"}).exitCode, 0);
    const QString wall = dir.path() + "/wall.json";
    const RunResult save = Run({"save", wall});
    ASSERT_EQ(save.exitCode, 0) << save.err.toStdString();
    EXPECT_EQ(save.out,
              (QStringList{"saved box ID 1 (COM5, model D)", "saved box ID 2 (COM1, model C)"}));
    ASSERT_EQ(Run({"set", "--com", "1", "vr=75"}).exitCode, 0);
    ASSERT_EQ(sim.state(kSimCom)->config.VRHz(), 75);
    const RunResult load = Run({"load", wall});
    ASSERT_EQ(load.exitCode, 0) << load.err.toStdString() << load.out.join('\n').toStdString();
    const QString report = load.out.join('\n');
    EXPECT_TRUE(report.contains("box ID 2 (COM1, model C): writing\n  vr: 75 Hz -> 50 Hz"))
        << report.toStdString();
    EXPECT_TRUE(load.out.contains("box ID 1 (COM5, model D): unchanged"));
    EXPECT_EQ(sim.state(kSimCom)->config.VRHz(), 50);
}

TEST_P(KztrctlNetworkTest, ServerLostMidReplyFailsInTimeAndIsFoundOnceBack) {
    // Replies come as 15 bytes, 3 s, then the last one: within the 5 s limit, so the set
    // would succeed if the server stayed. It is killed in that gap.
    Faults slow;
    slow.splitReplies = true;
    slow.splitDelay = 3000ms;
    ASSERT_TRUE(sim.setFaults(kSimCom, slow));
    sim.clearRequests();

    QProcess p;
    ASSERT_NO_FATAL_FAILURE(Start(p, {"set", "--com", "1", "vr=50"}));
    // The connect's configuration read, then the 16-byte frame of the write.
    const auto frameSeen = [&] {
        for (const kztr::sim::Request& r : sim.requests(kSimCom))
            if (r.bytes.size() == RZ8_FRAME_LEN && r.bytes[0] == RZ8_BOOTCDE_SET_FULLDATA)
                return true;
        return false;
    };
    const auto frameLimit = Clock::now() + 15s;
    while (!frameSeen() && Clock::now() < frameLimit && p.state() == QProcess::Running)
        std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(frameSeen()) << p.readAllStandardError().toStdString();
    // Past the 1000 ms pause after the send: the reply wait is running.
    std::this_thread::sleep_for(1500ms);
    ASSERT_EQ(p.state(), QProcess::Running);
    m_server.kill();
    const auto stopped = Clock::now();

    ASSERT_TRUE(p.waitForFinished(10000));
    const double afterStop = secondsSince(stopped);
    std::cout << "[ measured ] " << GetParam() << ": the set ended " << afterStop
              << " s after the server was killed\n";
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.startsWith("kztrctl: COM1: ")) << err.toStdString();
    EXPECT_LE(afterStop, 5.0);
    EXPECT_NE(sim.state(kSimCom)->config.VRHz(), 0); // the controller itself is unharmed

    // Back again: the next search finds it. The reply's last byte went out while nobody
    // had the line open; a real adapter drops it, a pseudo-terminal keeps it for the next
    // reader, so it is dropped here.
    ASSERT_TRUE(sim.setFaults(kSimCom, Faults{}));
    ASSERT_TRUE(sim.waitSettled(5s));
    ASSERT_NO_FATAL_FAILURE(DropHeldInput());
    QString error;
    ASSERT_TRUE(m_server.start(dir.path(), m_device, error)) << error.toStdString();
    const RunResult scan = Run({"scan"});
    EXPECT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    EXPECT_EQ(scan.out, (QStringList{kLocalLine, kNetLine}))
        << scan.out.join('\n').toStdString() << scan.err.toStdString()
        << m_server.output().toStdString();
}

// The server gives the controller's line to one client at a time: while somebody else
// holds it, the program gets a port fault, and once that client has gone, the line.
TEST_P(KztrctlNetworkTest, ALineHeldByAnotherClientIsAPortFault) {
    const int port =
        GetParam() == std::string("rfc2217") ? m_server.telnetPort() : m_server.rawPort();
    const int other = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(uint16_t(port));
    ASSERT_EQ(::connect(other, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    // Time for the server to give it the line.
    std::this_thread::sleep_for(300ms);

    const auto t0 = Clock::now();
    const RunResult held = Run({"show", "--com", "1"});
    const double took = secondsSince(t0);
    std::cout << "[ measured ] " << GetParam() << ": show on a held line ended after " << took
              << " s: " << held.err.toStdString();
    EXPECT_EQ(held.exitCode, 1) << held.out.join('\n').toStdString();
    EXPECT_TRUE(held.err.startsWith("kztrctl: COM1: ")) << held.err.toStdString();
    EXPECT_LE(took, 7.5); // the open limit and one reply wait at the most

    ::close(other);
    std::this_thread::sleep_for(300ms);
    const RunResult freed = Run({"show", "--com", "1"});
    EXPECT_EQ(freed.exitCode, 0) << freed.err.toStdString();
    EXPECT_EQ(freed.out.value(0), kNetLine);
}

// A listener whose queue is full and that never accepts: further connects get no answer
// at all, as from a host that is switched off.
class DeafListener {
public:
    DeafListener() {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (::bind(m_listen, reinterpret_cast<sockaddr*>(&a), len) != 0 ||
            ::listen(m_listen, 0) != 0 ||
            ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return;
        // The one connection the queue holds.
        m_filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (::connect(m_filler, reinterpret_cast<sockaddr*>(&a), len) == 0)
            m_port = ntohs(a.sin_port);
    }
    ~DeafListener() {
        ::close(m_filler);
        ::close(m_listen);
    }
    int port() const { return m_port; }

private:
    int m_listen = -1;
    int m_filler = -1;
    int m_port = 0;
};

TEST_P(KztrctlNetworkTest, UnreachableTargetsDoNotHoldUpTheSearch) {
    // Refused at once (nothing listens), never answered (till the open limit), and an
    // address of a documentation network that nobody routes.
    const int closed = kztr::test::unusedLoopbackPort();
    ASSERT_GT(closed, 0);
    DeafListener deaf;
    ASSERT_GT(deaf.port(), 0);
    const std::string scheme = GetParam();
    MapPorts({{7, scheme + "://127.0.0.1:" + std::to_string(closed)},
              {8, scheme + "://127.0.0.1:" + std::to_string(deaf.port())},
              {9, scheme + "://192.0.2.1:2000"}});
    const auto t0 = Clock::now();
    const RunResult scan = Run({"scan"});
    const double took = secondsSince(t0);
    std::cout << "[ measured ] " << scheme << ": scan with unreachable targets took " << took
              << " s\n";
    EXPECT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    EXPECT_EQ(scan.out, (QStringList{kLocalLine, kNetLine}));
    EXPECT_LE(took, 6.0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, KztrctlNetworkTest, ::testing::Values("rfc2217", "tcp"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
