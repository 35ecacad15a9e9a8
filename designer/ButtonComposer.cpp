#include "designer/ButtonComposer.h"

#include <QPainter>

namespace compose {

QImage Premultiplied(const QImage& decoded)
{
    if (decoded.isNull())
        return {};
    if (!decoded.hasAlphaChannel())
        return decoded.convertToFormat(QImage::Format_RGB32);
    QImage straight = decoded.convertToFormat(QImage::Format_ARGB32);
    QImage out(straight.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < straight.height(); ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
        QRgb* to = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < straight.width(); ++x) {
            const int a = qAlpha(from[x]);
            to[x] = qRgba(qRed(from[x]) * a / 255, qGreen(from[x]) * a / 255, qBlue(from[x]) * a / 255, a);
        }
    }
    return out;
}

QImage GreyCopy(const QImage& picture, std::optional<QRgb> transparentColor)
{
    if (picture.isNull() || picture.hasAlphaChannel())
        return {};
    QImage grey = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < grey.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const QRgb p = line[x];
            if (transparentColor && (p & 0xFFFFFF) == (*transparentColor & 0xFFFFFF))
                continue;
            const int g = (qRed(p) + qGreen(p) + qBlue(p)) / 3;
            line[x] = qRgb(g, g, g);
        }
    }
    return grey;
}

namespace {

// The picture with every pixel of the key colour made transparent.
QImage KeyedOut(const QImage& picture, QRgb key)
{
    QImage keyed = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb opaqueKey = 0xFF000000u | key;
    for (int y = 0; y < keyed.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x)
            if (line[x] == opaqueKey)
                line[x] = 0;
    }
    return keyed;
}

void DrawPicture(QPainter& painter, const QRect& target, const ButtonFace& face)
{
    const QImage& own = face.stateImages[static_cast<size_t>(face.drawState)];
    if (face.drawState != kDisabled || !own.isNull()) {
        if (!own.isNull())
            painter.drawImage(target, own);
        return;
    }
    const QImage grey = GreyCopy(face.stateImages[0], face.transparentColor);
    if (grey.isNull())
        return;
    painter.drawImage(target, face.transparentColor ? KeyedOut(grey, *face.transparentColor) : grey);
}

void DrawCaption(QPainter& painter, const QSize& size, const ButtonFace& face)
{
    if (face.caption.isEmpty())
        return;
    constexpr int flags = Qt::TextWordWrap | Qt::AlignHCenter | Qt::AlignTop;
    painter.setFont(face.font);
    const QRect whole(QPoint(0, 0), size);
    const int textHeight = painter.boundingRect(whole, flags, face.caption).height();
    const int margin = (size.height() - textHeight) / 2;
    const QRect box = whole.adjusted(0, margin, 0, -margin);
    if (face.drawState == kDisabled) {
        painter.setPen(face.windowColor);
        painter.drawText(box.translated(1, 1), flags, face.caption);
        painter.setPen(face.grayTextColor);
    } else {
        painter.setPen(face.textColor);
    }
    painter.drawText(box, flags, face.caption);
}

void CopyKeyed(QImage& surface, const QRect& place, const QImage& image, QRgb key)
{
    const QRect area = place.intersected(surface.rect());
    const QRgb opaqueKey = 0xFF000000u | key;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(image.constScanLine(y - place.top()));
        QRgb* to = reinterpret_cast<QRgb*>(surface.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = from[x - place.left()];
            if (p != opaqueKey)
                to[x] = p;
        }
    }
}

} // namespace

void ComposeButton(QImage& surface, const QRect& place, const ButtonFace& face)
{
    if (place.isEmpty())
        return;
    QImage off = surface.copy(place).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&off);
        DrawPicture(painter, off.rect(), face);
        DrawCaption(painter, off.size(), face);
    }
    if (face.transparentColor) {
        CopyKeyed(surface, place, off, *face.transparentColor);
        return;
    }
    QPainter painter(&surface);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(place.topLeft(), off);
}

} // namespace compose
