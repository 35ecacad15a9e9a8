#include "analyzer/view/OverviewPainter.h"

#include "analyzer/view/PanelText.h"
#include "analyzer/view/RasterLines.h"
#include "analyzer/view/SquareWave.h"
#include "analyzer/view/ViewColors.h"

#include <QPainter>

#include <limits>

namespace {

using namespace ViewGeometry;

// The 3-pixel separator is centred on its row, as a wide pen is.
void DrawSeparator(QImage& image)
{
    for (int y = kOverviewSeparatorY - 1; y <= kOverviewSeparatorY + 1; ++y)
        RasterLines::Horizontal(image, 0, image.width(), y, ViewColors::White());
}

// No pulse is skipped: the overview always starts at time 0.
void DrawMiniTrace(QImage& image, const WaveformView& view, const PulseTrain& train, int channel)
{
    const int width = image.width();
    const int yHigh = 10 + kOverviewRowPitch * channel;
    const int yLow = yHigh + 10;
    DrawSquareWave(image, train, yHigh, yLow, ViewColors::OverviewTrace(), std::numeric_limits<int64_t>::min(),
                   [&view, width](int64_t timeUs) { return OverviewX(view, double(timeUs), width); });
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

    DrawSeparator(image);
    for (int c = 0; c < kChannelCount; ++c)
        DrawMiniTrace(image, view, channels[size_t(c)], c);
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

    const ViewRect& rect = view.overviewRect;
    RasterLines::RectOutline(image, rect.left, rect.top, rect.right, rect.bottom, ViewColors::White());

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
    for (const auto& cursor : cursors)
        RasterLines::Vertical(image, OverviewCursorX(view, cursor.value, width), 0, kOverviewSeparatorY, cursor.colour);

    // The read-outs lie below the lines, so drawing them afterwards changes nothing.
    QPainter painter(&image);
    PanelText::Begin(painter);
    for (const auto& cursor : cursors)
        PanelText::Draw(painter, cursor.textX, kOverviewReadoutY, cursor.text, cursor.colour);
    painter.end();
    return image;
}
