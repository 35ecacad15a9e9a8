#include "analyzer/decode/Annotation.h"
#include "analyzer/decode/FrameDecoder.h"
#include "analyzer/decode/ProtocolIdentify.h"
#include "analyzer/decode/ProtocolTable.h"
#include "tests/support/HostileTrains.h"

#include <QtTest>

// Trains of any content must decode without reading past slot 2047,
// overflowing or hanging; the sanitizer build turns any of that into a
// failure. Drawing them is checked beside the annotation painter.
class TestHostileTrains : public QObject {
    Q_OBJECT

private slots:
    void decodeAnything_data()
    {
        QTest::addColumn<int>("shape");
        for (const NamedHostileShape& named : kHostileShapes)
            QTest::newRow(named.name) << int(named.shape);
    }

    void decodeAnything()
    {
        QFETCH(int, shape);
        std::mt19937 random(20240 + uint32_t(shape));
        for (int round = 0; round < 150; ++round) {
            const ChannelTrains channels = HostileChannels(random, HostileShape(shape));
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
        }
    }
};

QTEST_APPLESS_MAIN(TestHostileTrains)
#include "tst_hostiletrains.moc"
