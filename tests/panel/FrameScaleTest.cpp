// The panel at other device pixel ratios and shrunk onto a small screen: the picture's
// size, ratio 1 left as it was, sharper text at 2 than the 1x picture enlarged, the twins
// drawn at 2, and clicks reaching the same controls at every scale.
#include "GUIGDIPlusMfcFrameMsgBox.h"
#include "LaplacianSpread.h"
#include "PanelTestFrame.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImageReader>
#include <QScreen>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using F = CGUIGDIPlusMfcFrameMain;

class PanelScaleTest : public PanelTest {
protected:
    QImage ShownAt(qreal ratio) {
        m_frame->PinDeviceRatio(ratio);
        m_frame->RepaintFrame();
        return m_frame->GetShownImage();
    }
};

struct SizeCase {
    const char* name;
    qreal ratio;
    QSize pixels;
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.name;
}

class PanelRatioSize : public PanelScaleTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(PanelRatioSize, HasTheWindowsPixelsAtThatRatio) {
    StartUp();
    const QImage shown = ShownAt(GetParam().ratio);
    EXPECT_EQ(shown.size(), GetParam().pixels);
    EXPECT_EQ(shown.devicePixelRatio(), GetParam().ratio);
    // Layout and window stay in the panel's own units.
    EXPECT_EQ(m_frame->size(), PanelSize());
    EXPECT_EQ(m_frame->m_hGUICtrlBtn[F::kBtnExit].m_rcCtrl, PanelRect(PanelGeometry::kExit));
}

