#include "analyzer/view/OverviewPainter.h"

#include "analyzer/view/PanelText.h"
#include "analyzer/view/RasterLines.h"
#include "analyzer/view/ViewColors.h"

#include <QPainter>

namespace {

using namespace ViewGeometry;

// The 3-pixel separator is centred on its row, as a wide pen is.
void DrawSeparator(QPainter& painter, int width)
{
    for (int y = kOverviewSeparatorY - 1; y <= kOverviewSeparatorY + 1; ++y)
        RasterLines::Horizontal(painter, 0, width, y, ViewColors::White());
}

// No pulse is skipped: the overview always starts at time 0.
void DrawMiniTrace(QPainter& painter, const WaveformView& view, const PulseTrain& train, int channel, int width)
{
    const QColor maroon = ViewColors::OverviewTrace();
    const int yHigh = 10 + kOverviewRowPitch * channel;
    const int yLow = yHigh + 10;
    int64_t start = 0;
    bool high = train.StartsHigh();
    for (int i = 1; i < PulseTrain::kEntries && train[i] != 0; ++i) {
        const int64_t end = start + train[i];
        const int x1 = OverviewX(view, double(start), width);
        const int x2 = OverviewX(view, double(end), width);
        const int yFrom = high ? yHigh : yLow;
        const int yTo = high ? yLow : yHigh;
        RasterLines::Horizontal(painter, x1, x2, yFrom, maroon);
        RasterLines::Vertical(painter, x2, yFrom, yTo, maroon);
        start = end;
        high = !high;
        if (x2 >= width)
            break;
    }
}

QString ReadoutText(const char* format, int64_t valueUs)
{
    return QString::asprintf(format, static_cast<long long>(valueUs));
}

} // namespace

QImage BuildOverviewCache(const WaveformView& view, const ChannelTrains& channels, QSize size)
{
    const int width = std::max(size.width(), 0);
    const int height = std::max(size.height(), 0);
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(ViewColors::Background());

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawSeparator(painter, width);
    for (int c = 0; c < kChannelCount; ++c)
        DrawMiniTrace(painter, view, channels[size_t(c)], c, width);
    painter.end();
    return image;
}

void DiscardOverviewCache(WaveformView& view)
{
    view.overviewCache = QImage();
}

QString CursorDifferenceText(const WaveformView& view)
{
    return ReadoutText("T1-T2=%lldus", int64_t(view.cursorT1) - view.cursorT2);
}

QString CursorT1Text(const WaveformView& view)
{
    return ReadoutText("T1=%lldus", int64_t(view.cursorT1) - view.cursorOrigin);
}

QString CursorT2Text(const WaveformView& view)
{
    return ReadoutText("T2=%lldus", int64_t(view.cursorT2) - view.cursorOrigin);
}

QImage PaintOverviewPanel(WaveformView& view, const ChannelTrains& channels, QSize size)
{
    if (view.overviewCache.isNull() || view.overviewCache.size() != size)
        view.overviewCache = BuildOverviewCache(view, channels, size);

    QImage image = view.overviewCache.copy();
    if (image.isNull())
        return image;
    const int width = image.width();

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    PanelText::Begin(painter);

    const ViewRect& rect = view.overviewRect;
    RasterLines::RectOutline(painter, rect.left, rect.top, rect.right, rect.bottom, ViewColors::White());

    const struct {
        int value;
        QColor colour;
        QString text;
        int textX;
    } cursors[] = {
        {view.cursorOrigin, ViewColors::White(), CursorDifferenceText(view), 300},
        {view.cursorT1, ViewColors::CursorT1(), CursorT1Text(view), 0},
        {view.cursorT2, ViewColors::CursorT2(), CursorT2Text(view), 150},
    };
    for (const auto& cursor : cursors) {
        const int x = OverviewCursorX(view, cursor.value, width);
        RasterLines::Vertical(painter, x, 0, kOverviewSeparatorY, cursor.colour);
        PanelText::Draw(painter, cursor.textX, kOverviewReadoutY, cursor.text, cursor.colour);
    }
    painter.end();
    return image;
}
