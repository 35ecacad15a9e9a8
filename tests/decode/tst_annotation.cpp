#include "analyzer/decode/Annotation.h"
#include "analyzer/decode/ProtocolTable.h"
#include "analyzer/decode/PulseStartTimes.h"
#include "tests/support/FrameBuilder.h"

#include <QtTest>

Q_DECLARE_METATYPE(PulseTrain)

namespace {

LabelBox Box(int first, int last, int row, const char* text, int64_t startShift = 0, int64_t endShift = 0)
{
    return LabelBox{first, last, row, startShift, endShift, QString::fromLatin1(text)};
}

std::vector<int> SonyBits(int address, int addressBits, int command, int commandBits)
{
    std::vector<int> bits;
    for (int b = addressBits - 1; b >= 0; --b)
        bits.push_back((address >> b) & 1);
    for (int b = commandBits - 1; b >= 0; --b)
        bits.push_back((command >> b) & 1);
    return bits;
}

std::vector<LabelBox> BoxesWithText(const ChannelAnnotation& annotation, const QString& text)
{
    std::vector<LabelBox> found;
    for (const LabelBox& box : annotation.boxes) {
        if (box.text == text)
            found.push_back(box);
    }
    return found;
}

} // namespace

class TestAnnotation : public QObject {
    Q_OBJECT

private slots:
    void codeLine_data()
    {
        QTest::addColumn<PulseTrain>("train");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("expected");

        for (uint32_t seed : {1u, 2u}) {
            auto name = [seed](const char* what) { return QByteArray(what) + " seed " + QByteArray::number(seed); };
            QTest::newRow(name("NEC")) << NecTrain({0x00, 0xFF, 0x40, 0xBF}, seed) << 0
                                       << "Code: NEC Address:00 Command:40";
            QTest::newRow(name("NEC1-X2 bytes")) << NecTrain({0x04, 0xF0, 0x12, 0xED}, seed) << 0
                                                 << "Code: NEC1-X2 Address:F004 Command:12";
            // The text comes from the data, not from the row.
            QTest::newRow(name("NEC bytes, row 1")) << NecTrain({0x00, 0xFF, 0x40, 0xBF}, seed, 1) << 1
                                                    << "Code: NEC Address:00 Command:40";
            QTest::newRow(name("NEC command check fails")) << NecTrain({0x00, 0xFF, 0x40, 0x00}, seed) << 0 << "";
            QTest::newRow(name("NEC 40 bits")) << NecTrain({1, 2, 3, 4, 5}, seed) << 0
                                               << "Code: NULL 01 02 03 04 05";
            QTest::newRow(name("NEC 88 bits")) << NecTrain({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0xAB}, seed) << 0
                                               << "Code: NULL 01 02 03 04 05 06 07 08 09 0A AB";
            QTest::newRow(name("Haier")) << HaierTrain({0xA1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0xFE}, seed) << 2
                                         << "Code: Haier A1 02 03 04 05 06 07 08 09 0A FE";
            QTest::newRow(name("Quendar-A")) << QuendarTrain(BitsOfBytes({0x10, 0x32, 0x54, 0x76, 0x98}), {24}, seed)
                                             << 3 << "Code: Quendar-A 10 32 54 76 98";
            QTest::newRow(name("HITACHI 16")) << HitachiTrain(BitsOfBytes({0x12, 0x34}), seed) << 4
                                              << "Code: HITACHI 12 34";
            QTest::newRow(name("Sony 12")) << SonyTrain({1, 0, 1, 0, 1, 1, 1, 0, 0, 0, 0, 1}, seed) << 5
                                           << "Code: Sony SIRC-12bit Address:15 Command:61";
            QTest::newRow(name("Sony 15")) << SonyTrain(SonyBits(0x3A, 8, 0x55, 7), seed) << 5
                                           << "Code: Sony SIRC-15bit Address:3A Command:55";
            QTest::newRow(name("Sony 20")) << SonyTrain(SonyBits(0x3A, 8, 0x155, 12), seed) << 5
                                           << "Code: Sony SIRC-20bit";
            QTest::newRow(name("RC-5 toggle 0")) << Rc5Train(0, 0x05, 0x35, seed) << 6
                                                 << "Code: Philips RC-5 Address:05 Command:35";
            QTest::newRow(name("RC-5 toggle 1")) << Rc5Train(1, 0x1F, 0x00, seed) << 6
                                                 << "Code: Philips RC-5 Address:1F Command:00";
            QTest::newRow(name("RC-5 all ones")) << Rc5Train(1, 0x1F, 0x3F, seed) << 6
                                                 << "Code: Philips RC-5 Address:1F Command:3F";
        }
    }

