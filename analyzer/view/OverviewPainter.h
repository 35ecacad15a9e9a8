#pragma once

#include "analyzer/view/WaveformView.h"

#include <QImage>
#include <QSize>
#include <QString>

// The static part of the overview: black, the separator and the mini traces.
QImage BuildOverviewCache(const WaveformView& view, const ChannelTrains& channels, QSize size);

// Drops the cached static part; the next PaintOverviewPanel rebuilds it.
void DiscardOverviewCache(WaveformView& view);

// The complete overview panel: the cached part (built first when there is none
// or when it has another size) with the view rectangle, the cursors and their
// read-outs on top.
QImage PaintOverviewPanel(WaveformView& view, const ChannelTrains& channels, QSize size);

// Read-out texts, e.g. "T1-T2=-560us", "T1=0us".
QString CursorDifferenceText(const WaveformView& view);
QString CursorT1Text(const WaveformView& view);
QString CursorT2Text(const WaveformView& view);
