// The play-mode picture without a window: the keyed body, keys blended over
// it in stacking order, the connection dot, and the window shape taken from
// the picture.
#include "designer/PlayPicture.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QtTest>

namespace {

compose::ButtonFace FaceOf(const QImage& picture)
{
    compose::ButtonFace face;
    face.stateImages.fill(picture);
    return face;
}

} // namespace

class TestPlayPicture : public QObject {
    Q_OBJECT

private slots:
    void indicatorSitsCentredAtTheTop_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("x");
        QTest::newRow("360") << 360 << 178;
        QTest::newRow("odd width truncates") << 361 << 178;
        QTest::newRow("narrower than the dot") << 3 << 0;
    }
    void indicatorSitsCentredAtTheTop()
    {
        QFETCH(int, width);
        QFETCH(int, x);
        QCOMPARE(play::IndicatorRect(QSize(width, 720)), QRect(x, 7, 4, 4));
    }

    void bodyIsKeyedByItsTopLeftPixel()
    {
        // Straight alpha in, as decoded; premultiplied, the transparent
        // corner is black and so is the key.
        QImage body(4, 2, QImage::Format_ARGB32);
        body.fill(qRgba(0, 0, 0, 0));
        body.setPixel(1, 0, qRgba(200, 100, 50, 255));
        body.setPixel(2, 0, qRgba(200, 100, 50, 128)); // an edge pixel, copied opaque as premultiplied
        body.setPixel(3, 0, qRgba(0, 0, 0, 255));      // opaque black is the key colour too
        body.setPixel(1, 1, qRgba(10, 20, 30, 255));
        const QImage premultiplied = body.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QImage background = play::Background(premultiplied, QSize(8, 2));
        QCOMPARE(background.format(), QImage::Format_RGB32);
        const QRgb key = play::kColourKey;
        // Stretched twice across, pixel for pixel.
        const QRgb expected[2][8] = {
            {key, key, qRgb(200, 100, 50), qRgb(200, 100, 50), qRgb(100, 50, 25), qRgb(100, 50, 25), key, key},
            {key, key, qRgb(10, 20, 30), qRgb(10, 20, 30), key, key, key, key},
        };
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 8; ++x)
                QCOMPARE(background.pixel(x, y), expected[y][x]);

        const QImage bare = play::Background(QImage(), QSize(3, 3));
        QCOMPARE(bare.pixel(1, 1), play::kColourKey);
    }

    void keysBlendOverTheBodyEntryZeroOnTop()
    {
        QImage background(20, 20, QImage::Format_RGB32);
        background.fill(qRgb(40, 80, 120));
        // A key face: transparent corner, half-transparent white edge, red inside.
        QImage face(6, 6, QImage::Format_ARGB32_Premultiplied);
        face.fill(qRgba(255, 0, 0, 255));
        face.setPixel(0, 0, qRgba(0, 0, 0, 0));
        face.setPixel(1, 0, qRgba(128, 128, 128, 128));
        QImage blue(6, 6, QImage::Format_ARGB32_Premultiplied);
        blue.fill(qRgba(0, 0, 255, 255));

        const QImage picture = play::Compose(background, {{QRect(10, 12, 6, 6), FaceOf(face)},
                                                          {QRect(12, 12, 6, 6), FaceOf(blue)}},
                                             true);
        QCOMPARE(picture.pixel(10, 12), qRgb(40, 80, 120)); // the corner shows the body
        // Half white over the body: white / 2 plus half the body.
        const QRgb edge = picture.pixel(11, 12);
        const int body[3] = {40, 80, 120};
        const int got[3] = {qRed(edge), qGreen(edge), qBlue(edge)};
        for (int c = 0; c < 3; ++c)
            QVERIFY2(qAbs(got[c] - (128 + body[c] * 127 / 255)) <= 1, qPrintable(QString::number(got[c])));
        QCOMPARE(picture.pixel(13, 14), qRgb(255, 0, 0)); // entry 0 over entry 1
        QCOMPARE(picture.pixel(17, 14), qRgb(0, 0, 255));
        QCOMPARE(picture.pixel(8, 7), play::kConnected);
        QCOMPARE(picture.pixel(11, 10), play::kConnected);
        QCOMPARE(picture.pixel(8, 6), qRgb(40, 80, 120));
        QCOMPARE(picture.pixel(12, 7), qRgb(40, 80, 120));
        QCOMPARE(play::Compose(background, {}, false).pixel(9, 9), play::kDisconnected);
        QCOMPARE(background.pixel(13, 14), qRgb(40, 80, 120)); // the background itself stays
    }

    void shapeIsEveryPixelButTheColourKey()
    {
        QImage picture(97, 61, QImage::Format_RGB32);
        auto* random = QRandomGenerator::global();
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                // Runs of rows alike, as a body has them, and scattered holes.
                const bool hole = (y / 7) % 2 ? x < 20 || x > 80 : random->bounded(4) == 0;
                picture.setPixel(x, y, hole ? play::kColourKey : qRgb(1, 2, 4));
            }
        const QRegion region = play::VisibleRegion(picture);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                QVERIFY2(region.contains(QPoint(x, y)) == (picture.pixel(x, y) != play::kColourKey),
                         qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));
        QVERIFY(play::VisibleRegion(play::Background(QImage(), QSize(30, 30))).isEmpty());
    }
};

QTEST_MAIN(TestPlayPicture)
#include "tst_playpicture.moc"
