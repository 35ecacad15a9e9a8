// The transmit encoder and what reaches the wire.
#include "analyzer/core/Transmit.h"
#include "device/USBDevice.h"
#include "sim/SimControl.h"

#include <QtTest>

using Bytes = std::vector<uint8_t>;
Q_DECLARE_METATYPE(PulseTrain)
Q_DECLARE_METATYPE(Bytes)

class TestTransmit : public QObject {
    Q_OBJECT

    static PulseTrain Train(int start, std::initializer_list<int> durations)
    {
        PulseTrain train;
        train[0] = start;
        int i = 1;
        for (int d : durations)
            train[i++] = d;
        return train;
    }

    static Bytes Encode(const PulseTrain& train)
    {
        TransmitBuffer buffer;
        const int length = EncodeTrain(train, buffer);
        return Bytes(buffer.begin(), buffer.begin() + length);
    }

private slots:
    void encodes_data()
    {
        QTest::addColumn<PulseTrain>("train");
        QTest::addColumn<Bytes>("bytes");
        QTest::newRow("empty channel") << Train(0, {}) << Bytes{0x00, 0x00};
        QTest::newRow("9000 4500") << Train(1, {9000, 4500}) << Bytes{0x01, 0x00, 0x94, 0x11, 0xCA, 0x08};
        QTest::newRow("1 us ends the train") << Train(1, {9000, 1, 4500}) << Bytes{0x01, 0x00, 0x94, 0x11};
        QTest::newRow("odd durations drop the remainder") << Train(0, {561, 3}) << Bytes{0x00, 0x00, 0x18, 0x01, 0x01, 0x00};
        // The longest word the device emits; longer durations saturate, never wrap.
        QTest::newRow("longest word") << Train(1, {131071}) << Bytes{0x01, 0x00, 0xFF, 0xFF};
        QTest::newRow("just beyond the longest word") << Train(1, {131074, 560}) << Bytes{0x01, 0x00, 0xFF, 0xFF, 0x18, 0x01};
        QTest::newRow("largest duration") << Train(0, {INT32_MAX}) << Bytes{0x00, 0x00, 0xFF, 0xFF};
        QTest::newRow("negative ends the train") << Train(1, {-9000, 560}) << Bytes{0x01, 0x00};
        QTest::newRow("start word low 16 bits") << Train(0x12345, {}) << Bytes{0x45, 0x23};
    }
    void encodes()
    {
        QFETCH(PulseTrain, train);
        QFETCH(Bytes, bytes);
        QCOMPARE(Encode(train), bytes);
    }

    void fullTrainIs4096Bytes()
    {
        PulseTrain train;
        train[0] = 1;
        for (int i = 1; i <= PulseTrain::kMaxPulses; ++i)
            train[i] = 2;
        const Bytes bytes = Encode(train);
        QCOMPARE(int(bytes.size()), 4096);
        QCOMPARE(int(bytes[4094]), 1);
    }

    void sendsTheTrainThroughTheDevice()
    {
        usbsim::Reset();
        CEPDevice device;
        QVERIFY(device.FindDevice());
        const PulseTrain train = Train(1, {9000, 4500});
        QVERIFY(!TransmitTrain(device, train)); // not identified: nothing is sent
        QVERIFY(usbsim::BulkWrites().empty());

        device.identified = device.Identify();
        QVERIFY(TransmitTrain(device, train));
        const auto frames = usbsim::Frames();
        QCOMPARE(int(frames.size()), 1);
        QCOMPARE(frames[0].payload, (Bytes{0x02, 0xBB, 0x06, 0x00}));
        QCOMPARE(usbsim::TransmittedTrains().back(), (Bytes{0x01, 0x00, 0x94, 0x11, 0xCA, 0x08}));
    }
};

QTEST_GUILESS_MAIN(TestTransmit)
#include "tst_transmit.moc"
