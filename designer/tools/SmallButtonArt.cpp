#include "designer/tools/PictureArt.h"

#include <QPainter>
#include <QRadialGradient>

#include <cmath>

QImage DrawSmallButton(bool plus, FaceState state, QColor background)
{
    constexpr int kSize = 35;
    constexpr double kRadius = 15.5;
    const QPointF centre(17.5, 17.5);
    QColor face = plus ? QColor(0x2f, 0x9e, 0x4f) : QColor(0xd4, 0x3f, 0x37);
    if (state == FaceState::Hover)
        face = face.lighter(118);
    else if (state == FaceState::Pressed)
        face = face.darker(125);

    // Smooth edges against the window's own background, then magenta
    // everywhere outside the disc so the button keys it out.
    QImage image(kSize, kSize, QImage::Format_RGB32);
    image.fill(background);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QRadialGradient fill(centre - QPointF(4, 5), kRadius * 1.4);
        fill.setColorAt(0, face.lighter(135));
        fill.setColorAt(1, face.darker(115));
        p.setPen(QPen(face.darker(160), 1.5));
        p.setBrush(fill);
        p.drawEllipse(centre, kRadius, kRadius);
        const double shift = state == FaceState::Pressed ? 1 : 0;
        p.setPen(QPen(Qt::white, 4.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9.5, 17.5 + shift), QPointF(25.5, 17.5 + shift));
        if (plus)
            p.drawLine(QPointF(17.5, 9.5 + shift), QPointF(17.5, 25.5 + shift));
    }
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (std::hypot(x + 0.5 - centre.x(), y + 0.5 - centre.y()) > kRadius + 1.0)
                image.setPixel(x, y, qRgb(255, 0, 255));
    return image.convertToFormat(QImage::Format_RGB888);
}

QImage DrawIcon()
{
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(32, 32);
    p.rotate(-18);
    p.setPen(QPen(QColor(0x10, 0x11, 0x14), 1.5));
    QLinearGradient body(-14, 0, 14, 0);
    body.setColorAt(0, QColor(0x22, 0x24, 0x29));
    body.setColorAt(0.4, QColor(0x4a, 0x4e, 0x57));
    body.setColorAt(1, QColor(0x1c, 0x1e, 0x22));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(-13, -29, 26, 58), 9, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe5, 0x3e, 0x35));
    p.drawEllipse(QPointF(0, -20), 4, 4);
    p.setBrush(QColor(0xdc, 0xdf, 0xe4));
    for (int row = 0; row < 4; ++row)
        for (int col = -1; col <= 1; ++col)
            p.drawEllipse(QPointF(col * 7.0, -8 + row * 7.5), 2.4, 2.4);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}
