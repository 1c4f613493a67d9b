#pragma once
// The panel's places (PanelGeometry.h) as Qt rectangles and sizes for the drawing code.
#include "PanelGeometry.h"

#include <QRect>
#include <QSize>

namespace skin {

namespace pg = ::PanelGeometry;

// Rectangles written (left, top, right, bottom) as in the table; right and bottom exclusive.
constexpr QRect ltrb(int l, int t, int r, int b) {
    return QRect(l, t, r - l, b - t);
}
constexpr QRect q(const pg::Rect& r) {
    return ltrb(r.left, r.top, r.right, r.bottom);
}

constexpr QSize kPanelSize = q(pg::kPanel).size();
constexpr QSize kSplashSize = q(pg::kSplash).size();

} // namespace skin
