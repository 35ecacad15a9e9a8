#include "analyzer/view/MainPanelPainter.h"

#include "analyzer/view/PanelText.h"
#include "analyzer/view/RasterLines.h"
#include "analyzer/view/ViewColors.h"

namespace {

using namespace ViewGeometry;

void DrawGrid(QPainter& painter, int width, int height)
{
    const QColor navy = ViewColors::Grid();
    for (int y = 0; y < height; y += kGridCell)
        RasterLines::Horizontal(painter, 0, width, y, navy);
    for (int x = 0; x < width; x += kGridCell)
        RasterLines::Vertical(painter, x, 0, height, navy);
}

void DrawRulers(QPainter& painter, const WaveformView& view, int width, int height)
{
    const QColor olive = ViewColors::Ruler();
    const QColor yellow = ViewColors::RulerLabel();
    for (int y0 = kRulerBaseline; y0 < height; y0 += kStripHeight) {
        RasterLines::Horizontal(painter, 0, width, y0, olive);
        // Starts one label spacing left of the panel so that labels cut by the
        // left edge still show their right part.
        for (int x = -5 * kGridCell; x < width; x += kGridCell) {
            const int t = view.XToTime(x);
            if (RulerHasLabel(view, t))
                PanelText::Draw(painter, x, y0 + 6, RulerLabelText(t), yellow);
            if (RulerHasMajorTick(view, t)) {
                for (int dx = -1; dx <= 1; ++dx)
                    RasterLines::Vertical(painter, x + dx, y0, y0 + 6, olive);
            } else {
                RasterLines::Vertical(painter, x, y0, y0 + 4, olive);
            }
        }
    }
}

void DrawTrace(QPainter& painter, const WaveformView& view, const PulseTrain& train, int channel,
               bool analyzeEnabled, int width)
{
    const QColor red = ViewColors::Trace();
    const int yHigh = TraceHighY(channel, analyzeEnabled);
    const int yLow = TraceLowY(channel);
    const int64_t tLeft = view.XToTime(0);

    int i = 1;
    int64_t start = 0;
    bool high = train.StartsHigh();
    // Pulses that end before the left edge are not drawn.
    while (i < PulseTrain::kEntries && train[i] != 0 && start + train[i] < tLeft) {
        start += train[i];
        high = !high;
        ++i;
    }
    for (; i < PulseTrain::kEntries && train[i] != 0; ++i) {
        const int64_t end = start + train[i];
        const int x1 = view.TimeToX(double(start));
        const int x2 = view.TimeToX(double(end));
        const int yFrom = high ? yHigh : yLow;
        const int yTo = high ? yLow : yHigh;
        RasterLines::Horizontal(painter, x1, x2, yFrom, red);
        RasterLines::Vertical(painter, x2, yFrom, yTo, red);
        start = end;
        high = !high;
        if (x2 >= width)
            break;
    }
}

void DrawCursors(QPainter& painter, const WaveformView& view, int width, int height)
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
        if (const std::optional<int> x = MainCursorColumn(view, cursor.value, width))
            RasterLines::DottedVertical(painter, *x, 0, height, cursor.colour);
    }
}

} // namespace

int TraceHighY(int channel, bool analyzeEnabled)
{
    const int stripEnd = kStripHeight * (channel + 1);
    return stripEnd - kHighLevelAbove - (analyzeEnabled ? 0 : kAnnotationRows);
}

int TraceLowY(int channel)
{
    return kStripHeight * (channel + 1) - kLowLevelAbove;
}

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
    const int width = std::max(size.width(), 0);
    const int height = std::max(size.height(), 0);
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(ViewColors::Background());

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    PanelText::Begin(painter);

    DrawGrid(painter, width, height);
    DrawRulers(painter, view, width, height);
    for (int c = 0; c < kChannelCount; ++c)
        DrawTrace(painter, view, channels[size_t(c)], c, analyzeEnabled, width);
    if (analyzeEnabled && overlay) {
        painter.save();
        overlay(painter);
        painter.restore();
    }
    DrawCursors(painter, view, width, height);
    painter.end();
    return image;
}
