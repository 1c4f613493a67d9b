// The splash on backgrounds of chosen sizes: where the placement puts it (integer halves
// truncated toward zero, even left of the screen), and a background file replaced while
// it shows.
#include "GUIGDIPlusMfcFrameSplash.h"
#include "GuiTestApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kRelBackground = QStringLiteral("GUISkin/GUIFrameSplash/GUIFrameSplashBK.tksx");

class SplashFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureGuiApp(); }
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("GUISkin/GUIFrameSplash")));
    }
    // A PNG (under the skin's own extension) filled with one colour.
    void WriteBackground(int w, int h, QColor colour) {
        QImage img(w, h, QImage::Format_ARGB32);
        img.fill(colour);
        ASSERT_TRUE(img.save(m_dir.filePath(kRelBackground), "PNG"));
    }
    void CreateAndPlace(CGUIGDIPlusMfcFrameSplash& splash) {
        splash.SetModuleDir(m_dir.path());
        splash.Create(nullptr);
        splash.show();
        QCoreApplication::processEvents(); // the posted placement
    }
    QTemporaryDir m_dir;
};

struct PlaceCase {
    const char* name;
    int w, h;
    QPoint pos;
};

void PrintTo(const PlaceCase& c, std::ostream* os) {
    *os << c.name;
}

class SplashPlacement : public SplashFrameTest, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(SplashPlacement, CentredOnTheFixedArea) {
    const PlaceCase& c = GetParam();
    WriteBackground(c.w, c.h, Qt::darkCyan);
    CGUIGDIPlusMfcFrameSplash splash;
    CreateAndPlace(splash);
    EXPECT_EQ(splash.size(), QSize(c.w, c.h));
    EXPECT_EQ(splash.pos(), c.pos);
    EXPECT_EQ(splash.GetShownImage().size(), QSize(c.w, c.h));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SplashPlacement,
    ::testing::Values(PlaceCase{"Size400x340", 400, 340, QPoint(600, 355)},
                      // Odd remainders are dropped: 1199 / 2 and 709 / 2.
                      PlaceCase{"OddSize401x341", 401, 341, QPoint(599, 354)},
                      // Wider than the area: left of the screen, -101 / 2 truncated to -50.
                      PlaceCase{"WiderThanArea1701", 1701, 100, QPoint(-50, 475)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SplashFrameTest, ReplacedBackgroundIsDrawnAtItsOwnSizeOnTheOldSurface) {
    WriteBackground(400, 340, Qt::red);
    CGUIGDIPlusMfcFrameSplash splash;
    splash.SetModuleDir(m_dir.path());
    splash.Create(nullptr);
    splash.show();
    ASSERT_EQ(splash.GetShownImage().pixelColor(300, 300), QColor(Qt::red));

    // Replaced before the placement message arrives: its repaint reads the new file.
    WriteBackground(200, 100, Qt::blue);
    QCoreApplication::processEvents();
    const QImage shown = splash.GetShownImage();
    ASSERT_EQ(shown.size(), QSize(400, 340)) << "the surface keeps the first background's size";
    EXPECT_EQ(shown.pixelColor(10, 10), QColor(Qt::blue));
    EXPECT_EQ(shown.pixelColor(300, 300).alpha(), 0) << "cleared outside the new image";
    EXPECT_EQ(splash.pos(), QPoint(600, 355)) << "placed by the surface's size";
}

TEST_F(SplashFrameTest, MissingBackgroundShowsNothingAndStartUpGoesOn) {
    CGUIGDIPlusMfcFrameSplash splash;
    CreateAndPlace(splash);
    EXPECT_TRUE(splash.IsCreated());
    EXPECT_EQ(splash.GetSurfaceDC(), nullptr);
    EXPECT_TRUE(splash.GetShownImage().isNull());
}

} // namespace
