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
    return ltrb(45 + 75 * i, 142, 70 + 75 * i, 167);
}
constexpr QRect deviceLabel(int i) {
    return ltrb(23 + 75 * i, 173, 89 + 75 * i, 218);
}

// Radio-group column: five headings, each over its radios and their labels.
struct RadioGroup {
    QRect heading;
    int count;
    QRect radios[4];
    QRect labels[4];
};
constexpr RadioGroup kRadioGroups[5] = {
    {ltrb(12, 230, 128, 250),
     2,
     {ltrb(17, 261, 36, 280), ltrb(17, 289, 37, 308)},
     {ltrb(40, 258, 126, 283), ltrb(40, 288, 126, 313)}},
    {ltrb(12, 321, 128, 341),
     2,
     {ltrb(17, 354, 36, 373), ltrb(17, 382, 37, 401)},
     {ltrb(40, 350, 126, 375), ltrb(40, 380, 126, 405)}},
    {ltrb(12, 415, 128, 435),
     2,
     {ltrb(17, 446, 36, 465), ltrb(17, 474, 37, 493)},
     {ltrb(40, 443, 126, 468), ltrb(40, 473, 126, 498)}},
    {ltrb(12, 506, 128, 526),
     2,
     {ltrb(17, 540, 36, 559), ltrb(17, 568, 37, 587)},
     {ltrb(40, 536, 126, 561), ltrb(40, 566, 126, 591)}},
    {ltrb(12, 602, 128, 622),
     4,
     {ltrb(17, 635, 36, 654), ltrb(17, 663, 37, 682), ltrb(17, 695, 36, 714),
      ltrb(17, 726, 37, 745)},
     {ltrb(40, 632, 126, 657), ltrb(40, 662, 126, 687), ltrb(40, 692, 126, 717),
      ltrb(40, 722, 126, 747)}},
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
constexpr ParamRow kParamRows[7] = {
    {ltrb(572, 313, 693, 333), ltrb(695, 313, 735, 332), ltrb(741, 299, 775, 321),
     ltrb(741, 322, 775, 348)},
    {ltrb(572, 428, 693, 448), ltrb(695, 428, 735, 447), ltrb(741, 414, 775, 436),
     ltrb(741, 437, 775, 463)},
    {ltrb(572, 501, 693, 521), ltrb(695, 501, 735, 520), ltrb(741, 487, 775, 509),
     ltrb(741, 510, 775, 536)},
    {ltrb(572, 576, 693, 596), ltrb(695, 576, 735, 595), ltrb(741, 562, 775, 584),
     ltrb(741, 585, 775, 611)},
    {ltrb(825, 428, 946, 448), ltrb(948, 428, 988, 447), ltrb(994, 414, 1028, 436),
     ltrb(994, 437, 1028, 463)},
    {ltrb(825, 501, 946, 521), ltrb(948, 501, 988, 520), ltrb(994, 487, 1028, 509),
     ltrb(994, 510, 1028, 536)},
    {ltrb(825, 576, 946, 596), ltrb(948, 576, 988, 595), ltrb(994, 562, 1028, 584),
     ltrb(994, 585, 1028, 611)},
};

// Splash texts (version, ownership notice), right-aligned.
constexpr QRect kSplashVersion = ltrb(6, 293, 264, 310);
constexpr QRect kSplashNotice = ltrb(6, 313, 264, 330);

} // namespace skin::panel
