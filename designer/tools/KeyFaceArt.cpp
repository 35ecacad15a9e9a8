#include "designer/tools/PictureArt.h"

#include "designer/KeyTypes.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

struct FaceColors {
    QColor top;
    QColor bottom;
    QColor rim;
    QColor symbol;
};

FaceColors ColorsFor(int keyType)
{
    if (keyType == keys::kDefault)
        return {QColor(0x62, 0x68, 0x73), QColor(0x2a, 0x2e, 0x35), QColor(0x16, 0x18, 0x1c), Qt::white};
    if (keyType == keys::kPower)
        return {QColor(0xf2, 0x6b, 0x62), QColor(0xb3, 0x23, 0x1c), QColor(0x73, 0x12, 0x0e), Qt::white};
    return {QColor(0xfd, 0xfd, 0xfe), QColor(0xcf, 0xd3, 0xda), QColor(0x83, 0x89, 0x94), QColor(0x23, 0x27, 0x2e)};
}

QPainterPath KeyShape(const QRectF& box, bool round)
{
    QPainterPath path;
    if (round)
        path.addEllipse(box);
    else
        path.addRoundedRect(box, box.height() / 2, box.height() / 2);
    return path;
}

void DrawBodyOfKey(QPainter& p, const QRectF& box, bool round, const FaceColors& c, FaceState state)
{
    // A soft shadow under the key, left out while it is pressed down.
    if (state != FaceState::Pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 28));
        p.drawPath(KeyShape(box.adjusted(-1, 0, 1, 2.5), round));
        p.setBrush(QColor(0, 0, 0, 60));
        p.drawPath(KeyShape(box.adjusted(0, 1, 0, 1.5), round));
    }
    QColor top = c.top, bottom = c.bottom;
    if (state == FaceState::Hover) {
        top = top.lighter(108);
        bottom = bottom.lighter(110);
    } else if (state == FaceState::Pressed) {
        std::swap(top, bottom);
        top = top.darker(108);
        bottom = bottom.darker(104);
    }
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setBrush(fill);
    p.setPen(QPen(c.rim, 1.2));
    p.drawPath(KeyShape(box, round));

    // Gloss on the upper half.
    if (state != FaceState::Pressed) {
        const QRectF gloss = box.adjusted(box.width() * 0.16, 2.5, -box.width() * 0.16, -box.height() * 0.52);
        QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
        shine.setColorAt(0, QColor(255, 255, 255, 120));
        shine.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(shine);
        p.drawPath(KeyShape(gloss, round));
    }
    if (state == FaceState::Hover) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x3b, 0x8e, 0xea, 210), 2.0));
        p.drawPath(KeyShape(box.adjusted(1.5, 1.5, -1.5, -1.5), round));
    }
}

void DrawPowerSign(QPainter& p, QPointF centre)
{
    const QRectF ring(centre.x() - 9, centre.y() - 8, 18, 18);
    p.drawArc(ring, 125 * 16, 290 * 16);
    p.drawLine(QPointF(centre.x(), centre.y() - 11), QPointF(centre.x(), centre.y() + 0.5));
}

void DrawArrow(QPainter& p, QPointF centre, double degrees, QColor colour)
{
    QPainterPath up;
    up.moveTo(0, -8);
    up.lineTo(9, 6);
    up.lineTo(-9, 6);
    up.closeSubpath();
    QTransform turn;
    turn.translate(centre.x(), centre.y());
    turn.rotate(degrees);
    p.setBrush(colour);
    p.setPen(QPen(colour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(turn.map(up));
}

void DrawDigit(QPainter& p, QPointF centre, const QString& digit, QColor colour)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(25);
    font.setWeight(QFont::Bold);
    QPainterPath text;
    text.addText(0, 0, font, digit);
    const QRectF bounds = text.boundingRect();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(text.translated(centre - bounds.center()));
}

void DrawSymbol(QPainter& p, int keyType, QPointF c, QColor colour)
{
    p.setPen(QPen(colour, 3.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (keyType) {
    case keys::kPower: DrawPowerSign(p, c); return;
    case keys::kPlus:
        p.drawLine(QPointF(c.x() - 9, c.y()), QPointF(c.x() + 9, c.y()));
        p.drawLine(QPointF(c.x(), c.y() - 9), QPointF(c.x(), c.y() + 9));
        return;
    case keys::kMinus: p.drawLine(QPointF(c.x() - 9, c.y()), QPointF(c.x() + 9, c.y())); return;
    case keys::kMenu:
        p.setPen(QPen(colour, 3.0, Qt::SolidLine, Qt::RoundCap));
        for (int row = -1; row <= 1; ++row)
            p.drawLine(QPointF(c.x() - 9, c.y() + 7 * row), QPointF(c.x() + 9, c.y() + 7 * row));
        return;
    case keys::kUp: DrawArrow(p, c, 0, colour); return;
    case keys::kRight: DrawArrow(p, c, 90, colour); return;
    case keys::kDown: DrawArrow(p, c, 180, colour); return;
    case keys::kLeft: DrawArrow(p, c, 270, colour); return;
    default: break;
    }
    if (keyType >= keys::kDigit0 && keyType < keys::kDigit0 + 10) {
        DrawDigit(p, c, QString::number(keyType - keys::kDigit0), colour);
    }
}

} // namespace

QImage DrawKeyFace(int keyType, FaceState state)
{
    const QSize size = keys::KeySize(keyType);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const bool round = keyType != keys::kBlank;
    const QRectF box = round ? QRectF(3, 2.5, 42, 42) : QRectF(3, 2.5, size.width() - 6, 42);
    const FaceColors colours = ColorsFor(keyType);
    DrawBodyOfKey(p, box, round, colours, state);
    const QPointF centre = box.center() + QPointF(0, state == FaceState::Pressed ? 1 : 0);
    DrawSymbol(p, keyType, centre, colours.symbol);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}
