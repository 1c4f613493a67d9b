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
                      CloseCase{
                          "EscapeKey",
                          [](CGUIGDIPlusMfcFrameMain& f) { QTest::keyClick(&f, Qt::Key_Escape); }},
                      CloseCase{"WindowClose", [](CGUIGDIPlusMfcFrameMain& f) { f.close(); }}),
    [](const auto& info) { return std::string(info.param.name); });

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
