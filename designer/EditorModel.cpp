#include "designer/EditorModel.h"

#include <algorithm>
#include <cstdlib>

void EditorModel::Attach()
{
    band = CRectTrackerEx{};
    band.bandFlag = true;
    band.bound = bound;
    attached = true;
}

void EditorModel::Detach()
{
    tracking = TrackingState{};
    selection.clear();
    trackers.clear();
    index.clear();
    attached = false;
}

void EditorModel::SetBound(const DesignRect& newBound)
{
    bound = newBound;
    band.bound = newBound;
    for (auto& t : trackers)
        t->bound = newBound;
}

bool EditorModel::AddControl(ControlKey control, const DesignRect& rect)
{
    if (!attached || !control || index.contains(control))
        return false;
    auto tracker = std::make_unique<CControlTracker>();
    tracker->control = control;
    tracker->rect = rect;
    tracker->lastRect = rect;
    tracker->bound = bound;
    index.insert(control, tracker.get());
    trackers.insert(trackers.begin(), std::move(tracker));
    return true;
}

bool EditorModel::RemoveControl(ControlKey control)
{
    Deselect(control);
    CControlTracker* t = Find(control);
    if (!t)
        return false;
    if (tracking.resized == t)
        tracking = TrackingState{};
    index.remove(control);
    trackers.erase(std::find_if(trackers.begin(), trackers.end(),
                                [t](const std::unique_ptr<CControlTracker>& p) { return p.get() == t; }));
    return true;
}

bool EditorModel::UpdateRect(ControlKey control, const DesignRect& rect)
{
    CControlTracker* t = Find(control);
    if (!t)
        return false;
    t->rect = rect;
    return true;
}

DesignRect EditorModel::RectOf(ControlKey control) const
{
    const CControlTracker* t = Find(control);
    return t ? t->rect : DesignRect{};
}

std::vector<ControlKey> EditorModel::Controls() const
{
    std::vector<ControlKey> keys;
    keys.reserve(trackers.size());
    for (const auto& t : trackers)
        keys.push_back(t->control);
    return keys;
}

CControlTracker* EditorModel::Find(ControlKey control) const
{
    return attached ? index.value(control, nullptr) : nullptr;
}

bool EditorModel::Select(ControlKey control)
{
    CControlTracker* t = Find(control);
    if (!t || t->selected)
        return false;
    t->selected = true;
    selection.push_back(t);
    return true;
}

bool EditorModel::Deselect(ControlKey control)
{
    CControlTracker* t = Find(control);
    if (!t || !t->selected)
        return false;
    t->selected = false;
    selection.erase(std::find(selection.rbegin(), selection.rend(), t).base() - 1);
    return true;
}

bool EditorModel::Toggle(ControlKey control)
{
    return IsSelected(control) ? Deselect(control) : Select(control);
}

void EditorModel::ClearSelection()
{
    for (CControlTracker* t : selection)
        t->selected = false;
    selection.clear();
}

bool EditorModel::IsSelected(ControlKey control) const
{
    const CControlTracker* t = Find(control);
    return t && t->selected;
}

std::vector<ControlKey> EditorModel::Selection() const
{
    std::vector<ControlKey> keys;
    keys.reserve(selection.size());
    for (const CControlTracker* t : selection)
        keys.push_back(t->control);
    return keys;
}

std::vector<DesignRect> EditorModel::SelectedRects() const
{
    std::vector<DesignRect> rects;
    rects.reserve(selection.size());
    for (const CControlTracker* t : selection)
        rects.push_back(t->rect);
    return rects;
}

// Stores new rectangles of the selection; reports the ones that changed, from
// the last entry to the first when `reverse` (the order the commands visit).
std::vector<ControlKey> EditorModel::ApplyToSelection(const std::vector<DesignRect>& rects, bool reverse)
{
    std::vector<ControlKey> moved;
    for (size_t k = 0; k < selection.size(); ++k) {
        const size_t i = reverse ? selection.size() - 1 - k : k;
        CControlTracker* t = selection[i];
        if (t->rect == rects[i])
            continue;
        t->rect = rects[i];
        t->lastRect = rects[i];
        moved.push_back(t->control);
    }
    return moved;
}

EditorModel::PressResult EditorModel::Press(QPoint point, Qt::KeyboardModifiers modifiers, qint64 timeMs)
{
    if (!attached || tracking.kind != Tracking::None)
        return {};
    for (const auto& owned : trackers) {
        CControlTracker* t = owned.get();
        const int hit = tracker::HitTest(t->rect, point.x(), point.y());
        if (hit == tracker::kHitNothing)
            continue;
        if (hit == tracker::kHitInside)
            return PressInside(t, point, modifiers, timeMs);
        if (!t->selected)
            break; // an unselected button's handle zone is empty space
        tracking = TrackingState{};
        tracking.kind = Tracking::Resize;
        tracking.start = point;
        tracking.resized = t;
        tracking.handle = hit;
        tracking.before = t->rect;
        tracking.outline = *t;
        return {Tracking::Resize, false};
    }
    return PressOnEmptySpace(point, modifiers);
}

