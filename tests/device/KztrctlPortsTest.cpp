// kztrctl ports as the operator runs it, with a scratch XDG_CONFIG_HOME: the numbers of
// the ports file are listed, set and forgotten; a damaged file is refused untouched.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Ran {
    int status = -1;
    QStringList out;
    QByteArray stdoutBytes;
    QString err;
};

class KztrctlPortsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(config.isValid()); }

    QString FilePath() const { return config.path() + "/KZTRMaster/KZTRPorts.json"; }
    void WriteFile(const QByteArray& bytes) {
        ASSERT_TRUE(QDir().mkpath(config.path() + "/KZTRMaster"));
        QFile f(FilePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray FileBytes() const {
        QFile f(FilePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    Ran Run(const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", config.path());
        env.remove("RZ8_PORT_DIR");
        env.remove("RZ8_PORT_MAP");
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KZTRCTL_EXECUTABLE), args);
        Ran r;
        if (!p.waitForFinished(30000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.stdoutBytes = p.readAllStandardOutput();
        r.out = QString::fromUtf8(r.stdoutBytes).split('\n', Qt::SkipEmptyParts);
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    // The listing's line for COM n.
    static QString LineFor(const Ran& r, int n) {
        for (const QString& l : r.out)
            if (l.startsWith(QStringLiteral("COM%1  ").arg(n))) return l;
        return {};
    }

    QTemporaryDir config;
};

const QByteArray kGone = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_GONE1-if00-port0";

TEST_F(KztrctlPortsTest, SetListForget) {
    Ran r = Run({"ports", "set", "4", QString::fromUtf8(kGone)});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringList{"COM4 -> " + QString::fromUtf8(kGone)});
    r = Run({"ports", "set", "9", "tcp://[fd00::5]:2001"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();

    r = Run({"ports"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.size(), 15);
    EXPECT_EQ(LineFor(r, 4), "COM4  " + QString::fromUtf8(kGone) + "  not present");
    EXPECT_EQ(LineFor(r, 9), "COM9  tcp://[fd00::5]:2001  network port");

    r = Run({"ports", "--json"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(r.stdoutBytes).object();
    EXPECT_EQ(doc["portsFile"].toString(), FilePath());
    EXPECT_FALSE(doc["damaged"].toBool(true));
    const QJsonArray ports = doc["ports"].toArray();
    ASSERT_EQ(ports.size(), 15);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(ports[i].toObject()["com"].toInt(), i + 1);
    const QJsonObject com4 = ports[3].toObject();
    EXPECT_EQ(com4["target"].toString(), QString::fromUtf8(kGone));
    EXPECT_EQ(com4["origin"].toString(), "ports file");
    EXPECT_FALSE(com4["present"].toBool(true));
    EXPECT_TRUE(com4["device"].isNull());
    const QJsonObject com9 = ports[8].toObject();
    EXPECT_TRUE(com9["network"].toBool());
    EXPECT_FALSE(com9["present"].toBool(true));

    // Taking the device for another number frees its old one.
    r = Run({"ports", "set", "2", QString::fromUtf8(kGone)});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringList{"COM2 -> " + QString::fromUtf8(kGone) + " (COM4 freed)"});
    r = Run({"ports", "forget", "9"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringList{"COM9 is free"});

    const QJsonObject file = QJsonDocument::fromJson(FileBytes()).object();
    EXPECT_EQ(file["ports"].toArray(),
              (QJsonArray{QJsonObject{{"com", 2}, {"target", QString::fromUtf8(kGone)}}}));
}

TEST_F(KztrctlPortsTest, DamagedFileIsReportedAndLeftAlone) {
    const QByteArray damaged = "{\"ports\": [{\"com\": 3, \"target\": \"/dev/a\"},\n";
    WriteFile(damaged);
    for (const QStringList& args :
         {QStringList{"ports", "set", "3", "/dev/ttyS0"}, QStringList{"ports", "forget", "3"}}) {
        const Ran r = Run(args);
        EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains(FilePath() + " is damaged")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("nothing changed")) << r.err.toStdString();
    }
    const Ran list = Run({"ports"});
    EXPECT_EQ(list.status, 0);
    EXPECT_TRUE(list.err.contains(FilePath() + " is damaged")) << list.err.toStdString();
    EXPECT_EQ(FileBytes(), damaged);
}

struct UsageCase {
    const char* name;
    QStringList args;
};
void PrintTo(const UsageCase& c, std::ostream* os) {
    *os << c.name;
}

class KztrctlPortsUsage : public KztrctlPortsTest,
                          public ::testing::WithParamInterface<UsageCase> {};

TEST_P(KztrctlPortsUsage, RefusedWithoutWriting) {
    const Ran r = Run(GetParam().args);
    EXPECT_EQ(r.status, 2) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Try 'kztrctl --help'.")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(FilePath()));
}

INSTANTIATE_TEST_SUITE_P(
    Args, KztrctlPortsUsage,
    ::testing::Values(UsageCase{"UnknownAction", {"ports", "add", "3", "/dev/ttyS0"}},
                      UsageCase{"NumberTooHigh", {"ports", "set", "16", "/dev/ttyS0"}},
                      UsageCase{"NumberZero", {"ports", "forget", "0"}},
                      UsageCase{"RelativePath", {"ports", "set", "3", "ttyS0"}},
                      UsageCase{"UnknownScheme", {"ports", "set", "3", "ftp://box:21"}},
                      UsageCase{"NoPort", {"ports", "set", "3", "tcp://box"}},
                      UsageCase{"TargetMissing", {"ports", "set", "3"}},
                      UsageCase{"ExtraArgument", {"ports", "forget", "3", "4"}},
                      UsageCase{"WithCom", {"ports", "--com", "3"}},
                      UsageCase{"JsonWithSet", {"ports", "set", "3", "/dev/ttyS0", "--json"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
