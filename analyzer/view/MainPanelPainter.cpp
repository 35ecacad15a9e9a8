#include "analyzer/view/MainPanelPainter.h"

#include "analyzer/view/PanelText.h"
#include "analyzer/view/RasterLines.h"
#include "analyzer/view/SquareWave.h"
#include "analyzer/view/ViewColors.h"

namespace {

using namespace ViewGeometry;

void DrawGrid(QImage& image)
{
    const QColor navy = ViewColors::Grid();
    for (int y = 0; y < image.height(); y += kGridCell)
        RasterLines::Horizontal(image, 0, image.width(), y, navy);
    for (int x = 0; x < image.width(); x += kGridCell)
        RasterLines::Vertical(image, x, 0, image.height(), navy);
}

// The ruler x positions: from one label spacing left of the panel, so that
// labels cut by the left edge still show their right part.
constexpr int kFirstRulerX = -5 * kGridCell;

void DrawRulerLinesAndTicks(QImage& image, const WaveformView& view)
{
    const QColor olive = ViewColors::Ruler();
    for (int y0 = kRulerBaseline; y0 < image.height(); y0 += kStripHeight) {
        RasterLines::Horizontal(image, 0, image.width(), y0, olive);
        for (int x = kFirstRulerX; x < image.width(); x += kGridCell) {
            if (RulerHasMajorTick(view, view.XToTime(x))) {
                for (int dx = -1; dx <= 1; ++dx)
                    RasterLines::Vertical(image, x + dx, y0, y0 + 6, olive);
            } else {
                RasterLines::Vertical(image, x, y0, y0 + 4, olive);
            }
        }
    }
}

// Labels sit below the ticks and never overlap them, so they can be drawn
// in a pass of their own.
void DrawRulerLabels(QImage& image, const WaveformView& view)
{
    QPainter painter(&image);
    PanelText::Begin(painter);
    const QColor yellow = ViewColors::RulerLabel();
    for (int y0 = kRulerBaseline; y0 < image.height(); y0 += kStripHeight) {
        for (int x = kFirstRulerX; x < image.width(); x += kGridCell) {
            const int t = view.XToTime(x);
            if (RulerHasLabel(view, t))
                PanelText::Draw(painter, x, y0 + 6, RulerLabelText(t), yellow);
        }
    }
}

// Pulses that end before the left edge are not drawn.
void DrawTrace(QImage& image, const WaveformView& view, const PulseTrain& train, int channel, bool analyzeEnabled)
{
    const TimeAxis axis = view.Axis();
    DrawSquareWave(image, train, TraceHighY(channel, analyzeEnabled), TraceLowY(channel), ViewColors::Trace(),
                   axis.XToTime(0), [&axis](int64_t timeUs) { return axis.TimeToX(double(timeUs)); });
}

void DrawOverlay(QImage& image, const DecodeOverlayPainter& overlay)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    overlay(painter);
}

void DrawCursors(QImage& image, const WaveformView& view)
{
    const struct {
        int value;
        QColor colour;
    } cursors[] = {
        {view.cursorT1, ViewColors::CursorT1()},
        {view.cursorOrigin, ViewColors::White()},
        {view.cursorT2, ViewColors::CursorT2()},
    };
    for (const auto& cursor : cursors) {
        if (const std::optional<int> x = MainCursorColumn(view, cursor.value, image.width()))
            RasterLines::DottedVertical(image, *x, 0, image.height(), cursor.colour);
    }
}

} // namespace

QString RulerLabelText(int timeUs)
{
    if (timeUs % 1000 == 0)
        return QString::asprintf("%dms", timeUs / 1000);
    return QString::asprintf("%.1fms", timeUs / 1000.0);
}

bool RulerHasMajorTick(const WaveformView& view, int timeUs)
{
    return (int64_t(view.zoom) * timeUs / 1000) % 100 == 0;
}

bool RulerHasLabel(const WaveformView& view, int timeUs)
{
    // Labels stop at the end of the longest channel; negative times compare as
    // huge unsigned values and never carry one.
    return timeUs >= 0 && uint32_t(timeUs) <= view.dataSpan && RulerHasMajorTick(view, timeUs);
}

std::optional<int> MainCursorColumn(const WaveformView& view, int cursorUs, int width)
{
    const int x = MainCursorX(view, cursorUs);
    if (x < 0 || x > width)
        return std::nullopt;
    return x;
}

QImage PaintMainPanel(const WaveformView& view, const ChannelTrains& channels, bool analyzeEnabled, QSize size,
                      const DecodeOverlayPainter& overlay)
{
    QImage image(std::max(size.width(), 0), std::max(size.height(), 0), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(ViewColors::Background());

    DrawGrid(image);
    DrawRulerLinesAndTicks(image, view);
    DrawRulerLabels(image, view);
    for (int c = 0; c < kChannelCount; ++c)
        DrawTrace(image, view, channels[size_t(c)], c, analyzeEnabled);
    if (analyzeEnabled && overlay)
        DrawOverlay(image, overlay);
    DrawCursors(image, view);
    return image;
}
