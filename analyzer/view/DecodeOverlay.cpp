#include "analyzer/view/DecodeOverlay.h"

#include "analyzer/decode/ProtocolTable.h"
#include "analyzer/view/ViewGeometry.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kCodeLineTop = 14; // top of the code line inside the strip

struct RowLines {
    int top;
    int bottom; // excluded
};

std::optional<RowLines> LinesOfRow(int row)
{
    switch (row) {
    case kBitRow:
        return RowLines{47, 61};
    case kByteRow:
        return RowLines{33, 47};
    case kTallRow:
        return RowLines{33, 61};
    default:
        return std::nullopt;
    }
}

// Sets the layer's style for the life of the scope and puts back whatever
// the caller had.
class OverlayStyleScope {
public:
    OverlayStyleScope(QPainter& painter, const QRect& clientArea) : painter(painter)
    {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(DecodeOverlayFont());
        painter.setPen(QColor::fromRgb(kOverlayTextColor));
        painter.setBrush(Qt::NoBrush);
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.setClipRect(clientArea, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    ~OverlayStyleScope() { painter.restore(); }
    OverlayStyleScope(const OverlayStyleScope&) = delete;
    OverlayStyleScope& operator=(const OverlayStyleScope&) = delete;

private:
    QPainter& painter;
};

void DrawBoxInStyle(QPainter& painter, const QFontMetrics& metrics, const OverlayPaintParams& params, int channel,
                    const PulseStartTimes& startTimes, const LabelBox& box)
{
    const std::optional<QRect> area = LabelBoxArea(box, channel, startTimes, params);
    if (!area)
        return;
    painter.fillRect(*area, QColor::fromRgb(kOverlayOutlineColor));
    const QRect inside = area->adjusted(1, 1, -1, -1);
    if (inside.width() > 0 && inside.height() > 0)
        painter.fillRect(inside, QColor::fromRgb(kOverlayFillColor));
    if (!box.text.isEmpty() && metrics.horizontalAdvance(box.text) <= area->width())
        painter.drawText(*area, Qt::AlignCenter | Qt::TextSingleLine, box.text);
}

void DrawAnnotationInStyle(QPainter& painter, const QFontMetrics& metrics, const OverlayPaintParams& params,
                           int channel, const PulseTrain& train, const ChannelAnnotation& annotation)
{
    if (!annotation.codeLine.isEmpty()) {
        const int top = ViewGeometry::StripTop(channel) + kCodeLineTop;
        painter.drawText(QPoint(0, top + metrics.ascent()), annotation.codeLine);
    }
    if (annotation.boxes.empty())
        return;
    const PulseStartTimes startTimes(train);
    for (const LabelBox& box : annotation.boxes)
        DrawBoxInStyle(painter, metrics, params, channel, startTimes, box);
}

bool IsChannel(int channel) { return channel >= 0 && channel < kChannelCount; }

} // namespace

QFont DecodeOverlayFont()
{
    QFont font(QStringLiteral("Liberation Mono"));
    font.setFamilies({QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::Monospace, QFont::NoAntialias);
    font.setFixedPitch(true);
    font.setPixelSize(14);
    font.setWeight(QFont::Normal);
    return font;
}

std::optional<QRect> LabelBoxArea(const LabelBox& box, int channel, const PulseStartTimes& startTimes,
                                  const OverlayPaintParams& params)
{
    const std::optional<RowLines> lines = LinesOfRow(box.row);
    if (!lines || !IsChannel(channel))
        return std::nullopt;
    // Doubles: a shift of any size cannot overflow, and TimeToX clamps.
    const double leftUs = double(startTimes.StartOf(box.firstPulse)) + double(box.startShiftUs);
    const double rightUs = double(startTimes.EndOf(box.lastPulse)) + double(box.endShiftUs);
    const int64_t x1 = box.firstPulse == 0 ? 0 : params.axis.TimeToX(leftUs);
    const int64_t x2 = params.axis.TimeToX(rightUs);
    const int64_t stripTop = ViewGeometry::StripTop(channel);

    const QRect& client = params.clientArea;
    const int64_t clipLeft = std::max<int64_t>(x1, client.left());
    const int64_t clipRight = std::min<int64_t>(x2, int64_t(client.left()) + client.width());
    const int64_t clipTop = std::max<int64_t>(stripTop + lines->top, client.top());
    const int64_t clipBottom = std::min<int64_t>(stripTop + lines->bottom, int64_t(client.top()) + client.height());
    if (clipRight <= clipLeft || clipBottom <= clipTop)
        return std::nullopt;
    return QRect(int(clipLeft), int(clipTop), int(clipRight - clipLeft), int(clipBottom - clipTop));
}

void DrawLabelBox(QPainter& painter, const OverlayPaintParams& params, int channel, const PulseStartTimes& startTimes,
                  const LabelBox& box)
{
    OverlayStyleScope style(painter, params.clientArea);
    DrawBoxInStyle(painter, painter.fontMetrics(), params, channel, startTimes, box);
}

void DrawDecodeOverlay(QPainter& painter, const OverlayPaintParams& params, const ChannelTrains& channels,
                       const std::array<int, kChannelCount>& channelProtocol)
{
    OverlayStyleScope style(painter, params.clientArea);
    const QFontMetrics metrics = painter.fontMetrics();
    for (int c = 0; c < kChannelCount; ++c) {
        const int protocol = channelProtocol[static_cast<std::size_t>(c)];
        if (!IsProtocolIndex(protocol))
            continue;
        const PulseTrain& train = channels[static_cast<std::size_t>(c)];
        const ChannelAnnotation annotation = AnnotateChannel(train, protocol);
        if (!annotation.IsEmpty())
            DrawAnnotationInStyle(painter, metrics, params, c, train, annotation);
    }
}
