#include "analyzer/app/AppIcon.h"

#include <QPainter>
#include <QPainterPath>

QImage PaintWavixIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal s = size / 64.0;

    QPainterPath body;
    body.addRoundedRect(QRectF(2 * s, 2 * s, 60 * s, 60 * s), 12 * s, 12 * s);
    p.fillPath(body, QColor(16, 18, 32));
    p.setPen(QPen(QColor(0, 0, 128), qMax<qreal>(1.0, 1.2 * s)));
    for (int i = 1; i < 4; ++i) {
        p.drawLine(QPointF(2 * s + i * 15 * s, 8 * s), QPointF(2 * s + i * 15 * s, 56 * s));
        p.drawLine(QPointF(8 * s, 2 * s + i * 15 * s), QPointF(56 * s, 2 * s + i * 15 * s));
    }

    p.setPen(QPen(QColor(128, 128, 128), qMax<qreal>(1.0, s)));
    p.setBrush(QColor(204, 255, 204));
    p.drawRect(QRectF(22 * s, 14 * s, 14 * s, 12 * s));

    QPainterPath trace;
    const qreal high = 32 * s, low = 48 * s;
    trace.moveTo(8 * s, low);
    const qreal edges[] = {14, 22, 26, 30, 36, 40, 44, 50};
    bool up = true;
    for (qreal x : edges) {
        trace.lineTo(x * s, up ? low : high);
        trace.lineTo(x * s, up ? high : low);
        up = !up;
    }
    trace.lineTo(56 * s, low);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 40, 40), qMax<qreal>(1.5, 3 * s), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(trace);
    return image;
}

QIcon WavixIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(PaintWavixIcon(size)));
    return icon;
}