    void codeLine()
    {
        QFETCH(PulseTrain, train);
        QFETCH(int, row);
        QFETCH(QString, expected);
        const ChannelAnnotation annotation = AnnotateChannel(train, row);
        QCOMPARE(annotation.codeLine, expected);
        QCOMPARE(annotation.protocol, row);
    }

    void nothingForUnacceptedFrames_data()
    {
        QTest::addColumn<PulseTrain>("train");
        QTest::addColumn<int>("row");
        QTest::newRow("empty NEC") << PulseTrain{} << 0;
        QTest::newRow("empty RC-5") << PulseTrain{} << 6;
        QTest::newRow("RC-5 with 11 bits") << Rc5Train(0, 0x05, 0x35, 1, 11) << 6;
        QTest::newRow("RC-5 with 11 bits, toggle 1") << Rc5Train(1, 0x1F, 0x3F, 3, 11) << 6;
        QTest::newRow("HITACHI 12 bits") << HitachiTrain(std::vector<int>(12, 1)) << 4;
        QTest::newRow("Sony 13 bits") << SonyTrain(std::vector<int>(13, 0)) << 5;
        QTest::newRow("Haier 80 bits") << HaierTrain(std::vector<uint8_t>(10, 0x55)) << 2;
        QTest::newRow("row -1") << NecTrain({0, 0xFF, 0, 0xFF}) << -1;
        QTest::newRow("past the table") << NecTrain({0, 0xFF, 0, 0xFF}) << 7;
    }

    void nothingForUnacceptedFrames()
    {
        QFETCH(PulseTrain, train);
        QFETCH(int, row);
        QVERIFY(AnnotateChannel(train, row).IsEmpty());
    }

    void necBoxes()
    {
        // A failed command check keeps every box.
        const ChannelAnnotation annotation = AnnotateChannel(NecTrain({0x00, 0xFF, 0x40, 0x00}), 0);
        QVERIFY(annotation.codeLine.isEmpty());
        QCOMPARE(int(annotation.boxes.size()), 32 + 1 + 4 + 1);
        QCOMPARE(annotation.boxes[0], Box(2, 3, kBitRow, "0"));
        QCOMPARE(annotation.boxes[17], Box(36, 37, kBitRow, "1"));
        QCOMPARE(annotation.boxes[32], Box(0, 1, kTallRow, "Lead code"));
        QCOMPARE(annotation.boxes[33], Box(2, 17, kByteRow, "0x00"));
        QCOMPARE(annotation.boxes[35], Box(34, 49, kByteRow, "0x40"));
        QCOMPARE(annotation.boxes[37], Box(66, 67, kTallRow, "Stop"));
    }

    // The stop pattern needs a recorded space after the stop mark.
    void noStopWhenTheStopMarkEndsTheCapture()
    {
        FrameBuilder builder(3);
        builder.Pattern(ProtocolTable[0].lead).Bytes({0x00, 0xFF, 0x40, 0xBF}, ProtocolTable[0]).Pulse(560);
        const ChannelAnnotation annotation = AnnotateChannel(builder.Build(), 0);
        QCOMPARE(annotation.codeLine, QStringLiteral("Code: NEC Address:00 Command:40"));
        QVERIFY(BoxesWithText(annotation, QStringLiteral("Stop")).empty());
    }

    // Stop, Repeat, Stop, ... until the last pair that fits in the capture.
    void heldNecKeyTrailer()
    {
        const PulseTrain train = HeldNecKeyTrain({0x00, 0xFF, 0x40, 0xBF}, 11);
        QCOMPARE(train.PulseCount(), 2047);
        const ChannelAnnotation annotation = AnnotateChannel(train, 0);
        const std::vector<LabelBox> trailer(annotation.boxes.begin() + 37, annotation.boxes.end());
        QCOMPARE(int(trailer.size()), 990);
        for (std::size_t i = 0; i < trailer.size(); ++i) {
            const int first = 66 + 2 * int(i);
            QCOMPARE(trailer[i], Box(first, first + 1, kTallRow, i % 2 ? "Repeat" : "Stop"));
        }
    }

