#include "WindowPlacement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

QSize FittedSize(QSize size, double fit) {
    const auto scaled = [fit](int v) { return std::max(1, int(std::floor(v * fit + 1e-9))); };
    return QSize(scaled(size.width()), scaled(size.height()));
}

QPoint KeepWithin(const QRect& frame, const QRect& area) {
    const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    return QPoint(x, y);
}

WindowPlace PlaceWindow(QSize size, QPoint fixedTopLeft, const ScreenAreas& screens) {
    const QRect fixed(fixedTopLeft, size);
    if (screens.available.isEmpty()) return {fixedTopLeft, 1.0, size};
    for (const QRect& area : screens.available)
        if (area.contains(fixed)) return {fixedTopLeft, 1.0, size};

    // Controls off the screen cannot be reached: the whole window goes on the screen the
    // operator is looking at, shrunk when that screen is the smaller.
    const bool known = screens.pointer >= 0 && screens.pointer < screens.available.size();
    const QRect area = screens.available.at(known ? screens.pointer : 0);
    double fit = 1.0;
    if (size.width() > 0 && size.height() > 0)
        fit = std::min(
            {1.0, double(area.width()) / size.width(), double(area.height()) / size.height()});
    const QSize shown = FittedSize(size, fit);
    const QPoint topLeft(area.left() + (area.width() - shown.width()) / 2,
                         area.top() + (area.height() - shown.height()) / 2);
    return {topLeft, fit, shown};
}

ScreenAreas CurrentScreenAreas() {
    ScreenAreas screens;
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return screens;
    const QList<QScreen*> all = QGuiApplication::screens();
    const QScreen* under = QGuiApplication::screenAt(QCursor::pos());
    if (under == nullptr) under = QGuiApplication::primaryScreen();
    for (const QScreen* screen : all) {
        if (screen == under) screens.pointer = int(screens.available.size());
        screens.available.append(screen->availableGeometry());
    }
    return screens;
}
