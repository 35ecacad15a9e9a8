// The main window: start-up to the first shown window, loading a
// four-channel capture file with everything it refreshes except painting, and
// the largest code text shown in the text box.
#include "analyzer/app/CodeTextBox.h"
#include "analyzer/app/WavixDlg.h"
#include "analyzer/files/CaptureFile.h"
#include "sim/SimControl.h"

#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

// A held NEC key in every channel: recognised, long, full of boxes.
ChannelTrains HeldNecKeys()
{
    ChannelTrains channels{};
    for (int c = 0; c < kChannelCount; ++c) {
        PulseTrain& train = channels[size_t(c)];
        train[0] = 1;
        int i = 1;
        train[i++] = 9000;
        train[i++] = 4500;
        for (int bit = 0; bit < 32; ++bit) {
            train[i++] = 560;
            train[i++] = (bit * (c + 3)) % 5 < 2 ? 1690 : 560;
        }
        while (i + 4 <= PulseTrain::kMaxPulses) {
            train[i++] = 560;
            train[i++] = 40000;
            train[i++] = 9000;
            train[i++] = 2250;
        }
    }
    return channels;
}

} // namespace

static void StartupToFirstShownWindow(benchmark::State& state)
{
    usbsim::Reset();
    QTemporaryDir folder;
    for (auto _ : state) {
        auto window = std::make_unique<CWavixDlg>(folder.path());
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            state.SkipWithError("window not exposed");
        QCoreApplication::processEvents();
    }
}
BENCHMARK(StartupToFirstShownWindow)->Unit(benchmark::kMillisecond)->Iterations(20);

static void LoadFourChannelFileAndRefresh(benchmark::State& state)
{
    usbsim::Reset();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("four.lgc"));
    const ChannelTrains channels = HeldNecKeys();
    if (!SaveCaptureFile(path, channels, {0, 1, 2, 3}).ok)
        state.SkipWithError("cannot write the capture file");
    CWavixDlg window(folder.path());
    for (auto _ : state) {
        window.LoadDataFrom(path);
        benchmark::DoNotOptimize(window.Capture().channelProtocol[3]);
    }
}
BENCHMARK(LoadFourChannelFileAndRefresh)->Unit(benchmark::kMicrosecond);

// The longest code texts the settings allow (every text setting at its 999
// characters, a full channel): millions of lines, or one line of megabytes.
// Setting the text box and painting it must stay quick.
static void LargestCodeTextShown(benchmark::State& state)
{
    usbsim::Reset();
    QTemporaryDir folder;
    CWavixDlg window(folder.path());
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        state.SkipWithError("window not exposed");
    PulseTrain& train = window.Capture().channels[0];
    train[0] = 1;
    for (int i = 1; i <= PulseTrain::kMaxPulses; ++i)
        train[i] = 560 + i;
    AnalyzerSettings& settings = window.Settings();
    const bool manyLines = state.range(0) == 0;
    const QString breaks = QString(QStringLiteral("\\n")).repeated(499);
    settings.format = manyLines ? breaks + QStringLiteral("%d") : QString(995, QLatin1Char('v')) + QStringLiteral("%05X");
    settings.spaceCharacter = manyLines ? breaks + QLatin1Char(',') : QString(999, QLatin1Char(' '));
    settings.prefix = settings.suffix = manyLines ? breaks + QLatin1Char('|') : QString(999, QLatin1Char('-'));
    settings.columns = manyLines ? 1 : 0;
    auto* box = window.findChild<CCodeTextBox*>();
    qsizetype length = 0;
    for (auto _ : state) {
        window.FormatPulseText();
        box->viewport()->repaint();
        length = box->toPlainText().size();
    }
    state.counters["characters"] = double(length);
    state.counters["rows"] = box->Rows().RowCount();
}
BENCHMARK(LargestCodeTextShown)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