    void sonyBoxes_data()
    {
        QTest::addColumn<PulseTrain>("train");
        QTest::addColumn<std::vector<LabelBox>>("expectedTail");
        QTest::newRow("12 bits") << SonyTrain({1, 0, 1, 0, 1, 1, 1, 0, 0, 0, 0, 1}, 5)
                                 << std::vector<LabelBox>{Box(22, 23, kBitRow, "0"), Box(24, 24, kBitRow, "1", 0, 600),
                                                          Box(0, 1, kTallRow, "Lead code"),
                                                          Box(2, 11, kByteRow, "0x15"),
                                                          Box(12, 24, kByteRow, "0x61", 0, 600),
                                                          Box(25, 25, kTallRow, "Stop", 600, 0)};
        QTest::newRow("15 bits") << SonyTrain(SonyBits(0x3A, 8, 0x54, 7), 6)
                                 << std::vector<LabelBox>{Box(28, 29, kBitRow, "0"), Box(30, 30, kBitRow, "0", 0, 600),
                                                          Box(0, 1, kTallRow, "Lead code"),
                                                          Box(2, 17, kByteRow, "0x3A"),
                                                          Box(18, 30, kByteRow, "0x54", 0, 600),
                                                          Box(31, 31, kTallRow, "Stop", 600, 0)};
    }

    void sonyBoxes()
    {
        QFETCH(PulseTrain, train);
        QFETCH(std::vector<LabelBox>, expectedTail);
        const ChannelAnnotation annotation = AnnotateChannel(train, 5);
        QVERIFY(annotation.boxes.size() >= expectedTail.size());
        const std::vector<LabelBox> tail(annotation.boxes.end() - int(expectedTail.size()), annotation.boxes.end());
        QCOMPARE(tail, expectedTail);
    }

    void sonyTwentyBitsShowsOnlyTheCodeLine()
    {
        QVERIFY(AnnotateChannel(SonyTrain(std::vector<int>(20, 1)), 5).boxes.empty());
    }

    void quendarBoxesAssumeTheSeparatorAfterBit24()
    {
        const ChannelAnnotation annotation = AnnotateChannel(QuendarTrain(std::vector<int>(40, 0), {24}), 3);
        QCOMPARE(int(annotation.boxes.size()), 40 + 2 + 5);
        QCOMPARE(annotation.boxes[23], Box(48, 49, kBitRow, "0"));
        QCOMPARE(annotation.boxes[24], Box(52, 53, kBitRow, "0"));
        QCOMPARE(annotation.boxes[39], Box(82, 83, kBitRow, "0"));
        QCOMPARE(annotation.boxes[41], Box(50, 51, kTallRow, "Space"));
        QCOMPARE(annotation.boxes[44], Box(34, 49, kByteRow, "0x00"));
        QCOMPARE(annotation.boxes[45], Box(52, 67, kByteRow, "0x00"));
    }

    void haierAndHitachiBoxes()
    {
        const ChannelAnnotation haier = AnnotateChannel(HaierTrain(std::vector<uint8_t>(11, 0x80)), 2);
        QCOMPARE(int(haier.boxes.size()), 88 + 1 + 11);
        QCOMPARE(haier.boxes[0], Box(4, 5, kBitRow, "1"));
        QCOMPARE(haier.boxes[88], Box(0, 3, kTallRow, "Lead code"));
        QCOMPARE(haier.boxes[99], Box(164, 179, kByteRow, "0x80"));

        const ChannelAnnotation hitachi = AnnotateChannel(HitachiTrain(BitsOfBytes({0x12, 0x34})), 4);
        QCOMPARE(int(hitachi.boxes.size()), 16 + 1 + 2);
        QCOMPARE(hitachi.boxes[16], Box(0, 1, kTallRow, "Lead code"));
        QCOMPARE(hitachi.boxes[18], Box(18, 33, kByteRow, "0x34"));
    }

