// The device link through a real serial device server: Debian's ser2net in front of a
// simulated controller's pseudo-terminal, reached as rfc2217:// and as tcp://.
#include "EdidImage.h"
#include "LoopbackServer.h"
#include "RZ8DeviceLink.h"
#include "RZ8Frames.h"
#include "SimulatedPortsTest.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;
using kztr::test::ScopedEnv;
using Bytes = std::vector<uint8_t>;

namespace {

constexpr int kCom = 3;
constexpr uint8_t kBox = 2;
constexpr uint8_t kEdidFlags = 0x1A;

// True once something listens on 127.0.0.1:port. Read from /proc rather than tried with a
// connection: ser2net opens the device for every client, and a probe's client would still
// hold it when the test connects.
bool listening(int port, std::chrono::milliseconds limit) {
    const QString local =
        QStringLiteral("0100007F:%1").arg(port, 4, 16, QLatin1Char('0')).toUpper();
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        QFile f(QStringLiteral("/proc/net/tcp"));
        if (f.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : f.readAll().split('\n')) {
                const QList<QByteArray> fields = line.simplified().split(' ');
                if (fields.size() > 3 && fields[1] == local.toLatin1() && fields[3] == "0A")
                    return true;
            }
        }
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

class Ser2netPortTest : public kztr::test::SimulatedPortsTest,
                        public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        const QString ser2net = QStandardPaths::findExecutable(QStringLiteral("ser2net"));
        if (ser2net.isEmpty()) GTEST_SKIP() << "ser2net is not installed (apt-get install ser2net)";
        kztr::sim::ControllerConfig c = kztr::test::SimController(kCom, kBox, 'C', 17);
        c.edidFlags = kEdidFlags;
        ASSERT_NO_FATAL_FAILURE(StartSimulator({c}));
        const QString device =
            QFileInfo(QString::fromStdString(sim.linkPath(kCom))).canonicalFilePath();
        ASSERT_FALSE(device.isEmpty());

        m_telnetPort = kztr::test::unusedLoopbackPort();
        m_rawPort = kztr::test::unusedLoopbackPort();
        ASSERT_GT(m_telnetPort, 0);
        ASSERT_GT(m_rawPort, 0);
        ASSERT_NE(m_telnetPort, m_rawPort);
        const QString config = dir.path() + QStringLiteral("/ser2net.yaml");
        QFile f(config);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QString connector = QStringLiteral("serialdev,%1,460800n81,local").arg(device);
        f.write(QStringLiteral("%YAML 1.1\n---\n"
                               "connection: &rfc2217\n"
                               "    accepter: telnet(rfc2217),tcp,127.0.0.1,%1\n"
                               "    enable: on\n"
                               "    connector: %3\n"
                               "connection: &raw\n"
                               "    accepter: tcp,127.0.0.1,%2\n"
                               "    enable: on\n"
                               "    connector: %3\n")
                    .arg(m_telnetPort)
                    .arg(m_rawPort)
                    .arg(connector)
                    .toUtf8());
        f.close();

        m_server.setWorkingDirectory(dir.path());
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.start(ser2net, {QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral("-c"),
                                 config, QStringLiteral("-P"), dir.path() + "/ser2net.pid"});
        ASSERT_TRUE(m_server.waitForStarted(5000)) << m_server.errorString().toStdString();
        ASSERT_TRUE(listening(m_rawPort, 5000ms) && listening(m_telnetPort, 5000ms))
            << "ser2net did not listen: " << m_server.readAll().toStdString();
    }
    void TearDown() override {
        if (m_server.state() == QProcess::NotRunning) return;
        m_server.terminate();
        if (!m_server.waitForFinished(3000)) {
            m_server.kill();
            m_server.waitForFinished(3000);
        }
    }

    // Opens device link 0 on COM3 as the current controller.
    void OpenLink(CRZ8DeviceLink& link) {
        link.m_strLogDir = dir.path() + "/LogoFiles/";
        link.m_pCurRZ8Dev = &link.m_hRZ8Dev[0];
        ASSERT_EQ(link.m_hRZ8Dev[0].OpenPort(kCom, 460800), 1)
            << "errno " << link.m_hRZ8Dev[0].LastError()
            << "; ser2net: " << m_server.readAll().toStdString();
        link.m_hRZ8Dev[0].SetBoxId(kBox);
        link.m_hRZ8DevBoxMode = BoxModeFromModelLetter('C');
    }

    int m_telnetPort = 0;
    int m_rawPort = 0;
    QProcess m_server;
};

TEST_P(Ser2netPortTest, DeviceLinkReadsConfigurationAndEdidIntact) {
    // What the controller says over its own line, to hold the network reading against.
    RZ8Full direct{};
    {
        CRZ8DeviceLink link;
        ASSERT_NO_FATAL_FAILURE(OpenLink(link));
        ASSERT_EQ(link.APIPR_GetRZ8FullData(direct), 1);
    }
    ASSERT_EQ(direct.box_id, kBox);

    const std::string scheme = GetParam();
    const int port = scheme == "rfc2217" ? m_telnetPort : m_rawPort;
    ScopedEnv portDir("RZ8_PORT_DIR", std::nullopt);
    ScopedEnv map("RZ8_PORT_MAP",
                  std::to_string(kCom) + "=" + scheme + "://127.0.0.1:" + std::to_string(port));
    CRZ8DeviceLink link;
    ASSERT_NO_FATAL_FAILURE(OpenLink(link));
    RZ8Full got{};
    ASSERT_EQ(link.APIPR_GetRZ8FullData(got), 1);
    EXPECT_TRUE(got == direct);
    EXPECT_EQ(got.model, 'C');

    link.m_hTmpRZ8Full = RZ8Full{};
    ASSERT_EQ(link.APIPR_SetRZ8FullData(link.m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, kBox, 0), 1);
    const auto expected = kztr::sim::makeEdid(kEdidFlags, "RZ8 SIM", kBox, false);
    const Bytes edid = link.m_hRZ8Dev[0].GetEdid();
    ASSERT_EQ(std::count(expected.begin(), expected.end(), 0xFF) >= 6, true)
        << "the block is to carry 0xFF bytes";
    EXPECT_EQ(edid, Bytes(expected.begin(), expected.end()));
    EXPECT_EQ(link.HV_Polarity, kEdidFlags);
}

INSTANTIATE_TEST_SUITE_P(Kinds, Ser2netPortTest, ::testing::Values("rfc2217", "tcp"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
