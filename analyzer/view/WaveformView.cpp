#include "analyzer/view/WaveformView.h"

#include <algorithm>
#include <climits>

int WaveformView::ScrollLimit() const
{
    if (zoom <= 0)
        return 0;
    const uint64_t limit = uint64_t(dataSpan / 1000u) * uint64_t(zoom) * 70u / 100u;
    return int(std::min<uint64_t>(limit, uint64_t(INT_MAX)));
}

double WaveformView::OverviewSpan() const
{
    return double(int64_t(dataSpan) + int64_t(viewSpan));
}

int& WaveformView::Cursor(CursorId id)
{
    switch (id) {
    case CursorT1:
        return cursorT1;
    case CursorT2:
        return cursorT2;
    case CursorOrigin:
        break;
    }
    return cursorOrigin;
}

int WaveformView::Cursor(CursorId id) const
{
    return const_cast<WaveformView*>(this)->Cursor(id);
}

int MainCursorX(const WaveformView& view, int cursorUs)
{
    if (view.dataSpan == 0)
        return 0;
    return view.TimeToX(cursorUs);
}

int OverviewX(const WaveformView& view, double timeUs, int overviewWidth)
{
    const double span = view.OverviewSpan();
    if (span <= 0.0)
        return 0;
    return TimeAxis::ClampToInt(double(overviewWidth) * timeUs / span);
}

int OverviewCursorX(const WaveformView& view, int cursorUs, int overviewWidth)
{
    if (view.dataSpan == 0)
        return 0;
    return OverviewX(view, cursorUs, overviewWidth);
}
