#include "designer/TrackerGeometry.h"

#include <algorithm>

namespace tracker {

namespace {

// Shifts [low, high) into [boundLow, boundHigh) keeping its length; a span
// longer than the bound starts on boundLow.
void ClampSpan(int& low, int& high, int boundLow, int boundHigh)
{
    if (high > boundHigh) {
        low -= high - boundHigh;
        high = boundHigh;
    }
    if (low < boundLow) {
        high += boundLow - low;
        low = boundLow;
    }
}

void ClampEdges(int& low, int& high, int boundLow, int boundHigh)
{
    if (low < boundLow)
        low = boundLow;
    else if (high > boundHigh)
        high = boundHigh;
}

} // namespace

DesignRect ClampMove(const DesignRect& rect, const DesignRect& bound)
{
    if (bound.IsEmpty())
        return rect;
    DesignRect r = rect;
    ClampSpan(r.left, r.right, bound.left, bound.right);
    ClampSpan(r.top, r.bottom, bound.top, bound.bottom);
    return r;
}

DesignRect ClampResize(const DesignRect& rect, const DesignRect& bound)
{
    if (bound.IsEmpty())
        return rect;
    DesignRect r = rect;
    ClampEdges(r.left, r.right, bound.left, bound.right);
    ClampEdges(r.top, r.bottom, bound.top, bound.bottom);
    return r;
}

DesignRect HandleRect(const DesignRect& rect, int hit, int size)
{
    const int midX = rect.left + rect.Width() / 2 - size / 2;
    const int midY = rect.top + rect.Height() / 2 - size / 2;
    switch (hit) {
    case kHitTopLeft: return DesignRect::FromSize(rect.left - size, rect.top - size, size, size);
    case kHitTopRight: return DesignRect::FromSize(rect.right, rect.top - size, size, size);
    case kHitBottomRight: return DesignRect::FromSize(rect.right, rect.bottom, size, size);
    case kHitBottomLeft: return DesignRect::FromSize(rect.left - size, rect.bottom, size, size);
    case kHitTop: return DesignRect::FromSize(midX, rect.top - size, size, size);
    case kHitRight: return DesignRect::FromSize(rect.right, midY, size, size);
    case kHitBottom: return DesignRect::FromSize(midX, rect.bottom, size, size);
    case kHitLeft: return DesignRect::FromSize(rect.left - size, midY, size, size);
    default: return {};
    }
}

int HitTest(const DesignRect& rect, int x, int y, int handleSize)
{
    if (!rect.Grown(handleSize).Contains(x, y))
        return kHitNothing;
    for (int hit = kHitTopLeft; hit <= kHitLeft; ++hit)
        if (HandleRect(rect, hit, handleSize).Contains(x, y))
            return hit;
    return rect.Grown(1).Contains(x, y) ? kHitInside : kHitNothing;
}

DesignRect ResizeByHandle(const DesignRect& rect, int hit, int dx, int dy, int minimumWidth, int minimumHeight)
{
    const bool left = hit == kHitTopLeft || hit == kHitBottomLeft || hit == kHitLeft;
    const bool right = hit == kHitTopRight || hit == kHitBottomRight || hit == kHitRight;
    const bool top = hit == kHitTopLeft || hit == kHitTopRight || hit == kHitTop;
    const bool bottom = hit == kHitBottomLeft || hit == kHitBottomRight || hit == kHitBottom;
    DesignRect r = rect;
    if (left)
        r.left = std::min(rect.left + dx, rect.right - minimumWidth);
    if (right)
        r.right = std::max(rect.right + dx, rect.left + minimumWidth);
    if (top)
        r.top = std::min(rect.top + dy, rect.bottom - minimumHeight);
    if (bottom)
        r.bottom = std::max(rect.bottom + dy, rect.top + minimumHeight);
    return r;
}

DesignRect SnapToPicture(const DesignRect& given, int pictureWidth, int pictureHeight)
{
    const int left = given.left + (given.Width() - pictureWidth) / 2;
    const int top = given.top + (given.Height() - pictureHeight) / 2;
    return DesignRect::FromSize(left, top, pictureWidth, pictureHeight);
}

Qt::CursorShape CursorForHit(int hit)
{
    switch (hit) {
    case kHitTopLeft:
    case kHitBottomRight: return Qt::SizeFDiagCursor;
    case kHitTopRight:
    case kHitBottomLeft: return Qt::SizeBDiagCursor;
    case kHitTop:
    case kHitBottom: return Qt::SizeVerCursor;
    case kHitLeft:
    case kHitRight: return Qt::SizeHorCursor;
    case kHitInside: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

} // namespace tracker
