// Drawing primitives, labels and image panels, checked by pixels.
#include "GUIGDIPlusMfcCtrlImage.h"
#include "GUIGDIPlusMfcCtrlText.h"
#include "GUIGDIPlusMfcPainter.h"
#include "GuiTestApp.h"
#include "SkinFixtures.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace SkinFixtures;

namespace {

constexpr GUIColorRef kRed = 0x0000FF;   // 0x00BBGGRR
constexpr GUIColorRef kAmber = 0x2DDCFF; // red 255, green 220, blue 45

struct AlphaCase {
    const char* name;
    unsigned alpha;
    float scale;
    friend void PrintTo(const AlphaCase& c, std::ostream* os) { *os << c.name; }
};

class AlphaScale : public ::testing::TestWithParam<AlphaCase> {};

TEST_P(AlphaScale, ClampedToByteThenScaled) {
    CGUIGDIPlusMfcPainter painter;
    painter.Startup();
    EXPECT_NEAR(painter.SetAlphaScale(GetParam().alpha), GetParam().scale, 1e-6);
    EXPECT_NEAR(painter.GetAlphaScale(), GetParam().scale, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Values, AlphaScale,
                         ::testing::Values(AlphaCase{"Above255", 300, 1.0f},
                                           AlphaCase{"Full", 255, 1.0f}, AlphaCase{"Zero", 0, 0.0f},
                                           AlphaCase{"Half", 51, 0.2f}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ColourConversion, ColorRefIsBlueGreenRed) {
    const QColor c = ColorFromRef(kAmber, 200);
    EXPECT_EQ(c.red(), 255);
    EXPECT_EQ(c.green(), 220);
    EXPECT_EQ(c.blue(), 45);
    EXPECT_EQ(c.alpha(), 200);
    EXPECT_EQ(BrushColor(kAmber, 255).alpha(), 254);
    EXPECT_EQ(BrushColor(kAmber, 1000).alpha(), 254);
    EXPECT_EQ(BrushColor(kAmber, 253).alpha(), 253);
}

class PainterTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGuiApp();
        ASSERT_TRUE(m_dir.isValid());
        m_painter.Startup();
        m_surface = MakeSurface(200, 120);
    }
    QTemporaryDir m_dir;
    CGUIGDIPlusMfcPainter m_painter;
    QImage m_surface;
};

TEST_F(PainterTest, SkinImageThroughAlphaScale) {
    const QString path = WriteStrip(m_dir.path(), "bk.tksx", 1, 10, 10);
    m_painter.DrawSkinImage(path, &m_surface, 5, 5, 20, 20, 255);
    EXPECT_EQ(FrameAt(m_surface, {6, 6}), 0); // full opacity through the matrix
    EXPECT_EQ(InkBounds(m_surface), QRect(5, 5, 20, 20));

    QImage half = MakeSurface(40, 40);
    m_painter.DrawSkinImage(path, &half, 0, 0, 10, 10, 51);
    EXPECT_NEAR(half.pixelColor(3, 3).alpha(), 51, 1);

    QImage none = MakeSurface(40, 40);
    m_painter.DrawSkinImage(path, &none, 0, 0, 10, 10, 0);
    EXPECT_TRUE(IsClear(none)); // scale 0: invisible
    m_painter.DrawSkinImage(m_dir.filePath("missing.tksx"), &none, 0, 0, 10, 10, 255);
    EXPECT_TRUE(IsClear(none));
}

TEST_F(PainterTest, NothingDrawnBeforeStartup) {
    CGUIGDIPlusMfcPainter idle;
    const QString path = WriteStrip(m_dir.path(), "bk.tksx", 1, 10, 10);
    idle.DrawSkinImage(path, &m_surface, 0, 0, 10, 10, 255);
    idle.FillRectEx(&m_surface, GUIRect{0, 0, 50, 50}, kRed, 255);
    idle.DrawTextEx(&m_surface, "Text", 0, 0, 100, 30, false, 14, kRed, 255, 0, 0, "Arial");
    EXPECT_TRUE(IsClear(m_surface));
}

TEST_F(PainterTest, BrushesNeverReachFullAlpha) {
    m_painter.FillRectEx(&m_surface, GUIRect{10, 10, 30, 30}, kRed, 255);
    EXPECT_EQ(m_surface.pixelColor(15, 15).alpha(), 254);
    EXPECT_EQ(InkBounds(m_surface), QRect(10, 10, 20, 20));
}

TEST_F(PainterTest, FrameRectStyles) {
    const GUIRect rc{20, 20, 100, 80};
    QImage none = MakeSurface(200, 120);
    m_painter.DrawFrameRect(&none, rc, kRed, 255, 1, true, 2);
    EXPECT_TRUE(IsClear(none));

    QImage sides = MakeSurface(200, 120);
    m_painter.DrawFrameRect(&sides, rc, kRed, 255, 1, true, 0);
    EXPECT_GT(qAlpha(sides.pixel(60, 20)), 0);  // middle of the top side
    EXPECT_GT(qAlpha(sides.pixel(100, 50)), 0); // middle of the right side
    EXPECT_TRUE(IsClear(sides, QRect(30, 30, 60, 40)));

    QImage corners = MakeSurface(200, 120);
    m_painter.DrawFrameRect(&corners, rc, kRed, 255, 1, true, 1);
    EXPECT_GT(qAlpha(corners.pixel(22, 20)), 0);
    EXPECT_GT(qAlpha(corners.pixel(20, 22)), 0);
    EXPECT_GT(qAlpha(corners.pixel(98, 80)), 0);
    EXPECT_EQ(qAlpha(corners.pixel(60, 20)), 0); // no side between the marks
    EXPECT_EQ(qAlpha(corners.pixel(20, 50)), 0);
}

TEST_F(PainterTest, DottedLineHasGapsSolidHasNone) {
    auto coverage = [](const QImage& img) {
        int n = 0;
        for (int x = 10; x < 110; ++x)
            n += qAlpha(img.pixel(x, 50)) > 0 ? 1 : 0;
        return n;
    };
    QImage solid = MakeSurface(200, 120);
    m_painter.DrawLineEx(&solid, 10, 50, 110, 50, kRed, 255, 1, true);
    QImage dotted = MakeSurface(200, 120);
    m_painter.DrawLineEx(&dotted, 10, 50, 110, 50, kRed, 255, 1, false);
    EXPECT_EQ(coverage(solid), 100);
    EXPECT_GT(coverage(dotted), 20);
    EXPECT_LT(coverage(dotted), 80);
    EXPECT_EQ(solid.pixelColor(50, 50).alpha(), 254);
}

TEST_F(PainterTest, GradientAngleZeroRunsTopToBottom) {
    m_painter.FillGradientRect(&m_surface, GUIRect{0, 0, 100, 100}, 0x0000FF, 255, 0xFF0000, 255,
                               0);
    const QColor top = m_surface.pixelColor(50, 1);
    const QColor bottom = m_surface.pixelColor(50, 98);
    EXPECT_GT(top.red(), 240);
    EXPECT_LT(top.blue(), 15);
    EXPECT_GT(bottom.blue(), 240);
    EXPECT_LT(bottom.red(), 15);
    // Angle 90 turns it into a horizontal run (brush angle 0).
    QImage side = MakeSurface(100, 100);
    m_painter.FillGradientRect(&side, GUIRect{0, 0, 100, 100}, 0x0000FF, 255, 0xFF0000, 255, 90);
    EXPECT_GT(side.pixelColor(1, 50).red(), 240);
    EXPECT_GT(side.pixelColor(98, 50).blue(), 240);
}

TEST_F(PainterTest, EllipseFillsInsideOnly) {
    m_painter.DrawEllipseEx(&m_surface, 20, 20, 80, 80, kRed, 0, 0);
    EXPECT_EQ(m_surface.pixelColor(50, 50).alpha(), 254);
    EXPECT_EQ(m_surface.pixelColor(50, 50).red(), 255);
    EXPECT_EQ(qAlpha(m_surface.pixel(21, 21)), 0);

    QImage bordered = MakeSurface(200, 120);
    m_painter.DrawEllipseEx(&bordered, 20, 20, 80, 80, kRed, 3, 0xFF0000);
    EXPECT_GT(bordered.pixelColor(50, 20).blue(), 200); // outline on the top edge
    EXPECT_EQ(bordered.pixelColor(50, 50).red(), 255);

    // A reversed rectangle keeps its corner at (left, top) and takes the absolute size.
    QImage reversed = MakeSurface(200, 120);
    m_painter.DrawEllipseEx(&reversed, 100, 20, 40, 80, kRed, 0, 0);
    EXPECT_EQ(reversed.pixelColor(130, 50).alpha(), 254) << "centre of (100, 20, 60, 60)";
    EXPECT_EQ(qAlpha(reversed.pixel(70, 50)), 0) << "centre of (40, 20, 60, 60)";
}

TEST_F(PainterTest, ClipAndScaledImages) {
    const QString path = WriteStrip(m_dir.path(), "s.tksx", 4, 10, 8); // 40 x 8
    m_painter.DrawSkinImageClip(0, "PNG", path, &m_surface, 100, 50, 20, 0, 15, 100, 255);
    // Source (20, 0, 15, 8): frames 2 then 3.
    EXPECT_EQ(InkBounds(m_surface), QRect(100, 50, 15, 8));
    EXPECT_EQ(FrameAt(m_surface, {100, 50}), 2);
    EXPECT_EQ(FrameAt(m_surface, {112, 57}), 3);

    QImage scaled = MakeSurface(200, 120);
    m_painter.DrawScaledImage(0, "PNG", path, &scaled, 3, 4, 1.5);
    EXPECT_EQ(InkBounds(scaled), QRect(3, 4, 60, 12));
    QImage negative = MakeSurface(200, 120);
    m_painter.DrawScaledImage(0, "PNG", path, &negative, 3, 4, -1.0);
    EXPECT_TRUE(IsClear(negative));

    QImage natural = MakeSurface(200, 120);
    m_painter.DrawImageAt(path, &natural, 7, 9, 255);
    EXPECT_EQ(InkBounds(natural), QRect(7, 9, 40, 8));

    GUIRect rc;
    EXPECT_TRUE(m_painter.GetSkinImageRect(0, "PNG", path, rc));
    EXPECT_EQ(rc, (GUIRect{0, 0, 40, 8}));
    EXPECT_FALSE(m_painter.GetSkinImageRect(0, "PNG", m_dir.filePath("none"), rc));
}

// Text ----------------------------------------------------------------------------------

CGUIGDIPlusMfcCtrlText MakeLabel(const QString& text, GUIRect rc, int align = 0) {
    CGUIGDIPlusMfcCtrlText label;
    label.m_strText = text;
    label.m_rcCtrl = rc;
    label.m_strFace = "Arial";
    label.m_uSize = 16;
    label.m_iAlign = align;
    label.m_clrText = kRed;
    label.m_byAlpha = 255;
    label.m_bVisible = true;
    return label;
}

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGuiApp();
        m_surface = MakeSurface(300, 120);
    }
    QImage m_surface;
};

