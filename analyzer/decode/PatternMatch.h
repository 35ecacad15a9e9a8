#pragma once

#include "analyzer/core/PulseTrain.h"
#include "analyzer/decode/TimingPattern.h"

#include <cstdint>

enum MatchResult : int {
    kNoMatch = 0,
    kMatch = 1,
    kExtendedMatch = 2, // every pulse fits except that the last one is too long
};

// Duration of pulse k (slot k + 1); 0 for any k outside 0..2046, so a
// reader that runs off the train sees its end instead of memory.
inline int32_t PulseAt(const PulseTrain& train, int pulse)
{
    return pulse >= 0 && pulse < PulseTrain::kMaxPulses ? train[pulse + 1] : 0;
}

// Level of pulse k as 0/1; a non-zero slot 0 is a high start.
inline int PulseLevel(const PulseTrain& train, int pulse)
{
    return (train.StartsHigh() == ((pulse & 1) == 0)) ? 1 : 0;
}

// The level the matcher compares at the start of a train: only the low byte
// of slot 0 counts, so 0x0100 starts low here.
inline int StartLevelByte(const PulseTrain& train) { return train[0] & 0xFF; }

// Compares the pattern with the pulses from `firstPulse` on, within +-40 % of
// each nominal (both bounds inclusive). `firstAdjustUs` is added to the first
// compared duration only, to carry what an earlier extended match left over.
MatchResult MatchPattern(int level, const TimingPattern& pattern, const PulseTrain& train, int firstPulse,
                         int firstAdjustUs = 0);

// The rule for one pulse, exposed for the pieces that need it alone.
bool PulseFits(int64_t measuredUs, int32_t nominalUs);
