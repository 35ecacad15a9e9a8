#pragma once

#include "analyzer/view/ViewUpdate.h"
#include "analyzer/view/WaveformView.h"

// Left-button drags and hovering. Points are in the same coordinate system as
// the panel rectangles of PanelGeometry (the main window's client area), so a
// drag keeps working when the mouse leaves both panels.

// The first cursor (T1, T2, origin) within 2 pixels of x, or -1.
int MainCursorAt(const WaveformView& view, int mainX);
int OverviewCursorAt(const WaveformView& view, int overviewX, int overviewWidth);

ViewUpdate LeftButtonPress(WaveformView& view, QPoint windowPoint, const PanelGeometry& panels);

ViewUpdate MouseMove(WaveformView& view, QPoint windowPoint, const ChannelTrains& channels, bool analyzeEnabled,
                     const PanelGeometry& panels);

ViewUpdate LeftButtonRelease(WaveformView& view);
