// Where the settings file and the daily logs go: beside the program while its folder can
// be written, else in the per-user places, for the choice itself and for the panel that
// reads and writes them. The program's folder is made unwritable for real.
#include "DiagnosticLog.h"
#include "FrameSimFixture.h"
#include "ModuleDirectory.h"
#include "ScopedEnv.h"
#include "TraceCapture.h"
#include "UnwritableDir.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <cstring>

namespace kztr::test {
namespace {

// Per-user places inside a scratch home.
class UserPlaces {
public:
    UserPlaces()
        : m_config("XDG_CONFIG_HOME", (m_home.path() + "/config").toStdString()),
          m_data("XDG_DATA_HOME", (m_home.path() + "/data").toStdString()) {}
    QString SettingFile() const { return m_home.path() + "/config/KZTRMaster/KZTRSettingFile.kzt"; }
    QString LogDir() const { return m_home.path() + "/data/KZTRMaster/LogoFiles/"; }

private:
    QTemporaryDir m_home;
    ScopedEnv m_config;
    ScopedEnv m_data;
};

TEST(FilePlacement, BesideTheProgramWhileItsFolderCanBeWrittenElsePerUser) {
    UserPlaces user;
    QTemporaryDir program;
    TraceCapture trace;

    const FileDirectories beside = ChooseFileDirectories(program.path());
    EXPECT_FALSE(beside.perUser);
    EXPECT_EQ(beside.settingFile, program.path() + "/KZTRSettingFile.kzt");
    EXPECT_EQ(beside.logDir, program.path() + "/LogoFiles/");
    // Asking left nothing behind.
    EXPECT_TRUE(
        QDir(program.path())
            .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));

    UnwritableDir locked(program.path());
    ASSERT_TRUE(locked.ok()) << "cannot make a folder unwritable here";
    const FileDirectories perUser = ChooseFileDirectories(program.path());
    EXPECT_TRUE(perUser.perUser);
    EXPECT_EQ(perUser.settingFile, user.SettingFile());
    EXPECT_EQ(perUser.logDir, user.LogDir());
    // The folders above the log folder are made, so the log writer's one mkdir is enough.
    EXPECT_TRUE(QFileInfo(QFileInfo(user.SettingFile()).path()).isDir());
    EXPECT_TRUE(QFileInfo(QDir::cleanPath(user.LogDir() + "..")).isDir());
    EXPECT_FALSE(QFileInfo::exists(user.LogDir())); // that one is the log writer's
    EXPECT_TRUE(trace.contains("beside the program in " + program.path().toStdString()));
    EXPECT_TRUE(trace.contains("cannot be written: settings file in"));
}

class PanelFilePlacementTest : public FrameSimTest {
protected:
    UserPlaces m_user;
};

TEST_F(PanelFilePlacementTest, AnInstalledPanelReadsAndWritesItsFilesInTheUsersPlaces) {
    // A settings file already there from an earlier run.
    ASSERT_TRUE(QDir().mkpath(QFileInfo(m_user.SettingFile()).path()));
    {
        QFile f(m_user.SettingFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const int32_t durations[3] = {7, 8, 9};
        f.write(reinterpret_cast<const char*>(durations), sizeof durations);
    }
    UnwritableDir locked(m_skin.Path());
    ASSERT_TRUE(locked.ok()) << "cannot make a folder unwritable here";
    ASSERT_NO_FATAL_FAILURE(Start({Controller(4, 1, 'C')}));
    EXPECT_EQ(m_frame->m_hSetting.iPatternSec, 7);
    EXPECT_EQ(m_frame->m_hSetting.iApplyConfirmSec, 9);

    // The connect's EDID and pixel-count requests are commands: they are logged.
    ASSERT_TRUE(Connect());
    const QString log = m_user.LogDir() + QDate::currentDate().toString("yyyy.MM.dd") + ".txt";
    EXPECT_TRUE(QFile::exists(log)) << qPrintable(log);

    m_dialogs.settingOk = true;
    m_dialogs.settingAnswer = {5, 6, 16};
    ClickButton(Frame::kBtnSetting);
    QFile saved(m_user.SettingFile());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    ASSERT_EQ(bytes.size(), 12);
    int32_t durations[3] = {};
    std::memcpy(durations, bytes.constData(), 12);
    EXPECT_EQ(durations[0], 5);
    EXPECT_EQ(durations[1], 6);
    EXPECT_EQ(durations[2], 16);
    // Nothing went beside the program.
    EXPECT_FALSE(QFile::exists(m_skin.Path() + "/KZTRSettingFile.kzt"));
    EXPECT_FALSE(QFile::exists(m_skin.Path() + "/LogoFiles"));
}

} // namespace
} // namespace kztr::test
