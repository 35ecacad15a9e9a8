#pragma once

#include "analyzer/view/ViewUpdate.h"
#include "analyzer/view/WaveformView.h"

#include <QString>

// State changes of the view that are not mouse drags. Every function takes the
// panels' current geometry and returns what the window has to repaint.

// Recomputes viewSpan and overviewRect and drops the overview cache.
ViewUpdate RefreshView(WaveformView& view, const PanelGeometry& panels);

// Sets overviewRect from zoom, scroll and dataSpan.
void PlaceOverviewRect(WaveformView& view, int overviewWidth);

// Shifts overviewRect, keeping its width, to the place that matches scroll.
void MoveOverviewRectToScroll(WaveformView& view, int overviewWidth);

// Largest total duration over the channels, capped to the unsigned 32-bit
// range; a train whose sum is negative counts as 0.
uint32_t LongestChannelUs(const ChannelTrains& channels);

// After any change of channel data: new dataSpan, same relative position,
// cursors pulled back into the data, then a refresh.
ViewUpdate UpdateDataSpan(WaveformView& view, const ChannelTrains& channels, const PanelGeometry& panels);

// The zoom list's selection changed to `zoomText` (or list index `index`);
// an unknown text or index keeps the zoom but still rescales and refreshes.
ViewUpdate ApplyZoom(WaveformView& view, const QString& zoomText, const PanelGeometry& panels);
ViewUpdate ApplyZoomIndex(WaveformView& view, int index, const PanelGeometry& panels);

// scroll when the overview rectangle's left edge is at `left` with width
// `width`, in whole grid cells; 0 when the rectangle cannot move.
int ScrollForOverviewLeft(const WaveformView& view, int left, int width, int overviewWidth);

enum class ArrowKey { Left, Right };

// Left/Right scroll by one grid cell and re-evaluate the hover read-out at the
// last mouse position.
ViewUpdate ScrollByArrow(WaveformView& view, ArrowKey key, const ChannelTrains& channels, bool analyzeEnabled,
                         const PanelGeometry& panels);
