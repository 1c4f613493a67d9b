#include "GlobalHotKey.h"

#include "DebugTrace.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <set>

// Xlib's macros (None, Bool, KeyPress...) clash with Qt's names: after every Qt header.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

namespace {

// The lock keys change the modifier state; a grab matches the state exactly, so each
// combination is grabbed once per lock state.
constexpr unsigned kLockVariants[] = {0, LockMask, Mod2Mask, LockMask | Mod2Mask};
constexpr unsigned kLockBits = LockMask | Mod2Mask;
// Shift, Lock, Control, Mod1..Mod5; the state's higher bits are pointer buttons and the
// keyboard group, which a key grab does not look at.
constexpr unsigned kModifierBits = 0xff;

Display* x11Display() {
    if (qGuiApp == nullptr) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

KeySym keysymOf(Qt::Key key) {
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35) return XK_F1 + (key - Qt::Key_F1);
    // The keyboard map lists letters unshifted.
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return XK_a + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return XK_0 + (key - Qt::Key_0);
    return NoSymbol;
}

bool maskOf(Qt::KeyboardModifiers mods, unsigned* mask) {
    static const struct {
        Qt::KeyboardModifier qt;
        unsigned x;
    } kMap[] = {{Qt::ShiftModifier, ShiftMask},
                {Qt::ControlModifier, ControlMask},
                {Qt::AltModifier, Mod1Mask},
                {Qt::MetaModifier, Mod4Mask}};
    *mask = 0;
    for (const auto& m : kMap) {
        if (mods.testFlag(m.qt)) {
            *mask |= m.x;
            mods.setFlag(m.qt, false);
        }
    }
    return mods == Qt::NoModifier;
}

// One X client holds a combination once: a second grab by this process would succeed
// and the first release would end both, so the process keeps its own list.
std::set<std::pair<unsigned, unsigned>>& heldInProcess() {
    static std::set<std::pair<unsigned, unsigned>> held;
    return held;
}

int g_grabError = 0;

int recordGrabError(Display*, XErrorEvent* event) {
    if (g_grabError == 0) g_grabError = event->error_code;
    return 0;
}

void ungrabAll(Display* display, unsigned keycode, unsigned mask) {
    const Window root = DefaultRootWindow(display);
    for (unsigned lock : kLockVariants)
        XUngrabKey(display, static_cast<int>(keycode), mask | lock, root);
    // Done before returning, so that another client may grab the combination at once.
    XSync(display, False);
}

// 0, or the X error of the first refused grab; a refusal releases the variants granted.
int grabAll(Display* display, unsigned keycode, unsigned mask) {
    // Errors of earlier requests must not count as ours.
    XSync(display, False);
    g_grabError = 0;
    const XErrorHandler previous = XSetErrorHandler(recordGrabError);
    const Window root = DefaultRootWindow(display);
    for (unsigned lock : kLockVariants)
        XGrabKey(display, static_cast<int>(keycode), mask | lock, root, False, GrabModeAsync,
                 GrabModeAsync);
    XSync(display, False);
    XSetErrorHandler(previous);
    const int error = g_grabError;
    // Ungrabbing a variant another client holds leaves that client's grab alone.
    if (error != 0) ungrabAll(display, keycode, mask);
    return error;
}

} // namespace

GlobalHotKey::~GlobalHotKey() {
    UnregisterAll();
    if (m_filterInstalled && QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool GlobalHotKey::Register(int id, Qt::KeyboardModifiers mods, Qt::Key key) {
    Display* display = x11Display();
    if (display == nullptr) {
        RZ8_TRACE("[D]GlobalHotKey::Register id=%d: no X11 display (platform %s)\n", id,
                  qGuiApp != nullptr ? qUtf8Printable(QGuiApplication::platformName()) : "none");
        return false;
    }
    unsigned mask = 0;
    const KeySym keysym = keysymOf(key);
    if (keysym == NoSymbol || !maskOf(mods, &mask)) {
        RZ8_TRACE("[D]GlobalHotKey::Register id=%d: no X equivalent of key %x modifiers %x\n", id,
                  static_cast<unsigned>(key), static_cast<unsigned>(mods.toInt()));
        return false;
    }
    const unsigned keycode = XKeysymToKeycode(display, keysym);
    if (keycode == 0) {
        RZ8_TRACE("[D]GlobalHotKey::Register id=%d: keysym %lx is not on the keyboard\n", id,
                  static_cast<unsigned long>(keysym));
        return false;
    }

    const auto previous = m_grabs.find(id);
    if (previous != m_grabs.end() && previous->second.keycode == keycode &&
        previous->second.mask == mask)
        return true;
    if (heldInProcess().count({keycode, mask}) != 0) {
        RZ8_TRACE("[D]GlobalHotKey::Register id=%d: key code %u mask %x already in use here\n", id,
                  keycode, mask);
        return false;
    }
    if (const int error = grabAll(display, keycode, mask); error != 0) {
        RZ8_TRACE("[D]GlobalHotKey::Register id=%d: X refused key code %u mask %x (error %d)\n", id,
                  keycode, mask, error);
        return false;
    }

    if (previous != m_grabs.end()) {
        Release(previous->second);
        m_grabs.erase(previous);
    }
    m_grabs[id] = Grab{mods, key, keycode, mask};
    heldInProcess().insert({keycode, mask});
    if (!m_filterInstalled) {
        qApp->installNativeEventFilter(this);
        m_filterInstalled = true;
    }
    return true;
}

void GlobalHotKey::Release(const Grab& grab) {
    heldInProcess().erase({grab.keycode, grab.mask});
    // Without the application the connection, and with it the grab, is gone already.
    if (Display* display = x11Display()) ungrabAll(display, grab.keycode, grab.mask);
}

bool GlobalHotKey::Unregister(int id) {
    const auto it = m_grabs.find(id);
    if (it == m_grabs.end()) return false;
    Release(it->second);
    m_grabs.erase(it);
    return true;
}

void GlobalHotKey::UnregisterAll() {
    for (const auto& entry : m_grabs)
        Release(entry.second);
    m_grabs.clear();
}

bool GlobalHotKey::IsRegistered(int id) const {
    return m_grabs.count(id) != 0;
}

int GlobalHotKey::KeycodeOf(int id) const {
    const auto it = m_grabs.find(id);
    return it != m_grabs.end() ? static_cast<int>(it->second.keycode) : 0;
}

unsigned GlobalHotKey::ModifierMaskOf(int id) const {
    const auto it = m_grabs.find(id);
    return it != m_grabs.end() ? it->second.mask : 0;
}

bool GlobalHotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (message == nullptr || eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The top bit marks events another client sent.
    if ((event->response_type & ~0x80) != XCB_KEY_PRESS) return false;
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    const unsigned state = press->state & kModifierBits & ~kLockBits;
    for (const auto& [id, grab] : m_grabs) {
        if (grab.keycode != press->detail || grab.mask != state) continue;
        // Copies: the handler may unregister, or replace itself.
        const int pressedId = id;
        const Grab pressed = grab;
        if (Handler handler = m_handler) handler(pressedId, pressed.mods, pressed.key);
        return true;
    }
    return false;
}
