// The hot key without an X11 display (offscreen platform): nothing is grabbed, and the
// trace says why. Under a real X server: GlobalHotKeyX11Test.cpp.
#include "GlobalHotKey.h"
#include "GuiTestApp.h"
#include "TraceCapture.h"

#include <QGuiApplication>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

namespace {

class GlobalHotKeyOffscreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureGuiApp(); }
};

TEST_F(GlobalHotKeyOffscreenTest, RegisterFailsAndSaysThereIsNoDisplay) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    kztr::test::TraceCapture trace;
    GlobalHotKey hotKey;
    int calls = 0;
    hotKey.SetHandler([&](int, Qt::KeyboardModifiers, Qt::Key) { ++calls; });

    EXPECT_FALSE(hotKey.Register(99, Qt::ControlModifier | Qt::AltModifier, Qt::Key_F12));
    EXPECT_FALSE(hotKey.IsRegistered(99));
    EXPECT_EQ(hotKey.KeycodeOf(99), 0);
    EXPECT_EQ(hotKey.ModifierMaskOf(99), 0u);
    EXPECT_EQ(trace.count("no X11 display"), 1);
    EXPECT_TRUE(trace.contains("id=99")) << "the trace line names the id";
    // Nothing registered: unregistering is refused, and harmless.
    EXPECT_FALSE(hotKey.Unregister(99));
    EXPECT_FALSE(hotKey.Unregister(7));
    hotKey.UnregisterAll();
    EXPECT_EQ(calls, 0);
}

TEST_F(GlobalHotKeyOffscreenTest, KeyPressIsNotConsumedWhenNothingIsRegistered) {
    GlobalHotKey hotKey;
    int calls = 0;
    hotKey.SetHandler([&](int, Qt::KeyboardModifiers, Qt::Key) { ++calls; });
    ASSERT_FALSE(hotKey.Register(1, Qt::ControlModifier, Qt::Key_F12));
    xcb_key_press_event_t press{};
    press.response_type = XCB_KEY_PRESS;
    press.detail = 96; // F12 on the usual keyboard map
    press.state = XCB_MOD_MASK_CONTROL;
    EXPECT_FALSE(hotKey.nativeEventFilter("xcb_generic_event_t", &press, nullptr));
    EXPECT_FALSE(hotKey.nativeEventFilter("xcb_generic_event_t", nullptr, nullptr));
    EXPECT_EQ(calls, 0);
}

} // namespace
