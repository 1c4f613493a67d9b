#include "PanelTestFrame.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class FrameMainTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureGuiApp(); }
    void SetUp() override { ASSERT_TRUE(m_tmp.isValid()); }
    QTemporaryDir m_tmp;
};

TEST_F(FrameMainTest, WithoutASettingsFileTheDefaultsStay) {
    CGUIGDIPlusMfcFrameMain frame(m_tmp.path());
    EXPECT_EQ(frame.m_hSetting.iPatternSec, 20);
    EXPECT_EQ(frame.m_hSetting.iIdentifySec, 10);
    EXPECT_EQ(frame.m_hSetting.iApplyConfirmSec, 30);
    EXPECT_EQ(frame.m_strSettingFile, m_tmp.path() + "/KZTRSettingFile.kzt");
    EXPECT_EQ(frame.m_strLogDir, m_tmp.path() + "/LogoFiles/");
    EXPECT_TRUE(QDir(m_tmp.path()).isEmpty()) << "construction writes nothing";
}

TEST_F(FrameMainTest, DurationsComeFromTheSettingsFile) {
    ASSERT_EQ(WriteSettingFile(m_tmp.path() + "/KZTRSettingFile.kzt", {45, 5, 60}), 1);
    CGUIGDIPlusMfcFrameMain frame(m_tmp.path());
    EXPECT_EQ(frame.m_hSetting.iPatternSec, 45);
    EXPECT_EQ(frame.m_hSetting.iIdentifySec, 5);
    EXPECT_EQ(frame.m_hSetting.iApplyConfirmSec, 60);
}

TEST_F(FrameMainTest, PathsAreBesideTheExecutableWhateverTheCurrentDirectory) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_tmp.path()));
    CGUIGDIPlusMfcFrameMain frame;
    QDir::setCurrent(before);

    const QString exeDir = QCoreApplication::applicationDirPath();
    ASSERT_NE(QDir(exeDir), QDir(m_tmp.path()));
    EXPECT_EQ(QFileInfo(frame.m_strSettingFile).absoluteDir(), QDir(exeDir));
    EXPECT_EQ(QFileInfo(frame.m_strSettingFile).fileName(), "KZTRSettingFile.kzt");
    EXPECT_TRUE(QFileInfo(frame.m_strSettingFile).isAbsolute());
    EXPECT_EQ(QDir(frame.m_strLogDir), QDir(exeDir + "/LogoFiles"));
    EXPECT_TRUE(frame.m_strLogDir.endsWith('/'));
}

// Ways the operator or the system end the modal run; each must return from exec.
struct CloseCase {
    const char* name;
    void (*close)(CGUIGDIPlusMfcFrameMain& frame);
};

void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.name;
}

class FrameMainCloseTest : public PanelTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(FrameMainCloseTest, EndsTheModalRun) {
    bool stillRunningAfterOk = false;
    const int result = RunModal([&] {
        m_frame->accept(); // IDOK does nothing
        stillRunningAfterOk = m_frame->isVisible();
        GetParam().close(*m_frame);
    });
    m_frame->DestroyWindow();

    EXPECT_TRUE(stillRunningAfterOk);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(m_frame->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, FrameMainCloseTest,
    ::testing::Values(CloseCase{"Cancel", [](CGUIGDIPlusMfcFrameMain& f) { f.reject(); }},
                      CloseCase{"WindowClose", [](CGUIGDIPlusMfcFrameMain& f) { f.close(); }}),
    [](const auto& info) { return std::string(info.param.name); });

// Keys that a dialog would take for OK or Cancel; on the panel they change nothing.
class FrameMainKeyTest : public PanelTest, public ::testing::WithParamInterface<Qt::Key> {
protected:
    // Neither Rejected nor Accepted: only the test's own end gives it.
    static constexpr int kEndedByTest = 7;
};

TEST_P(FrameMainKeyTest, LeavesThePanelRunning) {
    bool visibleAfterKey = false;
    const int result = RunModal([&] {
        QTest::keyClick(m_frame.get(), GetParam());
        visibleAfterKey = m_frame->isVisible();
        // Whatever the key did shows once the events it queued have run.
        QTimer::singleShot(0, m_frame.get(), [this] { m_frame->done(kEndedByTest); });
    });
    m_frame->DestroyWindow();

    EXPECT_TRUE(visibleAfterKey);
    EXPECT_EQ(result, kEndedByTest) << "the key ended the run itself";
}

INSTANTIATE_TEST_SUITE_P(Keys, FrameMainKeyTest,
                         ::testing::Values(Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter),
                         [](const auto& info) {
                             switch (info.param) {
                             case Qt::Key_Escape:
                                 return std::string("Escape");
                             case Qt::Key_Return:
                                 return std::string("Return");
                             default:
                                 return std::string("Enter");
                             }
                         });

TEST_F(FrameMainTest, DestroyWindowRunsOnceAndTheDestructorCopes) {
    auto frame = std::make_unique<CGUIGDIPlusMfcFrameMain>(m_tmp.path());
    frame->show();
    frame->DestroyWindow();
    EXPECT_FALSE(frame->isVisible());
    frame->DestroyWindow();
    frame.reset(); // the destructor's own call must be harmless too
    SUCCEED();
}

} // namespace
