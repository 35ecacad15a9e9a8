#include "designer/tools/PictureArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>

namespace {

// Body colours in the order of the body list.
const std::array<QColor, 5> kBodyColours = {
    QColor(0x2e, 0x30, 0x36), // Black
    QColor(0x2b, 0x5c, 0xa8), // Blue
    QColor(0xa4, 0xa9, 0xb1), // Gray
    QColor(0x2f, 0x8a, 0x55), // Green
    QColor(0xec, 0xe5, 0xd6), // Other: ivory
};

// A rounded rectangle whose top corners are tighter than its bottom ones,
// as a hand-held remote is shaped.
QPainterPath BodyOutline(const QRectF& r, double topRadius, double bottomRadius)
{
    QPainterPath path;
    path.moveTo(r.left() + topRadius, r.top());
    path.lineTo(r.right() - topRadius, r.top());
    path.arcTo(QRectF(r.right() - 2 * topRadius, r.top(), 2 * topRadius, 2 * topRadius), 90, -90);
    path.lineTo(r.right(), r.bottom() - bottomRadius);
    path.arcTo(QRectF(r.right() - 2 * bottomRadius, r.bottom() - 2 * bottomRadius, 2 * bottomRadius,
                      2 * bottomRadius), 0, -90);
    path.lineTo(r.left() + bottomRadius, r.bottom());
    path.arcTo(QRectF(r.left(), r.bottom() - 2 * bottomRadius, 2 * bottomRadius, 2 * bottomRadius), 270, -90);
    path.lineTo(r.left(), r.top() + topRadius);
    path.arcTo(QRectF(r.left(), r.top(), 2 * topRadius, 2 * topRadius), 180, -90);
    path.closeSubpath();
    return path;
}

} // namespace

QImage DrawBody(int bodyIndex)
{
    const QColor base = kBodyColours[static_cast<size_t>(bodyIndex)];
    const bool light = base.lightness() > 150;
    QImage image(360, 720, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF outer(6.5, 1.5, 347, 717);
    const QPainterPath body = BodyOutline(outer, 54, 86);

    // Rounded across its width: darker at the sides, a light band left of centre.
    QLinearGradient across(outer.topLeft(), outer.topRight());
    across.setColorAt(0.0, base.darker(165));
    across.setColorAt(0.08, base.darker(112));
    across.setColorAt(0.34, base.lighter(light ? 106 : 128));
    across.setColorAt(0.62, base);
    across.setColorAt(0.93, base.darker(120));
    across.setColorAt(1.0, base.darker(175));
    p.setPen(QPen(base.darker(light ? 150 : 210), 2.0));
    p.setBrush(across);
    p.drawPath(body);

    // Light from above, fading down the body.
    QLinearGradient sheen(outer.topLeft(), outer.bottomLeft());
    sheen.setColorAt(0.0, QColor(255, 255, 255, 70));
    sheen.setColorAt(0.25, QColor(255, 255, 255, 12));
    sheen.setColorAt(1.0, QColor(0, 0, 0, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawPath(body);

    // A bevel line just inside the edge.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, light ? 120 : 55), 1.5));
    p.drawPath(BodyOutline(outer.adjusted(7, 7, -7, -7), 48, 80));

    // The infrared window at the top; the connection dot sits inside it.
    const QRectF window(146, 2.5, 68, 15);
    QLinearGradient glass(window.topLeft(), window.bottomLeft());
    glass.setColorAt(0, QColor(0x55, 0x18, 0x1c));
    glass.setColorAt(1, QColor(0x16, 0x06, 0x08));
    p.setPen(QPen(QColor(0, 0, 0, 160), 1.0));
    p.setBrush(glass);
    p.drawRoundedRect(window, 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawRoundedRect(QRectF(152, 4, 56, 4), 2, 2);

    // A speaker grille near the bottom.
    p.setBrush(base.darker(light ? 135 : 170));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 9; ++col)
            p.drawEllipse(QPointF(140 + col * 10 + (row % 2) * 5, 672 + row * 9), 2.2, 2.2);

    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}
