#pragma once
// The accessible interface of a skinned frame: the window as Qt describes it, with the
// frame's windowless controls as its children (those shown, in the frame's order). The
// controls keep no history, so change notifications come from comparing what each child
// reads as now with what it read as at the last repaint.
#include "AccessibleCtrl.h"

#include <QAccessibleWidget>

#include <vector>

class AccessibleSkinnedFrame : public QAccessibleWidget {
public:
    AccessibleSkinnedFrame(QWidget* frame, std::vector<AccessibleCtrlBinding> bindings);
    ~AccessibleSkinnedFrame() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    // Screen coordinates; the topmost shown control there, labels last.
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // Sends a notification for every change since the last call: shown or hidden, name,
    // each state flag, value.
    void NotifyChanges();

    // The frame's interface when it is a skinned one, else nullptr.
    static AccessibleSkinnedFrame* Of(QWidget* frame);

private:
    struct Reading {
        bool shown = false;
        QString name;
        QAccessible::State state;
        QString value;
    };
    static Reading Read(const AccessibleCtrl& c);
    std::vector<AccessibleCtrl*> Shown() const;

    std::vector<AccessibleCtrl*> m_vecChildren; // owned by Qt's cache, deleted with us
    std::vector<QAccessible::Id> m_vecIds;
    std::vector<Reading> m_vecLast;
};

// After a repaint: what changed on the frame's panel reaches assistive technology. Safe
// from any thread (queued to the frame's).
void NotifyAccessibleChanges(QWidget* frame);
