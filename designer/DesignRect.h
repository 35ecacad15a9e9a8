#pragma once

#include <QRect>

// A rectangle as the editor reasons about it: right and bottom lie one past
// the last pixel, so width = right - left. Plain arithmetic, no window.
struct DesignRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }

    DesignRect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    DesignRect Grown(int by) const { return {left - by, top - by, right + by, bottom + by}; }
    DesignRect Normalized() const
    {
        return {left < right ? left : right, top < bottom ? top : bottom,
                left < right ? right : left, top < bottom ? bottom : top};
    }
    // Whether (x, y) lies on one of the rectangle's pixels.
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    // Whether `inner` lies wholly inside: its intersection with this equals it.
    bool Covers(const DesignRect& inner) const
    {
        return inner.left >= left && inner.top >= top && inner.right <= right && inner.bottom <= bottom;
    }

    QRect ToQRect() const { return QRect(left, top, Width(), Height()); }
    static DesignRect FromQRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
    static DesignRect FromSize(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

    bool operator==(const DesignRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const DesignRect& o) const { return !(*this == o); }
};
