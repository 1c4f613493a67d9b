#pragma once
// Where a skinned window goes, and at what scale: at its fixed place when a screen's
// available area holds it there; otherwise wholly on the screen under the pointer, centred,
// scaled down to fit when that screen is smaller than the window.
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// The screens as placement sees them, in desktop coordinates (logical pixels).
struct ScreenAreas {
    QList<QRect> available; // each screen's available area
    int pointer = -1;       // the one holding the pointer; -1: none known
};

struct WindowPlace {
    QPoint topLeft;
    // Window pixels per unit of the window's own drawing: 1, or below 1 when scaled down.
    double fit = 1.0;
    // The window's size on the desktop at that scale.
    QSize size;
};

// size: the window in its own units; fixedTopLeft: its fixed place. Without any screen
// (no display to fit to) the fixed place is kept.
WindowPlace PlaceWindow(QSize size, QPoint fixedTopLeft, const ScreenAreas& screens);

// Where a window's frame goes to lie wholly within the area, moved as little as it can be;
// one larger than the area keeps its top-left corner on the area's.
QPoint KeepWithin(const QRect& frame, const QRect& area);

// The window's size on the desktop when drawn at `fit`: whole pixels, never larger than
// the scaled size, never empty.
QSize FittedSize(QSize size, double fit);

// The application's screens now. The offscreen platform's one screen is a stand-in of a
// fixed size, not a display anybody looks at: it counts as none.
ScreenAreas CurrentScreenAreas();