    void rc5Boxes_data()
    {
        QTest::addColumn<int>("toggle");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("command");
        QTest::addColumn<uint32_t>("seed");
        for (uint32_t seed : {1u, 2u, 3u}) {
            auto name = [seed](const char* what) { return QByteArray(what) + " seed " + QByteArray::number(seed); };
            QTest::newRow(name("toggle 0")) << 0 << 0x05 << 0x35 << seed;
            QTest::newRow(name("toggle 1")) << 1 << 0x05 << 0x35 << seed;
            QTest::newRow(name("ends with 0")) << 1 << 0x0A << 0x2A << seed;
            QTest::newRow(name("zeros")) << 0 << 0x00 << 0x00 << seed;
            QTest::newRow(name("ones")) << 1 << 0x1F << 0x3F << seed;
        }
    }

    // The biphase split must tile the frame: lead, twelve bits and Stop meet
    // edge to edge, each bit about two half-bits long.
    void rc5Boxes()
    {
        QFETCH(int, toggle);
        QFETCH(int, address);
        QFETCH(int, command);
        QFETCH(uint32_t, seed);
        const PulseTrain train = Rc5Train(toggle, address, command, seed);
        const ChannelAnnotation annotation = AnnotateChannel(train, 6);
        QCOMPARE(int(annotation.boxes.size()), 1 + 12 + 3 + 1);

        const LabelBox& lead = annotation.boxes[0];
        QCOMPARE(lead.text, QStringLiteral("Lead code"));
        QCOMPARE(lead.firstPulse, 0);
        QCOMPARE(lead.lastPulse, 2);
        // Toggle 0 merges the lead's last half-bit with the first half of bit 0.
        QCOMPARE(lead.endShiftUs, toggle ? 0 : -889);

        const PulseStartTimes times(train);
        auto start = [&](const LabelBox& box) { return times.StartOf(box.firstPulse) + box.startShiftUs; };
        auto end = [&](const LabelBox& box) { return times.EndOf(box.lastPulse) + box.endShiftUs; };
        const int value = (toggle << 11) | (address << 6) | command;
        for (int n = 0; n < 12; ++n) {
            const LabelBox& bit = annotation.boxes[std::size_t(1 + n)];
            QCOMPARE(bit.row, int(kBitRow));
            QCOMPARE(bit.text, QString::number((value >> (11 - n)) & 1));
            QCOMPARE(start(bit), end(annotation.boxes[std::size_t(n)]));
            QVERIFY2(end(bit) - start(bit) > 1000 && end(bit) - start(bit) < 2600, qPrintable(QString::number(n)));
        }
        const LabelBox& stop = annotation.boxes[16];
        QCOMPARE(stop.text, QStringLiteral("Stop"));
        QCOMPARE(stop.firstPulse, stop.lastPulse);
        QCOMPARE(start(stop), end(annotation.boxes[12]));

        const LabelBox& toggleBox = annotation.boxes[13];
        QCOMPARE(toggleBox.text, QString::asprintf("0x%02X", toggle));
        QCOMPARE(start(toggleBox), start(annotation.boxes[1]));
        QCOMPARE(end(toggleBox), end(annotation.boxes[1]));
        const LabelBox& addressBox = annotation.boxes[14];
        QCOMPARE(addressBox.row, int(kByteRow));
        QCOMPARE(addressBox.text, QString::asprintf("0x%02X", address));
        QCOMPARE(start(addressBox), start(annotation.boxes[2]));
        QCOMPARE(end(addressBox), end(annotation.boxes[6]));
        const LabelBox& commandBox = annotation.boxes[15];
        QCOMPARE(commandBox.text, QString::asprintf("0x%02X", command));
        QCOMPARE(start(commandBox), start(annotation.boxes[7]));
        QCOMPARE(end(commandBox), end(annotation.boxes[12]));
    }

    void unknownNameShowsOnlyItsName()
    {
        ProtocolDescriptor other = ProtocolTable[0];
        other.name = L"Acme-7";
        const ChannelAnnotation annotation = AnnotateFrame(NecTrain({0, 0xFF, 0, 0xFF}), other);
        QCOMPARE(annotation.codeLine, QStringLiteral("Code: Acme-7"));
        QVERIFY(annotation.boxes.empty());
    }
};

QTEST_APPLESS_MAIN(TestAnnotation)
#include "tst_annotation.moc"
