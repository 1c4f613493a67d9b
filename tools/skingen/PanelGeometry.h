// Where the main panel puts its controls and labels, in panel pixels.
// The skin is drawn to fit these places exactly; the contact sheet uses them for its mock.
#pragma once

#include <QRect>
#include <QSize>

namespace skin::panel {

// Rectangles are written (left, top, right, bottom) as in the layout tables; right and
// bottom are exclusive.
constexpr QRect ltrb(int l, int t, int r, int b) {
    return QRect(l, t, r - l, b - t);
}

constexpr QSize kPanelSize(1235, 940);
constexpr QSize kSplashSize(270, 340);

// Title strip and the drag area above which the Exit button sits.
constexpr int kTitleHeight = 32;
constexpr QRect kTitleText = ltrb(36, 7, 1137, 27);
constexpr QRect kExit = ltrb(1179, 4, 1227, 28);

// Toolbar row.
constexpr QRect kSwitches[3] = {ltrb(24, 53, 148, 89), ltrb(183, 53, 307, 89),
                                ltrb(342, 53, 466, 89)};
constexpr QRect kIdentify = ltrb(505, 55, 629, 87);
constexpr QRect kHWReset = ltrb(662, 55, 786, 87);
constexpr QRect kSetting = ltrb(811, 55, 935, 87);
constexpr QRect kApply = ltrb(1081, 55, 1205, 87);

// Device row.
constexpr QRect kModelLabel = ltrb(14, 111, 300, 131);
constexpr QRect kSyncCheck = ltrb(1080, 113, 1098, 132);
constexpr QRect kSyncLabel = ltrb(1104, 111, 1225, 131);
constexpr int kDeviceCount = 16;
constexpr int kDevicePitch = 75;
constexpr QRect deviceButton(int i) {
    return ltrb(45 + kDevicePitch * i, 142, 70 + kDevicePitch * i, 167);
}
constexpr QRect deviceLabel(int i) {
    return ltrb(23 + kDevicePitch * i, 173, 89 + kDevicePitch * i, 218);
}

// Radio-group column: five headings, each over its radios and their labels.
constexpr QRect groupHeading(int top) {
    return ltrb(12, top, 128, top + 20);
}
constexpr QRect radioButton(int top, int right) {
    return ltrb(17, top, right, top + 19);
}
constexpr QRect radioLabel(int top) {
    return ltrb(40, top, 126, top + 25);
}
struct RadioGroup {
    QRect heading;
    int count;
    QRect radios[4];
    QRect labels[4];
};
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
constexpr QRect kResHeading = ltrb(252, 262, 323, 282);
constexpr QRect kSliderThumb = ltrb(274, 316, 297, 339);
constexpr QRect kSliderBar = ltrb(278, 323, 293, 875);
constexpr int kSliderStart = 323;
constexpr int kSliderEnd = 875;
constexpr int kSliderStops = 10;
// Thumb top edge at each stop: even steps, the last one exact.
constexpr int sliderStopTop(int i) {
    return i == kSliderStops - 1 ? kSliderEnd - 11 : kSliderStart - 11 + 61 * i;
}
constexpr QRect resLabel(int i) {
    return ltrb(299, sliderStopTop(i), 380, sliderStopTop(i) + 19);
}
constexpr QRect kUserWidthBox = ltrb(296, 864, 336, 883);
constexpr QRect kUserTimes = ltrb(335, 863, 352, 884);
constexpr QRect kUserHeightBox = ltrb(351, 864, 391, 883);
constexpr QRect kSet = ltrb(399, 866, 435, 882);

// Parameter area: a label, a number box and a +/- pair per row.
constexpr QRect kParamHeading = ltrb(572, 262, 663, 282);
struct ParamRow {
    QRect label;
    QRect box;
    QRect inc;
    QRect dec;
};
// A row from its label's top-left corner: the number box beside the label, the +/- pair
// beside the box, straddling its middle.
constexpr ParamRow paramRow(int left, int top) {
    return {ltrb(left, top, left + 121, top + 20), ltrb(left + 123, top, left + 163, top + 19),
            ltrb(left + 169, top - 14, left + 203, top + 8),
            ltrb(left + 169, top + 9, left + 203, top + 35)};
}
constexpr ParamRow kParamRows[7] = {paramRow(572, 313), paramRow(572, 428), paramRow(572, 501),
                                    paramRow(572, 576), paramRow(825, 428), paramRow(825, 501),
                                    paramRow(825, 576)};

// Splash texts (version, ownership notice), right-aligned.
constexpr QRect kSplashVersion = ltrb(6, 293, 264, 310);
constexpr QRect kSplashNotice = ltrb(6, 313, 264, 330);

} // namespace skin::panel
