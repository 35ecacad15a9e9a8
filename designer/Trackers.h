#pragma once

#include "designer/DesignRect.h"
#include "designer/TrackerGeometry.h"

// A rectangle tracker that keeps its rectangle inside `bound`. The band
// tracker (rubber band and group moves) is clamped only while moving; a
// button's tracker also while resizing.
struct CRectTrackerEx {
    DesignRect rect;
    DesignRect bound;
    bool bandFlag = false;
    DesignRect lastRect;

    // The adjustment step run after every interactive change and by the commands.
    void AdjustRect(bool moving)
    {
        if (moving)
            rect = tracker::ClampMove(rect, bound);
        else if (!bandFlag)
            rect = tracker::ClampResize(rect, bound);
        lastRect = rect;
    }
};

using ControlKey = const void*;

// One registered control: its rectangle in design-area coordinates.
struct CControlTracker : CRectTrackerEx {
    ControlKey control = nullptr;
    bool selected = false;
};