TEST_F(LabelTest, FullAlphaIsDrawnAs254) {
    MakeLabel("HHHH", GUIRect{10, 10, 200, 50}).Draw(&m_surface);
    EXPECT_EQ(MaxAlpha(m_surface), 254);
    const QColor c = MostOpaqueColor(m_surface);
    EXPECT_EQ(c.red(), 255);
    EXPECT_EQ(c.green(), 0);
}

TEST_F(LabelTest, DisabledIsGrey969696) {
    CGUIGDIPlusMfcCtrlText label = MakeLabel("HHHH", GUIRect{10, 10, 200, 50});
    label.SetEnable(false);
    label.Draw(&m_surface);
    const QColor c = MostOpaqueColor(m_surface);
    EXPECT_NEAR(c.red(), 150, 1);
    EXPECT_NEAR(c.green(), 150, 1);
    EXPECT_NEAR(c.blue(), 150, 1);
    EXPECT_EQ(c.alpha(), 254);
}

TEST_F(LabelTest, HiddenOrEmptyDrawsNothing) {
    CGUIGDIPlusMfcCtrlText label = MakeLabel("HHHH", GUIRect{10, 10, 200, 50});
    label.SetVisible(false);
    label.Draw(&m_surface);
    EXPECT_TRUE(IsClear(m_surface));
    label.SetVisible(true);
    label.Draw(nullptr); // no device: nothing, no crash
    CGUIGDIPlusMfcCtrlText sizeless = MakeLabel("HHHH", GUIRect{10, 10, 200, 50});
    sizeless.m_uSize = 0;
    sizeless.Draw(&m_surface);
    EXPECT_TRUE(IsClear(m_surface));
}

