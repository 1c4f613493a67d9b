// The hot key on a real X server (run by hotkey_x11.sh on a private Xvfb): key presses
// come from xdotool; a second connection of its own plays the other client.
#include "GlobalHotKey.h"
#include "PlatformChoice.h"
#include "ScopedEnv.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

// Xlib's macros clash with Qt's names: after every Qt header.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

namespace {

struct Call {
    int id;
    Qt::KeyboardModifiers mods;
    Qt::Key key;
};

int g_otherError = 0;
int recordOtherError(Display*, XErrorEvent* event) {
    if (g_otherError == 0) g_otherError = event->error_code;
    return 0;
}

class GlobalHotKeyX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        m_other = XOpenDisplay(nullptr);
        ASSERT_NE(m_other, nullptr) << "cannot open a second connection to the X server";
        m_hotKey.SetHandler([this](int id, Qt::KeyboardModifiers mods, Qt::Key key) {
            m_calls.push_back({id, mods, key});
        });
    }
    void TearDown() override {
        if (m_other != nullptr) XCloseDisplay(m_other);
    }

    unsigned keycodeOf(KeySym keysym) const { return XKeysymToKeycode(m_other, keysym); }

    // The second client grabs (or, with grab false, releases) one modifier state of a key;
    // 0 or the X error.
    int otherGrab(unsigned keycode, unsigned mask, bool grab = true) {
        XSync(m_other, False);
        g_otherError = 0;
        const XErrorHandler previous = XSetErrorHandler(recordOtherError);
        const Window root = DefaultRootWindow(m_other);
        if (grab)
            XGrabKey(m_other, static_cast<int>(keycode), mask, root, False, GrabModeAsync,
                     GrabModeAsync);
        else
            XUngrabKey(m_other, static_cast<int>(keycode), mask, root);
        XSync(m_other, False);
        XSetErrorHandler(previous);
        return g_otherError;
    }

    // How many of the four lock states of the combination the second client can grab
    // (each released again at once): 4 when this process holds none of them.
    int freeLockStates(unsigned keycode, unsigned mask) {
        int free = 0;
        for (unsigned lock :
             {0u, unsigned(LockMask), unsigned(Mod2Mask), unsigned(LockMask | Mod2Mask)}) {
            if (otherGrab(keycode, mask | lock) == 0) {
                ++free;
                otherGrab(keycode, mask | lock, false);
            }
        }
        return free;
    }

    unsigned lockedMods() {
        XkbStateRec state{};
        XkbGetState(m_other, XkbUseCoreKbd, &state);
        return state.locked_mods;
    }

    static void xdotool(const char* keys) {
        ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), keys}), 0)
            << "xdotool key " << keys;
    }

    // Presses keys and reports whether the handler was called within the time limit.
    bool pressCalls(const char* keys, int limitMs = 5000) {
        const size_t before = m_calls.size();
        xdotool(keys);
        return QTest::qWaitFor([&] { return m_calls.size() > before; }, limitMs);
    }

    Display* m_other = nullptr;
    GlobalHotKey m_hotKey;
    std::vector<Call> m_calls;
};

