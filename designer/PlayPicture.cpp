#include "designer/PlayPicture.h"

#include <QPainter>

#include <utility>
#include <vector>

namespace play {

QRect IndicatorRect(const QSize& size)
{
    return QRect((size.width() - 4) / 2, 7, 4, 4);
}

QImage Background(const QImage& body, const QSize& size)
{
    QImage background(size, QImage::Format_RGB32);
    background.fill(kColourKey);
    if (body.isNull() || size.isEmpty())
        return background;
    // Stretched pixel for pixel, as a keyed copy does it: no smoothing, so
    // the key colour survives stretching exactly.
    const QImage stretched = body.size() == size ? body : body.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QImage source = stretched.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb key = body.convertToFormat(QImage::Format_ARGB32_Premultiplied).pixel(0, 0) & 0xFFFFFF;
    for (int y = 0; y < size.height(); ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QRgb* to = reinterpret_cast<QRgb*>(background.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            // The colour as it stands in the picture, copied opaque.
            const QRgb colour = from[x] & 0xFFFFFF;
            if (colour != key)
                to[x] = 0xFF000000u | colour;
        }
    }
    return background;
}

QImage Compose(const QImage& background, const std::vector<PlacedButton>& buttons, bool connected)
{
    QImage picture = background.copy();
    for (auto it = buttons.rbegin(); it != buttons.rend(); ++it)
        compose::ComposeButton(picture, it->place, it->face);
    QPainter(&picture).fillRect(IndicatorRect(picture.size()), QColor::fromRgb(connected ? kConnected : kDisconnected));
    return picture;
}

QRegion VisibleRegion(const QImage& picture)
{
    // Runs of visible pixels row by row; a row with the same runs as the one
    // above widens that band instead of adding rectangles.
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    std::vector<QRect> rects;
    size_t bandStart = 0;
    std::vector<std::pair<int, int>> runs;
    std::vector<std::pair<int, int>> previous;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        runs.clear();
        for (int x = 0; x < image.width();) {
            if (line[x] == kColourKey) {
                ++x;
                continue;
            }
            const int from = x;
            while (x < image.width() && line[x] != kColourKey)
                ++x;
            runs.emplace_back(from, x - from);
        }
        if (y > 0 && runs == previous) {
            for (size_t i = bandStart; i < rects.size(); ++i)
                rects[i].setHeight(rects[i].height() + 1);
            continue;
        }
        bandStart = rects.size();
        for (const auto& [x, width] : runs)
            rects.emplace_back(x, y, width, 1);
        previous.swap(runs);
    }
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

} // namespace play
