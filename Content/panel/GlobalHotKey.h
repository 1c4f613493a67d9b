#pragma once
// A key combination grabbed on the X11 root window, so that it reaches this program
// whichever window has the focus. GUI thread only.
#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <Qt>
#include <functional>
#include <map>
#include <utility>

class GlobalHotKey : public QAbstractNativeEventFilter {
public:
    using Handler = std::function<void(int id, Qt::KeyboardModifiers mods, Qt::Key key)>;

    GlobalHotKey() = default;
    ~GlobalHotKey() override;

    // Ctrl, Alt, Shift and Meta with F1..F35, A..Z or 0..9. False, grabbing nothing, when
    // there is no X11 display, the key has no key code, another client holds the
    // combination or another id of this process uses it. Registering an id again moves
    // it to the new combination; when that fails it keeps the old one.
    bool Register(int id, Qt::KeyboardModifiers mods, Qt::Key key);
    // False when id was not registered.
    bool Unregister(int id);
    void UnregisterAll();
    bool IsRegistered(int id) const;

    // The X key code and modifier mask (without Num Lock and Caps Lock) a registered id
    // is matched against; 0 for ids not registered.
    int KeycodeOf(int id) const;
    unsigned ModifierMaskOf(int id) const;

    // Called for each press of a registered combination, on the GUI thread.
    void SetHandler(Handler handler) { m_handler = std::move(handler); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grab {
        Qt::KeyboardModifiers mods;
        Qt::Key key;
        unsigned keycode;
        unsigned mask;
    };
    static void Release(const Grab& grab);

    std::map<int, Grab> m_grabs;
    Handler m_handler;
    bool m_filterInstalled = false;
};
