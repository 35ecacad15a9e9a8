#pragma once

#include "designer/Arrange.h"
#include "designer/Trackers.h"

#include <QHash>
#include <QPoint>
#include <QRegion>

#include <memory>
#include <vector>

// The state of the design-area editor without any window: the registered
// controls' trackers in stacking order, the ordered selection, the bound, and
// the press / track / release sequence of the mouse. Coordinates are those of
// the design area. The window layer moves the controls the model names and
// reports their rectangles back.
class EditorModel {
public:
    static constexpr int kClickMs = 200;
    static constexpr int kClickSlop = 2;

    enum class Tracking { None, Move, Resize, Band };

    struct PressResult {
        Tracking tracking = Tracking::None;
        bool refresh = false; // the selection changed and wants a repaint
    };

    // What to invalidate after a change: the previous and the new frames.
    struct RefreshArea {
        bool whole = false;
        QRegion region;
    };

    void Attach();
    void Detach();
    bool IsAttached() const { return attached; }

    void SetBound(const DesignRect& bound);
    const DesignRect& Bound() const { return bound; }

    // A new control lies beneath every control registered before it (the
    // designer stacks each new button under the earlier ones).
    bool AddControl(ControlKey control, const DesignRect& rect);
    bool RemoveControl(ControlKey control);
    bool IsRegistered(ControlKey control) const { return index.contains(control); }
    // The control moved or changed size.
    bool UpdateRect(ControlKey control, const DesignRect& rect);
    DesignRect RectOf(ControlKey control) const;
    // Registered controls from the bottom of the stacking order to the top.
    std::vector<ControlKey> Controls() const;

    bool Select(ControlKey control);
    bool Deselect(ControlKey control);
    bool Toggle(ControlKey control);
    void ClearSelection();
    bool IsSelected(ControlKey control) const;
    std::vector<ControlKey> Selection() const;
    std::vector<DesignRect> SelectedRects() const;
    int SelectedCount() const { return static_cast<int>(selection.size()); }

    // The mouse: a left press at `point` with `modifiers`, the pointer while
    // the button is held, the release. Times are the events' milliseconds.
    PressResult Press(QPoint point, Qt::KeyboardModifiers modifiers, qint64 timeMs);
    void TrackTo(QPoint point);
    // The controls whose trackers moved (to be moved by the window layer).
    std::vector<ControlKey> Release(QPoint point, qint64 timeMs);
    // Escape or a right press while tracking: the rectangle is restored.
    void CancelTracking();
    Tracking CurrentTracking() const { return tracking.kind; }
    // The outline drawn while tracking.
    DesignRect TrackingOutline() const { return tracking.outline.rect; }

    // The keyboard and toolbar commands; each returns the moved controls.
    std::vector<ControlKey> Nudge(int dx, int dy, bool clamp);
    std::vector<ControlKey> Align(arrange::Align how);
    std::vector<ControlKey> Space(arrange::Axis axis);

    // The hit code of the first selected tracker under `point`, in selection
    // order (for the cursor shape).
    int HitSelected(QPoint point) const;

    RefreshArea Refresh(bool discardPrevious);

private:
    struct TrackingState {
        Tracking kind = Tracking::None;
        QPoint start;
        CRectTrackerEx outline;     // the rectangle following the pointer
        DesignRect before;          // the rectangle when tracking began
        CControlTracker* resized = nullptr;
        int handle = tracker::kHitNothing;
        int threshold = 0;
        qint64 notedMs = 0;
        Qt::KeyboardModifiers modifiers;
    };

    CControlTracker* Find(ControlKey control) const;
    std::vector<ControlKey> ApplyToSelection(const std::vector<DesignRect>& rects, bool reverse);
    PressResult PressOnEmptySpace(QPoint point, Qt::KeyboardModifiers modifiers);
    PressResult PressInside(CControlTracker* hit, QPoint point, Qt::KeyboardModifiers modifiers, qint64 timeMs);
    void FinishBand();

    bool attached = false;
    DesignRect bound;
    std::vector<std::unique_ptr<CControlTracker>> trackers; // bottom first
    QHash<ControlKey, CControlTracker*> index;
    std::vector<CControlTracker*> selection; // the last is the reference
    CRectTrackerEx band;
    QRegion previousRegion;
    TrackingState tracking;
};