TEST_F(LabelTest, CopyAndSetters) {
    CGUIGDIPlusMfcCtrlText desc = MakeLabel("A", GUIRect{1, 2, 3, 4}, 2);
    desc.m_iAngle = 45;
    CGUIGDIPlusMfcCtrlText label;
    label.CopyFrom(desc);
    EXPECT_EQ(label.m_strText, "A");
    EXPECT_EQ(label.m_rcCtrl, (GUIRect{1, 2, 3, 4}));
    EXPECT_EQ(label.m_iAlign, 2);
    EXPECT_EQ(label.m_iAngle, 45);
    label.SetText("B");
    label.SetRect(5, 6, 7, 8);
    EXPECT_EQ(label.m_strText, "B");
    EXPECT_EQ(label.m_rcCtrl, (GUIRect{5, 6, 7, 8}));
    EXPECT_EQ(desc.m_strText, "A");
}

TEST_F(LabelTest, MissingFaceFallsBackToArial) {
    QImage arial = MakeSurface(300, 120);
    MakeLabel("Quorvane 123", GUIRect{10, 10, 280, 60}).Draw(&arial);
    CGUIGDIPlusMfcCtrlText other = MakeLabel("Quorvane 123", GUIRect{10, 10, 280, 60});
    other.m_strFace = "NoSuchFaceKztr";
    other.Draw(&m_surface);
    EXPECT_FALSE(IsClear(m_surface));
    EXPECT_EQ(m_surface, arial);
    EXPECT_EQ(ResolveFontFace("NoSuchFaceKztr"), "Arial");
    EXPECT_EQ(ResolveFontFace(""), "Arial");
}

