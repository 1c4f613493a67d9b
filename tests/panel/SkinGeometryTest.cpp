// The skin's artwork is drawn to the places in PanelGeometry.h; the main frame puts its
// controls and labels by its own layout. Both must agree, or buttons are stretched and
// texts land on decoration: every place of the started panel is checked against the
// artwork's.
#include "PanelGeometry.h"
#include "PanelTestFrame.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

void PrintTo(const GUIRect& rc, std::ostream* os) {
    *os << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}

namespace {

namespace pg = skin::panel;
using F = CGUIGDIPlusMfcFrameMain;

GUIRect FromQRect(const QRect& r) {
    return GUIRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

struct Place {
    std::string name;
    GUIRect actual;   // where the frame put it
    GUIRect expected; // where the artwork expects it
};

// Every control with a skin strip, in the frame's groups and order.
std::vector<Place> ControlPlaces(const F& f) {
    std::vector<Place> out;
    const auto add = [&out](std::string name, const GUIRect& actual, const QRect& expected) {
        out.push_back({std::move(name), actual, FromQRect(expected)});
    };
    add("Button Exit", f.m_hGUICtrlBtn[0].m_rcCtrl, pg::kExit);
    add("Button HWReset", f.m_hGUICtrlBtn[1].m_rcCtrl, pg::kHWReset);
    // The software reset is hidden under the setting button and drawn to its place.
    add("Button SWReset", f.m_hGUICtrlBtn[2].m_rcCtrl, pg::kSetting);
    add("Button Identify", f.m_hGUICtrlBtn[3].m_rcCtrl, pg::kIdentify);
    add("Button Setting", f.m_hGUICtrlBtn[4].m_rcCtrl, pg::kSetting);
    add("Button Apply", f.m_hGUICtrlBtn[5].m_rcCtrl, pg::kApply);
    add("Button Set", f.m_hGUICtrlBtn[6].m_rcCtrl, pg::kSet);
    for (int row = 0; row < 7; ++row) {
        const int inc = F::kFirstAdjusterBtn + 2 * row;
        add("Adjuster inc row " + std::to_string(row), f.m_hGUICtrlBtn[inc].m_rcCtrl,
            pg::kParamRows[row].inc);
        add("Adjuster dec row " + std::to_string(row), f.m_hGUICtrlBtn[inc + 1].m_rcCtrl,
            pg::kParamRows[row].dec);
    }
    for (int i = 0; i < F::kSwitchCount; ++i)
        add("Switch " + std::to_string(i), f.m_hGUICtrlSwitch[i].m_rcCtrl, pg::kSwitches[i]);
    add("Sync check box", f.m_hGUICtrlChkBox[0].m_rcCtrl, pg::kSyncCheck);
    // The background draws a column per device; the frame must have as many.
    EXPECT_EQ(pg::kDeviceCount, F::kDevBoxCount);
    for (int i = 0; i < F::kDevBoxCount; ++i)
        add("Device radio " + std::to_string(i), f.m_hGUICtrlRdoBtnDevBox[i].m_rcCtrl,
            pg::deviceButton(i));

    const std::pair<const CGUIGDIPlusMfcCtrlRdoBtn*, int> groups[5] = {
        {f.m_hGUICtrlRdoBtnHPol, 2},
        {f.m_hGUICtrlRdoBtnVPol, 2},
        {f.m_hGUICtrlRdoBtnColor, 2},
        {f.m_hGUICtrlRdoBtnAudio, 2},
        {f.m_hGUICtrlRdoBtnEDID, F::kEDIDCount}};
    for (int g = 0; g < 5; ++g) {
        // A group with more radios than the artwork drew would be missed otherwise.
        EXPECT_EQ(groups[g].second, pg::kRadioGroups[g].count) << "radio group " << g;
        for (int i = 0; i < groups[g].second && i < pg::kRadioGroups[g].count; ++i)
            add("Radio group " + std::to_string(g) + " radio " + std::to_string(i),
                groups[g].first[i].m_rcCtrl, pg::kRadioGroups[g].radios[i]);
    }

    add("Width box", f.m_hGUICtrlEditBox[F::kEditHPixel].m_rcCtrl, pg::kUserWidthBox);
    add("Height box", f.m_hGUICtrlEditBox[F::kEditVPixel].m_rcCtrl, pg::kUserHeightBox);
    for (int row = 0; row < 7; ++row)
        add("Number box row " + std::to_string(row),
            f.m_hGUICtrlEditBox[F::kEditVRate + row].m_rcCtrl, pg::kParamRows[row].box);

    add("Slider bar", f.m_hGUICtrlSliderRes.m_rcBar, pg::kSliderBar);
    for (int i = 0; i < F::kShadowCount; ++i)
        add("Shade " + std::to_string(i), f.m_hGUICtrlImageShadow[i].m_rcCtrl,
            QRect(QPoint(0, 0), pg::kPanelSize));
    return out;
}

// Every label of the panel: the fixed drawn, the device columns and the resolution texts.
std::vector<Place> LabelPlaces(const F& f) {
    std::vector<QRect> drawn = {pg::kTitleText, pg::kModelLabel, pg::kSyncLabel};
    for (const pg::RadioGroup& group : pg::kRadioGroups) {
        drawn.push_back(group.heading);
        for (int i = 0; i < group.count; ++i)
            drawn.push_back(group.labels[i]);
    }
    drawn.insert(drawn.end(), {pg::kResHeading, pg::kUserTimes, pg::kParamHeading});
    for (const pg::ParamRow& row : pg::kParamRows)
        drawn.push_back(row.label);

    std::vector<Place> out;
    for (size_t i = 0; i < drawn.size() && i < size_t(F::kTextCount); ++i)
        out.push_back(
            {"Label A" + std::to_string(i), f.m_hGUICtrlText[i].m_rcCtrl, FromQRect(drawn[i])});
    // The drawn after the drawn ones are unused: nothing may show there.
    for (size_t i = drawn.size(); i < size_t(F::kTextCount); ++i) {
        EXPECT_FALSE(f.m_hGUICtrlText[i].IsVisible()) << "label A" << i << " has no place";
        EXPECT_TRUE(f.m_hGUICtrlText[i].m_strText.isEmpty()) << "label A" << i;
    }
    EXPECT_LE(drawn.size(), size_t(F::kTextCount)) << "the artwork has more labels than the frame";

    for (int i = 0; i < F::kDevBoxCount; ++i)
        out.push_back({"Device label " + std::to_string(i), f.m_hGUICtrlTextDevBox[i].m_rcCtrl,
                       FromQRect(pg::deviceLabel(i))});
    for (int i = 0; i < F::kTextResCount; ++i)
        out.push_back({"Resolution label " + std::to_string(i), f.m_hGUICtrlTextRes[i].m_rcCtrl,
                       FromQRect(pg::resLabel(i))});
    return out;
}

void ExpectSamePlaces(const std::vector<Place>& places) {
    for (const Place& p : places)
        EXPECT_EQ(p.actual, p.expected) << p.name;
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
    EXPECT_EQ(m_frame->size(), pg::kPanelSize);
    ASSERT_TRUE(m_frame->m_pImageBKDs);
    EXPECT_EQ(m_frame->m_pImageBKDs->size(), pg::kPanelSize);
}

TEST_F(SkinGeometryTest, EveryControlStandsWhereItsArtworkWasDrawn) {
    const std::vector<Place> places = ControlPlaces(*m_frame);
    EXPECT_EQ(places.size(), size_t(F::kBtnCount + F::kSwitchCount + 1 + F::kDevBoxCount + 2 * 4 +
                                    F::kEDIDCount + F::kEditBoxCount + 1 + F::kShadowCount));
    ExpectSamePlaces(places);
}

TEST_F(SkinGeometryTest, EveryLabelStandsWhereTheArtworkLeftRoomForIt) {
    ExpectSamePlaces(LabelPlaces(*m_frame));
}

TEST_F(SkinGeometryTest, SliderStopsAreTheNotchesOfTheBar) {
    const CGUIGDIPlusMfcCtrlSlider& slider = m_frame->m_hGUICtrlSliderRes;
    EXPECT_EQ(slider.m_iStart, pg::kSliderStart);
    EXPECT_EQ(slider.m_iEnd, pg::kSliderEnd);
    std::vector<int> ticks;
    ASSERT_TRUE(slider.GetTicks(ticks));
    std::vector<int> drawn;
    for (int i = 0; i < pg::kSliderStops; ++i)
        drawn.push_back(pg::sliderStopTop(i));
    EXPECT_EQ(ticks, drawn);
    // The thumb moves along the bar only: its column and size stay the artwork's.
    const GUIRect thumb = slider.m_rcThumb;
    EXPECT_EQ(thumb.left, pg::kSliderThumb.left());
    EXPECT_EQ(thumb.Width(), pg::kSliderThumb.width());
    EXPECT_EQ(thumb.Height(), pg::kSliderThumb.height());
    EXPECT_EQ(thumb.top, drawn.at(size_t(slider.GetPos())));
}

} // namespace
