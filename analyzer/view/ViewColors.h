#pragma once

#include <QColor>

namespace ViewColors {
inline QColor Background() { return QColor(0, 0, 0); }
inline QColor Grid() { return QColor(0, 0, 128); }
inline QColor Ruler() { return QColor(128, 128, 0); }
inline QColor RulerLabel() { return QColor(255, 255, 0); }
inline QColor Trace() { return QColor(255, 0, 0); }
inline QColor OverviewTrace() { return QColor(128, 0, 0); }
inline QColor White() { return QColor(255, 255, 255); } // separator, rectangle, origin
inline QColor CursorT1() { return QColor(128, 255, 255); }
inline QColor CursorT2() { return QColor(128, 255, 128); }
} // namespace ViewColors
