#include "analyzer/view/ViewNavigation.h"

#include "analyzer/view/HoverReadout.h"
#include "analyzer/view/OverviewPainter.h"
#include "analyzer/view/ZoomTable.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

int ClampScroll(int64_t scroll, int scrollLimit)
{
    return int(std::clamp<int64_t>(scroll, 0, scrollLimit));
}

// 14 * trunc(trunc(value) / 14) for a non-negative value already inside int.
int WholeCells(double value)
{
    const int pixels = TimeAxis::ClampToInt(value);
    return ViewGeometry::kGridCell * (pixels / ViewGeometry::kGridCell);
}

} // namespace

ViewUpdate RefreshView(WaveformView& view, const PanelGeometry& panels)
{
    view.viewSpan = view.zoom > 0 ? TimeAxis::ClampToInt(view.Axis().UsForPixels(panels.MainWidth())) : 0;
    PlaceOverviewRect(view, panels.OverviewWidth());
    DiscardOverviewCache(view);

    ViewUpdate update;
    update.RepaintBoth();
    return update;
}

void PlaceOverviewRect(WaveformView& view, int overviewWidth)
{
    const int available = std::max(overviewWidth, 0);
    int width = available; // no data: the whole (empty) capture fits
    int left = 0;
    if (view.dataSpan != 0) {
        width = TimeAxis::ClampToInt(double(view.viewSpan) * available / double(view.dataSpan));
        // At least 10 pixels, but never wider than the overview, so that the
        // rectangle always stays inside it.
        width = std::min(std::max(width, 10), available);
        left = TimeAxis::ClampToInt(double(view.XToTime(0)) * available / double(view.dataSpan));
        left = std::clamp(left, 0, available - width);
    }
    view.overviewRect = ViewRect{left, ViewGeometry::kOverviewRectTop, left + width, ViewGeometry::kOverviewRectBottom};
    MoveOverviewRectToScroll(view, overviewWidth);
}

void MoveOverviewRectToScroll(WaveformView& view, int overviewWidth)
{
    ViewRect& rect = view.overviewRect;
    const int width = rect.Width();
    const int room = overviewWidth - width;
    const int scrollLimit = view.ScrollLimit();

    // Undefined when the rectangle cannot move or there is nothing to scroll:
    // then it stays at the left end.
    double target = 0.0;
    if (room > 0 && scrollLimit > 0)
        target = std::clamp(double(room) * view.scroll / scrollLimit, 0.0, double(room));

    const int left = TimeAxis::ClampToInt(double(rect.left) + std::trunc(target - rect.left));
    rect.left = left;
    rect.right = left + width;
}

uint32_t LongestChannelUs(const ChannelTrains& channels)
{
    int64_t longest = 0;
    for (const PulseTrain& train : channels)
        longest = std::max(longest, train.TotalDurationUs());
    return uint32_t(std::min<int64_t>(longest, int64_t(UINT32_MAX)));
}

int ScrollForOverviewLeft(const WaveformView& view, int left, int width, int overviewWidth)
{
    const int room = overviewWidth - width;
    if (room <= 0)
        return 0;
    const double fraction = std::clamp(double(left) / double(room), 0.0, 1.0);
    return WholeCells(std::trunc(fraction * view.ScrollLimit()));
}

ViewUpdate UpdateDataSpan(WaveformView& view, const ChannelTrains& channels, const PanelGeometry& panels)
{
    const uint32_t span = LongestChannelUs(channels);
    if (span != view.dataSpan) {
        view.dataSpan = span;
        view.scroll = ScrollForOverviewLeft(view, view.overviewRect.left, view.overviewRect.Width(),
                                            panels.OverviewWidth());
        // Cursors are ints; a span beyond INT_MAX cannot pull them back anyway.
        const int64_t highest = std::min<int64_t>(span, INT_MAX);
        for (int c = 0; c < kCursorCount; ++c) {
            int& cursor = view.Cursor(CursorId(c));
            cursor = int(std::clamp<int64_t>(cursor, 0, highest));
        }
    }
    return RefreshView(view, panels);
}

ViewUpdate ApplyZoomIndex(WaveformView& view, int index, const PanelGeometry& panels)
{
    const int oldZoom = view.zoom;
    if (index >= 0 && index < int(kZoomTable.size()))
        view.zoom = kZoomTable[size_t(index)].zoom;
    if (oldZoom > 0) {
        // Keeps the time at the left edge, rounded down to a whole cell.
        view.scroll = std::max(0, WholeCells(std::trunc(double(view.scroll) * view.zoom / oldZoom)));
    }
    return RefreshView(view, panels);
}

ViewUpdate ApplyZoom(WaveformView& view, const QString& zoomText, const PanelGeometry& panels)
{
    return ApplyZoomIndex(view, ZoomIndexOfText(zoomText), panels);
}

ViewUpdate ScrollByArrow(WaveformView& view, ArrowKey key, const ChannelTrains& channels, bool analyzeEnabled,
                         const PanelGeometry& panels)
{
    const int step = key == ArrowKey::Left ? -ViewGeometry::kGridCell : ViewGeometry::kGridCell;
    view.scroll = ClampScroll(int64_t(view.scroll) + step, view.ScrollLimit());
    MoveOverviewRectToScroll(view, panels.OverviewWidth());

    ViewUpdate update = EvaluateHover(view, view.lastMouse, channels, analyzeEnabled, panels);
    update.RepaintBoth();
    return update;
}
