#pragma once
// What assistive technology reads of one windowless control. A control is no QObject, so
// the frame describes each one by a binding: role, name, visibility, rectangle, state,
// value and actions, each read from the control when asked. Actions go through the
// frame's mouse routing, so a screen reader's "press" is refused exactly where a click is
// (disabled, hidden, panel shaded or busy) and posts the same notification.
#include "GUITypes.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

class CGUIGDIPlusMfcCtrlBtn;
class CGUIGDIPlusMfcCtrlCheckable;
class CGUIGDIPlusMfcCtrlEditBox;
class CGUIGDIPlusMfcCtrlSlider;
class CGUIGDIPlusMfcCtrlText;
class MouseRouter;

struct AccessibleCtrlBinding {
    struct Action {
        QString name; // QAccessibleActionInterface's names: pressAction(), toggleAction() ...
        std::function<void()> run;
    };

    QAccessible::Role role = QAccessible::NoRole;
    std::function<QString()> name;
    QString description;
    std::function<bool()> visible;
    std::function<GUIRect()> rect; // panel coordinates
    std::function<QAccessible::State()> state;
    // Value interface (number boxes, slider): present when value is set.
    std::function<int()> value;
    std::function<std::pair<int, int>()> range; // minimum, maximum
    // False when the value is refused (disabled, out of range); nothing changes then.
    std::function<bool(int)> setValue;
    // What the value reads as; the number itself when not set.
    std::function<QString()> valueText;
    std::vector<Action> actions;
};

// Bindings of the toolkit's control kinds; the frame adds names and relations.
namespace AccessibleBind {
// Push button: press.
AccessibleCtrlBinding Button(CGUIGDIPlusMfcCtrlBtn& btn, MouseRouter& router);
// Switch, check box or radio button with the given role: checkable, toggle.
AccessibleCtrlBinding Checkable(CGUIGDIPlusMfcCtrlCheckable& ctrl, QAccessible::Role role,
                                MouseRouter& router);
// Number box: editable, focusable, its number as value (range from its bounds), set focus.
AccessibleCtrlBinding NumberBox(CGUIGDIPlusMfcCtrlEditBox& box, MouseRouter& router);
// Slider: its tick as value, increase and decrease; a new value is dragged to.
AccessibleCtrlBinding Slider(CGUIGDIPlusMfcCtrlSlider& slider, MouseRouter& router);
// Label: static text named by its text; shown while visible and not empty.
AccessibleCtrlBinding Label(const CGUIGDIPlusMfcCtrlText& label);
// A click in the middle of rc, as the window system would deliver it.
void ClickAt(MouseRouter& router, const GUIRect& rc);
} // namespace AccessibleBind

class AccessibleCtrl : public QAccessibleInterface,
                       public QAccessibleActionInterface,
                       public QAccessibleValueInterface {
public:
    AccessibleCtrl(QWidget* frame, AccessibleCtrlBinding binding);

    bool IsShown() const;
    const AccessibleCtrlBinding& Binding() const { return m_binding; }

    // QAccessibleInterface
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return m_binding.role; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleActionInterface
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // QAccessibleValueInterface
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override { return 1; }

private:
    QPointer<QWidget> m_frame;
    AccessibleCtrlBinding m_binding;
};
