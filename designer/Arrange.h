#pragma once

#include "designer/DesignRect.h"

#include <vector>

// The toolbar's alignment and spacing commands and keyboard nudging, on the
// rectangles of the selection in the order they were selected (the last one
// is the reference). Each returns the new rectangles in the same order.
namespace arrange {

enum class Align { Left, CentreX, Right, Top, CentreY, Bottom };
enum class Axis { Across, Down };

// Every entry but the reference is offset (size kept) and then clamped into
// `bound`; with fewer than two entries nothing moves.
std::vector<DesignRect> AlignTo(const std::vector<DesignRect>& selection, Align how, const DesignRect& bound);

// Even gaps between the outermost two; nothing moves with two or fewer. The
// outer two stay where they are. An entry that would leave `bound` (widths
// differ, so the chain can overshoot the widest) is clamped back into it.
std::vector<DesignRect> Space(const std::vector<DesignRect>& selection, Axis axis, const DesignRect& bound);

// Moves the whole selection by (dx, dy). With `clamp`, the step shrinks so
// that no entry would leave `bound` and the group keeps its shape.
std::vector<DesignRect> Nudge(const std::vector<DesignRect>& selection, int dx, int dy, bool clamp,
                              const DesignRect& bound);

} // namespace arrange
