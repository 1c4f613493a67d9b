#pragma once
// Small value types shared by the skinned toolkit.
#include <QRectF>

#include <cstdint>
#include <cstdlib>

// Colour as 0x00BBGGRR; the alpha always travels separately.
using GUIColorRef = std::uint32_t;

// Rectangle as (left, top, right, bottom). Contains() includes the left and top edges
// and excludes the right and bottom ones, as hit tests of the controls expect.
struct GUIRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr bool Contains(int x, int y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    int AbsWidth() const { return std::abs(right - left); }
    int AbsHeight() const { return std::abs(bottom - top); }
    constexpr void Offset(int dx, int dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    constexpr bool operator==(const GUIRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    constexpr bool operator!=(const GUIRect& o) const { return !(*this == o); }
};

// What the controls and primitives draw into: corner at (left, top), the size made
// positive, whichever way round the edges were given.
inline QRectF AbsRectF(const GUIRect& rc) {
    return QRectF(rc.left, rc.top, rc.AbsWidth(), rc.AbsHeight());
}
