#include "analyzer/decode/Annotation.h"
#include "analyzer/decode/DecodeOverlay.h"
#include "analyzer/decode/FrameDecoder.h"
#include "analyzer/decode/ProtocolIdentify.h"
#include "analyzer/decode/ProtocolTable.h"
#include "tests/support/FrameBuilder.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <climits>
#include <random>

// Trains of any content (as a capture file may hold) must decode and draw
// without reading past slot 2047, overflowing or hanging; the sanitizer
// build turns any of that into a failure.
namespace {

enum class Shape { AnyValue, NearNominals, Extremes, MutatedFrames };

int32_t NearNominal(std::mt19937& random)
{
    static const int32_t kNominals[] = {560, 1690, 4500, 9000, 2250, 889, 1778, 600, 1200, 2400, 620,
                                        466, 1030, 3640, 1728, 450, 1230, 3400, 1700, 3040, 4400, 40000};
    const int32_t nominal = kNominals[random() % (sizeof(kNominals) / sizeof(kNominals[0]))];
    return int32_t(int64_t(nominal) * int64_t(55 + random() % 91) / 100); // 55..145 %
}

PulseTrain RandomTrain(std::mt19937& random, Shape shape)
{
    static const PulseTrain kFrames[] = {
        NecTrain({0x00, 0xFF, 0x40, 0xBF}), HeldNecKeyTrain({0x00, 0xFF, 0x40, 0xBF}), Rc5Train(0, 5, 53),
        Rc5Train(1, 31, 63), SonyTrain(std::vector<int>(15, 1)), QuendarTrain(std::vector<int>(40, 1), {24}),
        HitachiTrain(std::vector<int>(344, 0)), HaierTrain(std::vector<uint8_t>(11, 0x5A))};
    PulseTrain train;
    switch (shape) {
    case Shape::AnyValue:
        for (int32_t& entry : train.entries)
            entry = int32_t(random());
        break;
    case Shape::NearNominals:
        for (int32_t& entry : train.entries)
            entry = NearNominal(random);
        break;
    case Shape::Extremes: {
        static const int32_t kValues[] = {INT_MIN, INT_MAX, -1, 1, 889, -889, 560, 0x7FFFFF00};
        for (int32_t& entry : train.entries)
            entry = kValues[random() % 8];
        break;
    }
    case Shape::MutatedFrames:
        train = kFrames[random() % (sizeof(kFrames) / sizeof(kFrames[0]))];
        for (int edits = int(random() % 4); edits >= 0; --edits) {
            const int slot = int(random() % PulseTrain::kEntries);
            train[slot] = random() % 3 == 0 ? 0 : NearNominal(random);
        }
        break;
    }
    if (random() % 2)
        train[0] = int32_t(random() % 3 == 0 ? random() : 1);
    if (random() % 3 == 0)
        train[int(1 + random() % PulseTrain::kMaxPulses)] = 0;
    return train;
}

} // namespace

class TestHostileTrains : public QObject {
    Q_OBJECT

private slots:
    void decodeAndDrawAnything_data()
    {
        QTest::addColumn<int>("shape");
        QTest::newRow("any value") << int(Shape::AnyValue);
        QTest::newRow("near nominals") << int(Shape::NearNominals);
        QTest::newRow("extremes") << int(Shape::Extremes);
        QTest::newRow("mutated frames") << int(Shape::MutatedFrames);
    }

    void decodeAndDrawAnything()
    {
        QFETCH(int, shape);
        std::mt19937 random(20240 + uint32_t(shape));
        QImage image(320, 400, QImage::Format_RGB32);
        const int zooms[] = {1, 100, 1000};
        for (int round = 0; round < 150; ++round) {
            std::array<PulseTrain, kChannelCount> channels;
            for (PulseTrain& train : channels)
                train = RandomTrain(random, Shape(shape));
            std::array<int, kChannelCount> protocols{};
            IdentifyChannels(channels, protocols, -1);

            for (int c = 0; c < kChannelCount; ++c) {
                const PulseTrain& train = channels[std::size_t(c)];
                QVERIFY(protocols[std::size_t(c)] >= -1 && protocols[std::size_t(c)] < kProtocolCount);
                for (int row = 0; row < kProtocolCount; ++row) {
                    uint8_t buffer[kHitachiBufferBytes];
                    DecodeFrame(buffer, ProtocolTable[row], train, sizeof(buffer));
                    const ChannelAnnotation annotation = AnnotateChannel(train, row);
                    for (const LabelBox& box : annotation.boxes) {
                        QVERIFY(box.firstPulse >= 0 && box.lastPulse <= PulseTrain::kMaxPulses - 1);
                        QVERIFY(box.firstPulse <= box.lastPulse);
                    }
                }
                // Identification and the layouts decode alike (RC-5's
                // recogniser only checks the first bit, so it may show nothing).
                const int protocol = protocols[std::size_t(c)];
                if (protocol >= 0 && protocol != 6)
                    QVERIFY(!AnnotateChannel(train, protocol).IsEmpty());
            }
            for (int c = 0; c < kChannelCount; ++c) {
                if (random() % 2)
                    protocols[std::size_t(c)] = int(random() % 9) - 1;
            }
            image.fill(Qt::black);
            QPainter painter(&image);
            const TimeAxis axis{zooms[random() % 3], int(random() % 3 == 0 ? random() % 100000 : 0)};
            DrawDecodeOverlay(painter, image.rect(), axis, channels, protocols);
        }
    }
};

QTEST_MAIN(TestHostileTrains)
#include "tst_hostiletrains.moc"
