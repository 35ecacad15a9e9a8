#include "designer/Arrange.h"

#include "designer/TrackerGeometry.h"

#include <algorithm>
#include <numeric>

namespace arrange {

namespace {

DesignRect OffsetFor(const DesignRect& s, const DesignRect& r, Align how)
{
    switch (how) {
    case Align::Left: return s.Offset(r.left - s.left, 0);
    case Align::Right: return s.Offset(r.right - s.right, 0);
    case Align::Top: return s.Offset(0, r.top - s.top);
    case Align::Bottom: return s.Offset(0, r.bottom - s.bottom);
    case Align::CentreX: return s.Offset((r.Width() - s.Width()) / 2 + r.left - s.left, 0);
    case Align::CentreY: return s.Offset(0, (r.Height() - s.Height()) / 2 + r.top - s.top);
    }
    return s;
}

} // namespace

std::vector<DesignRect> AlignTo(const std::vector<DesignRect>& selection, Align how, const DesignRect& bound)
{
    std::vector<DesignRect> result = selection;
    if (result.size() < 2)
        return result;
    const DesignRect reference = result.back();
    for (size_t i = result.size() - 1; i-- > 0;)
        result[i] = tracker::ClampMove(OffsetFor(result[i], reference, how), bound);
    return result;
}

std::vector<DesignRect> Space(const std::vector<DesignRect>& selection, Axis axis, const DesignRect& bound)
{
    std::vector<DesignRect> result = selection;
    const size_t n = result.size();
    if (n <= 2)
        return result;
    const bool across = axis == Axis::Across;
    auto low = [across](const DesignRect& r) -> int { return across ? r.left : r.top; };
    auto high = [across](const DesignRect& r) -> int { return across ? r.right : r.bottom; };

    int minLow = low(result[0]);
    int maxHigh = high(result[0]);
    long long total = 0;
    for (const DesignRect& r : result) {
        minLow = std::min(minLow, low(r));
        maxHigh = std::max(maxHigh, high(r));
        total += high(r) - low(r);
    }
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return low(result[a]) < low(result[b]); });

    const long long gap = (static_cast<long long>(maxHigh) - total - minLow) / static_cast<long long>(n - 1);
    for (size_t k = 1; k + 1 < n; ++k) {
        DesignRect& r = result[order[k]];
        const int newLow = static_cast<int>(high(result[order[k - 1]]) + gap);
        r = tracker::ClampMove(across ? r.Offset(newLow - r.left, 0) : r.Offset(0, newLow - r.top), bound);
    }
    return result;
}

std::vector<DesignRect> Nudge(const std::vector<DesignRect>& selection, int dx, int dy, bool clamp,
                              const DesignRect& bound)
{
    std::vector<DesignRect> result = selection;
    if (dx == 0 && dy == 0)
        return result;
    if (clamp) {
        for (const DesignRect& r : selection) {
            const DesignRect moved = r.Offset(dx, dy);
            const DesignRect clamped = tracker::ClampMove(moved, bound);
            dx += clamped.left - moved.left;
            dy += clamped.top - moved.top;
        }
        if (dx == 0 && dy == 0)
            return result;
    }
    for (DesignRect& r : result)
        r = tracker::ClampMove(r.Offset(dx, dy), bound);
    return result;
}

} // namespace arrange
