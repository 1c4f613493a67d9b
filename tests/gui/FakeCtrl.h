#pragma once
// A windowless control for routing tests: behaves like one of the four routing roles and
// counts what the router asked it.
#include "GUIGDIPlusMfcCtrl.h"
#include "GUITypes.h"

class FakeCtrl : public IGUIGDIPlusMfcCtrl {
public:
    enum class Kind { Toggle, Button, Edit, Slider };

    FakeCtrl(Kind kind, GUIRect rc, std::uint32_t msg) : m_kind(kind), m_rc(rc), m_msg(msg) {}

    bool HitDown(int x, int y) override {
        ++m_downCalls;
        if (!m_visible || !m_enabled || !m_rc.Contains(x, y)) return false;
        switch (m_kind) {
        case Kind::Toggle:
            m_on = !m_on;
            break;
        case Kind::Button:
            m_pressed = true;
            break;
        case Kind::Edit:
            break;
        case Kind::Slider:
            m_dragging = true;
            break;
        }
        return true;
    }
    bool HitUp(int x, int y) override {
        (void)x;
        (void)y;
        ++m_upCalls;
        if (m_kind == Kind::Button && m_pressed) {
            m_pressed = false;
            return true;
        }
        if (m_kind == Kind::Slider && m_dragging) {
            m_dragging = false;
            return true;
        }
        return false;
    }
    bool HitHover(int x, int y) override {
        ++m_hoverCalls;
        if (m_kind == Kind::Slider && m_dragging) return true;
        return m_visible && m_enabled && m_rc.Contains(x, y);
    }
    void SetFocusState(bool focus) override {
        ++m_focusCalls;
        m_focused = focus;
    }
    bool IsDragging() const override { return m_dragging; }
    bool IsVisible() const override { return m_visible; }
    void Draw(QPaintDevice*) override {}
    void SetBusy(bool busy) override { m_busy = busy; }
    bool GetBusy() const override { return m_busy; }
    std::uint32_t GetMsg() const override { return m_msg; }

    Kind m_kind;
    GUIRect m_rc;
    std::uint32_t m_msg;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_busy = false;
    bool m_on = false;
    bool m_pressed = false;
    bool m_dragging = false;
    bool m_focused = false;
    int m_downCalls = 0;
    int m_upCalls = 0;
    int m_hoverCalls = 0;
    int m_focusCalls = 0;
};
