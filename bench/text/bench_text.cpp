#include "analyzer/decode/CodeText.h"
#include "analyzer/files/CaptureFile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

PulseTrain FullTrain()
{
    PulseTrain train;
    train[0] = 1;
    for (int i = 1; i <= PulseTrain::kMaxPulses; ++i)
        train[i] = (i % 2) ? 560 : 1690; // NEC-like marks and spaces
    return train;
}

void FormatFullTrain(benchmark::State& state, const char* format)
{
    const PulseTrain train = FullTrain();
    AnalyzerSettings settings;
    settings.format = QString::fromLatin1(format);
    for (auto _ : state) {
        QString text = FormatPulseText(train, settings);
        benchmark::DoNotOptimize(text);
    }
}

void LoadFourChannelFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("capture.lgc");
    ChannelTrains channels;
    for (PulseTrain& train : channels)
        train = FullTrain();
    if (!SaveCaptureFile(path, channels, {0, 1, 2, 3}).ok) {
        state.SkipWithError("could not write the capture file");
        return;
    }
    ChannelTrains loaded{};
    for (auto _ : state) {
        std::vector<int> replaced;
        benchmark::DoNotOptimize(LoadCaptureFile(path, loaded, &replaced));
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK_CAPTURE(FormatFullTrain, default_template, "%05X")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FormatFullTrain, index_level_template, "[INDEX]:[LEVEL]%d")->Unit(benchmark::kMicrosecond);
// Upper-case hex shares letters with the placeholders, so each item is scanned.
BENCHMARK_CAPTURE(FormatFullTrain, index_hex_template, "[INDEX]:%04X")->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadFourChannelFile)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
