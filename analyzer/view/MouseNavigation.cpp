#include "analyzer/view/MouseNavigation.h"

#include "analyzer/view/HoverReadout.h"
#include "analyzer/view/ViewNavigation.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

bool Near(int64_t lineX, int64_t pointX)
{
    return std::llabs(lineX - pointX) <= ViewGeometry::kCursorHitRadius;
}

int ClampCursor(const WaveformView& view, double value)
{
    const double highest = double(std::min<int64_t>(view.dataSpan, INT_MAX));
    if (std::isnan(value))
        return 0;
    return int(std::clamp(std::trunc(value), 0.0, highest));
}

void StartCursorDrag(WaveformView& view, int cursor)
{
    view.dragCursor[size_t(cursor)] = true;
    view.pressCursor[size_t(cursor)] = view.Cursor(CursorId(cursor));
}

int DraggedCursor(const WaveformView& view)
{
    for (int c = 0; c < kCursorCount; ++c) {
        if (view.dragCursor[size_t(c)])
            return c;
    }
    return -1;
}

} // namespace

int MainCursorAt(const WaveformView& view, int mainX)
{
    for (int c = 0; c < kCursorCount; ++c) {
        if (Near(MainCursorX(view, view.Cursor(CursorId(c))), mainX))
            return c;
    }
    return -1;
}

int OverviewCursorAt(const WaveformView& view, int overviewX, int overviewWidth)
{
    for (int c = 0; c < kCursorCount; ++c) {
        if (Near(OverviewCursorX(view, view.Cursor(CursorId(c)), overviewWidth), overviewX))
            return c;
    }
    return -1;
}

ViewUpdate LeftButtonPress(WaveformView& view, QPoint windowPoint, const PanelGeometry& panels)
{
    ViewUpdate update;
    update.focusZoomList = true;

    if (panels.overviewPanel.contains(windowPoint)) {
        const QPoint local = windowPoint - panels.overviewPanel.topLeft();
        view.pressInOverview = true;
        view.pressX = windowPoint.x();
        const int cursor = OverviewCursorAt(view, local.x(), panels.OverviewWidth());
        if (cursor >= 0) {
            StartCursorDrag(view, cursor);
        } else if (view.overviewRect.Contains(local)) {
            view.pressRect = view.overviewRect;
            view.dragRect = true;
        }
    } else if (panels.mainPanel.contains(windowPoint)) {
        const QPoint local = windowPoint - panels.mainPanel.topLeft();
        view.pressInOverview = false;
        view.pressX = windowPoint.x();
        const int cursor = MainCursorAt(view, local.x());
        if (cursor >= 0) {
            StartCursorDrag(view, cursor);
        } else {
            view.pressScroll = view.scroll;
            view.dragPan = true;
        }
    }
    return update;
}

ViewUpdate MouseMove(WaveformView& view, QPoint windowPoint, const ChannelTrains& channels, bool analyzeEnabled,
                     const PanelGeometry& panels)
{
    view.lastMouse = windowPoint;
    const int64_t dx = int64_t(windowPoint.x()) - view.pressX;
    const int overviewWidth = panels.OverviewWidth();
    ViewUpdate update;

    if (view.dragRect) {
        const int width = view.pressRect.Width();
        // Stops at either end of the overview.
        const int64_t left = std::clamp<int64_t>(view.pressRect.left + dx, 0, std::max(0, overviewWidth - width));
        ViewRect& rect = view.overviewRect;
        rect.left = int(left);
        rect.right = int(left + width);
        view.scroll = ScrollForOverviewLeft(view, rect.left, width, overviewWidth);
        update.RepaintBoth();
        return update;
    }

    const int cursor = DraggedCursor(view);
    if (cursor >= 0) {
        const double pressed = view.pressCursor[size_t(cursor)];
        double moved = pressed;
        if (view.pressInOverview) {
            if (overviewWidth > 0)
                moved = pressed + double(dx) * view.OverviewSpan() / overviewWidth;
        } else if (view.zoom > 0) {
            moved = pressed + std::trunc(view.Axis().UsForPixels(double(dx)));
        }
        view.Cursor(CursorId(cursor)) = ClampCursor(view, moved);
        update.RepaintBoth();
        return update;
    }

    if (view.dragPan) {
        // Dragging to the left moves forward in time, in whole cells.
        const int64_t cells = (int64_t(view.pressX) - windowPoint.x()) / ViewGeometry::kGridCell;
        const int64_t scroll = view.pressScroll + ViewGeometry::kGridCell * cells;
        view.scroll = int(std::clamp<int64_t>(scroll, 0, view.ScrollLimit()));
        MoveOverviewRectToScroll(view, overviewWidth);
        update.RepaintBoth();
        return update;
    }

    return EvaluateHover(view, windowPoint, channels, analyzeEnabled, panels);
}

ViewUpdate LeftButtonRelease(WaveformView& view)
{
    view.dragRect = false;
    view.dragPan = false;
    view.dragCursor.fill(false);
    return {};
}