TEST_F(GlobalHotKeyX11Test, PressesReachTheHandlerWhateverTheLockKeysAndOnlyWhileRegistered) {
    const Qt::KeyboardModifiers ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
    ASSERT_TRUE(m_hotKey.Register(99, ctrlAlt, Qt::Key_F12));
    ASSERT_TRUE(m_hotKey.IsRegistered(99));
    EXPECT_FALSE(m_hotKey.IsRegistered(98));
    EXPECT_EQ(freeLockStates(keycodeOf(XK_F12), ControlMask | Mod1Mask), 0);

    ASSERT_TRUE(pressCalls("ctrl+alt+F12")) << "no call within 5 s";
    QTest::qWait(300); // a second call would come now
    ASSERT_EQ(m_calls.size(), 1u);
    EXPECT_EQ(m_calls[0].id, 99);
    EXPECT_EQ(m_calls[0].mods, ctrlAlt);
    EXPECT_EQ(m_calls[0].key, Qt::Key_F12);

    const struct {
        const char* key;
        unsigned mask;
    } locks[] = {{"Num_Lock", Mod2Mask}, {"Caps_Lock", LockMask}};
    for (const auto& lock : locks) {
        SCOPED_TRACE(lock.key);
        xdotool(lock.key);
        const bool on = (lockedMods() & lock.mask) != 0;
        const bool called = on && pressCalls("ctrl+alt+F12");
        xdotool(lock.key);
        ASSERT_TRUE(on) << "the lock key did not lock its modifier";
        EXPECT_TRUE(called) << "no call with the lock on";
        EXPECT_EQ(lockedMods() & lock.mask, 0u) << "the lock stayed on";
    }
    EXPECT_EQ(m_calls.size(), 3u);

    EXPECT_FALSE(pressCalls("F12", 500)) << "plain F12 called the handler";
    EXPECT_FALSE(pressCalls("ctrl+F12", 500)) << "Ctrl+F12 called the handler";

    ASSERT_TRUE(m_hotKey.Unregister(99));
    EXPECT_FALSE(m_hotKey.IsRegistered(99));
    EXPECT_FALSE(m_hotKey.Unregister(99));
    EXPECT_FALSE(pressCalls("ctrl+alt+F12", 500)) << "called after Unregister";
    EXPECT_EQ(freeLockStates(keycodeOf(XK_F12), ControlMask | Mod1Mask), 4);
}

// The X equivalents the presses are matched against.
struct Mapping {
    const char* name;
    Qt::KeyboardModifiers mods;
    Qt::Key key;
    unsigned mask;
    KeySym keysym;
};

class GlobalHotKeyMappingTest : public GlobalHotKeyX11Test,
                                public ::testing::WithParamInterface<Mapping> {};

