#pragma once

#include "analyzer/view/ViewUpdate.h"
#include "analyzer/view/WaveformView.h"

#include <QString>

// The channel whose trace spans main-panel row y, or -1.
int ChannelAtRow(int y, bool analyzeEnabled);

// The read-out of the pulse under main-panel point p ("CH1\n3H:560us"), or an
// empty text when the point is on no trace or past the end of the train.
QString HoverText(const WaveformView& view, QPoint mainPanelPoint, const ChannelTrains& channels,
                  bool analyzeEnabled);

// Hover at window point p: computes the text and decides what the tooltip
// does. A non-empty text is only (re)shown when p differs from lastTipPos, so a
// repeated evaluation at the same point leaves a shown tooltip alone.
ViewUpdate EvaluateHover(WaveformView& view, QPoint windowPoint, const ChannelTrains& channels,
                         bool analyzeEnabled, const PanelGeometry& panels);
