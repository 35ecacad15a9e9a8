#pragma once

#include "analyzer/core/PulseTrain.h"

#include <array>
#include <cstdint>

// When each pulse of a train starts, in microseconds from the train's start,
// summed once so that laying out many boxes costs no more than one pass.
// Pulses past the end of the train last 0 us.
class PulseStartTimes {
public:
    explicit PulseStartTimes(const PulseTrain& train);

    // Sum of the durations of pulses 0 .. pulse - 1.
    int64_t StartOf(int pulse) const;
    // Sum of the durations of pulses 0 .. pulse.
    int64_t EndOf(int pulse) const;

private:
    // starts[k] = start of pulse k for k = 0..2047; starts[2047] is the total.
    std::array<int64_t, PulseTrain::kMaxPulses + 1> starts{};
};
