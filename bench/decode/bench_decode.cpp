#include "analyzer/decode/Annotation.h"
#include "analyzer/decode/ProtocolIdentify.h"
#include "analyzer/decode/ProtocolTable.h"
#include "tests/support/FrameBuilder.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

// 2047 pulses of noise around the protocols' durations: every lead is tried
// and fails early.
PulseTrain NoiseTrain()
{
    std::mt19937 random(7);
    PulseTrain train;
    train[0] = 1;
    for (int i = 1; i <= PulseTrain::kMaxPulses; ++i)
        train[i] = int32_t(150 + random() % 200);
    return train;
}

// The costliest train that matches nothing: a HITACHI lead (which also fits
// Quendar-A's) and 343 data bits, rejected only after reading them all, then
// noise up to pulse 2047.
PulseTrain LongRejectedTrain()
{
    const ProtocolDescriptor& hitachi = ProtocolTable[4];
    FrameBuilder builder(3);
    builder.Pattern(hitachi.lead).Bits(std::vector<int>(343, 1), hitachi);
    while (builder.PulseCount() < PulseTrain::kMaxPulses)
        builder.Pulse(250);
    return builder.Build();
}

void BM_IdentifyNoise(benchmark::State& state)
{
    const PulseTrain train = NoiseTrain();
    for (auto _ : state)
        benchmark::DoNotOptimize(IdentifyProtocol(train));
}
BENCHMARK(BM_IdentifyNoise);

void BM_IdentifyLongRejected(benchmark::State& state)
{
    const PulseTrain train = LongRejectedTrain();
    if (IdentifyProtocol(train) != -1)
        state.SkipWithError("train was recognised");
    for (auto _ : state)
        benchmark::DoNotOptimize(IdentifyProtocol(train));
}
BENCHMARK(BM_IdentifyLongRejected);

void BM_AnnotateHeldNecKey(benchmark::State& state)
{
    const PulseTrain train = HeldNecKeyTrain({0x00, 0xFF, 0x40, 0xBF});
    for (auto _ : state) {
        ChannelAnnotation annotation = AnnotateChannel(train, 0);
        benchmark::DoNotOptimize(annotation.boxes.data());
    }
    state.counters["boxes"] = double(AnnotateChannel(train, 0).boxes.size());
}
BENCHMARK(BM_AnnotateHeldNecKey);

} // namespace

BENCHMARK_MAIN();
