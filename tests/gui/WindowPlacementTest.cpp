// Where a skinned window goes: its fixed place wherever a screen holds it there, otherwise
// wholly on the pointer's screen, shrunk to fit a screen smaller than the window.
#include "WindowPlacement.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

constexpr QSize kPanel(1235, 940);
constexpr QPoint kPanelFixed((1600 - 1235) / 2, (1050 - 940) / 2);
constexpr QSize kSplash(270, 340);
constexpr QPoint kSplashFixed((1600 - 270) / 2, (1050 - 340) / 2);

struct PlaceCase {
    std::string name;
    QSize size;
    QPoint fixed;
    ScreenAreas screens;
    QPoint topLeft;
    QSize shown;
};

void PrintTo(const PlaceCase& c, std::ostream* os) {
    *os << c.name;
}

class PlaceWindowTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceWindowTest, GoesWhereItIsWhole) {
    const PlaceCase& c = GetParam();
    const WindowPlace place = PlaceWindow(c.size, c.fixed, c.screens);
    EXPECT_EQ(place.topLeft, c.topLeft);
    EXPECT_EQ(place.size, c.shown);
    // The fit scale is what the shown size says: the same for both sides, never above 1.
    EXPECT_LE(place.fit, 1.0);
    EXPECT_EQ(FittedSize(c.size, place.fit), c.shown);
    // Off its fixed place the window is wholly on the screen under the pointer.
    if (place.topLeft != c.fixed) {
        const int index = c.screens.pointer >= 0 ? c.screens.pointer : 0;
        EXPECT_TRUE(c.screens.available.at(index).contains(QRect(place.topLeft, place.size)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, PlaceWindowTest,
    ::testing::Values(
        PlaceCase{"FullHdKeepsTheFixedPlace",
                  kPanel,
                  kPanelFixed,
                  {{QRect(0, 0, 1920, 1080)}, 0},
                  kPanelFixed,
                  kPanel},
        PlaceCase{"ThePlacementAreaItselfHoldsIt",
                  kPanel,
                  kPanelFixed,
                  {{QRect(0, 0, 1600, 1050)}, 0},
                  kPanelFixed,
                  kPanel},
        // A panel at the bottom takes 40 rows; 995 still fits above 1040.
        PlaceCase{"ABottomPanelLeavesRoomEnough",
                  kPanel,
                  kPanelFixed,
                  {{QRect(0, 0, 1920, 1040)}, 0},
                  kPanelFixed,
                  kPanel},
        // 2600 x 2000 at 200 %: 1300 x 1000 logical pixels, too narrow for x = 182.
        PlaceCase{"HalfOf2600x2000CentresAtFullSize",
                  kPanel,
                  kPanelFixed,
                  {{QRect(0, 0, 1300, 1000)}, 0},
                  QPoint(32, 30),
                  kPanel},
        // 768 rows for 940: shrunk by 768 / 940 on both sides.
        PlaceCase{"Laptop1366x768ShrinksToItsHeight",
                  kPanel,
                  kPanelFixed,
                  {{QRect(0, 0, 1366, 768)}, 0},
                  QPoint(178, 0),
                  QSize(1009, 768)},
        PlaceCase{"PortraitScreenShrinksToItsWidth",
                  kPanel,
                  kPanelFixed,
                  {{QRect(0, 0, 1024, 1280)}, 0},
                  QPoint(0, 250),
                  QSize(1024, 779)},
        // The fixed place straddles both screens: whole on the one under the pointer.
        PlaceCase{"StraddlingTwoScreensGoesToThePointersOne",
                  kPanel,
                  kPanelFixed,
                  {{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)}, 1},
                  QPoint(1622, 70),
                  kPanel},
        PlaceCase{"AnySecondScreenHoldingTheFixedPlaceKeepsIt",
                  kPanel,
                  kPanelFixed,
                  {{QRect(-1366, 0, 1366, 768), QRect(0, 0, 1920, 1080)}, 0},
                  kPanelFixed,
                  kPanel},
        PlaceCase{"UnknownPointerUsesTheFirstScreen",
                  kPanel,
                  kPanelFixed,
                  {{QRect(0, 0, 1366, 768)}, -1},
                  QPoint(178, 0),
                  QSize(1009, 768)},
        PlaceCase{"NoScreenKeepsTheFixedPlace", kPanel, kPanelFixed, {{}, -1}, kPanelFixed, kPanel},
        PlaceCase{"TheSplashFitsALaptopAtItsPlace",
                  kSplash,
                  kSplashFixed,
                  {{QRect(0, 0, 1366, 768)}, 0},
                  kSplashFixed,
                  kSplash},
        PlaceCase{"TheSplashOnATinyScreen",
                  kSplash,
                  kSplashFixed,
                  {{QRect(0, 0, 640, 300)}, 0},
                  QPoint(201, 0),
                  QSize(238, 300)}),
    [](const auto& info) { return info.param.name; });

TEST(KeepWithin, MovesABoxJustBackOntoTheArea) {
    const QRect area(0, 0, 800, 600);
    EXPECT_EQ(KeepWithin(QRect(100, 100, 390, 142), area), QPoint(100, 100));
    EXPECT_EQ(KeepWithin(QRect(412, 454, 390, 142), area), QPoint(410, 454));
    EXPECT_EQ(KeepWithin(QRect(-20, 590, 390, 142), area), QPoint(0, 458));
    // Larger than the area: its top-left corner, where its title and first buttons are.
    EXPECT_EQ(KeepWithin(QRect(50, 50, 900, 700), area), QPoint(0, 0));
    EXPECT_EQ(KeepWithin(QRect(1700, 20, 300, 100), QRect(1600, 0, 1366, 768)), QPoint(1700, 20));
}

TEST(FittedSize, WholePixelsNeverLargerNeverEmpty) {
    EXPECT_EQ(FittedSize(kPanel, 1.0), kPanel);
    EXPECT_EQ(FittedSize(kPanel, 768.0 / 940.0), QSize(1009, 768));
    EXPECT_EQ(FittedSize(QSize(3, 3), 0.01), QSize(1, 1));
}

} // namespace
