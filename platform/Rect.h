// A rectangle in pixels, edges inclusive of left and top, as the layouts compute them.
#pragma once

namespace kestrix {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const Rect& o) const { return !(*this == o); }
};

// The rectangle with that corner and size, as window positions are given.
inline Rect RectAt(int left, int top, int width, int height) {
    return Rect{left, top, left + width, top + height};
}

} // namespace kestrix
