#include "AccessibleFrame.h"

#include <QThread>

AccessibleSkinnedFrame::AccessibleSkinnedFrame(QWidget* frame,
                                               std::vector<AccessibleCtrlBinding> bindings)
    : QAccessibleWidget(frame, QAccessible::Window) {
    for (AccessibleCtrlBinding& b : bindings) {
        auto* c = new AccessibleCtrl(frame, std::move(b));
        m_vecChildren.push_back(c);
        m_vecIds.push_back(QAccessible::registerAccessibleInterface(c));
        m_vecLast.push_back(Read(*c));
    }
}

AccessibleSkinnedFrame::~AccessibleSkinnedFrame() {
    // At the application's end the cache may have deleted the children already.
    for (QAccessible::Id id : m_vecIds)
        if (QAccessible::accessibleInterface(id) != nullptr)
            QAccessible::deleteAccessibleInterface(id);
}

std::vector<AccessibleCtrl*> AccessibleSkinnedFrame::Shown() const {
    std::vector<AccessibleCtrl*> shown;
    for (AccessibleCtrl* c : m_vecChildren)
        if (c->IsShown()) shown.push_back(c);
    return shown;
}

int AccessibleSkinnedFrame::childCount() const {
    return int(Shown().size());
}

QAccessibleInterface* AccessibleSkinnedFrame::child(int index) const {
    const std::vector<AccessibleCtrl*> shown = Shown();
    return index >= 0 && size_t(index) < shown.size() ? shown[size_t(index)] : nullptr;
}

int AccessibleSkinnedFrame::indexOfChild(const QAccessibleInterface* child) const {
    const std::vector<AccessibleCtrl*> shown = Shown();
    for (size_t i = 0; i < shown.size(); ++i)
        if (shown[i] == child) return int(i);
    return -1;
}

QAccessibleInterface* AccessibleSkinnedFrame::childAt(int x, int y) const {
    for (AccessibleCtrl* c : Shown())
        if (c->rect().contains(x, y)) return c;
    return nullptr;
}

QAccessibleInterface* AccessibleSkinnedFrame::focusChild() const {
    for (AccessibleCtrl* c : Shown())
        if (c->state().focused) return c;
    return QAccessibleWidget::focusChild();
}

AccessibleSkinnedFrame::Reading AccessibleSkinnedFrame::Read(const AccessibleCtrl& c) {
    return {c.IsShown(), c.text(QAccessible::Name), c.state(), c.text(QAccessible::Value)};
}

void AccessibleSkinnedFrame::NotifyChanges() {
    for (size_t i = 0; i < m_vecChildren.size(); ++i) {
        AccessibleCtrl* c = m_vecChildren[i];
        const Reading now = Read(*c);
        Reading& was = m_vecLast[i];
        if (now.shown != was.shown) {
            // Joins or leaves the frame's children.
            QAccessibleEvent membership(c, now.shown ? QAccessible::ObjectCreated
                                                     : QAccessible::ObjectDestroyed);
            QAccessible::updateAccessibility(&membership);
            QAccessibleEvent show(c, now.shown ? QAccessible::ObjectShow : QAccessible::ObjectHide);
            QAccessible::updateAccessibility(&show);
        }
        if (now.shown) {
            if (now.name != was.name) {
                QAccessibleEvent ev(c, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&ev);
            }
            // One flag an event: the AT-SPI bridge reports one flag of each.
            const auto notifyFlag = [c](auto set) {
                QAccessible::State changed;
                set(changed);
                QAccessibleStateChangeEvent ev(c, changed);
                QAccessible::updateAccessibility(&ev);
            };
            if (now.state.checked != was.state.checked)
                notifyFlag([](QAccessible::State& s) { s.checked = true; });
            if (now.state.disabled != was.state.disabled)
                notifyFlag([](QAccessible::State& s) { s.disabled = true; });
            if (now.state.pressed != was.state.pressed)
                notifyFlag([](QAccessible::State& s) { s.pressed = true; });
            if (now.state.focused != was.state.focused) {
                notifyFlag([](QAccessible::State& s) { s.focused = true; });
                if (now.state.focused) {
                    QAccessibleEvent focus(c, QAccessible::Focus);
                    QAccessible::updateAccessibility(&focus);
                }
            }
            if (now.value != was.value && c->valueInterface() != nullptr) {
                QAccessibleValueChangeEvent ev(c, c->currentValue());
                QAccessible::updateAccessibility(&ev);
            }
        }
        was = now;
    }
}

AccessibleSkinnedFrame* AccessibleSkinnedFrame::Of(QWidget* frame) {
    return dynamic_cast<AccessibleSkinnedFrame*>(QAccessible::queryAccessibleInterface(frame));
}

void NotifyAccessibleChanges(QWidget* frame) {
    if (frame == nullptr) return;
    if (QThread::currentThread() != frame->thread()) {
        QPointer<QWidget> guard(frame);
        QMetaObject::invokeMethod(
            frame, [guard] { NotifyAccessibleChanges(guard); }, Qt::QueuedConnection);
        return;
    }
    if (AccessibleSkinnedFrame* iface = AccessibleSkinnedFrame::Of(frame)) iface->NotifyChanges();
}
