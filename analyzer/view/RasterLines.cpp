#include "analyzer/view/RasterLines.h"

#include <QPaintDevice>

#include <algorithm>
#include <cstdint>

namespace {

// The pixels [first, last) that a line from `from` to `to` covers, clipped to
// [0, size). Empty when first >= last.
void CoveredSpan(int from, int to, int size, int64_t& first, int64_t& last)
{
    if (to >= from) {
        first = from;
        last = to;
    } else {
        first = int64_t(to) + 1;
        last = int64_t(from) + 1;
    }
    first = std::max<int64_t>(first, 0);
    last = std::min<int64_t>(last, size);
}

} // namespace

namespace RasterLines {

void Horizontal(QPainter& painter, int xFrom, int xTo, int y, const QColor& colour)
{
    const QPaintDevice* device = painter.device();
    if (y < 0 || y >= device->height())
        return;
    int64_t first = 0;
    int64_t last = 0;
    CoveredSpan(xFrom, xTo, device->width(), first, last);
    if (first < last)
        painter.fillRect(int(first), y, int(last - first), 1, colour);
}

void Vertical(QPainter& painter, int x, int yFrom, int yTo, const QColor& colour)
{
    const QPaintDevice* device = painter.device();
    if (x < 0 || x >= device->width())
        return;
    int64_t first = 0;
    int64_t last = 0;
    CoveredSpan(yFrom, yTo, device->height(), first, last);
    if (first < last)
        painter.fillRect(x, int(first), 1, int(last - first), colour);
}

void DottedVertical(QPainter& painter, int x, int yFrom, int yTo, const QColor& colour)
{
    const QPaintDevice* device = painter.device();
    if (x < 0 || x >= device->width())
        return;
    int64_t first = 0;
    int64_t last = 0;
    CoveredSpan(yFrom, yTo, device->height(), first, last);
    for (int64_t y = first + (first & 1); y < last; y += 2)
        painter.fillRect(x, int(y), 1, 1, colour);
}

void RectOutline(QPainter& painter, int left, int top, int right, int bottom, const QColor& colour)
{
    if (right <= left || bottom <= top)
        return;
    Horizontal(painter, left, right, top, colour);
    Horizontal(painter, left, right, bottom - 1, colour);
    Vertical(painter, left, top, bottom, colour);
    Vertical(painter, right - 1, top, bottom, colour);
}

} // namespace RasterLines
