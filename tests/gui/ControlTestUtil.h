#pragma once
// Scaffolding shared by the control tests: colour strips on disk and a frame that
// records the notifications posted to it.
#include "GUIGDIPlusMfcBaseDlg.h"
#include "GuiTestApp.h"
#include "SkinFixtures.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

namespace ControlTest {

// Base of fixtures whose members are widgets: the application exists before them.
struct WithGuiApp {
    WithGuiApp() { EnsureGuiApp(); }
};

// A 4-frame strip whose frames have the control's size, so the frame drawn is read from
// any pixel of the control's rectangle.
inline QString WriteControlStrip(const QTemporaryDir& dir, const QString& name, const GUIRect& rc) {
    return SkinFixtures::WriteStrip(dir.path(), name, 4, rc.AbsWidth(), rc.AbsHeight());
}

struct Posted {
    std::uint32_t msg;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool operator==(const Posted& o) const {
        return msg == o.msg && wParam == o.wParam && lParam == o.lParam;
    }
};

// A skinned frame that only records what reaches its handler, and what reached it
// synchronously (sent) apart from what was posted.
class RecordingFrame : public CGUIGDIPlusMfcBaseDlg {
public:
    std::vector<Posted> received;
    std::function<void(const Posted&)> onMessage;

    // Delivers the notifications posted so far.
    void DeliverPosted() {
        QCoreApplication::sendPostedEvents(this, FrameMessageEvent::EventType());
    }

protected:
    long OnFrameMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override {
        received.push_back(Posted{msg, wParam, lParam});
        if (onMessage) onMessage(received.back());
        return 0;
    }
};

inline std::ostream& operator<<(std::ostream& os, const Posted& p) {
    return os << "{msg " << p.msg << ", wParam " << p.wParam << ", lParam " << p.lParam << "}";
}

} // namespace ControlTest