struct AlignCase {
    const char* name;
    int align;
    int expected; // 0 left, 1 centre, 2 right
    friend void PrintTo(const AlignCase& c, std::ostream* os) { *os << c.name; }
};

class LabelAlignment : public ::testing::TestWithParam<AlignCase> {};

TEST_P(LabelAlignment, HorizontalPlacementAndVerticalCentre) {
    EnsureGuiApp();
    QImage surface = MakeSurface(300, 120);
    const GUIRect rc{20, 10, 280, 110};
    MakeLabel("MMM", rc, GetParam().align).Draw(&surface);
    const QRect ink = InkBounds(surface, 64);
    ASSERT_FALSE(ink.isNull());
    switch (GetParam().expected) {
    case 0:
        EXPECT_LE(ink.left() - rc.left, 4);
        break;
    case 1:
        EXPECT_NEAR(ink.center().x(), (rc.left + rc.right) / 2, 3);
        break;
    default:
        EXPECT_LE(rc.right - 1 - ink.right(), 4);
        break;
    }
    // Vertically centred in the 100-pixel-high rectangle (capital letters sit a little
    // above the line's centre because of the descent).
    EXPECT_NEAR(ink.center().y(), (rc.top + rc.bottom) / 2, 4);
}

INSTANTIATE_TEST_SUITE_P(Values, LabelAlignment,
                         ::testing::Values(AlignCase{"Left", 0, 0}, AlignCase{"Centre", 1, 1},
                                           AlignCase{"Right", 2, 2}, AlignCase{"OtherIsLeft", 5, 0},
                                           AlignCase{"NegativeIsLeft", -1, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LabelTest, RotationIsAboutTheSurfaceOrigin) {
    // Above the surface: unrotated it is invisible.
    CGUIGDIPlusMfcCtrlText label = MakeLabel("MMMMM", GUIRect{20, -30, 120, -10});
    label.Draw(&m_surface);
    EXPECT_TRUE(IsClear(m_surface));
    // Rotated 90 degrees clockwise about (0, 0): (x, y) -> (-y, x), so the text lands in
    // x 10..30, y 20..120, standing upright along the left edge.
    label.m_iAngle = 90;
    label.Draw(&m_surface);
    const QRect ink = InkBounds(m_surface);
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.left(), 10);
    EXPECT_LE(ink.right(), 30);
    EXPECT_GE(ink.top(), 20);
    EXPECT_GT(ink.height(), ink.width());

    // The same label far from the origin leaves the visible area.
    QImage far = MakeSurface(300, 120);
    CGUIGDIPlusMfcCtrlText away = MakeLabel("MMMMM", GUIRect{100, 60, 200, 80});
    away.m_iAngle = 90;
    away.Draw(&far);
    EXPECT_TRUE(IsClear(far));
}

TEST_F(LabelTest, PainterTextMatchesLabelText) {
    CGUIGDIPlusMfcPainter painter;
    painter.Startup();
    QImage viaPainter = MakeSurface(300, 120);
    painter.DrawTextEx(&viaPainter, "Apply 42", 10, 10, 250, 60, true, 18, kAmber, 220, 0, 1,
                       "Arial");
    CGUIGDIPlusMfcCtrlText label = MakeLabel("Apply 42", GUIRect{10, 10, 250, 60}, 1);
    label.m_bBold = true;
    label.m_uSize = 18;
    label.m_clrText = kAmber;
    label.m_byAlpha = 220;
    label.Draw(&m_surface);
    EXPECT_FALSE(IsClear(m_surface));
    EXPECT_EQ(viaPainter, m_surface);
    EXPECT_EQ(MaxAlpha(viaPainter), 220);
}

TEST_F(LabelTest, TextIsClippedToItsRectangle) {
    MakeLabel("MMMMMMMMMMMMMMMMMMMM", GUIRect{20, 10, 60, 50}).Draw(&m_surface);
    const QRect ink = InkBounds(m_surface);
    ASSERT_FALSE(ink.isNull());
    EXPECT_TRUE(QRect(20, 10, 40, 40).contains(ink));
}

// Image panel -----------------------------------------------------------------------------

class ImagePanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGuiApp();
        ASSERT_TRUE(m_dir.isValid());
        m_desc.m_strImagePath = WriteStrip(m_dir.path(), "Shade.tksx", 2, 10, 10);
        m_desc.m_rcCtrl = GUIRect{5, 5, 45, 25};
        m_desc.m_bVisible = true;
        m_surface = MakeSurface(60, 40);
    }
    QTemporaryDir m_dir;
    CGUIGDIPlusMfcCtrlImage m_desc;
    QImage m_surface;
};

