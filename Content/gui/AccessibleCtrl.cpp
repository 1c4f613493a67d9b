#include "AccessibleCtrl.h"

#include "GUIGDIPlusMfcBaseDlg.h"
#include "GUIGDIPlusMfcCtrlBtn.h"
#include "GUIGDIPlusMfcCtrlEditBox.h"
#include "GUIGDIPlusMfcCtrlSlider.h"
#include "GUIGDIPlusMfcCtrlStrip.h"
#include "GUIGDIPlusMfcCtrlText.h"
#include "MouseRouter.h"

#include <QWindow>

#include <algorithm>

namespace AccessibleBind {

namespace {

QPoint Centre(const GUIRect& rc) {
    return QPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

void Repaint(MouseRouter& router) {
    if (router.GetHooks().repaint) router.GetHooks().repaint();
}

// Largest number a box can show with its character limit.
int LargestTypable(const CGUIGDIPlusMfcCtrlEditBox& box) {
    int n = 0;
    for (int i = 0; i < std::min(box.m_iMaxLen, 9); ++i)
        n = n * 10 + 9;
    return n;
}

// The thumb dragged from where it rests to tick, as a pointer would do it.
bool DragSliderTo(CGUIGDIPlusMfcCtrlSlider& slider, MouseRouter& router, int tick) {
    if (!slider.IsVisible() || !slider.IsEnabled() || tick < 0 ||
        size_t(tick) >= slider.m_vecTicks.size())
        return false;
    const QPoint from = Centre(slider.m_rcThumb);
    const int lead = slider.m_vecTicks[size_t(tick)];
    const QPoint to = slider.m_iOrient == CGUIGDIPlusMfcCtrlSlider::kVertical
                          ? QPoint(from.x(), lead)
                          : QPoint(lead, from.y());
    router.OnLButtonDown(from.x(), from.y());
    router.OnMouseMove(to.x(), to.y());
    router.OnLButtonUp(to.x(), to.y());
    return slider.GetPos() == tick;
}

} // namespace

void ClickAt(MouseRouter& router, const GUIRect& rc) {
    const QPoint p = Centre(rc);
    router.OnLButtonDown(p.x(), p.y());
    router.OnLButtonUp(p.x(), p.y());
}

AccessibleCtrlBinding Button(CGUIGDIPlusMfcCtrlBtn& btn, MouseRouter& router) {
    AccessibleCtrlBinding b;
    b.role = QAccessible::Button;
    b.visible = [&btn] { return btn.IsVisible(); };
    b.rect = [&btn] { return btn.m_rcCtrl; };
    b.state = [&btn] {
        QAccessible::State s;
        s.disabled = !btn.IsEnabled();
        s.pressed = btn.GetState() == CGUIGDIPlusMfcCtrlBtn::kPressed;
        return s;
    };
    b.actions.push_back({QAccessibleActionInterface::pressAction(),
                         [&btn, &router] { ClickAt(router, btn.m_rcCtrl); }});
    return b;
}

AccessibleCtrlBinding Checkable(CGUIGDIPlusMfcCtrlCheckable& ctrl, QAccessible::Role role,
                                MouseRouter& router) {
    AccessibleCtrlBinding b;
    b.role = role;
    b.visible = [&ctrl] { return ctrl.IsVisible(); };
    b.rect = [&ctrl] { return ctrl.m_rcCtrl; };
    b.state = [&ctrl] {
        QAccessible::State s;
        s.checkable = true;
        s.checked = ctrl.GetCheck();
        s.disabled = !ctrl.IsEnabled();
        return s;
    };
    b.actions.push_back({QAccessibleActionInterface::toggleAction(),
                         [&ctrl, &router] { ClickAt(router, ctrl.m_rcCtrl); }});
    return b;
}

AccessibleCtrlBinding NumberBox(CGUIGDIPlusMfcCtrlEditBox& box, MouseRouter& router) {
    AccessibleCtrlBinding b;
    b.role = QAccessible::SpinBox;
    b.visible = [&box] { return box.IsVisible(); };
    b.rect = [&box] { return box.m_rcCtrl; };
    b.state = [&box] {
        QAccessible::State s;
        s.disabled = !box.IsEnabled();
        s.readOnly = box.m_bReadOnly;
        s.editable = !box.m_bReadOnly;
        s.focusable = !box.m_bReadOnly;
        s.focused = box.IsFocused();
        return s;
    };
    b.value = [&box] { return box.GetNumber(); };
    b.range = [&box] { return std::make_pair(box.m_iMin, box.m_iMax); };
    b.valueText = [&box] { return box.GetText(); };
    // As typed: bounded by what the box can show, not by its +/- limits, which the
    // frame applies where it reads the box.
    b.setValue = [&box, &router](int v) {
        if (!box.IsVisible() || !box.IsEnabled() || box.m_bReadOnly || v < 0 ||
            v > LargestTypable(box))
            return false;
        box.SetNumber(v);
        Repaint(router);
        return true;
    };
    b.actions.push_back({QAccessibleActionInterface::setFocusAction(),
                         [&box, &router] { ClickAt(router, box.m_rcCtrl); }});
    return b;
}

AccessibleCtrlBinding Slider(CGUIGDIPlusMfcCtrlSlider& slider, MouseRouter& router) {
    AccessibleCtrlBinding b;
    b.role = QAccessible::Slider;
    b.visible = [&slider] { return slider.IsVisible(); };
    b.rect = [&slider] {
        // The bar with the thumb wherever it rests.
        const GUIRect& bar = slider.m_rcBar;
        const GUIRect& th = slider.m_rcThumb;
        return GUIRect{std::min(bar.left, th.left), std::min(bar.top, th.top),
                       std::max(bar.right, th.right), std::max(bar.bottom, th.bottom)};
    };
    b.state = [&slider] {
        QAccessible::State s;
        s.disabled = !slider.IsEnabled();
        s.pressed = slider.IsDragging();
        return s;
    };
    b.value = [&slider] { return slider.GetPos(); };
    b.range = [&slider] { return std::make_pair(0, std::max(slider.m_iCount - 1, 0)); };
    b.setValue = [&slider, &router](int v) { return DragSliderTo(slider, router, v); };
    b.actions.push_back({QAccessibleActionInterface::increaseAction(), [&slider, &router] {
                             DragSliderTo(slider, router, slider.GetPos() + 1);
                         }});
    b.actions.push_back({QAccessibleActionInterface::decreaseAction(), [&slider, &router] {
                             DragSliderTo(slider, router, slider.GetPos() - 1);
                         }});
    return b;
}

AccessibleCtrlBinding Label(const CGUIGDIPlusMfcCtrlText& label) {
    AccessibleCtrlBinding b;
    b.role = QAccessible::StaticText;
    // A device column's three lines read as one name.
    b.name = [&label] { return label.m_strText.simplified(); };
    b.visible = [&label] { return label.IsVisible() && !label.m_strText.trimmed().isEmpty(); };
    b.rect = [&label] { return label.m_rcCtrl; };
    b.state = [&label] {
        QAccessible::State s;
        s.disabled = label.m_bDisabled;
        return s;
    };
    return b;
}

} // namespace AccessibleBind

AccessibleCtrl::AccessibleCtrl(QWidget* frame, AccessibleCtrlBinding binding)
    : m_frame(frame), m_binding(std::move(binding)) {}

bool AccessibleCtrl::IsShown() const {
    return !m_binding.visible || m_binding.visible();
}

bool AccessibleCtrl::isValid() const {
    return !m_frame.isNull();
}

QWindow* AccessibleCtrl::window() const {
    return m_frame ? m_frame->windowHandle() : nullptr;
}

QAccessibleInterface* AccessibleCtrl::parent() const {
    return m_frame ? QAccessible::queryAccessibleInterface(m_frame) : nullptr;
}

QString AccessibleCtrl::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return m_binding.name ? m_binding.name() : QString();
    case QAccessible::Description:
        return m_binding.description;
    case QAccessible::Value:
        if (m_binding.valueText) return m_binding.valueText();
        return m_binding.value ? QString::number(m_binding.value()) : QString();
    default:
        return {};
    }
}

