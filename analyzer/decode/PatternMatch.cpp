#include "analyzer/decode/PatternMatch.h"

#include <algorithm>

bool PulseFits(int64_t measuredUs, int32_t nominalUs)
{
    if (measuredUs == 0)
        return false;
    if (nominalUs == 0)
        return true;
    const int64_t nominal = nominalUs;
    const int64_t tolerance = nominal * 40 / 100;
    const int64_t difference = nominal > measuredUs ? nominal - measuredUs : measuredUs - nominal;
    return difference <= tolerance;
}

MatchResult MatchPattern(int level, const TimingPattern& pattern, const PulseTrain& train, int firstPulse,
                         int firstAdjustUs)
{
    if ((level & 0xFF) != (pattern.level & 0xFF))
        return kNoMatch;
    const int count = std::clamp(pattern.count, 0, TimingPattern::kMaxPulses);
    for (int i = 0; i < count; ++i) {
        // Positions far outside the train read as its end; int64 keeps
        // firstPulse + i and the adjustment free of overflow.
        const int64_t position = int64_t(firstPulse) + i;
        int64_t measured = position >= 0 && position < PulseTrain::kMaxPulses
                               ? PulseAt(train, static_cast<int>(position))
                               : 0;
        if (i == 0 && measured != 0)
            measured += firstAdjustUs;
        const int32_t nominal = pattern.durations[static_cast<std::size_t>(i)];
        if (PulseFits(measured, nominal))
            continue;
        if (i == count - 1 && measured > nominal)
            return kExtendedMatch;
        return kNoMatch;
    }
    return kMatch;
}
