// Skin images: decoding by content, the resource route and the frame-strip rule.
#include "SkinImage.h"
#include "GuiTestApp.h"
#include "SkinFixtures.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>

#include <gtest/gtest.h>

using namespace SkinFixtures;

namespace {

class SkinImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGuiApp();
        ASSERT_TRUE(m_dir.isValid());
    }
    QTemporaryDir m_dir;
};

TEST_F(SkinImageTest, PngNamedTksxDecodesByContent) {
    const QString path = WriteStrip(m_dir.path(), "GUIFrameMainCtrlBtn_Exit.tksx", 4, 5, 3);
    ASSERT_FALSE(path.isEmpty());
    const SkinImagePtr img = LoadSkinImage(0, "PNG", path);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->size(), QSize(20, 3));
    EXPECT_EQ(img->pixelColor(7, 1), FrameColor(1));
    EXPECT_TRUE(SkinImageUsable(img.get()));
}

TEST_F(SkinImageTest, MissingOrUndecodableFileGivesNoImage) {
    EXPECT_FALSE(LoadSkinImage(0, "PNG", m_dir.filePath("absent.tksx")));
    EXPECT_FALSE(LoadSkinImage(0, "PNG", QString()));

    QFile junk(m_dir.filePath("junk.tksx"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not an image at all");
    junk.close();
    EXPECT_FALSE(LoadSkinImage(0, "PNG", junk.fileName()));
    EXPECT_FALSE(SkinImageUsable(nullptr));
}

TEST_F(SkinImageTest, ResourceRouteUsesIdAndType) {
    SkinImagePtr img;
    ASSERT_TRUE(SkinImageFromResource(101, "PNG", img));
    ASSERT_TRUE(img);
    EXPECT_EQ(img->size(), QSize(8, 2));
    EXPECT_EQ(img->pixelColor(6, 1), QColor(0, 0, 255));

    // A nonzero id wins over the path.
    const QString path = WriteStrip(m_dir.path(), "file.tksx", 1, 3, 3);
    const SkinImagePtr viaId = LoadSkinImage(101, "PNG", path);
    ASSERT_TRUE(viaId);
    EXPECT_EQ(viaId->size(), QSize(8, 2));

    EXPECT_FALSE(SkinImageFromResource(102, "PNG", img));
    EXPECT_FALSE(img);
    EXPECT_FALSE(SkinImageFromResource(101, "JPG", img));
    EXPECT_FALSE(LoadSkinImage(999, "PNG", path));
}

struct StripCase {
    const char* name;
    int width;
    int frames;
    int frame;
    double left;
    double frameWidth;
    friend void PrintTo(const StripCase& c, std::ostream* os) { *os << c.name; }
};

class FrameStripRule : public ::testing::TestWithParam<StripCase> {};

TEST_P(FrameStripRule, LeftIsIntegerStepWidthIsReal) {
    const StripCase& c = GetParam();
    const QImage img(c.width, 7, QImage::Format_ARGB32_Premultiplied);
    const QRectF src = SkinFrameSource(img, c.frame, c.frames);
    EXPECT_DOUBLE_EQ(src.left(), c.left);
    EXPECT_DOUBLE_EQ(src.width(), c.frameWidth);
    EXPECT_DOUBLE_EQ(src.top(), 0.0);
    EXPECT_DOUBLE_EQ(src.height(), 7.0);
}

INSTANTIATE_TEST_SUITE_P(Strips, FrameStripRule,
                         ::testing::Values(StripCase{"Even4Frame0", 80, 4, 0, 0, 20},
                                           StripCase{"Even4Frame3", 80, 4, 3, 60, 20},
                                           StripCase{"Odd4Frame2", 83, 4, 2, 40, 20.75},
                                           StripCase{"Odd4Frame3", 83, 4, 3, 60, 20.75},
                                           StripCase{"Narrow3Of4Frame0", 3, 4, 0, 0, 0.75},
                                           StripCase{"Narrow3Of4Frame3", 3, 4, 3, 0, 0.75},
                                           StripCase{"TwoFrameState1", 2470, 2, 1, 1235, 1235},
                                           StripCase{"SingleFrame", 50, 1, 0, 0, 50}),
                         [](const auto& info) { return std::string(info.param.name); });

class DrawSkinFrameTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { EnsureGuiApp(); }
};

TEST_P(DrawSkinFrameTest, DrawsTheSelectedFrameStretched) {
    const int frame = GetParam();
    const QImage strip = MakeStrip(4, 10, 6);
    QImage surface = MakeSurface(100, 60);
    // Stretched three times into (20, 12)-(50, 30).
    DrawSkinFrame(&surface, &strip, frame, 4, GUIRect{20, 12, 50, 30});
    EXPECT_EQ(FrameAt(surface, {20, 12}), frame);
    EXPECT_EQ(FrameAt(surface, {35, 20}), frame);
    EXPECT_EQ(FrameAt(surface, {49, 29}), frame);
    EXPECT_EQ(InkBounds(surface), QRect(20, 12, 30, 18));
}

INSTANTIATE_TEST_SUITE_P(Frames, DrawSkinFrameTest, ::testing::Values(0, 1, 2, 3),
                         [](const auto& info) { return "Frame" + std::to_string(info.param); });

TEST(DrawSkinFrame, ReversedRectangleUsesAbsoluteSize) {
    EnsureGuiApp();
    const QImage strip = MakeStrip(4, 10, 6);
    QImage surface = MakeSurface(100, 60);
    DrawSkinFrame(&surface, &strip, 2, 4, GUIRect{20, 12, 10, 6});
    // x = left, y = top, width = |right - left|, height = |bottom - top|.
    EXPECT_EQ(InkBounds(surface), QRect(20, 12, 10, 6));
    EXPECT_EQ(FrameAt(surface, {25, 15}), 2);
}

TEST(DrawSkinFrame, NothingWithoutImageOrDevice) {
    EnsureGuiApp();
    QImage surface = MakeSurface(40, 40);
    DrawSkinFrame(&surface, nullptr, 0, 4, GUIRect{0, 0, 40, 40});
    const QImage empty;
    DrawSkinFrame(&surface, &empty, 0, 4, GUIRect{0, 0, 40, 40});
    EXPECT_TRUE(IsClear(surface));
    const QImage strip = MakeStrip(4, 10, 6);
    DrawSkinFrame(nullptr, &strip, 0, 4, GUIRect{0, 0, 40, 40}); // must not crash
}

TEST(DrawSkinFrame, KeepsTheImagesOwnAlpha) {
    EnsureGuiApp();
    QImage strip(8, 4, QImage::Format_ARGB32);
    strip.fill(QColor(0, 0, 255, 128));
    QImage surface = MakeSurface(8, 4);
    DrawSkinFrame(&surface, &strip, 0, 1, GUIRect{0, 0, 8, 4});
    EXPECT_NEAR(surface.pixelColor(3, 2).alpha(), 128, 1);
}

// The twin for dense screens: "<name>@2x.<ext>" beside the file, four frames coloured as
// frames 4 to 7, so a drawn pixel tells which of the two pictures was drawn.
class SkinTwinTest : public SkinImageTest {
protected:
    QString WriteStripAndTwin(QSize twinFrame = QSize(10, 6)) {
        const QString path = WriteStrip(m_dir.path(), "Ctrl.tksx", 4, 5, 3);
        const QImage eight = MakeStrip(8, twinFrame.width(), twinFrame.height());
        const QImage twin =
            eight.copy(4 * twinFrame.width(), 0, 4 * twinFrame.width(), twinFrame.height());
        EXPECT_FALSE(WritePng(m_dir.path(), "Ctrl@2x.tksx", twin).isEmpty());
        return path;
    }
    // The frame drawn in the middle of a 20 x 12 place on a surface of that ratio.
    static int FrameDrawnAt(const QImage& img, qreal ratio) {
        QImage surface = MakeSurface(int(std::ceil(20 * ratio)), int(std::ceil(12 * ratio)));
        surface.setDevicePixelRatio(ratio);
        DrawSkinFrame(&surface, &img, 2, 4, GUIRect{0, 0, 20, 12});
        return FrameAt(surface, QPoint(int(10 * ratio), int(6 * ratio)));
    }
};

TEST(SkinTwinPath, AtTwoXGoesBeforeTheExtension) {
    EXPECT_EQ(SkinTwinPath("/s/GUISkin/GUIFrameMain/GUIFrameMainBKEn.tksx"),
              "/s/GUISkin/GUIFrameMain/GUIFrameMainBKEn@2x.tksx");
    EXPECT_EQ(SkinTwinPath("/a.b/skin"), "/a.b/skin@2x");
    EXPECT_EQ(SkinTwinPath(":/PNG/101"), ":/PNG/101@2x");
}

struct RatioCase {
    const char* name;
    qreal ratio;
    int frame; // 2 from the 1x picture, 6 from the twin
};

void PrintTo(const RatioCase& c, std::ostream* os) {
    *os << c.name;
}

class SkinTwinRatio : public SkinTwinTest, public ::testing::WithParamInterface<RatioCase> {};

TEST_P(SkinTwinRatio, TheNearerScaleIsDrawn) {
    const SkinImagePtr img = LoadSkinImage(0, "PNG", WriteStripAndTwin());
    ASSERT_TRUE(img);
    // Size, strips and hit tests stay those of the 1x file whatever is drawn.
    EXPECT_EQ(img->size(), QSize(20, 3));
    EXPECT_EQ(FrameDrawnAt(*img, GetParam().ratio), GetParam().frame);
}

INSTANTIATE_TEST_SUITE_P(Ratios, SkinTwinRatio,
                         ::testing::Values(RatioCase{"One", 1.0, 2},
                                           RatioCase{"OneQuarter", 1.25, 2},
                                           RatioCase{"JustBelowOneHalf", 1.49, 2},
                                           RatioCase{"OneHalf", 1.5, 6}, RatioCase{"Two", 2.0, 6},
                                           RatioCase{"Three", 3.0, 6}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SkinTwinTest, TheTwinComesAtRatioTwoByQtsNamingRule) {
    const SkinImagePtr img = LoadSkinImage(0, "PNG", WriteStripAndTwin());
    ASSERT_TRUE(img);
    const QImage& twin = img->ForRatio(2.0);
    EXPECT_EQ(twin.size(), QSize(40, 6));
    EXPECT_EQ(twin.devicePixelRatio(), 2.0);
    EXPECT_EQ(&img->ForRatio(1.0), static_cast<const QImage*>(img.get()));
}

TEST_F(SkinTwinTest, AMissingDamagedOrMisfitTwinLeavesTheOneX) {
    const QString path = WriteStrip(m_dir.path(), "Lone.tksx", 4, 5, 3);
    const SkinImagePtr lone = LoadSkinImage(0, "PNG", path);
    ASSERT_TRUE(lone);
    EXPECT_EQ(FrameDrawnAt(*lone, 2.0), 2);

    QFile junk(m_dir.filePath("Junk@2x.tksx"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    const SkinImagePtr damaged =
        LoadSkinImage(0, "PNG", WriteStrip(m_dir.path(), "Junk.tksx", 4, 5, 3));
    ASSERT_TRUE(damaged);
    EXPECT_EQ(FrameDrawnAt(*damaged, 2.0), 2);

    // Three times, not twice, as large: its frames would not line up with the 1x ones.
    const SkinImagePtr misfit = LoadSkinImage(0, "PNG", WriteStripAndTwin(QSize(15, 9)));
    ASSERT_TRUE(misfit);
    EXPECT_EQ(FrameDrawnAt(*misfit, 2.0), 2);
}

TEST_F(SkinTwinTest, APlainPictureIsDrawnAsItIsAtAnyRatio) {
    const QImage strip = MakeStrip(4, 5, 3);
    EXPECT_EQ(&SkinImageForRatio(strip, 2.0), &strip);
    EXPECT_EQ(FrameDrawnAt(strip, 2.0), 2);
}

} // namespace
