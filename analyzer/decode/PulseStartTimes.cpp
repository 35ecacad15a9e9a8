#include "analyzer/decode/PulseStartTimes.h"

PulseStartTimes::PulseStartTimes(const PulseTrain& train)
{
    int64_t time = 0;
    bool ended = false;
    for (int k = 0; k < PulseTrain::kMaxPulses; ++k) {
        starts[static_cast<std::size_t>(k)] = time;
        ended = ended || train[k + 1] == 0;
        if (!ended)
            time += train[k + 1];
    }
    starts[PulseTrain::kMaxPulses] = time;
}

int64_t PulseStartTimes::StartOf(int pulse) const
{
    if (pulse <= 0)
        return 0;
    if (pulse >= PulseTrain::kMaxPulses)
        return starts[PulseTrain::kMaxPulses];
    return starts[static_cast<std::size_t>(pulse)];
}

int64_t PulseStartTimes::EndOf(int pulse) const
{
    if (pulse < 0)
        return 0;
    return pulse >= PulseTrain::kMaxPulses ? starts[PulseTrain::kMaxPulses] : StartOf(pulse + 1);
}
