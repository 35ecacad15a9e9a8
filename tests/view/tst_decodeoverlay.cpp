#include "analyzer/decode/Annotation.h"
#include "analyzer/decode/ProtocolIdentify.h"
#include "analyzer/decode/ProtocolTable.h"
#include "analyzer/view/DecodeOverlay.h"
#include "tests/support/FrameBuilder.h"
#include "tests/support/HostileTrains.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr int kWidth = 640;
constexpr int kHeight = 400;

// At zoom 10 one millisecond is 7 pixels; pulse k lasts (k + 1) ms.
constexpr int kZoom = 10;

PulseTrain RampTrain()
{
    PulseTrain train;
    train[0] = 1;
    for (int k = 0; k < 20; ++k)
        train[k + 1] = 1000 * (k + 1);
    return train;
}

PulseTrain EvenTrain(int pulseUs)
{
    PulseTrain train;
    train[0] = 1;
    for (int k = 0; k < 200; ++k)
        train[k + 1] = pulseUs;
    return train;
}

QImage BlankImage()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(kBlack);
    return image;
}

QImage DrawOne(const PulseTrain& train, const LabelBox& box, int channel, int scroll = 0,
               QRect clientArea = QRect(0, 0, kWidth, kHeight))
{
    QImage image = BlankImage();
    QPainter painter(&image);
    DrawLabelBox(painter, OverlayPaintParams{clientArea, TimeAxis{kZoom, scroll}}, channel, PulseStartTimes(train), box);
    return image;
}

int CountPixels(const QImage& image, QRgb color, const QRect& area)
{
    int count = 0;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            count += image.pixel(x, y) == color ? 1 : 0;
    }
    return count;
}

int CountNot(const QImage& image, QRgb color, const QRect& area)
{
    const QRect clipped = area.intersected(image.rect());
    return clipped.width() * clipped.height() - CountPixels(image, color, clipped);
}

int TextWidth(const QString& text)
{
    QImage image = BlankImage();
    QPainter painter(&image);
    painter.setFont(DecodeOverlayFont());
    return painter.fontMetrics().horizontalAdvance(text);
}

} // namespace

class TestDecodeOverlay : public QObject {
    Q_OBJECT

private slots:
    // Expected pixels: columns x1 .. x2 - 1, lines y1 .. y2 - 1.
    void boxEdges_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("startShift");
        QTest::addColumn<int>("endShift");
        QTest::addColumn<int>("scroll");
        QTest::addColumn<QRect>("expected");

