#pragma once

#include "analyzer/view/WaveformView.h"

#include <QImage>
#include <QPainter>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

// Draws the protocol annotation layer over the traces (the decoder's overlay).
using DecodeOverlayPainter = std::function<void(QPainter&)>;

// The complete main panel of `size` pixels: grid, rulers, traces, the overlay
// (only when analysis is on) and the three cursors.
QImage PaintMainPanel(const WaveformView& view, const ChannelTrains& channels, bool analyzeEnabled, QSize size,
                      const DecodeOverlayPainter& overlay = {});

// The ruler label at time t: "12ms" on whole milliseconds, else "0.2ms".
QString RulerLabelText(int timeUs);

// Whether the ruler at main-panel x carries a label / a major tick.
bool RulerHasLabel(const WaveformView& view, int timeUs);
bool RulerHasMajorTick(const WaveformView& view, int timeUs);

// The column a cursor is drawn at, or none when it lies outside 0..width
// (x = width is still "drawn", one column past the image).
std::optional<int> MainCursorColumn(const WaveformView& view, int cursorUs, int width);
