#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QString>

// Text of both panels: "Arial" (Liberation Sans on Linux) with a cell height
// (ascent + descent) of 14 pixels, normal weight, not antialiased, drawn
// without background with its top-left corner at the given point.
namespace PanelText {

QFont Font();

// Selects the panel font on the painter; call once before Draw.
void Begin(QPainter& painter);

void Draw(QPainter& painter, int x, int y, const QString& text, const QColor& colour);

} // namespace PanelText
