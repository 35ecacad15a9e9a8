// The capture path: converting a full device reply and one idle poll tick.
#include "analyzer/core/Acquisition.h"
#include "device/USBDevice.h"
#include "sim/SimControl.h"

#include <benchmark/benchmark.h>

static void ConvertFullCaptureAndTotal(benchmark::State& state)
{
    CaptureState capture;
    for (size_t i = 0; i < capture.receiveBuffer.size(); i += 2) {
        capture.receiveBuffer[i] = uint8_t(0x20 + i % 200);
        capture.receiveBuffer[i + 1] = uint8_t(1 + i % 3);
    }
    for (auto _ : state) {
        StoreReceiveBuffer(capture, 1);
        benchmark::DoNotOptimize(capture.channels[1].TotalDurationUs());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ConvertFullCaptureAndTotal);

static void PollTickNothingWaiting(benchmark::State& state)
{
    usbsim::Reset();
    CEPDevice device;
    device.FindDevice();
    device.identified = device.Identify();
    CaptureState capture;
    capture.capturing = true;
    AnalyzerSettings settings;
    for (auto _ : state)
        benchmark::DoNotOptimize(PollCapture(capture, settings, device, nullptr));
}
BENCHMARK(PollTickNothingWaiting)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