INSTANTIATE_TEST_SUITE_P(Ratios, PanelRatioSize,
                         ::testing::Values(SizeCase{"One", 1.0, PanelSize()},
                                           SizeCase{"OneHalf", 1.5, QSize(1853, 1410)},
                                           SizeCase{"Two", 2.0, QSize(2470, 1880)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelScaleTest, BackAtRatioOneEveryPixelIsAsBefore) {
    StartUp();
    m_frame->EnableAllCtrl(true);
    const QImage before = ShownAt(1.0);
    ASSERT_EQ(before.size(), PanelSize());
    ShownAt(2.0);
    const QImage after = ShownAt(1.0);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_TRUE(after == before);
}

// The text places at twice their size, each without its edge pixels.
std::vector<QRect> AtTwice(const std::vector<GUIRect>& places) {
    std::vector<QRect> areas;
    for (const GUIRect& rc : places)
        areas.emplace_back(QPoint(rc.left * 2 + 1, rc.top * 2 + 1),
                           QPoint(rc.right * 2 - 2, rc.bottom * 2 - 2));
    return areas;
}

TEST_F(PanelScaleTest, AtRatioTwoTheTextIsSharperThanTheOneXPictureEnlarged) {
    StartUp();
    m_frame->EnableAllCtrl(true);
    std::vector<GUIRect> places;
    for (const auto& label : m_frame->m_hGUICtrlText)
        if (label.m_bVisible && !label.m_strText.isEmpty()) places.push_back(label.m_rcCtrl);
    ASSERT_GE(places.size(), 29u);

    const QImage one = ShownAt(1.0);
    const QImage two = ShownAt(2.0);
    // What the window system does with a 1x picture on a 2x screen.
    QImage enlarged = one;
    enlarged.setDevicePixelRatio(1.0);
    enlarged = enlarged.scaled(two.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    const double sharp = kztr::test::LaplacianSpread(two, AtTwice(places));
    const double blurred = kztr::test::LaplacianSpread(enlarged, AtTwice(places));
    ASSERT_GT(blurred, 0.0);
    // Measured about 7 times here: glyph edges one device pixel wide instead of two.
    EXPECT_GT(sharp / blurred, 3.0) << "spread at 2x " << sharp << ", enlarged 1x " << blurred;
}

TEST_F(PanelScaleTest, AtRatioTwoTheBackgroundIsTheTwinPixelForPixel) {
    StartUp();
    const QImage two = ShownAt(2.0).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImageReader reader(m_skin.SkinFile("GUIFrameMain/GUIFrameMainBKDs@2x.tksx"));
    reader.setDecideFormatFromContent(true);
    const QImage twin = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_EQ(twin.size(), QSize(2470, 1880));
    // Between the radio column and the resolution column: background only.
    const QRect bare(2 * 150, 2 * 700, 2 * 80, 2 * 150);
    EXPECT_TRUE(two.copy(bare) == twin.copy(bare));
}

// A press and release in the middle of a control, as the window system delivers it.
struct ClickCase {
    const char* name;
    std::function<GUIRect(F&)> place;
    std::uint32_t msg;
    std::uintptr_t wParam;
};

void PrintTo(const ClickCase& c, std::ostream* os) {
    *os << c.name;
}

const ClickCase kClicks[] = {
    {"SyncCheckBox", [](F& f) { return f.m_hGUICtrlChkBox[0].m_rcCtrl; },
     FrameMsg::kChkBoxDevSettingSync, 0},
    {"SettingButton", [](F& f) { return f.m_hGUICtrlBtn[F::kBtnSetting].m_rcCtrl; },
     FrameMsg::kBtnSetting, F::kBtnSetting},
    {"VertRateUp", [](F& f) { return f.m_hGUICtrlBtn[7].m_rcCtrl; }, FrameMsg::kBtnAdjustFirst, 7},
    {"HorzNegative", [](F& f) { return f.m_hGUICtrlRdoBtnHPol[1].m_rcCtrl; },
     FrameMsg::kRdoHorzPolarity, 1},
    {"EdidThird", [](F& f) { return f.m_hGUICtrlRdoBtnEDID[2].m_rcCtrl; },
     FrameMsg::kRdoEdidVersion, 2},
    {"SliderThumb", [](F& f) { return f.m_hGUICtrlSliderRes.m_rcThumb; },
     FrameMsg::kSliderResolution, 0},
};

// How the panel is shown: a pinned device ratio and the screen it is placed on.
struct ScaleCase {
    const char* name;
    qreal ratio;
    QRect screen; // null: no screen, the fixed place
    qreal fit;
};

void PrintTo(const ScaleCase& c, std::ostream* os) {
    *os << c.name;
}

class PanelScaleClicks : public PanelScaleTest,
                         public ::testing::WithParamInterface<std::tuple<ScaleCase, ClickCase>> {
protected:
    void SetUp() override {
        PanelScaleTest::SetUp();
        const ScaleCase& scale = std::get<0>(GetParam());
        if (!scale.screen.isNull())
            m_frame->SetScreenAreaSource([r = scale.screen] { return ScreenAreas{{r}, 0}; });
        m_frame->PinDeviceRatio(scale.ratio);
        StartUp();
        m_frame->EnableAllCtrl(true);
        m_frame->m_vecMessages.clear();
    }
    // The window point over the middle of a frame point at the fit scale.
    QPoint OnWindow(QPoint framePoint) const {
        const qreal fit = m_frame->GetFitScale();
        return QPoint(int((framePoint.x() + 0.5) * fit), int((framePoint.y() + 0.5) * fit));
    }
    void Click(QPoint framePoint) {
        QTest::mousePress(m_frame.get(), Qt::LeftButton, {}, OnWindow(framePoint));
        QTest::mouseRelease(m_frame.get(), Qt::LeftButton, {}, OnWindow(framePoint));
        QCoreApplication::processEvents();
    }
};

TEST_P(PanelScaleClicks, ReachTheSameControlAsAtRatioOne) {
    const ScaleCase& scale = std::get<0>(GetParam());
    const ClickCase& click = std::get<1>(GetParam());
    EXPECT_NEAR(m_frame->GetFitScale(), scale.fit, 1e-3);
    const GUIRect rc = click.place(*m_frame);
    Click(Centre(rc));
    const auto got = m_frame->Of(click.msg);
    ASSERT_EQ(got.size(), 1u) << "nothing reached the control";
    EXPECT_EQ(got[0].wParam, click.wParam);
    // Just right of and below the control, whatever the scale: nothing of that control.
    m_frame->m_vecMessages.clear();
    Click(QPoint(rc.right + 1, rc.bottom + 1));
    EXPECT_TRUE(m_frame->Of(click.msg).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Scales, PanelScaleClicks,
    ::testing::Combine(::testing::Values(ScaleCase{"RatioOne", 1.0, QRect(), 1.0},
                                         ScaleCase{"RatioTwo", 2.0, QRect(), 1.0},
                                         ScaleCase{"Laptop1366x768", 1.0, QRect(0, 0, 1366, 768),
                                                   768.0 / PanelSize().height()},
                                         ScaleCase{"RatioTwoOnHalfOf1366x768", 2.0,
                                                   QRect(0, 0, 683, 384),
                                                   384.0 / PanelSize().height()}),
                       ::testing::ValuesIn(kClicks)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

// Mean over the pixels of the largest channel difference of two pictures of one size.
double MeanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return sum / (double(x.width()) * x.height());
}

TEST_F(PanelScaleTest, OnASmallScreenThePanelIsShownWholeAndShrunk) {
    StartUp();
    const QImage whole = m_frame->GetShownImage();
    ASSERT_EQ(whole.size(), PanelSize());
    const QImage shrunk =
        whole.scaled(QSize(1009, 768), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    m_frame->SetScreenAreaSource([] { return ScreenAreas{{QRect(0, 0, 1366, 768)}, 0}; });
    m_frame->SendFrameMessage(FrameMsg::kPlaceWindow, 0, 0);
    EXPECT_EQ(m_frame->pos(), QPoint(178, 0));
    EXPECT_EQ(m_frame->size(), QSize(1009, 768));
    // What the window shows: the whole panel, shrunk, not its top-left 1009 x 768.
    const QImage shown = m_frame->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(1009, 768));
    const double toShrunk = MeanDifference(shown, shrunk);
    const double toCut = MeanDifference(shown, whole.copy(0, 0, 1009, 768));
    EXPECT_LT(toShrunk, 3.0);
    EXPECT_GT(toCut, 4 * toShrunk) << "shrunk " << toShrunk << ", cut " << toCut;
}

TEST_F(PanelScaleTest, WhereTheScreenHoldsItThePanelKeepsItsFixedPlace) {
    m_frame->SetScreenAreaSource([] { return ScreenAreas{{QRect(0, 0, 1920, 1080)}, 0}; });
    StartUp();
    EXPECT_EQ(m_frame->pos(), QPoint(182, 55));
    EXPECT_EQ(m_frame->size(), PanelSize());
    EXPECT_EQ(m_frame->GetFitScale(), 1.0);
}

// Qt puts a box over the middle of its owner and keeps it on the owner's screen; the
// offscreen screen is 800 x 600, smaller than the panel at its fixed place.
TEST_F(PanelScaleTest, TheKeepOrRevertBoxOpensWhollyOnItsScreenOverThePanel) {
    StartUp();
    QRect box, screen;
    QTimer::singleShot(0, m_frame.get(), [&] {
        QWidget* shown = QApplication::activeModalWidget();
        if (shown == nullptr) return;
        box = shown->frameGeometry();
        screen = shown->screen()->availableGeometry();
        QMetaObject::invokeMethod(shown, "reject", Qt::QueuedConnection);
    });
    ::ShowKeepRevertBox(m_frame.get(), QStringLiteral("Keep?"), QStringLiteral("%d s"), 5);
    ASSERT_FALSE(box.isNull()) << "no box showed";
    EXPECT_TRUE(screen.contains(box))
        << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
    EXPECT_TRUE(m_frame->frameGeometry().contains(box.center()));
}

} // namespace