        QTest::newRow("bit row, channel 0") << 0 << 0 << 1 << 2 << 0 << 0 << 0 << QRect(7, 47, 35, 14);
        QTest::newRow("byte row, channel 2") << 2 << 1 << 1 << 2 << 0 << 0 << 0 << QRect(7, 229, 35, 14);
        QTest::newRow("tall row, channel 3") << 3 << 2 << 1 << 2 << 0 << 0 << 0 << QRect(7, 327, 35, 28);
        QTest::newRow("shifts") << 1 << 0 << 1 << 2 << 1000 << -1000 << 0 << QRect(14, 145, 21, 14);
        QTest::newRow("single pulse") << 1 << 2 << 3 << 3 << 0 << 0 << 0 << QRect(42, 131, 28, 28);
        // From the first pulse the box starts at pixel 0, whatever the shift or scroll.
        QTest::newRow("first pulse, shifted") << 0 << 2 << 0 << 2 << 3000 << 0 << 0 << QRect(0, 33, 42, 28);
        QTest::newRow("first pulse, scrolled") << 0 << 2 << 0 << 2 << 0 << 0 << 14 << QRect(0, 33, 28, 28);
        QTest::newRow("cut by the left edge") << 0 << 0 << 1 << 2 << 0 << 0 << 14 << QRect(0, 47, 28, 14);
    }

    void boxEdges()
    {
        QFETCH(int, channel);
        QFETCH(int, row);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, startShift);
        QFETCH(int, endShift);
        QFETCH(int, scroll);
        QFETCH(QRect, expected);

        const QImage image = DrawOne(RampTrain(), LabelBox{first, last, row, startShift, endShift, {}}, channel, scroll);
        const QRect inside = expected.adjusted(1, 1, -1, -1);
        QCOMPARE(CountPixels(image, kOverlayOutlineColor, expected), 2 * expected.width() + 2 * expected.height() - 4);
        QCOMPARE(CountPixels(image, kOverlayFillColor, inside), inside.width() * inside.height());
        // Nothing outside the box.
        QCOMPARE(CountNot(image, kBlack, image.rect()), expected.width() * expected.height());
    }

    void clippedToTheClientArea()
    {
        const QRect client(10, 0, 20, kHeight);
        const QImage image = DrawOne(RampTrain(), LabelBox{1, 2, kBitRow, 0, 0, {}}, 0, 0, client);
        const QRect expected(10, 47, 20, 14); // the outline runs along the clip
        QCOMPARE(image.pixel(10, 50), kOverlayOutlineColor);
        QCOMPARE(image.pixel(29, 50), kOverlayOutlineColor);
        QCOMPARE(image.pixel(11, 50), kOverlayFillColor);
        QCOMPARE(CountNot(image, kBlack, image.rect()), expected.width() * expected.height());
    }

    void nothingWhenNothingRemains_data()
    {
        QTest::addColumn<LabelBox>("box");
        QTest::addColumn<int>("channel");
        QTest::addColumn<QRect>("client");
        const QRect full(0, 0, kWidth, kHeight);
        QTest::newRow("right of the client") << LabelBox{1, 2, 0, 0, 0, {}} << 0 << QRect(0, 0, 7, kHeight);
        QTest::newRow("left of the client") << LabelBox{1, 2, 0, 0, 0, {}} << 0 << QRect(42, 0, 100, kHeight);
        QTest::newRow("below the client") << LabelBox{1, 2, 0, 0, 0, {}} << 3 << QRect(0, 0, kWidth, 300);
        QTest::newRow("end before start") << LabelBox{2, 2, 0, 0, -5000, {}} << 0 << full;
        QTest::newRow("zero width") << LabelBox{2, 2, 0, 0, -3000, {}} << 0 << full;
        QTest::newRow("no such row") << LabelBox{1, 2, 3, 0, 0, {}} << 0 << full;
        QTest::newRow("no such channel") << LabelBox{1, 2, 0, 0, 0, {}} << 4 << full;
        QTest::newRow("past the train") << LabelBox{500, 600, 0, 0, 0, {}} << 0 << full;
    }

    void nothingWhenNothingRemains()
    {
        QFETCH(LabelBox, box);
        QFETCH(int, channel);
        QFETCH(QRect, client);
        const QImage image = DrawOne(RampTrain(), box, channel, 0, client);
        QCOMPARE(CountNot(image, kBlack, image.rect()), 0);
    }

    // The text is drawn only when its rendered width is not greater than the
    // clipped box's width.
    void textOnlyWhenItFits_data()
    {
        QTest::addColumn<int>("extraPixels");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("wide") << 30 << true;
        QTest::newRow("exactly as wide") << 0 << true;
        QTest::newRow("one pixel short") << -1 << false;
        QTest::newRow("narrow") << -20 << false;
    }

    void textOnlyWhenItFits()
    {
        QFETCH(int, extraPixels);
        QFETCH(bool, drawn);
        const QString text = QStringLiteral("Lead code");
        const int width = TextWidth(text) + extraPixels;
        const PulseTrain train = EvenTrain(100000); // 700 px per pulse
        // Box from pulse 1 (x = 700, scrolled to 0) to the time that maps to width.
        const int scroll = 700;
        int endShift = 0;
        const TimeAxis scrolled{kZoom, scroll};
        while (scrolled.TimeToX(100000.0 + endShift) < width)
            ++endShift;
        QCOMPARE(scrolled.TimeToX(100000.0 + endShift), width);
        const LabelBox box{1, 1, kTallRow, 0, endShift - 100000, text};
        const QImage image = DrawOne(train, box, 1, scroll);
        const QRect area(0, 131, width, 28);
        QCOMPARE(image.pixel(0, 131), kOverlayOutlineColor);
        QCOMPARE(image.pixel(width - 1, 131), kOverlayOutlineColor);
        const int green = CountPixels(image, kOverlayTextColor, area);
        QCOMPARE(green > 0, drawn);
        QCOMPARE(CountPixels(image, kOverlayTextColor, image.rect()), green); // never outside the box
    }

    void overlayDrawsOnlyRecognisedChannels()
    {
        ChannelTrains channels{};
        channels[0] = NecTrain({0x00, 0xFF, 0x40, 0xBF});
        channels[1] = NecTrain({0x00, 0xFF, 0x40, 0xBF});
        channels[3] = EvenTrain(300);
        const std::array<int, kChannelCount> protocols{{-1, 0, 0, 0}}; // 2 and 3 hold no NEC frame

        QImage image = BlankImage();
        QPainter painter(&image);
        QFont callerFont(QStringLiteral("Liberation Sans"));
        painter.setFont(callerFont);
        painter.setPen(Qt::red);
        DrawDecodeOverlay(painter, OverlayPaintParams{image.rect(), TimeAxis{100, 0}}, channels, protocols);
        QCOMPARE(painter.pen().color(), QColor(Qt::red));
        QCOMPARE(painter.font().family(), callerFont.family());
        QVERIFY(!painter.hasClipping());
        painter.end();

        QCOMPARE(CountNot(image, kBlack, QRect(0, 0, kWidth, 98)), 0);
        QCOMPARE(CountNot(image, kBlack, QRect(0, 196, kWidth, 204)), 0);

        // Channel 1: the code line's top at y = 112, pixel for pixel where
        // the line drawn alone at that place puts it; the lead box 0..944 in
        // the tall row below.
        QCOMPARE(CountNot(image, kBlack, QRect(0, 98, kWidth, 14)), 0);
        QImage line = BlankImage();
        {
            QPainter alone(&line);
            alone.setRenderHint(QPainter::TextAntialiasing, false);
            alone.setFont(DecodeOverlayFont());
            alone.setPen(QColor::fromRgb(kOverlayTextColor));
            alone.drawText(QPoint(0, 112 + alone.fontMetrics().ascent()), AnnotateChannel(channels[1], 0).codeLine);
        }
        const QRect lineArea(0, 98, kWidth, 33);
        QVERIFY(CountPixels(line, kOverlayTextColor, lineArea) > 50);
        QCOMPARE(line.copy(lineArea), image.copy(lineArea));
        QCOMPARE(image.pixel(0, 131), kOverlayOutlineColor);
        QCOMPARE(image.pixel(0, 158), kOverlayOutlineColor);
        QCOMPARE(image.pixel(0, 159), kBlack);
        QCOMPARE(image.pixel(5, 140), kOverlayFillColor);

        // Non-antialiased: every pixel is one of the layer's four colours.
        const QRect strip(0, 98, kWidth, 98);
        QCOMPARE(CountPixels(image, kBlack, strip) + CountPixels(image, kOverlayOutlineColor, strip)
                     + CountPixels(image, kOverlayFillColor, strip) + CountPixels(image, kOverlayTextColor, strip),
                 strip.width() * strip.height());
    }

    // Whatever a capture file holds, and whatever protocol a channel claims,
    // drawing stays inside the client area; the sanitizer build checks that
    // nothing is read or computed out of range on the way.
    void drawsHostileTrains_data()
    {
        QTest::addColumn<int>("shape");
        for (const NamedHostileShape& named : kHostileShapes)
            QTest::newRow(named.name) << int(named.shape);
    }

    void drawsHostileTrains()
    {
        QFETCH(int, shape);
        std::mt19937 random(20240 + uint32_t(shape));
        QImage image(320, 400, QImage::Format_RGB32);
        const QRect client(10, 0, 300, 400);
        const int zooms[] = {1, 100, 1000};
        for (int round = 0; round < 150; ++round) {
            const ChannelTrains channels = HostileChannels(random, HostileShape(shape));
            std::array<int, kChannelCount> protocols{};
            IdentifyChannels(channels, protocols, -1);
            for (int c = 0; c < kChannelCount; ++c) {
                if (random() % 2)
                    protocols[std::size_t(c)] = int(random() % 9) - 1;
            }
            image.fill(Qt::black);
            QPainter painter(&image);
            const TimeAxis axis{zooms[random() % 3], int(random() % 3 == 0 ? random() % 100000 : 0)};
            DrawDecodeOverlay(painter, OverlayPaintParams{client, axis}, channels, protocols);
            painter.end();
            QCOMPARE(CountNot(image, kBlack, QRect(0, 0, 10, 400)), 0);
            QCOMPARE(CountNot(image, kBlack, QRect(310, 0, 10, 400)), 0);
        }
    }
};

QTEST_MAIN(TestDecodeOverlay)
#include "tst_decodeoverlay.moc"