EditorModel::PressResult EditorModel::PressInside(CControlTracker* t, QPoint point, Qt::KeyboardModifiers modifiers,
                                                  qint64 timeMs)
{
    if (modifiers & Qt::ControlModifier) {
        Toggle(t->control);
        return {Tracking::None, true};
    }
    if (modifiers & Qt::ShiftModifier) {
        if (t->selected) {
            Deselect(t->control);
            Select(t->control);
            return {Tracking::None, false};
        }
        Select(t->control);
        return {Tracking::None, true};
    }
    tracking = TrackingState{};
    bool refresh = false;
    if (!t->selected) {
        ClearSelection();
        Select(t->control);
        tracking.threshold = kClickSlop;
        tracking.notedMs = timeMs;
        refresh = true;
    }
    DesignRect box = selection.front()->rect;
    for (const CControlTracker* s : selection) {
        box.left = std::min(box.left, s->rect.left);
        box.top = std::min(box.top, s->rect.top);
        box.right = std::max(box.right, s->rect.right);
        box.bottom = std::max(box.bottom, s->rect.bottom);
    }
    band.rect = box;
    band.lastRect = box;
    tracking.kind = Tracking::Move;
    tracking.start = point;
    tracking.before = box;
    tracking.outline = band;
    return {Tracking::Move, refresh};
}

EditorModel::PressResult EditorModel::PressOnEmptySpace(QPoint point, Qt::KeyboardModifiers modifiers)
{
    const bool keep = modifiers & (Qt::ControlModifier | Qt::ShiftModifier);
    if (!keep)
        ClearSelection();
    tracking = TrackingState{};
    tracking.kind = Tracking::Band;
    tracking.start = point;
    tracking.modifiers = modifiers;
    tracking.outline = band;
    tracking.outline.rect = {point.x(), point.y(), point.x(), point.y()};
    return {Tracking::Band, !keep};
}

void EditorModel::TrackTo(QPoint point)
{
    const int dx = point.x() - tracking.start.x();
    const int dy = point.y() - tracking.start.y();
    switch (tracking.kind) {
    case Tracking::Move:
        tracking.outline.rect = tracking.before.Offset(dx, dy);
        tracking.outline.AdjustRect(true);
        break;
    case Tracking::Resize:
        tracking.outline.rect = tracker::ResizeByHandle(tracking.before, tracking.handle, dx, dy);
        tracking.outline.AdjustRect(false);
        break;
    case Tracking::Band:
        tracking.outline.rect = DesignRect{tracking.start.x(), tracking.start.y(), point.x(), point.y()}.Normalized();
        break;
    case Tracking::None:
        break;
    }
}

std::vector<ControlKey> EditorModel::Release(QPoint point, qint64 timeMs)
{
    TrackTo(point);
    std::vector<ControlKey> moved;
    switch (tracking.kind) {
    case Tracking::Move: {
        int threshold = tracking.threshold;
        if (timeMs - tracking.notedMs > kClickMs)
            threshold = 0;
        const int dx = tracking.outline.rect.left - tracking.before.left;
        const int dy = tracking.outline.rect.top - tracking.before.top;
        band = tracking.outline;
        if ((std::abs(dx) > threshold || std::abs(dy) > threshold) && !selection.empty()) {
            std::vector<DesignRect> rects = SelectedRects();
            for (DesignRect& r : rects)
                r = r.Offset(dx, dy);
            moved = ApplyToSelection(rects, false);
        }
        break;
    }
    case Tracking::Resize:
        if (tracking.outline.rect != tracking.resized->rect) {
            tracking.resized->rect = tracking.outline.rect;
            tracking.resized->lastRect = tracking.outline.rect;
            moved.push_back(tracking.resized->control);
        }
        break;
    case Tracking::Band:
        FinishBand();
        break;
    case Tracking::None:
        break;
    }
    tracking = TrackingState{};
    return moved;
}

void EditorModel::FinishBand()
{
    const DesignRect area = tracking.outline.rect;
    const bool toggle = tracking.modifiers & Qt::ControlModifier;
    // One pass over the trackers and one over the selection, however many
    // the band covers.
    bool dropped = false;
    for (const auto& t : trackers) {
        if (!area.Covers(t->rect))
            continue;
        if (!t->selected) {
            t->selected = true;
            selection.push_back(t.get());
        } else if (toggle) {
            t->selected = false;
            dropped = true;
        }
    }
    if (dropped)
        selection.erase(std::remove_if(selection.begin(), selection.end(),
                                       [](const CControlTracker* t) { return !t->selected; }),
                        selection.end());
}

void EditorModel::CancelTracking()
{
    tracking = TrackingState{};
}

std::vector<ControlKey> EditorModel::Nudge(int dx, int dy, bool clamp)
{
    if (!attached || (dx == 0 && dy == 0))
        return {};
    return ApplyToSelection(arrange::Nudge(SelectedRects(), dx, dy, clamp, bound), false);
}

std::vector<ControlKey> EditorModel::Align(arrange::Align how)
{
    if (!attached)
        return {};
    return ApplyToSelection(arrange::AlignTo(SelectedRects(), how, bound), true);
}

std::vector<ControlKey> EditorModel::Space(arrange::Axis axis)
{
    if (!attached)
        return {};
    return ApplyToSelection(arrange::Space(SelectedRects(), axis, bound), false);
}

int EditorModel::HitSelected(QPoint point) const
{
    for (const CControlTracker* t : selection) {
        const int hit = tracker::HitTest(t->rect, point.x(), point.y());
        if (hit != tracker::kHitNothing)
            return hit;
    }
    return tracker::kHitNothing;
}

EditorModel::RefreshArea EditorModel::Refresh(bool discardPrevious)
{
    if (discardPrevious)
        previousRegion = QRegion();
    QRegion now;
    for (const CControlTracker* t : selection)
        now += t->rect.Grown(tracker::kHandleSize).ToQRect();
    RefreshArea area;
    area.whole = previousRegion.isEmpty();
    area.region = previousRegion.united(now);
    previousRegion = now;
    return area;
}
