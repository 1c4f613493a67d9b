#include "MouseRouter.h"

int MouseRouter::AddGroup(Role role, std::vector<IGUIGDIPlusMfcCtrl*> ctrls) {
    const int id = static_cast<int>(m_groups.size());
    m_groups.push_back(Group{role, std::move(ctrls)});
    m_registration.push_back(id);
    return id;
}

void MouseRouter::SetPressOrder(std::vector<int> groups) {
    m_pressOrder = std::move(groups);
}

void MouseRouter::SetMoveOrder(std::vector<int> groups) {
    m_moveOrder = std::move(groups);
}

void MouseRouter::Clear() {
    m_groups.clear();
    m_registration.clear();
    m_pressOrder.clear();
    m_moveOrder.clear();
}

const std::vector<int>& MouseRouter::PressOrder() const {
    return m_pressOrder.empty() ? m_registration : m_pressOrder;
}

const std::vector<int>& MouseRouter::MoveOrder() const {
    return m_moveOrder.empty() ? PressOrder() : m_moveOrder;
}

void MouseRouter::Notify(IGUIGDIPlusMfcCtrl& ctrl, int index) {
    // The latch holds further notifications until the handler has run.
    if (ctrl.GetBusy()) return;
    ctrl.SetBusy(true);
    if (m_hooks.post) m_hooks.post(ctrl.GetMsg(), static_cast<std::uintptr_t>(index), 0);
}

void MouseRouter::Repaint() {
    if (m_hooks.repaint) m_hooks.repaint();
}

void MouseRouter::Cursor(int type) {
    if (m_hooks.setCursor) m_hooks.setCursor(type);
}

void MouseRouter::OnLButtonDown(int x, int y) {
    if (m_hooks.inDragStrip && m_hooks.inDragStrip(x, y)) {
        if (m_hooks.beginDrag) m_hooks.beginDrag(x, y);
        return;
    }
    if (Busy()) return;

    bool found = false;
    for (int id : PressOrder()) {
        if (id < 0 || id >= static_cast<int>(m_groups.size())) continue;
        Group& group = m_groups[static_cast<size_t>(id)];
        if (group.role == Role::Edit) {
            // Every box takes or drops the focus by its own answer.
            for (IGUIGDIPlusMfcCtrl* ctrl : group.ctrls) {
                if (ctrl) ctrl->SetFocusState(ctrl->HitDown(x, y));
            }
            continue;
        }
        if (found) continue;
        for (size_t i = 0; i < group.ctrls.size(); ++i) {
            IGUIGDIPlusMfcCtrl* ctrl = group.ctrls[i];
            if (!ctrl || !ctrl->HitDown(x, y)) continue;
            found = true;
            if (m_hooks.onPressed) m_hooks.onPressed(id, static_cast<int>(i));
            if (group.role != Role::Button) Notify(*ctrl, static_cast<int>(i));
            break;
        }
    }
    Repaint();
}

void MouseRouter::OnLButtonUp(int x, int y) {
    if (Busy()) return;
    for (int id : PressOrder()) {
        if (id < 0 || id >= static_cast<int>(m_groups.size())) continue;
        Group& group = m_groups[static_cast<size_t>(id)];
        if (group.role != Role::Button && group.role != Role::Slider) continue;
        for (size_t i = 0; i < group.ctrls.size(); ++i) {
            IGUIGDIPlusMfcCtrl* ctrl = group.ctrls[i];
            if (!ctrl || !ctrl->HitUp(x, y)) continue;
            if (m_hooks.onReleased) m_hooks.onReleased(id, static_cast<int>(i));
            Notify(*ctrl, static_cast<int>(i));
            break;
        }
    }
    Repaint();
}

void MouseRouter::OnMouseMove(int x, int y) {
    if (Busy()) {
        Cursor(kCursorArrow);
        return;
    }
    for (int id : MoveOrder()) {
        if (id < 0 || id >= static_cast<int>(m_groups.size())) continue;
        Group& group = m_groups[static_cast<size_t>(id)];
        for (size_t i = 0; i < group.ctrls.size(); ++i) {
            IGUIGDIPlusMfcCtrl* ctrl = group.ctrls[i];
            if (!ctrl || !ctrl->HitHover(x, y)) continue;
            Cursor(kCursorHand);
            if (group.role == Role::Slider && ctrl->IsDragging())
                Notify(*ctrl, static_cast<int>(i));
            // Edit boxes and the slider change their look with the pointer.
            if (group.role == Role::Edit || group.role == Role::Slider) Repaint();
            return;
        }
    }
    Cursor(kCursorArrow);
    Repaint();
}
