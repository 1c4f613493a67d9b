// Skin images: decoding by content, the resource route and the frame-strip rule.
#include "SkinImage.h"
#include "GuiTestApp.h"
#include "SkinFixtures.h"

#include <QFile>
#include <QTemporaryDir>

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

} // namespace
