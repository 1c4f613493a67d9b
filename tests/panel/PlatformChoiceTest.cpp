// Which platform the panel asks Qt for: X11 on a Wayland desktop that also runs an X
// server, unless the user chose; otherwise what Qt picks itself.
#include "PlatformChoice.h"
#include "ScopedEnv.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

struct PlatformCase {
    const char* name;
    PlatformEnvironment env;
    bool xAnswers;
    bool x11;
    bool xAsked;
};

void PrintTo(const PlatformCase& c, std::ostream* os) {
    *os << c.name;
}

class PlatformChoiceTest : public ::testing::TestWithParam<PlatformCase> {};

TEST_P(PlatformChoiceTest, X11OnlyOnAWaylandDesktopWithAnAnsweringXServerAndNoChoiceMade) {
    const PlatformCase& c = GetParam();
    int asked = 0;
    EXPECT_EQ(ShouldUseX11(c.env,
                           [&] {
                               ++asked;
                               return c.xAnswers;
                           }),
              c.x11);
    EXPECT_EQ(asked, c.xAsked ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, PlatformChoiceTest,
    ::testing::Values(
        PlatformCase{
            "WaylandWithXWayland", {"", "wayland-0", "wayland", ":0", false}, true, true, true},
        PlatformCase{"WaylandSocketOnly", {"", "wayland-0", "", ":1", false}, true, true, true},
        PlatformCase{"SessionTypeOnly", {"", "", "Wayland", ":0", false}, true, true, true},
        PlatformCase{
            "XServerSilent", {"", "wayland-0", "wayland", ":0", false}, false, false, true},
        PlatformCase{
            "WaylandWithoutX", {"", "wayland-0", "wayland", "", false}, true, false, false},
        PlatformCase{"UserChoseWayland",
                     {"wayland", "wayland-0", "wayland", ":0", false},
                     true,
                     false,
                     false},
        PlatformCase{"UserChoseOnTheCommandLine",
                     {"", "wayland-0", "wayland", ":0", true},
                     true,
                     false,
                     false},
        PlatformCase{"PlainX11Desktop", {"", "", "x11", ":0", false}, true, false, false},
        PlatformCase{"NoDisplayAtAll", {"", "", "", "", false}, true, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The real environment: an X server that is not there is asked and found silent, and a
// choice already made is left alone.
TEST(PreferX11OnWayland, LeavesThePlatformAloneWithoutAnAnsweringXServerOrWithAChoice) {
    kztr::test::ScopedEnv wayland("WAYLAND_DISPLAY", std::string("wayland-test"));
    kztr::test::ScopedEnv display("DISPLAY", std::string(":987"));
    {
        kztr::test::ScopedEnv platform("QT_QPA_PLATFORM", std::nullopt);
        char name[] = "KZTRMaster";
        char* argv[] = {name, nullptr};
        PreferX11OnWayland(1, argv);
        EXPECT_TRUE(qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"));
    }
    kztr::test::ScopedEnv platform("QT_QPA_PLATFORM", std::string("offscreen"));
    char name[] = "KZTRMaster";
    char* argv[] = {name, nullptr};
    PreferX11OnWayland(1, argv);
    EXPECT_EQ(qEnvironmentVariable("QT_QPA_PLATFORM"), "offscreen");
}

} // namespace
