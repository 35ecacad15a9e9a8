#pragma once

#include "analyzer/core/CaptureState.h"
#include "analyzer/core/PulseTrain.h"
#include "analyzer/view/TimeAxis.h"
#include "analyzer/view/ViewGeometry.h"

#include <QImage>
#include <QPoint>

#include <array>
#include <cstdint>

// A rectangle with an exclusive right and bottom edge, as the overview
// rectangle is placed and hit-tested.
struct ViewRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    bool Contains(QPoint p) const { return p.x() >= left && p.x() < right && p.y() >= top && p.y() < bottom; }
    bool operator==(const ViewRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// Index order of the three cursors everywhere: hit tests try them in this order.
enum CursorId : int { CursorT1 = 0, CursorT2 = 1, CursorOrigin = 2 };
constexpr int kCursorCount = 3;

// Everything both panels are drawn from, plus the mouse-drag state.
struct WaveformView {
    static constexpr uint32_t kInitialDataSpanUs = 12500000;

    int zoom = 100;
    int scroll = 0; // pixels of the unscrolled picture left of main-panel x = 0
    int cursorT1 = 0;
    int cursorT2 = 0;
    int cursorOrigin = 0;
    uint32_t dataSpan = kInitialDataSpanUs; // us, longest channel
    int viewSpan = 0;                       // us covered by the main panel's width
    ViewRect overviewRect{0, ViewGeometry::kOverviewRectTop, 0, ViewGeometry::kOverviewRectBottom};
    QImage overviewCache; // null: none, rebuilt by the next overview paint

    bool pressInOverview = false;
    int pressX = 0; // window coordinates
    int pressScroll = 0;
    ViewRect pressRect{};
    std::array<int, kCursorCount> pressCursor{};
    std::array<bool, kCursorCount> dragCursor{};
    bool dragPan = false;
    bool dragRect = false;
    QPoint lastMouse{0, 0};  // window coordinates
    QPoint lastTipPos{0, 0}; // window coordinates

    TimeAxis Axis() const { return TimeAxis{zoom, scroll}; }
    int TimeToX(double timeUs) const { return Axis().TimeToX(timeUs); }
    int XToTime(int x) const { return Axis().XToTime(x); }

    // (dataSpan / 1000) * zoom * 70 / 100: the pixel position of the end of the
    // longest channel in whole milliseconds. Worked out in 64 bits and capped at
    // INT_MAX, because scroll is an int and a long capture at a high zoom would
    // otherwise wrap around.
    int ScrollLimit() const;

    // Time scale of the overview: dataSpan + viewSpan, one main-panel width of
    // room after the data. Added in 64 bits so that it cannot wrap.
    double OverviewSpan() const;

    int& Cursor(CursorId id);
    int Cursor(CursorId id) const;
};

// Where a cursor is drawn and hit in each panel. With no data every cursor sits
// at x = 0 whatever its value.
int MainCursorX(const WaveformView& view, int cursorUs);
int OverviewX(const WaveformView& view, double timeUs, int overviewWidth);
int OverviewCursorX(const WaveformView& view, int cursorUs, int overviewWidth);
