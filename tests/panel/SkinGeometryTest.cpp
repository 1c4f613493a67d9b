// The layout builds the controls from PanelGeometry.h and the skin is drawn to it, so the
// two cannot disagree on a place. What can still go wrong is a place wrong in itself or
// wired to the wrong control: one off its window, two controls sharing pixels (a press
// reaches only the first), a control under the drag strip (a press moves the window), a
// background of another size than the window, labels the start-up places where the
// artwork left no room, slider stops off the bar's notches.
#include "PanelTestFrame.h"

#include <ostream>
#include <set>
#include <string>
#include <vector>

void PrintTo(const GUIRect& rc, std::ostream* os) {
    *os << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}

namespace {

namespace pg = PanelGeometry;
using F = CGUIGDIPlusMfcFrameMain;

pg::Rect FromFrame(const GUIRect& r) {
    return pg::Rect{r.left, r.top, r.right, r.bottom};
}

std::string PlaceName(const char* name, int index) {
    return index < 0 ? name : name + std::string("_") + std::to_string(index);
}

TEST(PanelGeometryTable, EveryPlaceIsOnItsWindowAndNotEmpty) {
    int places = 0;
    pg::forEachPlace([&places](const char* name, int index, pg::Kind kind, const pg::Rect& r) {
        ++places;
        const pg::Rect& window = kind == pg::Kind::Splash ? pg::kSplash : pg::kPanel;
        EXPECT_GT(r.width(), 0) << PlaceName(name, index);
        EXPECT_GT(r.height(), 0) << PlaceName(name, index);
        EXPECT_TRUE(window.contains(r)) << PlaceName(name, index);
    });
    // Every control and label of the panel, and the splash's two texts.
    EXPECT_EQ(places, 1 + 1 + 3 + 4 + 3 + 2 * pg::kDeviceCount + 5 + 2 * 12 + 3 + pg::kSliderStops +
                          4 + 1 + 4 * 7 + 2);
}

// The e2e scripts read each place by its name: two of one name and the later one wins.
TEST(PanelGeometryTable, EveryPlaceHasItsOwnName) {
    std::set<std::string> names;
    pg::forEachPlace([&names](const char* name, int index, pg::Kind, const pg::Rect&) {
        EXPECT_TRUE(names.insert(PlaceName(name, index)).second) << PlaceName(name, index);
    });
}

TEST(PanelGeometryTable, DragStripEndsShortOfExit) {
    EXPECT_LT(pg::kDragStripRight, pg::kExit.left);
    EXPECT_LE(pg::kExit.bottom, pg::kTitleHeight);
}

struct Control {
    std::string name;
    const IGUIGDIPlusMfcCtrl* ctrl;
    GUIRect hit;
};

// Every control that takes presses, with the rectangle its hit test answers for.
std::vector<Control> Controls(const F& f) {
    std::vector<Control> out;
    const auto add = [&out](const std::string& name, const auto& ctrl) {
        out.push_back({name, &ctrl, ctrl.m_rcCtrl});
    };
    for (int i = 0; i < F::kBtnCount; ++i)
        add("button " + std::to_string(i), f.m_hGUICtrlBtn[i]);
    for (int i = 0; i < F::kSwitchCount; ++i)
        add("switch " + std::to_string(i), f.m_hGUICtrlSwitch[i]);
    add("sync check box", f.m_hGUICtrlChkBox[0]);
    for (int i = 0; i < F::kDevBoxCount; ++i)
        add("device radio " + std::to_string(i), f.m_hGUICtrlRdoBtnDevBox[i]);
    const auto group = [&add](const std::string& name, const auto& radios) {
        for (size_t i = 0; i < std::size(radios); ++i)
            add(name + " radio " + std::to_string(i), radios[i]);
    };
    group("horz polarity", f.m_hGUICtrlRdoBtnHPol);
    group("vert polarity", f.m_hGUICtrlRdoBtnVPol);
    group("colour depth", f.m_hGUICtrlRdoBtnColor);
    group("audio", f.m_hGUICtrlRdoBtnAudio);
    group("EDID", f.m_hGUICtrlRdoBtnEDID);
    for (int i = 0; i < F::kEditBoxCount; ++i)
        add("number box " + std::to_string(i), f.m_hGUICtrlEditBox[i]);
    out.push_back({"slider thumb", &f.m_hGUICtrlSliderRes, f.m_hGUICtrlSliderRes.m_rcThumb});
    return out;
}

class SkinGeometryTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        if (HasFatalFailure()) return;
        // The start-up places the resolution labels beside the slider's ticks.
        StartUp();
    }
};

TEST_F(SkinGeometryTest, PanelIsTheSizeOfTheBackground) {
    EXPECT_EQ(m_frame->size(), PanelSize());
    ASSERT_TRUE(m_frame->m_pImageBKDs);
    EXPECT_EQ(m_frame->m_pImageBKDs->size(), PanelSize());
    for (int i = 0; i < F::kShadowCount; ++i)
        EXPECT_EQ(m_frame->m_hGUICtrlImageShadow[i].m_rcCtrl, PanelRect(pg::kPanel)) << i;
}

