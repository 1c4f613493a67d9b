// The real KZTRMaster without a display, as `scripts/dev run` starts it there: the panel
// connected to its simulated controllers is written to a picture, and an error box that
// nobody could answer goes to standard error and ends the run with a failure.
#include "PanelGeometry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifndef KZTRMASTER_PATH
#error "KZTRMASTER_PATH must name the executable under test"
#endif

namespace {

class HeadlessRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        // A private copy beside its own skin: the settings file and the logs land here,
        // and a skin file can be taken away.
        const QString exe = QStringLiteral(KZTRMASTER_PATH);
        ASSERT_TRUE(QFile::copy(exe, App()));
        QFile::setPermissions(App(), QFile::permissions(exe));
        const QString skin = QFileInfo(exe).absolutePath() + QStringLiteral("/GUISkin");
        ASSERT_EQ(QProcess::execute("cp", {"-r", skin, m_dir.filePath("GUISkin")}), 0);
        ASSERT_TRUE(QDir().mkpath(m_dir.filePath("runtime")));
        QFile::setPermissions(m_dir.filePath("runtime"), QFileDevice::ReadOwner |
                                                             QFileDevice::WriteOwner |
                                                             QFileDevice::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", m_dir.filePath("runtime"));
        env.insert("TMPDIR", m_dir.filePath("runtime"));
        env.remove("RZ8_PORT_DIR");
        env.remove("QT_LOGGING_RULES");
        m_process.setProcessEnvironment(env);
    }
    void TearDown() override {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    QString App() const { return m_dir.filePath("KZTRMaster"); }
    // Runs to the end; false when it did not end within the limit.
    bool Run(const QStringList& args, int limitMs) {
        m_process.start(App(), args);
        return m_process.waitForStarted(10000) && m_process.waitForFinished(limitMs);
    }

    QTemporaryDir m_dir;
    QProcess m_process;
};

TEST_F(HeadlessRunTest, AStartUpFailureIsWrittenToStandardErrorAndEndsWithOne) {
    ASSERT_TRUE(QFile::remove(m_dir.filePath("GUISkin/GUIFrameMain/GUIFrameMainBKEn.tksx")));
    const QString picture = m_dir.filePath("panel.png");
    ASSERT_TRUE(Run({"--screenshot", picture}, 30000)) << "waited for a box nobody sees";
    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_process.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(m_process.readAllStandardError())
                    .contains("Quorvane Error...: KZTRMaster initialize fail."));
    EXPECT_FALSE(QFile::exists(picture));
}

TEST_F(HeadlessRunTest, ConnectWithAPictureShowsThePanelConnected) {
    const QString picture = m_dir.filePath("panel.png");
    ASSERT_TRUE(Run({"--simulate", "--connect", "--screenshot", picture}, 60000));
    const QString err = QString::fromUtf8(m_process.readAllStandardError());
    EXPECT_EQ(m_process.exitCode(), 0) << err.toStdString();
    // What the operator reads: the simulated ports and the picture, no platform notices.
    EXPECT_EQ(err, "") << err.toStdString();
    const QString out = QString::fromUtf8(m_process.readAllStandardOutput());
    EXPECT_EQ(out.count("Panel picture: " + picture), 1) << out.toStdString();
    const QImage panel(picture);
    ASSERT_FALSE(panel.isNull());
    EXPECT_EQ(panel.size(), QSize(PanelGeometry::kPanel.width(), PanelGeometry::kPanel.height()));
    // Every command sent while connecting left its line in today's log.
    const QStringList logs = QDir(m_dir.filePath("LogoFiles")).entryList({"*.txt"}, QDir::Files);
    ASSERT_EQ(logs.size(), 1);
    QFile log(m_dir.filePath("LogoFiles/" + logs[0]));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_GE(log.readAll().count("\r\n"), 3);
}

TEST_F(HeadlessRunTest, AConnectWithoutControllersIsReportedAndEndsWithOne) {
    QProcessEnvironment env = m_process.processEnvironment();
    env.insert("RZ8_PORT_DIR", m_dir.filePath("no-ports"));
    m_process.setProcessEnvironment(env);
    const QString picture = m_dir.filePath("panel.png");
    ASSERT_TRUE(Run({"--connect", "--screenshot", picture}, 30000));
    EXPECT_EQ(m_process.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(m_process.readAllStandardError())
                    .contains("The Serial COM initialize fail. Please check again."));
    // The picture shows what the operator would have seen: the link still off.
    EXPECT_TRUE(QFile::exists(picture));
}

} // namespace
