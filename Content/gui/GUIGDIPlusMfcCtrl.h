#pragma once
// What the frame's mouse routing needs from a windowless control. Each control kind
// implements it with its own state rules; the router never looks inside a control.
#include <cstdint>

class QPaintDevice;

class IGUIGDIPlusMfcCtrl {
public:
    virtual ~IGUIGDIPlusMfcCtrl() = default;

    // Left button pressed at (x, y): true when the control accepts the press.
    virtual bool HitDown(int x, int y) = 0;
    // Left button released: true when the release completes a use of the control
    // (push button that was pressed, slider ending a drag). Default: never.
    virtual bool HitUp(int x, int y) {
        (void)x;
        (void)y;
        return false;
    }
    // Pointer moved: true when the pointer is over the usable control (a slider also
    // tracks its drag here).
    virtual bool HitHover(int x, int y) = 0;
    // Edit boxes take or drop the focus with their HitDown answer on every press.
    virtual void SetFocusState(bool focus) { (void)focus; }
    // A slider being dragged posts on every move.
    virtual bool IsDragging() const { return false; }

    virtual bool IsVisible() const = 0;
    virtual void Draw(QPaintDevice* pDC) = 0;

    // Busy latch: set when a notification is posted, cleared by its handler.
    virtual void SetBusy(bool busy) = 0;
    virtual bool GetBusy() const = 0;
    // Notification message number.
    virtual std::uint32_t GetMsg() const = 0;
};