QRect AccessibleCtrl::rect() const {
    if (!m_frame || !m_binding.rect) return {};
    const GUIRect rc = m_binding.rect();
    // The control's rectangle is in the frame's own units; a window shown shrunk to a
    // small screen has fewer pixels than units.
    qreal fit = 1.0;
    if (const auto* skinned = qobject_cast<const CGUIGDIPlusMfcBaseDlg*>(m_frame.data()))
        fit = skinned->GetFitScale();
    const QRect shown =
        QRectF(rc.left * fit, rc.top * fit, rc.Width() * fit, rc.Height() * fit).toAlignedRect();
    return QRect(m_frame->mapToGlobal(shown.topLeft()), shown.size());
}

QAccessible::State AccessibleCtrl::state() const {
    QAccessible::State s = m_binding.state ? m_binding.state() : QAccessible::State();
    if (!IsShown()) s.invisible = true;
    return s;
}

void* AccessibleCtrl::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ActionInterface && !m_binding.actions.empty())
        return static_cast<QAccessibleActionInterface*>(this);
    if (t == QAccessible::ValueInterface && m_binding.value)
        return static_cast<QAccessibleValueInterface*>(this);
    return nullptr;
}

QStringList AccessibleCtrl::actionNames() const {
    QStringList names;
    for (const auto& a : m_binding.actions)
        names << a.name;
    return names;
}

void AccessibleCtrl::doAction(const QString& actionName) {
    if (!m_frame) return;
    for (const auto& a : m_binding.actions)
        if (a.name == actionName) {
            a.run();
            return;
        }
}

QVariant AccessibleCtrl::currentValue() const {
    return m_binding.value ? QVariant(m_binding.value()) : QVariant();
}

void AccessibleCtrl::setCurrentValue(const QVariant& value) {
    bool ok = false;
    const int v = value.toInt(&ok);
    if (ok && m_frame && m_binding.setValue) m_binding.setValue(v);
}

QVariant AccessibleCtrl::maximumValue() const {
    return m_binding.range ? QVariant(m_binding.range().second) : QVariant();
}

QVariant AccessibleCtrl::minimumValue() const {
    return m_binding.range ? QVariant(m_binding.range().first) : QVariant();
}
