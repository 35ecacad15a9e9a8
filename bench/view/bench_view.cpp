#include "analyzer/view/DecodeOverlay.h"
#include "analyzer/view/MainPanelPainter.h"
#include "analyzer/view/OverviewPainter.h"
#include "analyzer/view/ViewNavigation.h"
#include "analyzer/view/ZoomTable.h"
#include "tests/support/FrameBuilder.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

const QSize kMainSize(1600, 400);
const QSize kOverviewSize(1600, 110);

// Four full channels of NEC-like pulses, 1.7 s each.
ChannelTrains FullChannels()
{
    ChannelTrains channels{};
    for (int c = 0; c < kChannelCount; ++c) {
        channels[size_t(c)][0] = 1;
        for (int i = 1; i < PulseTrain::kEntries; ++i)
            channels[size_t(c)][i] = ((i + c) % 3 == 0) ? 1120 : 560;
    }
    return channels;
}

PanelGeometry Panels()
{
    PanelGeometry panels;
    panels.overviewPanel = QRect(QPoint(0, 0), kOverviewSize);
    panels.mainPanel = QRect(QPoint(0, 120), kMainSize);
    return panels;
}

WaveformView ViewAt(const char* zoomText, const ChannelTrains& channels, bool toTheEnd)
{
    WaveformView view;
    UpdateDataSpan(view, channels, Panels());
    ApplyZoom(view, QString::fromLatin1(zoomText), Panels());
    if (toTheEnd) {
        view.scroll = view.ScrollLimit();
        MoveOverviewRectToScroll(view, kOverviewSize.width());
    }
    view.cursorT1 = 200000;
    view.cursorT2 = 900000;
    return view;
}

void MainPanel(benchmark::State& state, const char* zoomText, bool toTheEnd)
{
    const ChannelTrains channels = FullChannels();
    const WaveformView view = ViewAt(zoomText, channels, toTheEnd);
    for (auto _ : state) {
        QImage image = PaintMainPanel(view, channels, true, kMainSize);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_MainPanelWholeCapture(benchmark::State& state) { MainPanel(state, "/100", false); }
void BM_MainPanelZoomedInAtTheEnd(benchmark::State& state) { MainPanel(state, "x10", true); }

void BM_OverviewCacheRebuild(benchmark::State& state)
{
    const ChannelTrains channels = FullChannels();
    const WaveformView view = ViewAt("x1", channels, false);
    for (auto _ : state) {
        QImage image = BuildOverviewCache(view, channels, kOverviewSize);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_OverviewFromCache(benchmark::State& state)
{
    const ChannelTrains channels = FullChannels();
    WaveformView view = ViewAt("x1", channels, false);
    PaintOverviewPanel(view, channels, kOverviewSize);
    for (auto _ : state) {
        QImage image = PaintOverviewPanel(view, channels, kOverviewSize);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_DrawOverlayHeldNecKey(benchmark::State& state)
{
    ChannelTrains channels{};
    channels[0] = HeldNecKeyTrain({0x00, 0xFF, 0x40, 0xBF});
    const std::array<int, kChannelCount> protocols{{0, -1, -1, -1}};
    QImage image(1600, 400, QImage::Format_RGB32);
    image.fill(Qt::black);
    const OverlayPaintParams params{image.rect(), TimeAxis{100, 0}};
    for (auto _ : state) {
        QPainter painter(&image);
        DrawDecodeOverlay(painter, params, channels, protocols);
    }
}

} // namespace

BENCHMARK(BM_MainPanelWholeCapture)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_MainPanelZoomedInAtTheEnd)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_OverviewCacheRebuild)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_OverviewFromCache)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_DrawOverlayHeldNecKey);

int main(int argc, char** argv)
{
    // Text rendering needs a GUI application; the offscreen platform suffices.
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
