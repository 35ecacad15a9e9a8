#include "analyzer/decode/DecodeOverlay.h"

#include "analyzer/decode/ProtocolTable.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

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
    OverlayStyleScope(QPainter& painter, const QRect& clientArea) : painter_(painter)
    {
        painter_.save();
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setRenderHint(QPainter::TextAntialiasing, false);
        painter_.setFont(DecodeOverlayFont());
        painter_.setPen(QColor::fromRgb(kOverlayTextColor));
        painter_.setBrush(Qt::NoBrush);
        painter_.setBackgroundMode(Qt::TransparentMode);
        painter_.setClipRect(clientArea, painter_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    ~OverlayStyleScope() { painter_.restore(); }
    OverlayStyleScope(const OverlayStyleScope&) = delete;
    OverlayStyleScope& operator=(const OverlayStyleScope&) = delete;

private:
    QPainter& painter_;
};

void DrawBoxInStyle(QPainter& painter, const QFontMetrics& metrics, const QRect& clientArea, const TimeAxis& axis,
                    int channel, const PulseStartTimes& startTimes, const LabelBox& box)
{
    const std::optional<QRect> area = LabelBoxArea(box, channel, axis, startTimes, clientArea);
    if (!area)
        return;
    painter.fillRect(*area, QColor::fromRgb(kOverlayOutlineColor));
    const QRect inside = area->adjusted(1, 1, -1, -1);
    if (inside.width() > 0 && inside.height() > 0)
        painter.fillRect(inside, QColor::fromRgb(kOverlayFillColor));
    if (!box.text.isEmpty() && metrics.horizontalAdvance(box.text) <= area->width())
        painter.drawText(*area, Qt::AlignCenter | Qt::TextSingleLine, box.text);
}

void DrawAnnotationInStyle(QPainter& painter, const QFontMetrics& metrics, const QRect& clientArea,
                           const TimeAxis& axis, int channel, const PulseTrain& train,
                           const ChannelAnnotation& annotation)
{
    if (!annotation.codeLine.isEmpty()) {
        const int top = kChannelStripHeight * channel + kCodeLineTop;
        painter.drawText(QPoint(0, top + metrics.ascent()), annotation.codeLine);
    }
    if (annotation.boxes.empty())
        return;
    const PulseStartTimes startTimes(train);
    for (const LabelBox& box : annotation.boxes)
        DrawBoxInStyle(painter, metrics, clientArea, axis, channel, startTimes, box);
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

std::optional<QRect> LabelBoxArea(const LabelBox& box, int channel, const TimeAxis& axis,
                                  const PulseStartTimes& startTimes, const QRect& clientArea)
{
    const std::optional<RowLines> lines = LinesOfRow(box.row);
    if (!lines || !IsChannel(channel))
        return std::nullopt;
    // Doubles: a shift of any size cannot overflow, and TimeToX clamps.
    const double leftUs = double(startTimes.StartOf(box.firstPulse)) + double(box.startShiftUs);
    const double rightUs = double(startTimes.EndOf(box.lastPulse)) + double(box.endShiftUs);
    const int64_t x1 = box.firstPulse == 0 ? 0 : axis.TimeToX(leftUs);
    const int64_t x2 = axis.TimeToX(rightUs);
    const int64_t stripTop = int64_t(kChannelStripHeight) * channel;

    const int64_t clipLeft = std::max<int64_t>(x1, clientArea.left());
    const int64_t clipRight = std::min<int64_t>(x2, int64_t(clientArea.left()) + clientArea.width());
    const int64_t clipTop = std::max<int64_t>(stripTop + lines->top, clientArea.top());
    const int64_t clipBottom = std::min<int64_t>(stripTop + lines->bottom, int64_t(clientArea.top()) + clientArea.height());
    if (clipRight <= clipLeft || clipBottom <= clipTop)
        return std::nullopt;
    return QRect(int(clipLeft), int(clipTop), int(clipRight - clipLeft), int(clipBottom - clipTop));
}

void DrawLabelBox(QPainter& painter, const QRect& clientArea, const TimeAxis& axis, int channel,
                  const PulseStartTimes& startTimes, const LabelBox& box)
{
    OverlayStyleScope style(painter, clientArea);
    DrawBoxInStyle(painter, painter.fontMetrics(), clientArea, axis, channel, startTimes, box);
}

void DrawChannelAnnotation(QPainter& painter, const QRect& clientArea, const TimeAxis& axis, int channel,
                           const PulseTrain& train, const ChannelAnnotation& annotation)
{
    if (!IsChannel(channel) || annotation.IsEmpty())
        return;
    OverlayStyleScope style(painter, clientArea);
    DrawAnnotationInStyle(painter, painter.fontMetrics(), clientArea, axis, channel, train, annotation);
}

void DrawDecodeOverlay(QPainter& painter, const QRect& clientArea, const TimeAxis& axis,
                       const std::array<PulseTrain, kChannelCount>& channels,
                       const std::array<int, kChannelCount>& channelProtocol)
{
    OverlayStyleScope style(painter, clientArea);
    const QFontMetrics metrics = painter.fontMetrics();
    for (int c = 0; c < kChannelCount; ++c) {
        const int protocol = channelProtocol[static_cast<std::size_t>(c)];
        if (!IsProtocolIndex(protocol))
            continue;
        const PulseTrain& train = channels[static_cast<std::size_t>(c)];
        const ChannelAnnotation annotation = AnnotateChannel(train, protocol);
        if (!annotation.IsEmpty())
            DrawAnnotationInStyle(painter, metrics, clientArea, axis, c, train, annotation);
    }
}
