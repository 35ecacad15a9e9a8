#pragma once

#include <QColor>
#include <QPainter>

// Axis-aligned 1-pixel lines with the raster convention: a line from a to b
// covers a and stops one pixel short of b, in either direction; a line from a
// to a draws nothing. (QPainter::drawLine would include b.) Coordinates may lie
// far outside the image; they are clipped to it before any arithmetic.
namespace RasterLines {

void Horizontal(QPainter& painter, int xFrom, int xTo, int y, const QColor& colour);
void Vertical(QPainter& painter, int x, int yFrom, int yTo, const QColor& colour);

// Every other pixel of a vertical line, on the even rows, as a dotted pen.
void DottedVertical(QPainter& painter, int x, int yFrom, int yTo, const QColor& colour);

// Outline of the rectangle left..right-1 by top..bottom-1, not filled.
void RectOutline(QPainter& painter, int left, int top, int right, int bottom, const QColor& colour);

} // namespace RasterLines
