#pragma once
// Where the main panel puts every control and label, and the splash its texts, in panel
// units. The layout builds the controls from here, the skin is drawn to fit here and the
// end-to-end tests click here (through the file panelgeom prints), so a control moves
// everywhere at once or nowhere. Plain integers: the skin tools include it without Qt.

namespace PanelGeometry {

// (left, top, right, bottom); right and bottom are exclusive, as in the controls' hit tests.
struct Rect {
    int left;
    int top;
    int right;
    int bottom;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr Rect shifted(int dx, int dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    constexpr bool contains(const Rect& r) const {
        return r.left >= left && r.top >= top && r.right <= right && r.bottom <= bottom;
    }
    constexpr bool intersects(const Rect& r) const {
        return r.left < right && left < r.right && r.top < bottom && top < r.bottom;
    }
};

constexpr Rect kPanel{0, 0, 1235, 940};
constexpr Rect kSplash{0, 0, 270, 340};

// Title strip (its border line included); presses in it up to kDragStripRight move the
// window, short of the Exit button.
constexpr int kTitleHeight = 32;
constexpr int kDragStripRight = 1175;
constexpr Rect kTitleText{36, 7, 1137, 27};
constexpr Rect kExit{1179, 4, 1227, 28};

// Toolbar row. The software reset is hidden under the setting button, at its place.
constexpr Rect kSwitches[3] = {{24, 53, 148, 89}, {183, 53, 307, 89}, {342, 53, 466, 89}};
constexpr Rect kIdentify{505, 55, 629, 87};
constexpr Rect kHWReset{662, 55, 786, 87};
constexpr Rect kSetting{811, 55, 935, 87};
constexpr Rect kSWReset = kSetting;
constexpr Rect kApply{1081, 55, 1205, 87};

// Device row: the model, the sync check box, and a radio over a label per controller.
constexpr Rect kModelLabel{14, 111, 300, 131};
constexpr Rect kSyncCheck{1080, 113, 1098, 132};
constexpr Rect kSyncLabel{1104, 111, 1225, 131};
constexpr int kDeviceCount = 16;
constexpr int kDevicePitch = 75;
constexpr Rect deviceButton(int i) {
    return Rect{45, 142, 70, 167}.shifted(kDevicePitch * i, 0);
}
constexpr Rect deviceLabel(int i) {
    return Rect{23, 173, 89, 218}.shifted(kDevicePitch * i, 0);
}

// Radio-group column: five headings, each over its radios and their labels.
constexpr Rect groupHeading(int top) {
    return {12, top, 128, top + 20};
}
constexpr Rect radioButton(int top, int right) {
    return {17, top, right, top + 19};
}
constexpr Rect radioLabel(int top) {
    return {40, top, 126, top + 25};
}
struct RadioGroup {
    Rect heading;
    int count;
    Rect radios[4];
    Rect labels[4];
};
// Horizontal polarity, vertical polarity, colour depth, audio, EDID version.
constexpr RadioGroup kRadioGroups[5] = {
    {groupHeading(230),
     2,
     {radioButton(261, 36), radioButton(289, 37)},
     {radioLabel(258), radioLabel(288)}},
    {groupHeading(321),
     2,
     {radioButton(354, 36), radioButton(382, 37)},
     {radioLabel(350), radioLabel(380)}},
    {groupHeading(415),
     2,
     {radioButton(446, 36), radioButton(474, 37)},
     {radioLabel(443), radioLabel(473)}},
    {groupHeading(506),
     2,
     {radioButton(540, 36), radioButton(568, 37)},
     {radioLabel(536), radioLabel(566)}},
    {groupHeading(602),
     4,
     {radioButton(635, 36), radioButton(663, 37), radioButton(695, 36), radioButton(726, 37)},
     {radioLabel(632), radioLabel(662), radioLabel(692), radioLabel(722)}},
};

// Resolution column: heading, slider, the labels beside its stops and the user-defined row.
constexpr Rect kResHeading{252, 262, 323, 282};
constexpr Rect kSliderThumb{274, 316, 297, 339};
constexpr Rect kSliderBar{278, 323, 293, 875};
constexpr int kSliderStart = kSliderBar.top;
constexpr int kSliderEnd = kSliderBar.bottom;
constexpr int kSliderStops = 10;
// Thumb top edge at each stop: even steps, the last one exact.
constexpr int sliderStopTop(int i) {
    return i == kSliderStops - 1 ? kSliderEnd - 11 : kSliderStart - 11 + 61 * i;
}
constexpr Rect resLabel(int i) {
    return {299, sliderStopTop(i), 380, sliderStopTop(i) + 19};
}
constexpr Rect kUserWidthBox{296, 864, 336, 883};
constexpr Rect kUserTimes{335, 863, 352, 884};
constexpr Rect kUserHeightBox{351, 864, 391, 883};
constexpr Rect kSet{399, 866, 435, 882};

// Parameter area: a label, a number box and a +/- pair per row.
constexpr Rect kParamHeading{572, 262, 663, 282};
struct ParamRow {
    Rect label;
    Rect box;
    Rect inc;
    Rect dec;
};
// A row from its label's top-left corner: the number box beside the label, the +/- pair
// beside the box, straddling its middle.
constexpr ParamRow paramRow(int left, int top) {
    return {{left, top, left + 121, top + 20},
            {left + 123, top, left + 163, top + 19},
            {left + 169, top - 14, left + 203, top + 8},
            {left + 169, top + 9, left + 203, top + 35}};
}
// Vertical rate, horizontal blank, offset and sync width, vertical blank, offset and sync
// width: the number boxes 2 to 8 of the layout.
constexpr ParamRow kParamRows[7] = {paramRow(572, 313), paramRow(572, 428), paramRow(572, 501),
                                    paramRow(572, 576), paramRow(825, 428), paramRow(825, 501),
                                    paramRow(825, 576)};

// Splash texts (version, ownership notice), right-aligned.
constexpr Rect kSplashVersion{6, 293, 264, 310};
constexpr Rect kSplashNotice{6, 313, 264, 330};

// What a named place is: a control takes presses, a label does not, the slider's thumb
// runs over its track, and the splash's texts are on the splash.
enum class Kind { Control, Label, Track, Splash };

// Every place with a name, an index within its family (-1 for one of a kind) and its kind,
// for the tests and the printed file: visit(name, index, kind, rect).
template <typename Visit> constexpr void forEachPlace(Visit&& visit) {
    visit("title_text", -1, Kind::Label, kTitleText);
    visit("exit", -1, Kind::Control, kExit);
    const char* const switches[3] = {"serial", "pattern", "rgbw"};
    for (int i = 0; i < 3; ++i)
        visit(switches[i], -1, Kind::Control, kSwitches[i]);
    visit("identify", -1, Kind::Control, kIdentify);
    visit("hwreset", -1, Kind::Control, kHWReset);
    visit("setting", -1, Kind::Control, kSetting);
    visit("apply", -1, Kind::Control, kApply);
    visit("model", -1, Kind::Label, kModelLabel);
    visit("sync", -1, Kind::Control, kSyncCheck);
    visit("sync_label", -1, Kind::Label, kSyncLabel);
    for (int i = 0; i < kDeviceCount; ++i) {
        visit("device_radio", i, Kind::Control, deviceButton(i));
        visit("device_label", i, Kind::Label, deviceLabel(i));
    }
    int radio = 0;
    for (int g = 0; g < 5; ++g) {
        visit("group_heading", g, Kind::Label, kRadioGroups[g].heading);
        for (int i = 0; i < kRadioGroups[g].count; ++i, ++radio) {
            visit("radio", radio, Kind::Control, kRadioGroups[g].radios[i]);
            visit("radio_label", radio, Kind::Label, kRadioGroups[g].labels[i]);
        }
    }
    visit("res_heading", -1, Kind::Label, kResHeading);
    visit("slider_thumb", -1, Kind::Control, kSliderThumb);
    visit("slider_bar", -1, Kind::Track, kSliderBar);
    for (int i = 0; i < kSliderStops; ++i)
        visit("res_label", i, Kind::Label, resLabel(i));
    visit("user_width", -1, Kind::Control, kUserWidthBox);
    visit("user_times", -1, Kind::Label, kUserTimes);
    visit("user_height", -1, Kind::Control, kUserHeightBox);
    visit("set", -1, Kind::Control, kSet);
    visit("param_heading", -1, Kind::Label, kParamHeading);
    for (int i = 0; i < 7; ++i) {
        visit("param_label", i, Kind::Label, kParamRows[i].label);
        visit("param_box", i, Kind::Control, kParamRows[i].box);
        visit("param_inc", i, Kind::Control, kParamRows[i].inc);
        visit("param_dec", i, Kind::Control, kParamRows[i].dec);
    }
    visit("splash_version", -1, Kind::Splash, kSplashVersion);
    visit("splash_notice", -1, Kind::Splash, kSplashNotice);
}

} // namespace PanelGeometry
