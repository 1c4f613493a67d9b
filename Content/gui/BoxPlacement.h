#pragma once
// Keeps every box a frame opens (keep-or-revert, error boxes, the standard dialogs) wholly
// on the screen it opens on. Qt centres a box over its owner and then keeps it on the
// screen by its size before the window frame and the final layout are known, so a box
// over a panel near a screen's edge could still stick out.
#include <QObject>

class BoxPlacement : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
