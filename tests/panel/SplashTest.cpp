// The splash: its own place on the 1600 x 1050 area, its texts, deaf to Enter and Escape,
// moved by a press anywhere.
#include "GUIGDIPlusMfcFrameSplash.h"
#include "GuiTestApp.h"
#include "PanelSkinDir.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class SplashTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureGuiApp(); }
    void SetUp() override {
        ASSERT_TRUE(m_skin.IsValid()) << qPrintable(m_skin.Error());
        m_splash.SetModuleDir(m_skin.Path());
    }
    void CreateAndPlace() {
        m_splash.Create(nullptr);
        m_splash.show();
        QCoreApplication::processEvents(); // the posted placement
    }
    PanelSkinDir m_skin;
    CGUIGDIPlusMfcFrameSplash m_splash;
};

TEST_F(SplashTest, CentresOnTheFixedAreaAtItsBackgroundsSize) {
    const QImage bk(m_skin.SkinFile("GUIFrameSplash/GUIFrameSplashBK.tksx"), "PNG");
    ASSERT_FALSE(bk.isNull());
    CreateAndPlace();
    EXPECT_EQ(m_splash.size(), bk.size());
    EXPECT_EQ(m_splash.pos(), QPoint((1600 - bk.width()) / 2, (1050 - bk.height()) / 2));
    EXPECT_TRUE(m_splash.isVisible());
}

TEST_F(SplashTest, DrawsVersionAndNoticeOverTheBackground) {
    CreateAndPlace();
    const QImage shown = m_splash.GetShownImage();
    QImage bare(m_skin.SkinFile("GUIFrameSplash/GUIFrameSplashBK.tksx"), "PNG");
    bare = bare.convertToFormat(shown.format());
    ASSERT_EQ(shown.size(), bare.size());
    // Text lies right-aligned in both lines; elsewhere the background shows unchanged.
    const auto differs = [&](int top, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = 6; x < 264; ++x)
                if (shown.pixel(x, y) != bare.pixel(x, y)) return true;
        return false;
    };
    EXPECT_TRUE(differs(293, 310)) << "version text";
    EXPECT_TRUE(differs(313, 330)) << "ownership notice";
    EXPECT_EQ(shown.pixel(3, 3), bare.pixel(3, 3));
    EXPECT_FALSE(CGUIGDIPlusMfcFrameSplash::kOwnershipText.isEmpty());
    EXPECT_EQ(CGUIGDIPlusMfcFrameSplash::kVersionText, "v3.11");
}

TEST_F(SplashTest, EnterAndEscapeDoNotCloseIt) {
    CreateAndPlace();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(&m_splash, key);
        EXPECT_TRUE(m_splash.isVisible()) << "key " << key;
    }
    m_splash.close();
    EXPECT_TRUE(m_splash.isVisible()) << "a close request is ignored as well";
}

TEST_F(SplashTest, APressAnywhereDragsIt) {
    CreateAndPlace();
    const QPoint before = m_splash.pos();
    QTest::mousePress(&m_splash, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(&m_splash, QPoint(150, 130));
    QTest::mouseRelease(&m_splash, Qt::LeftButton, {}, QPoint(150, 130));
    EXPECT_EQ(m_splash.pos(), before + QPoint(50, 30));
}

} // namespace
