#include "designer/ui/Pictures.h"

#include "designer/ButtonComposer.h"

#include <QHash>

namespace {

QImage Cached(QHash<int, QImage>& cache, int number, const QString& path)
{
    auto found = cache.constFind(number);
    if (found != cache.constEnd())
        return *found;
    const QImage picture = compose::Premultiplied(QImage(path));
    cache.insert(number, picture);
    return picture;
}

} // namespace

QImage PngPicture(int number)
{
    static QHash<int, QImage> cache;
    return Cached(cache, number, QStringLiteral(":/designer/png/%1.png").arg(number));
}

QImage BitmapPicture(int number)
{
    static QHash<int, QImage> cache;
    return Cached(cache, number, QStringLiteral(":/designer/bitmap/%1.bmp").arg(number));
}