TEST_F(ImagePanelTest, StateSelectsFrame) {
    CGUIGDIPlusMfcCtrlImage panel;
    panel.CopyFrom(m_desc);
    ASSERT_TRUE(panel.LoadImage());
    panel.Draw(&m_surface);
    EXPECT_EQ(FrameAt(m_surface, {5, 5}), 0);
    EXPECT_EQ(FrameAt(m_surface, {44, 24}), 0);
    EXPECT_EQ(InkBounds(m_surface), QRect(5, 5, 40, 20));
    panel.SetEnable(false);
    EXPECT_EQ(panel.m_iState, 1);
    panel.Draw(&m_surface);
    EXPECT_EQ(FrameAt(m_surface, {20, 15}), 1);
    panel.SetEnable(true);
    EXPECT_EQ(panel.m_iState, 0);
}

TEST_F(ImagePanelTest, HiddenOrImagelessDrawsNothing) {
    CGUIGDIPlusMfcCtrlImage panel;
    panel.CopyFrom(m_desc);
    panel.Draw(&m_surface); // not loaded yet
    EXPECT_TRUE(IsClear(m_surface));
    ASSERT_TRUE(panel.LoadImage());
    panel.SetVisible(false);
    panel.Draw(&m_surface);
    EXPECT_TRUE(IsClear(m_surface));
}

TEST_F(ImagePanelTest, LoadOnceAndFree) {
    CGUIGDIPlusMfcCtrlImage panel;
    panel.CopyFrom(m_desc);
    ASSERT_TRUE(panel.LoadImage());
    const QImage* first = panel.m_pImage.get();
    EXPECT_FALSE(panel.LoadImage()); // already holds one: kept
    EXPECT_EQ(panel.m_pImage.get(), first);
    panel.FreeImage();
    EXPECT_FALSE(panel.m_pImage);
    panel.FreeImage(); // nothing held: nothing happens

    CGUIGDIPlusMfcCtrlImage missing;
    missing.CopyFrom(m_desc);
    missing.m_strImagePath = m_dir.filePath("absent.tksx");
    EXPECT_FALSE(missing.LoadImage());
    missing.Draw(&m_surface);
    EXPECT_TRUE(IsClear(m_surface));
}

} // namespace

namespace {

TEST(PainterIcon, ExecutableIconAtGivenOrDefaultSize) {
    EnsureGuiApp();
    CGUIGDIPlusMfcPainter painter;
    painter.Startup();
    const QString exe = QCoreApplication::applicationFilePath();
    QImage sized = MakeSurface(100, 100);
    painter.DrawExeIcon(exe, &sized, 10, 20, 16, 16);
    QImage natural = MakeSurface(100, 100);
    painter.DrawExeIcon(exe, &natural, 10, 20, 0, 16); // one zero: default size
    const QRect inkSized = InkBounds(sized);
    const QRect inkNatural = InkBounds(natural);
    if (inkSized.isNull()) GTEST_SKIP() << "the platform theme offers no file icon here";
    EXPECT_TRUE(QRect(10, 20, 16, 16).contains(inkSized));
    EXPECT_TRUE(QRect(10, 20, 32, 32).contains(inkNatural));
    EXPECT_GT(inkNatural.width(), 16);
}

} // namespace
