#include "analyzer/decode/ProtocolIdentify.h"
#include "analyzer/decode/ProtocolTable.h"
#include "tests/support/FrameBuilder.h"

#include <QtTest>

Q_DECLARE_METATYPE(PulseTrain)

namespace {

const std::vector<uint8_t> kNecBytes{0x00, 0xFF, 0x40, 0xBF};

std::vector<int> Bits(int count) { return BitsOfBytes(std::vector<uint8_t>(static_cast<std::size_t>(count / 8 + 1), 0xA5)); }

std::vector<int> FirstBits(int count)
{
    std::vector<int> bits = Bits(count);
    bits.resize(static_cast<std::size_t>(count));
    return bits;
}

PulseTrain WithStartLevel(PulseTrain train, int32_t level)
{
    train[0] = level;
    return train;
}

PulseTrain WithStrayPulsesFirst(const PulseTrain& frame, std::initializer_list<int> stray)
{
    PulseTrain train;
    train[0] = stray.size() % 2 ? 0 : frame[0]; // keep the frame's own levels
    int i = 1;
    for (int pulse : stray)
        train[i++] = pulse;
    for (int k = 1; i < PulseTrain::kEntries && k < PulseTrain::kEntries; ++k)
        train[i++] = frame[k];
    return train;
}

} // namespace

class TestIdentify : public QObject {
    Q_OBJECT

private slots:
    void identifiesRow_data()
    {
        QTest::addColumn<PulseTrain>("train");
        QTest::addColumn<int>("expected");

        for (uint32_t seed = 1; seed <= 4; ++seed) {
            auto name = [seed](const char* what) { return QByteArray(what) + " seed " + QByteArray::number(seed); };
            QTest::newRow(name("NEC")) << NecTrain(kNecBytes, seed) << 0;
            // The two NEC rows' windows overlap: the earlier row wins.
            QTest::newRow(name("NEC1-X2 timing")) << NecTrain({0x04, 0xF0, 0x12, 0xED}, seed, 1) << 0;
            QTest::newRow(name("Haier")) << HaierTrain(std::vector<uint8_t>(11, 0x3C), seed) << 2;
            QTest::newRow(name("Quendar-A")) << QuendarTrain(Bits(40), {24}, seed) << 3;
            // A HITACHI lead also fits Quendar-A's; its frame rules reject it.
            QTest::newRow(name("HITACHI 16")) << HitachiTrain(Bits(16), seed) << 4;
            QTest::newRow(name("HITACHI 40")) << HitachiTrain(Bits(40), seed) << 4;
            QTest::newRow(name("HITACHI 12")) << HitachiTrain(FirstBits(12), seed) << -1;
            QTest::newRow(name("Sony 12")) << SonyTrain(FirstBits(12), seed) << 5;
            QTest::newRow(name("Sony 20")) << SonyTrain(FirstBits(20), seed) << 5;
            QTest::newRow(name("RC-5 toggle 0")) << Rc5Train(0, 0x15, 0x0C, seed) << 6;
            QTest::newRow(name("RC-5 toggle 1")) << Rc5Train(1, 0x15, 0x0C, seed) << 6;
            QTest::newRow(name("NEC 33 bits")) << NecBitsTrain(FirstBits(33), seed) << -1;
        }
        const PulseTrain nec = NecTrain(kNecBytes, 5);
        QTest::newRow("empty") << PulseTrain{} << -1;
        QTest::newRow("low start level") << WithStartLevel(nec, 0) << -1;
        QTest::newRow("start 0x0101 counts as 1") << WithStartLevel(nec, 0x0101) << 0;
        QTest::newRow("start 0x0100 counts as 0") << WithStartLevel(nec, 0x0100) << -1;
        QTest::newRow("start 2 is no lead level") << WithStartLevel(nec, 2) << -1;
        QTest::newRow("stray pulse before lead") << WithStrayPulsesFirst(nec, {300}) << -1;
        QTest::newRow("partial frame before lead") << WithStrayPulsesFirst(nec, {560, 1690, 560, 40000}) << -1;
    }

    void identifiesRow()
    {
        QFETCH(PulseTrain, train);
        QFETCH(int, expected);
        QCOMPARE(IdentifyProtocol(train), expected);
    }

    void identifyChannelsTouchesOnlyTheChosenChannels()
    {
        CaptureState state;
        state.channels[0] = NecTrain(kNecBytes);
        state.channels[2] = Rc5Train(0, 1, 2);
        state.channelProtocol = {{7, 7, 7, 7}};

        IdentifyChannels(state, 2);
        QCOMPARE(state.channelProtocol, (std::array<int, 4>{{7, 7, 6, 7}}));

        IdentifyChannels(state, 4);
        IdentifyChannels(state, -2);
        QCOMPARE(state.channelProtocol, (std::array<int, 4>{{7, 7, 6, 7}}));

        IdentifyChannels(state, -1);
        QCOMPARE(state.channelProtocol, (std::array<int, 4>{{0, -1, 6, -1}}));

        // Clearing keeps the last recognition until the next one runs.
        state.ClearChannels();
        QCOMPARE(state.channelProtocol, (std::array<int, 4>{{0, -1, 6, -1}}));
        IdentifyChannels(state.channels, state.channelProtocol, 0);
        QCOMPARE(state.channelProtocol[0], -1);
    }
};

QTEST_APPLESS_MAIN(TestIdentify)
#include "tst_identify.moc"
