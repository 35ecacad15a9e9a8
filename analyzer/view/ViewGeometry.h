#pragma once

#include "analyzer/view/TimeAxis.h"

// Fixed geometry of both panels, in pixels. Channel c owns the main panel's
// strip from y = 98c to 98c + 97: its code line and labelled boxes at the top,
// its trace below them and its ruler at the bottom.
namespace ViewGeometry {
constexpr int kGridCell = TimeAxis::kCellPixels;
constexpr int kStripHeight = 98;
constexpr int kRulerBaseline = 84;     // below the top of each strip
constexpr int kLowLevelAbove = 16;     // low trace level above the next strip's top
constexpr int kHighLevelAbove = 35;    // high level with analysis on
constexpr int kAnnotationRows = 28;    // extra height of the high level with analysis off
constexpr int kOverviewRectTop = 5;
constexpr int kOverviewRectBottom = 85;
constexpr int kOverviewSeparatorY = 90;
constexpr int kOverviewReadoutY = 92;
constexpr int kOverviewRowPitch = 20;
constexpr int kCursorHitRadius = 2;

constexpr int StripTop(int channel) { return kStripHeight * channel; }

// Rows of the high and low trace level of channel c in the main panel; with
// analysis off the high level takes the room of the annotation rows.
constexpr int TraceHighY(int channel, bool analyzeEnabled)
{
    return StripTop(channel + 1) - kHighLevelAbove - (analyzeEnabled ? 0 : kAnnotationRows);
}
constexpr int TraceLowY(int channel) { return StripTop(channel + 1) - kLowLevelAbove; }
} // namespace ViewGeometry