TEST_P(GlobalHotKeyMappingTest, KeyAndModifiersBecomeTheXKeycodeAndMask) {
    const Mapping& m = GetParam();
    ASSERT_TRUE(m_hotKey.Register(1, m.mods, m.key));
    EXPECT_EQ(m_hotKey.KeycodeOf(1), static_cast<int>(keycodeOf(m.keysym)));
    EXPECT_NE(m_hotKey.KeycodeOf(1), 0);
    EXPECT_EQ(m_hotKey.ModifierMaskOf(1), m.mask);
    EXPECT_EQ(freeLockStates(keycodeOf(m.keysym), m.mask), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, GlobalHotKeyMappingTest,
    ::testing::Values(Mapping{"ctrl_f1", Qt::ControlModifier, Qt::Key_F1, ControlMask, XK_F1},
                      Mapping{"alt_f12", Qt::AltModifier, Qt::Key_F12, Mod1Mask, XK_F12},
                      Mapping{"shift_alt_f5", Qt::ShiftModifier | Qt::AltModifier, Qt::Key_F5,
                              ShiftMask | Mod1Mask, XK_F5},
                      Mapping{"meta_a", Qt::MetaModifier, Qt::Key_A, Mod4Mask, XK_a},
                      Mapping{"ctrl_shift_z", Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z,
                              ControlMask | ShiftMask, XK_z},
                      Mapping{"ctrl_alt_0", Qt::ControlModifier | Qt::AltModifier, Qt::Key_0,
                              ControlMask | Mod1Mask, XK_0},
                      Mapping{"ctrl_meta_9", Qt::ControlModifier | Qt::MetaModifier, Qt::Key_9,
                              ControlMask | Mod4Mask, XK_9}),
    [](const ::testing::TestParamInfo<Mapping>& info) { return info.param.name; });

TEST_F(GlobalHotKeyX11Test, KeysAndModifiersWithoutAnXEquivalentAreRefused) {
    EXPECT_FALSE(m_hotKey.Register(1, Qt::ControlModifier, Qt::Key_Escape));
    EXPECT_FALSE(m_hotKey.Register(2, Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_F12));
    EXPECT_FALSE(m_hotKey.IsRegistered(1));
    EXPECT_FALSE(m_hotKey.IsRegistered(2));
    EXPECT_EQ(freeLockStates(keycodeOf(XK_F12), ControlMask), 4);
}

// Key presses handed to the filter directly, against Ctrl+Alt+F12.
struct FilterCase {
    const char* name;
    const char* eventType;
    unsigned char responseType;
    unsigned addState;
    unsigned removeState;
    int keycodeOffset;
    bool consumed;
};

class GlobalHotKeyFilterTest : public GlobalHotKeyX11Test,
                               public ::testing::WithParamInterface<FilterCase> {};

TEST_P(GlobalHotKeyFilterTest, OnlyPressesOfTheRegisteredCombinationAreConsumed) {
    const FilterCase& c = GetParam();
    ASSERT_TRUE(m_hotKey.Register(7, Qt::ControlModifier | Qt::AltModifier, Qt::Key_F12));
    xcb_key_press_event_t event{};
    event.response_type = c.responseType;
    event.detail = static_cast<xcb_keycode_t>(m_hotKey.KeycodeOf(7) + c.keycodeOffset);
    event.state = static_cast<uint16_t>((m_hotKey.ModifierMaskOf(7) | c.addState) & ~c.removeState);
    EXPECT_EQ(m_hotKey.nativeEventFilter(c.eventType, &event, nullptr), c.consumed);
    ASSERT_EQ(m_calls.size(), c.consumed ? 1u : 0u);
    if (c.consumed) {
        EXPECT_EQ(m_calls[0].id, 7);
        EXPECT_EQ(m_calls[0].key, Qt::Key_F12);
    }
}

constexpr const char* kXcb = "xcb_generic_event_t";
INSTANTIATE_TEST_SUITE_P(
    Presses, GlobalHotKeyFilterTest,
    ::testing::Values(
        FilterCase{"exact", kXcb, XCB_KEY_PRESS, 0, 0, 0, true},
        FilterCase{"num_lock", kXcb, XCB_KEY_PRESS, Mod2Mask, 0, 0, true},
        FilterCase{"caps_lock", kXcb, XCB_KEY_PRESS, LockMask, 0, 0, true},
        FilterCase{"both_locks", kXcb, XCB_KEY_PRESS, LockMask | Mod2Mask, 0, 0, true},
        FilterCase{"button_held", kXcb, XCB_KEY_PRESS, Button1Mask, 0, 0, true},
        FilterCase{"sent_event", kXcb, XCB_KEY_PRESS | 0x80, 0, 0, 0, true},
        FilterCase{"extra_shift", kXcb, XCB_KEY_PRESS, ShiftMask, 0, 0, false},
        FilterCase{"extra_mod3", kXcb, XCB_KEY_PRESS, Mod3Mask, 0, 0, false},
        FilterCase{"without_alt", kXcb, XCB_KEY_PRESS, 0, Mod1Mask, 0, false},
        FilterCase{"other_key", kXcb, XCB_KEY_PRESS, 0, 0, 1, false},
        FilterCase{"release", kXcb, XCB_KEY_RELEASE, 0, 0, 0, false},
        FilterCase{"other_event_type", "windows_generic_MSG", XCB_KEY_PRESS, 0, 0, 0, false}),
    [](const ::testing::TestParamInfo<FilterCase>& info) { return info.param.name; });

TEST_F(GlobalHotKeyX11Test, HandlerMayUnregisterTheKeyItIsCalledFor) {
    ASSERT_TRUE(m_hotKey.Register(3, Qt::ControlModifier, Qt::Key_F3));
    ASSERT_TRUE(m_hotKey.Register(4, Qt::ControlModifier, Qt::Key_F4));
    m_hotKey.SetHandler([this](int id, Qt::KeyboardModifiers mods, Qt::Key key) {
        m_calls.push_back({id, mods, key});
        m_hotKey.UnregisterAll();
    });
    xcb_key_press_event_t event{};
    event.response_type = XCB_KEY_PRESS;
    event.detail = static_cast<xcb_keycode_t>(m_hotKey.KeycodeOf(4));
    event.state = ControlMask;
    EXPECT_TRUE(m_hotKey.nativeEventFilter("xcb_generic_event_t", &event, nullptr));
    ASSERT_EQ(m_calls.size(), 1u);
    EXPECT_EQ(m_calls[0].id, 4);
    EXPECT_EQ(m_calls[0].key, Qt::Key_F4);
    EXPECT_FALSE(m_hotKey.IsRegistered(3));
    EXPECT_FALSE(m_hotKey.IsRegistered(4));
    EXPECT_FALSE(m_hotKey.nativeEventFilter("xcb_generic_event_t", &event, nullptr));
}

// Another client holds one lock state of Ctrl+Shift+F11: the register fails and leaves
// none of the other three grabbed.
struct LockState {
    const char* name;
    unsigned mask;
};

class GlobalHotKeyOtherClientTest : public GlobalHotKeyX11Test,
                                    public ::testing::WithParamInterface<LockState> {};

TEST_P(GlobalHotKeyOtherClientTest, RefusedGrabFailsAndReleasesTheGrantedOnes) {
    const unsigned keycode = keycodeOf(XK_F11);
    const unsigned combination = ControlMask | ShiftMask;
    const unsigned held = combination | GetParam().mask;
    ASSERT_EQ(otherGrab(keycode, held), 0);
    EXPECT_FALSE(m_hotKey.Register(11, Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_F11));
    EXPECT_FALSE(m_hotKey.IsRegistered(11));
    EXPECT_EQ(m_hotKey.KeycodeOf(11), 0);
    ASSERT_EQ(otherGrab(keycode, held, false), 0);
    EXPECT_EQ(freeLockStates(keycode, combination), 4);

    // Once the other client lets go, the same combination registers.
    ASSERT_TRUE(m_hotKey.Register(11, Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_F11));
    EXPECT_EQ(freeLockStates(keycode, combination), 0);
}

INSTANTIATE_TEST_SUITE_P(LockStates, GlobalHotKeyOtherClientTest,
                         ::testing::Values(LockState{"no_lock", 0},
                                           LockState{"caps_lock", LockMask},
                                           LockState{"num_lock", Mod2Mask},
                                           LockState{"both_locks", LockMask | Mod2Mask}),
                         [](const ::testing::TestParamInfo<LockState>& info) {
                             return info.param.name;
                         });

TEST_F(GlobalHotKeyX11Test, ACombinationHasOneOwnerInTheProcess) {
    GlobalHotKey second;
    int secondCalls = 0;
    second.SetHandler([&](int, Qt::KeyboardModifiers, Qt::Key) { ++secondCalls; });
    ASSERT_TRUE(m_hotKey.Register(1, Qt::ControlModifier | Qt::AltModifier, Qt::Key_F9));
    EXPECT_FALSE(second.Register(2, Qt::ControlModifier | Qt::AltModifier, Qt::Key_F9));
    EXPECT_FALSE(m_hotKey.Register(5, Qt::ControlModifier | Qt::AltModifier, Qt::Key_F9))
        << "a second id of the same object";
    EXPECT_TRUE(m_hotKey.IsRegistered(1));

    ASSERT_TRUE(m_hotKey.Unregister(1));
    ASSERT_TRUE(second.Register(2, Qt::ControlModifier | Qt::AltModifier, Qt::Key_F9));
    xdotool("ctrl+alt+F9");
    ASSERT_TRUE(QTest::qWaitFor([&] { return secondCalls > 0; }, 5000)) << "no call within 5 s";
    QTest::qWait(300);
    EXPECT_EQ(secondCalls, 1);
    EXPECT_TRUE(m_calls.empty()) << "the first object's handler was called";
}

TEST_F(GlobalHotKeyX11Test, RegisteringAnIdAgainMovesIt) {
    const unsigned mask = ControlMask | Mod1Mask;
    const Qt::KeyboardModifiers ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
    ASSERT_TRUE(m_hotKey.Register(1, ctrlAlt, Qt::Key_F10));
    ASSERT_TRUE(m_hotKey.Register(1, ctrlAlt, Qt::Key_F10)) << "the same combination again";
    EXPECT_EQ(freeLockStates(keycodeOf(XK_F10), mask), 0);

    ASSERT_TRUE(m_hotKey.Register(1, ctrlAlt, Qt::Key_F8));
    EXPECT_EQ(m_hotKey.KeycodeOf(1), static_cast<int>(keycodeOf(XK_F8)));
    EXPECT_EQ(freeLockStates(keycodeOf(XK_F10), mask), 4) << "the old key stayed grabbed";
    EXPECT_EQ(freeLockStates(keycodeOf(XK_F8), mask), 0);

    // A move the X server refuses keeps the old key.
    ASSERT_EQ(otherGrab(keycodeOf(XK_F7), mask), 0);
    EXPECT_FALSE(m_hotKey.Register(1, ctrlAlt, Qt::Key_F7));
    otherGrab(keycodeOf(XK_F7), mask, false);
    EXPECT_EQ(m_hotKey.KeycodeOf(1), static_cast<int>(keycodeOf(XK_F8)));
    EXPECT_EQ(freeLockStates(keycodeOf(XK_F8), mask), 0);
}

TEST_F(GlobalHotKeyX11Test, DestructionReleasesTheGrabs) {
    const unsigned keycode = keycodeOf(XK_F6);
    {
        GlobalHotKey hotKey;
        ASSERT_TRUE(hotKey.Register(1, Qt::ShiftModifier, Qt::Key_F6));
        ASSERT_EQ(freeLockStates(keycode, ShiftMask), 0);
    }
    EXPECT_EQ(freeLockStates(keycode, ShiftMask), 4);
    // Nor does the combination stay taken within the process.
    ASSERT_TRUE(m_hotKey.Register(1, Qt::ShiftModifier, Qt::Key_F6));
}

// The stock keymap makes Ctrl+Alt+F1..F12 console switches, which the server keeps to
// itself whoever grabs them; a desk using such a hot key needs them off, as here: each
// F-key's code gets the plain key alone.
class PlainFunctionKeys : public ::testing::Environment {
public:
    void SetUp() override {
        Display* display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        for (KeySym keysym = XK_F1; keysym <= XK_F12; ++keysym) {
            const KeyCode keycode = XKeysymToKeycode(display, keysym);
            ASSERT_NE(keycode, 0) << "no key code for F" << (keysym - XK_F1 + 1);
            XChangeKeyboardMapping(display, keycode, 1, &keysym, 1);
        }
        XSync(display, False);
        XCloseDisplay(display);
    }
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr, "FAIL: needs the xcb platform, not %s\n",
                     qUtf8Printable(QGuiApplication::platformName()));
        return 1;
    }
    ::testing::AddGlobalTestEnvironment(new PlainFunctionKeys);
    return RUN_ALL_TESTS();
}

// Under a Wayland desktop that runs this X server too, the panel asks for X11.
TEST(PreferX11OnWaylandWithXServer, ChoosesXcbWhenTheXServerAnswers) {
    kztr::test::ScopedEnv platform("QT_QPA_PLATFORM", std::nullopt);
    kztr::test::ScopedEnv wayland("WAYLAND_DISPLAY", std::string("wayland-test"));
    char name[] = "KZTRMaster";
    char* argv[] = {name, nullptr};
    PreferX11OnWayland(1, argv);
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "xcb");
}
