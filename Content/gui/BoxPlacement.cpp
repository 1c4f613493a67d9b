#include "BoxPlacement.h"

#include "GUIGDIPlusMfcBaseDlg.h"
#include "WindowPlacement.h"

#include <QDialog>
#include <QEvent>
#include <QScreen>

bool BoxPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        auto* box = qobject_cast<QDialog*>(watched);
        // Skinned frames place themselves; only real boxes on top are moved.
        if (box != nullptr && box->isWindow() &&
            qobject_cast<CGUIGDIPlusMfcBaseDlg*>(box) == nullptr && box->screen() != nullptr) {
            const QRect frame = box->frameGeometry();
            const QPoint to = KeepWithin(frame, box->screen()->availableGeometry());
            if (to != frame.topLeft()) box->move(box->pos() + (to - frame.topLeft()));
        }
    }
    return QObject::eventFilter(watched, event);
}
