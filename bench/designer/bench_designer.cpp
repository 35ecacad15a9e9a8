// The design area: dragging a selection with the mouse and repainting the
// area full of buttons, on the real widgets (offscreen).
#include "designer/KeyTypes.h"
#include "designer/ui/RemoteDlg.h"

#include <QTest>

#include <benchmark/benchmark.h>

namespace {

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// `count` keys of every kind in rows across the design area, half captioned,
// all selected when `select`.
std::unique_ptr<CRemoteDlg> DesignWith(int count, bool select)
{
    auto window = std::make_unique<CRemoteDlg>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qFatal("the window was not exposed");
    const QRect area = window->Control(1000)->geometry();
    for (int i = 0; i < count; ++i) {
        const int left = area.left() + 10 + (i % 9) * 30;
        const int top = area.top() + 10 + (i / 9) * 50 % 560;
        const QString caption = i % 2 ? QStringLiteral("Vol") : QString();
        window->CreateButton(i % keys::kBlank, left, top, left + 48, top + 48, caption);
    }
    if (select)
        for (const tagIRDATA& entry : window->Buttons())
            window->Editor().Select(entry.button.get(), false);
    window->Editor().Refresh(true);
    QCoreApplication::processEvents();
    return window;
}

// Press on the first selected key, move, release: the group moves and the
// frames are repainted. Alternate directions keep the group in place.
void DragSelection(benchmark::State& state)
{
    auto window = DesignWith(static_cast<int>(state.range(0)), true);
    CButtonEx* key = window->Buttons().front().button.get();
    int direction = 1;
    for (auto _ : state) {
        QTest::mousePress(key, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseMove(key, QPoint(20 + 5 * direction, 20));
        QTest::mouseRelease(key, Qt::LeftButton, {}, QPoint(20 + 5 * direction, 20));
        direction = -direction;
    }
    state.counters["x"] = key->x();
}

void NudgeSelection(benchmark::State& state)
{
    auto window = DesignWith(static_cast<int>(state.range(0)), true);
    int direction = 1;
    for (auto _ : state) {
        window->Editor().Nudge(direction, 0, true);
        direction = -direction;
    }
}

void RepaintDesignArea(benchmark::State& state)
{
    auto window = DesignWith(static_cast<int>(state.range(0)), false);
    const QRect area = window->Control(1000)->geometry();
    PaintCounter counter;
    window->Control(1000)->installEventFilter(&counter);
    for (auto _ : state)
        window->repaint(area);
    state.counters["paints"] = benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
}

// A click on one key of a large design: select it alone and repaint.
void ClickOneKey(benchmark::State& state)
{
    auto window = DesignWith(static_cast<int>(state.range(0)), true);
    CButtonEx* first = window->Buttons().front().button.get();
    CButtonEx* last = window->Buttons().back().button.get();
    bool flip = false;
    for (auto _ : state) {
        CButtonEx* key = flip ? first : last;
        QTest::mouseClick(key, Qt::LeftButton, {}, QPoint(24, 24));
        flip = !flip;
    }
}

} // namespace

BENCHMARK(DragSelection)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(NudgeSelection)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(RepaintDesignArea)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(ClickOneKey)->Arg(1000)->Unit(benchmark::kMillisecond);
