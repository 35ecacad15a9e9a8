#include "analyzer/view/RasterLines.h"

#include <algorithm>
#include <cstdint>

namespace {

// The pixels [first, last) that a line from `from` to `to` covers, clipped to
// [0, size). Empty when first >= last.
struct Span {
    int64_t first;
    int64_t last;
};

Span CoveredSpan(int from, int to, int size)
{
    const bool forward = to >= from;
    const int64_t first = forward ? from : int64_t(to) + 1;
    const int64_t last = forward ? to : int64_t(from) + 1;
    return {std::max<int64_t>(first, 0), std::min<int64_t>(last, size)};
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

// Every step-th pixel of the line from yFrom to yTo in column x, on the rows
// that are a multiple of the step.
void Column(QImage& image, int x, int yFrom, int yTo, int step, const QColor& colour)
{
    if (x < 0 || x >= image.width())
        return;
    Span span = CoveredSpan(yFrom, yTo, image.height());
    span.first += (step - span.first % step) % step;
    if (span.first < span.last)
        SetColumn(image, x, span.first, span.last, step, colour);
}

} // namespace

namespace RasterLines {

void Horizontal(QImage& image, int xFrom, int xTo, int y, const QColor& colour)
{
    if (y < 0 || y >= image.height())
        return;
    const Span span = CoveredSpan(xFrom, xTo, image.width());
    if (span.first >= span.last)
        return;
    if (!HasWordPixels(image)) {
        for (int64_t x = span.first; x < span.last; ++x)
            image.setPixelColor(int(x), y, colour);
        return;
    }
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    std::fill(line + span.first, line + span.last, colour.rgba());
}

void Vertical(QImage& image, int x, int yFrom, int yTo, const QColor& colour)
{
    Column(image, x, yFrom, yTo, 1, colour);
}

void DottedVertical(QImage& image, int x, int yFrom, int yTo, const QColor& colour)
{
    Column(image, x, yFrom, yTo, 2, colour);
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
