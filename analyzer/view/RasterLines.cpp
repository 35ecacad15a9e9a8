#include "analyzer/view/RasterLines.h"

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

bool HasWordPixels(const QImage& image)
{
    return image.depth() == 32;
}

// Sets every step-th pixel of column x from row y up to (excluding) last.
void SetColumn(QImage& image, int x, int64_t y, int64_t last, int step, const QColor& colour)
{
    if (!HasWordPixels(image)) {
        for (; y < last; y += step)
            image.setPixelColor(x, int(y), colour);
        return;
    }
    const QRgb pixel = colour.rgba();
    const qsizetype stride = image.bytesPerLine();
    uchar* row = image.bits() + stride * y;
    for (; y < last; y += step, row += stride * step)
        reinterpret_cast<QRgb*>(row)[x] = pixel;
}

} // namespace

namespace RasterLines {

void Horizontal(QImage& image, int xFrom, int xTo, int y, const QColor& colour)
{
    if (y < 0 || y >= image.height())
        return;
    int64_t first = 0;
    int64_t last = 0;
    CoveredSpan(xFrom, xTo, image.width(), first, last);
    if (first >= last)
        return;
    if (!HasWordPixels(image)) {
        for (int64_t x = first; x < last; ++x)
            image.setPixelColor(int(x), y, colour);
        return;
    }
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    std::fill(line + first, line + last, colour.rgba());
}

void Vertical(QImage& image, int x, int yFrom, int yTo, const QColor& colour)
{
    if (x < 0 || x >= image.width())
        return;
    int64_t first = 0;
    int64_t last = 0;
    CoveredSpan(yFrom, yTo, image.height(), first, last);
    if (first < last)
        SetColumn(image, x, first, last, 1, colour);
}

void DottedVertical(QImage& image, int x, int yFrom, int yTo, const QColor& colour)
{
    if (x < 0 || x >= image.width())
        return;
    int64_t first = 0;
    int64_t last = 0;
    CoveredSpan(yFrom, yTo, image.height(), first, last);
    first += first & 1;
    if (first < last)
        SetColumn(image, x, first, last, 2, colour);
}

void RectOutline(QImage& image, int left, int top, int right, int bottom, const QColor& colour)
{
    if (right <= left || bottom <= top)
        return;
    Horizontal(image, left, right, top, colour);
    Horizontal(image, left, right, bottom - 1, colour);
    Vertical(image, left, top, bottom, colour);
    Vertical(image, right - 1, top, bottom, colour);
}

} // namespace RasterLines
