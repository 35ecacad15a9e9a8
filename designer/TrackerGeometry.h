#pragma once

#include "designer/DesignRect.h"

#include <Qt>

// The plain geometry of the editor's trackers: the clamp rule, the resize
// handles and their hit test, and the size invariant of picture buttons.
namespace tracker {

constexpr int kHandleSize = 6;
constexpr int kMinimumWidth = 8;
constexpr int kMinimumHeight = 8;

// Hit codes in the order the handles are tested.
enum Hit {
    kHitNothing = -1,
    kHitTopLeft = 0,
    kHitTopRight = 1,
    kHitBottomRight = 2,
    kHitBottomLeft = 3,
    kHitTop = 4,
    kHitRight = 5,
    kHitBottom = 6,
    kHitLeft = 7,
    kHitInside = 8,
};

// Keeps a moved rectangle inside `bound` with its size unchanged. A rectangle
// wider (taller) than the bound ends with its left (top) edge on it. An empty
// bound clamps nothing.
DesignRect ClampMove(const DesignRect& rect, const DesignRect& bound);

// Pulls only the violating edge of a resized rectangle back onto `bound`.
DesignRect ClampResize(const DesignRect& rect, const DesignRect& bound);

// The square of handle `hit` (0-7), lying just outside `rect`.
DesignRect HandleRect(const DesignRect& rect, int hit, int handleSize = kHandleSize);

// Handles first, then the inside (the rectangle and its one-pixel frame).
int HitTest(const DesignRect& rect, int x, int y, int handleSize = kHandleSize);

// The rectangle after dragging handle `hit` by (dx, dy): the handle's edges
// follow the pointer, never closer than the minimum size and never inverted.
DesignRect ResizeByHandle(const DesignRect& rect, int hit, int dx, int dy,
                          int minimumWidth = kMinimumWidth, int minimumHeight = kMinimumHeight);

// The size invariant: the picture's size, centred on the rectangle given.
DesignRect SnapToPicture(const DesignRect& given, int pictureWidth, int pictureHeight);

// The cursor shown over a hit code.
Qt::CursorShape CursorForHit(int hit);

} // namespace tracker
