// Composing a picture button: premultiplied alpha, what shows through the
// transparent parts, the caption's placement, the disabled grey copy and the
// transparent colour.
#include "designer/ButtonComposer.h"
#include "designer/KeyTypes.h"
#include "designer/ui/Pictures.h"

#include <QGuiApplication>
#include <QtTest>

namespace {

constexpr QRgb kMagenta = 0xFF00FF;

QImage Surface(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

// Rows and columns holding pixels that differ from `background`.
struct Ink {
    QRect box;
    std::vector<QRect> lines; // one box per run of inked rows
};

Ink FindInk(const QImage& image, QRgb background)
{
    Ink ink;
    QRect line;
    for (int y = 0; y < image.height(); ++y) {
        QRect row;
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                row |= QRect(x, y, 1, 1);
        if (row.isNull()) {
            if (!line.isNull())
                ink.lines.push_back(line);
            line = QRect();
            continue;
        }
        line |= row;
        ink.box |= row;
    }
    if (!line.isNull())
        ink.lines.push_back(line);
    return ink;
}

compose::ButtonFace FaceWith(const QImage& picture)
{
    compose::ButtonFace face;
    face.stateImages.fill(picture);
    face.textColor = Qt::black;
    return face;
}

} // namespace

class TestButtonCompose : public QObject {
    Q_OBJECT

private slots:
    void premultiplyTruncates()
    {
        QImage decoded(1, 1, QImage::Format_ARGB32);
        decoded.setPixel(0, 0, qRgba(200, 100, 50, 128));
        const QImage picture = compose::Premultiplied(decoded);
        QCOMPARE(picture.format(), QImage::Format_ARGB32_Premultiplied);
        const QRgb p = reinterpret_cast<const QRgb*>(picture.constScanLine(0))[0];
        QCOMPARE(qRed(p), 100);
        QCOMPARE(qGreen(p), 50);
        QCOMPARE(qBlue(p), 25);
        QCOMPARE(qAlpha(p), 128);
        // Truncated, not rounded: 1 x 200 / 255 is 0.
        decoded.setPixel(0, 0, qRgba(254, 1, 129, 200));
        const QRgb q = reinterpret_cast<const QRgb*>(compose::Premultiplied(decoded).constScanLine(0))[0];
        QCOMPARE(q, qRgba(199, 0, 101, 200));
        // A picture without alpha stays an opaque 24-bit one.
        QImage opaque(1, 1, QImage::Format_RGB888);
        opaque.fill(QColor(1, 2, 3));
        QVERIFY(!compose::Premultiplied(opaque).hasAlphaChannel());
    }

    void transparentPartsShowWhatLiesUnder()
    {
        // The Power key over a blue body: the corners stay blue, the middle
        // is the key, and a half-transparent pixel blends with the body.
        const QImage key = PngPicture(keys::Key(keys::kPower).normalPicture);
        QCOMPARE(key.size(), QSize(48, 48));
        QImage surface = Surface(QSize(100, 100), QColor(0, 0, 255));
        compose::ComposeButton(surface, QRect(20, 30, 48, 48), FaceWith(key));
        QCOMPARE(surface.pixel(20, 30), qRgb(0, 0, 255));
        QCOMPARE(surface.pixel(67, 77), qRgb(0, 0, 255));
        QCOMPARE(surface.pixel(19, 50), qRgb(0, 0, 255)); // outside the button
        const QRgb face = surface.pixel(28, 54);
        QVERIFY(qRed(face) > 150 && qBlue(face) < 120);

        QImage half(1, 1, QImage::Format_ARGB32);
        half.setPixel(0, 0, qRgba(200, 100, 50, 128));
        QImage under = Surface(QSize(1, 1), QColor(0, 0, 255));
        compose::ComposeButton(under, QRect(0, 0, 1, 1), FaceWith(compose::Premultiplied(half)));
        QCOMPARE(qRed(under.pixel(0, 0)), 100);
        QCOMPARE(qGreen(under.pixel(0, 0)), 50);
        QVERIFY(qAbs(qBlue(under.pixel(0, 0)) - (25 + 127)) <= 1);
    }

    void eachStateDrawsItsSlot()
    {
        compose::ButtonFace face;
        for (int slot = 0; slot < compose::kSlotCount; ++slot) {
            QImage picture(4, 4, QImage::Format_RGB32);
            picture.fill(QColor(slot * 40, 0, 0));
            face.stateImages[static_cast<size_t>(slot)] = picture;
        }
        for (int state = compose::kNormal; state <= compose::kPressed; ++state) {
            face.drawState = state;
            QImage surface = Surface(QSize(4, 4), Qt::white);
            compose::ComposeButton(surface, QRect(0, 0, 4, 4), face);
            QCOMPARE(qRed(surface.pixel(2, 2)), state * 40);
        }
        // An empty slot draws nothing.
        face.stateImages[compose::kHover] = QImage();
        face.drawState = compose::kHover;
        QImage surface = Surface(QSize(4, 4), Qt::white);
        compose::ComposeButton(surface, QRect(0, 0, 4, 4), face);
        QCOMPARE(surface.pixel(2, 2), qRgb(255, 255, 255));
    }

