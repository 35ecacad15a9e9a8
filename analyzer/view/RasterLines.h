#pragma once

#include <QColor>
#include <QImage>

// Axis-aligned 1-pixel lines written straight into an image, with the raster
// convention: a line from a to b covers a and stops one pixel short of b, in
// either direction; a line from a to a draws nothing. (QPainter::drawLine
// would include b, and a QPainter call per segment is far slower than a
// thousand-pulse trace allows.) Coordinates may lie far outside the image;
// they are clipped to it before any arithmetic. No QPainter may be active on
// the image meanwhile.
namespace RasterLines {

void Horizontal(QImage& image, int xFrom, int xTo, int y, const QColor& colour);
void Vertical(QImage& image, int x, int yFrom, int yTo, const QColor& colour);

// Every other pixel of a vertical line, on the even rows, as a dotted pen.
void DottedVertical(QImage& image, int x, int yFrom, int yTo, const QColor& colour);

// Outline of the rectangle left..right-1 by top..bottom-1, not filled.
void RectOutline(QImage& image, int left, int top, int right, int bottom, const QColor& colour);

} // namespace RasterLines
