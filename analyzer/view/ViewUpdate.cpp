#include "analyzer/view/ViewUpdate.h"

ViewUpdate& ViewUpdate::operator|=(const ViewUpdate& other)
{
    repaintMain |= other.repaintMain;
    repaintOverview |= other.repaintOverview;
    overviewCacheDiscarded |= other.overviewCacheDiscarded;
    captureMouse |= other.captureMouse;
    releaseMouse |= other.releaseMouse;
    focusZoomList |= other.focusZoomList;
    if (other.tooltip != TooltipAction::LeaveAlone) {
        tooltip = other.tooltip;
        tooltipText = other.tooltipText;
    }
    return *this;
}