    void twoLineCaptionIsCentred()
    {
        compose::ButtonFace face;
        face.caption = QStringLiteral("MMMM\nM");
        face.font = QFont(QStringLiteral("Liberation Sans"));
        face.font.setPixelSize(18);
        face.font.setBold(true);
        face.textColor = Qt::black;
        QImage surface = Surface(QSize(160, 70), Qt::white);
        compose::ComposeButton(surface, surface.rect(), face);

        const Ink ink = FindInk(surface, qRgb(255, 255, 255));
        QCOMPARE(int(ink.lines.size()), 2);
        for (const QRect& line : ink.lines)
            QVERIFY2(qAbs(line.left() - (159 - line.right())) <= 2, "each line centred across");
        QVERIFY(ink.lines[0].width() > 3 * ink.lines[1].width());
        const int above = ink.box.top();
        const int below = 69 - ink.box.bottom();
        QVERIFY2(qAbs(above - below) <= 4, qPrintable(QStringLiteral("%1 above, %2 below").arg(above).arg(below)));
    }

    void disabledWithoutItsPictureIsGrey()
    {
        // A 24-bit picture on magenta with a red middle.
        QImage picture(10, 10, QImage::Format_RGB32);
        picture.fill(QColor(255, 0, 255));
        for (int y = 3; y < 7; ++y)
            for (int x = 3; x < 7; ++x)
                picture.setPixel(x, y, qRgb(210, 30, 60));
        compose::ButtonFace face = FaceWith(picture);
        face.stateImages[compose::kDisabled] = QImage();
        face.drawState = compose::kDisabled;
        face.transparentColor = kMagenta;
        QImage surface = Surface(QSize(10, 10), QColor(0, 128, 0));
        compose::ComposeButton(surface, surface.rect(), face);
        QCOMPARE(surface.pixel(5, 5), qRgb(100, 100, 100)); // (210 + 30 + 60) / 3
        QCOMPARE(surface.pixel(0, 0), qRgb(0, 128, 0));     // the keyed magenta shows the surface

        // A picture with alpha has no grey copy: nothing but the surface.
        compose::ButtonFace alpha = FaceWith(compose::Premultiplied(picture.convertToFormat(QImage::Format_ARGB32)));
        alpha.stateImages[compose::kDisabled] = QImage();
        alpha.drawState = compose::kDisabled;
        QImage plain = Surface(QSize(10, 10), QColor(0, 128, 0));
        compose::ComposeButton(plain, plain.rect(), alpha);
        QCOMPARE(plain.pixel(5, 5), qRgb(0, 128, 0));
    }

    void disabledCaptionIsDrawnTwice()
    {
        compose::ButtonFace face;
        face.caption = QStringLiteral("I");
        face.font = QFont(QStringLiteral("Liberation Sans"));
        face.font.setPixelSize(30);
        face.drawState = compose::kDisabled;
        face.windowColor = QColor(255, 0, 0);
        face.grayTextColor = QColor(0, 0, 255);
        QImage surface = Surface(QSize(40, 40), Qt::white);
        compose::ComposeButton(surface, surface.rect(), face);
        const Ink red = FindInk(surface, qRgb(255, 255, 255));
        // The shadow sticks out one pixel right of the grey text.
        auto reddish = [](QRgb p) { return qRed(p) > 150 && qBlue(p) < 120 && qGreen(p) < 120; };
        auto bluish = [](QRgb p) { return qBlue(p) > 150 && qRed(p) < 120 && qGreen(p) < 120; };
        bool shadowRight = false, greyInside = false;
        for (int y = 0; y < 40; ++y)
            for (int x = 1; x < 40; ++x) {
                shadowRight |= reddish(surface.pixel(x, y)) && bluish(surface.pixel(x - 1, y));
                greyInside |= surface.pixel(x, y) == qRgb(0, 0, 255);
            }
        QVERIFY(!red.box.isNull());
        QVERIFY(shadowRight);
        QVERIFY(greyInside);
    }

    void transparentColourIsLeftOut()
    {
        QImage picture(6, 6, QImage::Format_RGB32);
        picture.fill(QColor(255, 0, 255));
        picture.setPixel(2, 2, qRgb(10, 20, 30));
        compose::ButtonFace face = FaceWith(picture);
        face.transparentColor = kMagenta;
        QImage surface = Surface(QSize(12, 12), QColor(160, 160, 160));
        // Stretched to twice its size: the keyed pixels stay exact.
        compose::ComposeButton(surface, QRect(0, 0, 12, 12), face);
        QCOMPARE(surface.pixel(0, 0), qRgb(160, 160, 160));
        QCOMPARE(surface.pixel(11, 11), qRgb(160, 160, 160));
        QCOMPARE(surface.pixel(4, 4), qRgb(10, 20, 30));
        QCOMPARE(surface.pixel(5, 5), qRgb(10, 20, 30));
    }
};

QTEST_MAIN(TestButtonCompose)
#include "tst_buttoncompose.moc"
