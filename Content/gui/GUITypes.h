#pragma once
// Small value types shared by the skinned toolkit.
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
