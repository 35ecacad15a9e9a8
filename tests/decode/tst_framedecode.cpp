#include "analyzer/decode/FrameDecoder.h"
#include "analyzer/decode/ProtocolTable.h"
#include "tests/support/FrameBuilder.h"

#include <QtTest>

#include <array>

Q_DECLARE_METATYPE(PulseTrain)

namespace {

std::vector<int> Bits(int count, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<int> bits(static_cast<std::size_t>(count));
    for (int& bit : bits)
        bit = int(random() & 1);
    return bits;
}

std::vector<uint8_t> SomeBytes(int count)
{
    std::vector<uint8_t> bytes;
    for (int k = 0; k < count; ++k)
        bytes.push_back(static_cast<uint8_t>(0x35 * k + 0x5A));
    return bytes;
}

} // namespace

class TestFrameDecode : public QObject {
    Q_OBJECT

private slots:
    // What each protocol accepts, across several jitter seeds.
    void acceptedLengths_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<PulseTrain>("train");
        QTest::addColumn<int>("expected");

        for (uint32_t seed : {1u, 2u, 3u}) {
            auto name = [seed](const char* what) { return QByteArray(what) + " seed " + QByteArray::number(seed); };
            QTest::newRow(name("NEC 32")) << 0 << NecBitsTrain(Bits(32, seed), seed) << 32;
            QTest::newRow(name("NEC 40")) << 0 << NecBitsTrain(Bits(40, seed), seed) << 40;
            QTest::newRow(name("NEC 88")) << 0 << NecBitsTrain(Bits(88, seed), seed) << 88;
            QTest::newRow(name("NEC 33")) << 0 << NecBitsTrain(Bits(33, seed), seed) << 0;
            QTest::newRow(name("NEC 31")) << 0 << NecBitsTrain(Bits(31, seed), seed) << 0;
            QTest::newRow(name("NEC 48")) << 0 << NecBitsTrain(Bits(48, seed), seed) << 0;
            QTest::newRow(name("NEC1-X2 row, NEC frame")) << 1 << NecTrain({0, 0xFF, 0x40, 0xBF}, seed) << 32;
            QTest::newRow(name("Haier 88")) << 2 << HaierTrain(SomeBytes(11), seed) << 88;
            QTest::newRow(name("Haier 32")) << 2 << HaierTrain(SomeBytes(4), seed) << 0;
            QTest::newRow(name("HITACHI 8")) << 4 << HitachiTrain(Bits(8, seed), seed) << 8;
            QTest::newRow(name("HITACHI 16")) << 4 << HitachiTrain(Bits(16, seed), seed) << 16;
            QTest::newRow(name("HITACHI 344")) << 4 << HitachiTrain(Bits(344, seed), seed) << 344;
            QTest::newRow(name("HITACHI 7")) << 4 << HitachiTrain(Bits(7, seed), seed) << 0;
            QTest::newRow(name("HITACHI 12")) << 4 << HitachiTrain(Bits(12, seed), seed) << 0;
            QTest::newRow(name("Sony 12")) << 5 << SonyTrain(Bits(12, seed), seed) << 12;
            QTest::newRow(name("Sony 15")) << 5 << SonyTrain(Bits(15, seed), seed) << 15;
            QTest::newRow(name("Sony 20")) << 5 << SonyTrain(Bits(20, seed), seed) << 20;
            QTest::newRow(name("Sony 13")) << 5 << SonyTrain(Bits(13, seed), seed) << 0;
            QTest::newRow(name("Quendar sep 24")) << 3 << QuendarTrain(Bits(40, seed), {24}, seed) << 41;
            QTest::newRow(name("Quendar sep first")) << 3 << QuendarTrain(Bits(40, seed), {0}, seed) << 41;
            QTest::newRow(name("Quendar sep last")) << 3 << QuendarTrain(Bits(40, seed), {40}, seed) << 41;
            QTest::newRow(name("Quendar no sep")) << 3 << QuendarTrain(Bits(41, seed), {}, seed) << 0;
            QTest::newRow(name("Quendar 40 bits no sep")) << 3 << QuendarTrain(Bits(40, seed), {}, seed) << 0;
            QTest::newRow(name("Quendar two seps")) << 3 << QuendarTrain(Bits(39, seed), {8, 24}, seed) << 0;
            QTest::newRow(name("RC-5 toggle 0")) << 6 << Rc5Train(0, 5, 53, seed) << -1;
            QTest::newRow(name("RC-5 toggle 1")) << 6 << Rc5Train(1, 5, 53, seed) << -1;
        }
        QTest::newRow("empty train, NEC") << 0 << PulseTrain{} << 0;
        QTest::newRow("empty train, RC-5") << 6 << PulseTrain{} << 0;
    }

    void acceptedLengths()
    {
        QFETCH(int, row);
        QFETCH(PulseTrain, train);
        QFETCH(int, expected);
        QCOMPARE(DecodeFrame(nullptr, ProtocolTable[row], train, 0), expected);
        std::array<uint8_t, 64> buffer{};
        QCOMPARE(DecodeFrame(buffer.data(), ProtocolTable[row], train, 43), expected);
    }

    // The first received bit is the most significant bit of byte 0.
    void bitsLandInReceivedOrder()
    {
        std::array<uint8_t, kNecBufferBytes> buffer;
        buffer.fill(0xAA); // zeroed before decoding
        QCOMPARE(DecodeFrame(buffer.data(), ProtocolTable[0], NecTrain({0x00, 0xFF, 0x40, 0xBF}, 7), kNecBufferBytes), 32);
        QCOMPARE(buffer[0], uint8_t(0x00));
        QCOMPARE(buffer[1], uint8_t(0xFF));
        QCOMPARE(buffer[2], uint8_t(0x40));
        QCOMPARE(buffer[3], uint8_t(0xBF));
        QCOMPARE(buffer[4], uint8_t(0x00));

        std::vector<int> bits{0, 0, 1, 0, 0, 0, 0, 0};
        bits.resize(32, 1);
        QCOMPARE(DecodeFrame(buffer.data(), ProtocolTable[0], NecBitsTrain(bits, 9), kNecBufferBytes), 32);
        QCOMPARE(buffer[0], uint8_t(0x20));
    }

    // A separator adds no bit: the bits after it close up.
    void quendarSeparatorIsNotABit()
    {
        const std::vector<uint8_t> data{0x12, 0x34, 0x56, 0x78, 0x9A};
        std::array<uint8_t, kQuendarBufferBytes> buffer{};
        QCOMPARE(DecodeFrame(buffer.data(), ProtocolTable[3], QuendarTrain(BitsOfBytes(data), {10}, 4),
                             kQuendarBufferBytes),
                 41);
        QCOMPARE(std::vector<uint8_t>(buffer.begin(), buffer.end()), data);
    }

    // Without a separator the 41st bit would land past a 5-byte buffer.
    void quendarNeverWritesPastTheBuffer()
    {
        std::array<uint8_t, 6> buffer{};
        buffer[5] = 0x5C;
        QCOMPARE(DecodeFrame(buffer.data(), ProtocolTable[3], QuendarTrain(std::vector<int>(41, 1), {}, 1),
                             kQuendarBufferBytes),
                 0);
        QCOMPARE(buffer[5], uint8_t(0x5C));
    }

    // 640 us fits both the zero-bit space (280..652) and the one-bit space
    // (618..1442); the one-bit is tried first.
    void oneBitWinsAnOverlap()
    {
        std::vector<int> bits(40, 0);
        PulseTrain train = QuendarTrain(bits, {24}, 1);
        train[2 + 1 + 1] = 640; // space of bit 0
        std::array<uint8_t, kQuendarBufferBytes> buffer{};
        QCOMPARE(DecodeFrame(buffer.data(), ProtocolTable[3], train, kQuendarBufferBytes), 41);
        QCOMPARE(buffer[0], uint8_t(0x80));
    }

    // Whatever follows an exact RC-5 lead is plausible (the empty alternative
    // matches the low pulse after it); after a long last lead pulse only a
    // matching rest of that pulse is.
    void genericRecogniser_data()
    {
        QTest::addColumn<QVector<int>>("pulses");
        QTest::addColumn<int>("expected");
        QTest::newRow("exact lead, garbage after") << QVector<int>{889, 889, 889, 5000, 5000} << -1;
        QTest::newRow("exact lead, train ends") << QVector<int>{889, 889, 889} << -1;
        QTest::newRow("long last lead pulse") << QVector<int>{889, 889, 1778, 889} << -1;
        QTest::newRow("long last, rest too long") << QVector<int>{889, 889, 2700, 889} << 0;
        QTest::newRow("long last, rest runs into gap") << QVector<int>{889, 889, 1778, 5000} << -1;
        QTest::newRow("long last, then too short") << QVector<int>{889, 889, 1778, 300} << 0;
        QTest::newRow("no lead") << QVector<int>{889, 3000, 889} << 0;
    }

    void genericRecogniser()
    {
        QFETCH(QVector<int>, pulses);
        QFETCH(int, expected);
        PulseTrain train;
        train[0] = 1;
        for (int i = 0; i < pulses.size(); ++i)
            train[i + 1] = pulses[i];
        QCOMPARE(DecodeFrame(nullptr, ProtocolTable[6], train, 0), expected);
    }
};

QTEST_APPLESS_MAIN(TestFrameDecode)
#include "tst_framedecode.moc"