TEST_F(SkinGeometryTest, EveryControlIsOnThePanelAndSharesNoPixelWithAnother) {
    const std::vector<Control> controls = Controls(*m_frame);
    ASSERT_EQ(controls.size(), size_t(F::kBtnCount + F::kSwitchCount + 1 + F::kDevBoxCount + 2 * 4 +
                                      F::kEDIDCount + F::kEditBoxCount + 1));
    // The software reset lies under the setting button: only hidden is it out of the way.
    const F& f = *m_frame;
    EXPECT_FALSE(f.m_hGUICtrlBtn[F::kBtnSWReset].IsVisible());
    EXPECT_EQ(f.m_hGUICtrlBtn[F::kBtnSWReset].m_rcCtrl, f.m_hGUICtrlBtn[F::kBtnSetting].m_rcCtrl);
    const IGUIGDIPlusMfcCtrl* hidden = &f.m_hGUICtrlBtn[F::kBtnSWReset];

    for (size_t i = 0; i < controls.size(); ++i) {
        const pg::Rect a = FromFrame(controls[i].hit);
        EXPECT_GT(a.width(), 0) << controls[i].name;
        EXPECT_GT(a.height(), 0) << controls[i].name;
        EXPECT_TRUE(pg::kPanel.contains(a)) << controls[i].name;
        if (controls[i].ctrl == hidden) continue;
        for (size_t j = i + 1; j < controls.size(); ++j) {
            if (controls[j].ctrl == hidden) continue;
            EXPECT_FALSE(a.intersects(FromFrame(controls[j].hit)))
                << controls[i].name << " " << ::testing::PrintToString(controls[i].hit) << " and "
                << controls[j].name << " " << ::testing::PrintToString(controls[j].hit);
        }
    }
}

TEST_F(SkinGeometryTest, NoControlLiesUnderTheDragStrip) {
    const auto& inDragStrip = m_frame->GetMouseRouter().GetHooks().inDragStrip;
    ASSERT_TRUE(inDragStrip);
    // The strip is the title left of Exit: a press there must move the window.
    EXPECT_TRUE(inDragStrip(pg::kTitleText.left, pg::kTitleText.top));
    EXPECT_TRUE(inDragStrip(pg::kDragStripRight, pg::kTitleHeight));
    // The strip holds its top-left corner, so a control reaches into it only there.
    for (const Control& c : Controls(*m_frame))
        EXPECT_FALSE(inDragStrip(c.hit.left, c.hit.top)) << c.name;
}

TEST_F(SkinGeometryTest, EveryLabelWithATextIsOnThePanelAndNoOtherShows) {
    for (int i = 0; i < F::kTextCount; ++i) {
        const CGUIGDIPlusMfcCtrlText& label = m_frame->m_hGUICtrlText[i];
        if (label.m_strText.isEmpty())
            EXPECT_FALSE(label.IsVisible()) << "label A" << i << " shows without a text";
        else
            EXPECT_TRUE(pg::kPanel.contains(FromFrame(label.m_rcCtrl))) << "label A" << i;
    }
    for (int i = 0; i < F::kDevBoxCount; ++i)
        EXPECT_TRUE(pg::kPanel.contains(FromFrame(m_frame->m_hGUICtrlTextDevBox[i].m_rcCtrl)))
            << "device label " << i;
}

// The start-up puts the resolution labels beside the slider's stops by its own numbers.
TEST_F(SkinGeometryTest, ResolutionLabelsStandWhereTheArtworkLeftRoomForThem) {
    for (int i = 0; i < F::kTextResCount; ++i)
        EXPECT_EQ(m_frame->m_hGUICtrlTextRes[i].m_rcCtrl, PanelRect(pg::resLabel(i)))
            << "resolution label " << i;
}

TEST_F(SkinGeometryTest, SliderStopsAreTheNotchesOfTheBar) {
    const CGUIGDIPlusMfcCtrlSlider& slider = m_frame->m_hGUICtrlSliderRes;
    std::vector<int> ticks;
    ASSERT_TRUE(slider.GetTicks(ticks));
    std::vector<int> drawn;
    for (int i = 0; i < pg::kSliderStops; ++i)
        drawn.push_back(pg::sliderStopTop(i));
    EXPECT_EQ(ticks, drawn);
    // The thumb moves along the bar only: its column and size stay the artwork's.
    const GUIRect thumb = slider.m_rcThumb;
    EXPECT_EQ(thumb.left, pg::kSliderThumb.left);
    EXPECT_EQ(thumb.Width(), pg::kSliderThumb.width());
    EXPECT_EQ(thumb.Height(), pg::kSliderThumb.height());
    EXPECT_EQ(thumb.top, drawn.at(size_t(slider.GetPos())));
}

} // namespace
