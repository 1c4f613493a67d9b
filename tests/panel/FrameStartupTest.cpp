// Start-up as the application runs it: failures show the error box over the splash and
// end the run with a failure status; Exit ends it with 0 and closes the links.
#include "ErrorBox.h"
#include "PanelTestFrame.h"
#include "ProcessFlags.h"
#include "PtyPair.h"
#include "ScopedEnv.h"

#include <QTemporaryDir>
#include <QTest>

#include <string>

namespace {

class RecordingSink : public ErrorBoxSink {
public:
    explicit RecordingSink(const CGUIGDIPlusMfcFrameMain& frame) : m_frame(frame) {}
    void ShowErrorBox(const QString& caption, const QString& text) override {
        m_vecBoxes.push_back({caption, text, m_frame.m_hSplash.isVisible(), m_frame.isVisible()});
    }
    struct Box {
        QString caption;
        QString text;
        bool splashVisible;
        bool frameVisible;
    };
    std::vector<Box> m_vecBoxes;

private:
    const CGUIGDIPlusMfcFrameMain& m_frame;
};

struct SkinCase {
    const char* name;
    const char* removed; // under GUISkin/
    bool startsUp;
};

void PrintTo(const SkinCase& c, std::ostream* os) {
    *os << c.name;
}

class SkinStartupTest : public PanelTest, public ::testing::WithParamInterface<SkinCase> {};

TEST_P(SkinStartupTest, RunsOrFailsWithTheBox) {
    ASSERT_TRUE(m_skin.RemoveSkinFile(GetParam().removed));
    RecordingSink sink(*m_frame);
    ErrorBoxSink* previous = SetErrorBoxSink(&sink);
    const int status = RunModal([this] { m_frame->done(0); });
    SetErrorBoxSink(previous);

    if (GetParam().startsUp) {
        EXPECT_EQ(status, 0);
        EXPECT_FALSE(m_frame->InitFailed());
        EXPECT_TRUE(sink.m_vecBoxes.empty());
        EXPECT_EQ(g_pMainFrame.load(), m_frame.get());
    } else {
        EXPECT_EQ(status, CGUIGDIPlusMfcFrameMain::kInitFailedStatus);
        EXPECT_TRUE(m_frame->InitFailed());
        ASSERT_EQ(sink.m_vecBoxes.size(), 1u);
        EXPECT_EQ(sink.m_vecBoxes[0].caption, "Quorvane Error...");
        EXPECT_EQ(sink.m_vecBoxes[0].text, "KZTRMaster initialize fail.");
        EXPECT_TRUE(sink.m_vecBoxes[0].splashVisible) << "the box stands over the splash";
        EXPECT_FALSE(sink.m_vecBoxes[0].frameVisible);
        EXPECT_EQ(g_pMainFrame.load(), nullptr);
        // One missing image does not stop the building: the last group built loaded.
        const bool editBoxGone = QString(GetParam().removed).contains("EditBox");
        EXPECT_TRUE(editBoxGone ? m_frame->m_hGUICtrlSliderRes.m_pImage != nullptr
                                : m_frame->m_hGUICtrlEditBox[8].HasImage());
    }
    m_frame->DestroyWindow();
    EXPECT_EQ(g_pMainFrame.load(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Skin, SkinStartupTest,
    ::testing::Values(
        SkinCase{"NoConnectedBackground", "GUIFrameMain/GUIFrameMainBKEn.tksx", false},
        SkinCase{"NoExitButton", "GUIFrameMain/GUIFrameMainCtrlBtn_Exit.tksx", false},
        SkinCase{"NoSliderBar", "GUIFrameMain/GUIFrameMainCtrlSlider_ResolutionBar.tksx", false},
        SkinCase{"NoEditBox", "GUIFrameMain/GUIFrameMainCtrlEditBox.tksx", false},
        SkinCase{"NoPureShade", "GUIFrameMain/GUIFrameMainBKShadowPure.tksx", false},
        // Only the connected background is checked; the splash may be missing.
        SkinCase{"NoNotConnectedBackground", "GUIFrameMain/GUIFrameMainBKDs.tksx", true},
        SkinCase{"NoSplashBackground", "GUIFrameSplash/GUIFrameSplashBK.tksx", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelTest, ExitEndsTheRunWithZeroAndTheDestroyClosesEveryLink) {
    // Runs last in its process: the quit ends every later event loop as well.
    // Two links open, as after a connect, on pseudo-terminals standing in for controllers.
    QTemporaryDir ports;
    kztr::test::ScopedEnv portDir("RZ8_PORT_DIR", ports.path().toStdString());
    kztr::test::PtyPair com1, com2;
    ASSERT_TRUE(com1.ok() && com2.ok());
    ASSERT_TRUE(com1.linkAs(ports.filePath("COM1").toStdString()));
    ASSERT_TRUE(com2.linkAs(ports.filePath("COM2").toStdString()));
    ASSERT_EQ(m_frame->m_hRZ8Dev[0].OpenPort(1, 460800), 1);
    ASSERT_EQ(m_frame->m_hRZ8Dev[1].OpenPort(2, 460800), 1);

    bool exitPressed = false;
    EXPECT_EQ(RunModal([&] {
                  const GUIRect& rc =
                      m_frame->m_hGUICtrlBtn[CGUIGDIPlusMfcFrameMain::kBtnExit].m_rcCtrl;
                  const QPoint p((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
                  QTest::mousePress(m_frame.get(), Qt::LeftButton, {}, p);
                  QTest::mouseRelease(m_frame.get(), Qt::LeftButton, {}, p);
                  exitPressed = true;
              }),
              0);
    EXPECT_TRUE(exitPressed);
    m_frame->DestroyWindow();
    for (const auto& dev : m_frame->m_hRZ8Dev)
        EXPECT_FALSE(dev.IsOpen());
    EXPECT_FALSE(m_frame->isVisible());
}

} // namespace
