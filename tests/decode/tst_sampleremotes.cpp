// The decoders against a second, independent source: the simulated device's
// sample remotes, which build their trains from each protocol's timings on
// their own. Frames built from the protocol table (tests/support) cannot
// show a wrong timing in that table; these can.
#include "analyzer/decode/Annotation.h"
#include "analyzer/decode/FrameDecoder.h"
#include "analyzer/decode/ProtocolIdentify.h"
#include "analyzer/decode/ProtocolTable.h"
#include "sim/remotes/IrProtocols.h"
#include "sim/remotes/PulseBuilder.h"
#include "sim/remotes/SampleRemotes.h"

#include <QtTest>

#include <algorithm>

namespace {

// The train the analyzer stores for a capture of these durations: it starts
// with a mark (high) and holds at most 2047 pulses.
PulseTrain TrainOf(const std::vector<int>& durationsUs)
{
    PulseTrain train;
    train[0] = 1;
    const int count = std::min(int(durationsUs.size()), PulseTrain::kMaxPulses);
    for (int i = 0; i < count; ++i)
        train[i + 1] = durationsUs[std::size_t(i)];
    return train;
}

PulseTrain Jittered(const std::vector<int>& nominalUs, uint32_t seed, int jitterPermille)
{
    return TrainOf(usbsim::AddJitter(nominalUs, seed, jitterPermille));
}

int RowNamed(const QString& name)
{
    for (int row = 0; row < kProtocolCount; ++row)
        if (ProtocolName(ProtocolTable[row]) == name)
            return row;
    return -1;
}

// The bits DecodeFrame read, in the order received (the buffer holds them
// most significant bit first).
std::vector<bool> ReceivedBits(const uint8_t* buffer, int count)
{
    std::vector<bool> bits;
    for (int i = 0; i < count; ++i)
        bits.push_back((buffer[i / 8] >> (7 - i % 8)) & 1);
    return bits;
}

// What the analyzer must make of each sample remote: the table row it
// recognises (both NEC forms fit the first row, whose windows are tried
// first), how its code line starts and whether boxes are drawn (a 20-bit
// SIRC frame shows its code line only).
struct Expected {
    const char* protocol; // as the sample remote names it
    const char* row;
    const char* codeLine;
    bool boxes;
};

constexpr Expected kExpected[] = {
    {"NEC", "NEC", "Code: NEC Address:", true},
    {"NEC1-X2", "NEC", "Code: NEC1-X2 Address:", true},
    {"Haier", "Haier", "Code: Haier A5 ", true},
    {"Quendar-A", "Quendar-A", "Code: Quendar-A 51 44 01 ", true},
    {"HITACHI", "HITACHI", "Code: HITACHI ", true},
    {"Sony SIRC 12-bit", "Sony SIRC", "Code: Sony SIRC-12bit Address:", true},
    {"Sony SIRC 15-bit", "Sony SIRC", "Code: Sony SIRC-15bit Address:", true},
    {"Sony SIRC 20-bit", "Sony SIRC", "Code: Sony SIRC-20bit", false},
    {"Philips RC-5", "Philips RC-5", "Code: Philips RC-5 Address:00 Command:", true},
};

} // namespace

class TestSampleRemotes : public QObject {
    Q_OBJECT

private slots:
    // Every key of every sample remote, pressed once and held, with the
    // jitter a real receiver shows.
    void everyKeyIsRecognised_data()
    {
        QTest::addColumn<QString>("remote");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("hold");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("codeLine");
        QTest::addColumn<bool>("boxes");
        for (const usbsim::SampleRemote& remote : usbsim::SampleRemotes()) {
            const auto expected = std::find_if(std::begin(kExpected), std::end(kExpected), [&](const Expected& e) {
                return remote.protocol == e.protocol;
            });
            QVERIFY2(expected != std::end(kExpected), remote.protocol.c_str());
            for (const std::string& key : remote.keys) {
                for (int hold : {0, 2}) {
                    const QByteArray name = QByteArray::fromStdString(remote.name + " " + key + " hold ")
                                            + QByteArray::number(hold);
                    QTest::newRow(name.constData())
                        << QString::fromStdString(remote.name) << QString::fromStdString(key) << hold
                        << RowNamed(QLatin1String(expected->row)) << QString::fromLatin1(expected->codeLine)
                        << expected->boxes;
                }
            }
        }
    }

    void everyKeyIsRecognised()
    {
        QFETCH(QString, remote);
        QFETCH(QString, key);
        QFETCH(int, hold);
        QFETCH(int, row);
        QFETCH(QString, codeLine);
        QFETCH(bool, boxes);
        QVERIFY(row >= 0);
        for (uint32_t seed = 1; seed <= 5; ++seed) {
            usbsim::PressSettings settings;
            settings.hold = hold;
            settings.seed = seed;
            const auto durations = usbsim::PressSampleKey(remote.toStdString(), key.toStdString(), settings);
            QVERIFY(durations);
            const PulseTrain train = TrainOf(*durations);
            QCOMPARE(IdentifyProtocol(train), row);
            const ChannelAnnotation annotation = AnnotateChannel(train, row);
            QVERIFY2(annotation.codeLine.startsWith(codeLine), qPrintable(annotation.codeLine));
            QCOMPARE(!annotation.boxes.empty(), boxes);
        }
    }

    // The bits read are the bits sent, for frames the simulator encodes from
    // values of its own, at up to the largest jitter it offers.
    void decodedBitsAreTheSentBits_data()
    {
        QTest::addColumn<QString>("protocol");
        QTest::addColumn<std::vector<int>>("nominal");
        QTest::addColumn<std::vector<bool>>("sent");
        using namespace usbsim;
        const auto nec = [](std::vector<uint8_t> bytes) { return BytesLsbFirst(bytes); };
        QTest::newRow("NEC") << "NEC" << NecPress(0x04, 0x08, 0) << nec({0x04, 0xFB, 0x08, 0xF7});
        QTest::newRow("NEC held") << "NEC" << NecPress(0x5A, 0xC3, 3) << nec({0x5A, 0xA5, 0xC3, 0x3C});
        QTest::newRow("NEC1-X2") << "NEC1-X2" << NecX2Press(0xBD02, 0x45, 0) << nec({0x02, 0xBD, 0x45, 0xBA});
        const std::vector<uint8_t> haier{0xA5, 0x80, 0x00, 0x00, 0x40, 0x00, 0x20, 0x00, 0x00, 0x05, 0x8A};
        QTest::newRow("Haier") << "Haier" << HaierPress(haier) << BytesMsbFirst(haier);
        const std::vector<uint8_t> quendar{0x51, 0x44, 0x01, 0x0C, 0xF3};
        QTest::newRow("Quendar-A") << "Quendar-A" << QuendarPress(quendar, 1) << BytesMsbFirst(quendar);
        const std::vector<uint8_t> hitachi32{0x50, 0xAF, 0x17, 0xE8};
        const std::vector<uint8_t> hitachi48{0x01, 0x10, 0x40, 0xBF, 0x02, 0xFD};
        QTest::newRow("HITACHI 32") << "HITACHI" << HitachiPress(hitachi32, 0) << BytesMsbFirst(hitachi32);
        QTest::newRow("HITACHI 48") << "HITACHI" << HitachiPress(hitachi48, 2) << BytesMsbFirst(hitachi48);
        const auto sirc = [](uint8_t command, uint32_t address, int addressBits) {
            std::vector<bool> bits = BitsLsbFirst(command, 7);
            const std::vector<bool> more = BitsLsbFirst(address, addressBits);
            bits.insert(bits.end(), more.begin(), more.end());
            return bits;
        };
        QTest::newRow("SIRC 12") << "Sony SIRC" << SircPress(12, 0x15, 0x01, 0, 0) << sirc(0x15, 0x01, 5);
        QTest::newRow("SIRC 15") << "Sony SIRC" << SircPress(15, 0x12, 0xA4, 0, 0) << sirc(0x12, 0xA4, 8);
        QTest::newRow("SIRC 20") << "Sony SIRC" << SircPress(20, 0x1A, 0x1A, 0xE2, 1)
                                 << sirc(0x1A, 0x1A | (0xE2u << 5), 13);
    }

    void decodedBitsAreTheSentBits()
    {
        QFETCH(QString, protocol);
        QFETCH(std::vector<int>, nominal);
        QFETCH(std::vector<bool>, sent);
        const ProtocolDescriptor& descriptor = ProtocolTable[RowNamed(protocol)];
        const bool quendar = protocol == QLatin1String("Quendar-A");
        for (int jitterPermille : {0, 100, 200}) {
            for (uint32_t seed = 1; seed <= 8; ++seed) {
                const PulseTrain train = Jittered(nominal, seed, jitterPermille);
                uint8_t buffer[kHitachiBufferBytes];
                const int read = DecodeFrame(buffer, descriptor, train, sizeof buffer);
                // Quendar-A counts the separator as a 41st slot.
                QCOMPARE(read, int(sent.size()) + (quendar ? 1 : 0));
                QCOMPARE(ReceivedBits(buffer, int(sent.size())), sent);
            }
        }
    }

    // RC-5 is biphase; its layout reads the toggle, address and command. A
    // single press ends on its last burst, so a last bit 0 has no pulse for
    // its second half.
    void rc5FieldsAreTheSentFields_data()
    {
        QTest::addColumn<int>("toggle");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("command");
        QTest::newRow("all zero") << 0 << 0x00 << 0x00;
        QTest::newRow("all one") << 1 << 0x1F << 0x3F;
        QTest::newRow("alternating") << 0 << 0x15 << 0x2A;
        QTest::newRow("alternating the other way") << 1 << 0x0A << 0x15;
        QTest::newRow("tv power") << 1 << 0x00 << 0x0C;
        QTest::newRow("last bit 0 after a 1") << 0 << 0x03 << 0x02;
    }

    void rc5FieldsAreTheSentFields()
    {
        QFETCH(int, toggle);
        QFETCH(int, address);
        QFETCH(int, command);
        const std::vector<int> nominal = usbsim::Rc5Press(toggle, uint8_t(address), uint8_t(command), 0);
        const QString expected = QString::asprintf("Code: Philips RC-5 Address:%02X Command:%02X", address, command);
        const int row = RowNamed(QStringLiteral("Philips RC-5"));
        for (int jitterPermille : {0, 100, 200}) {
            for (uint32_t seed = 1; seed <= 8; ++seed) {
                const PulseTrain train = Jittered(nominal, seed, jitterPermille);
                QCOMPARE(IdentifyProtocol(train), row);
                const ChannelAnnotation annotation = AnnotateChannel(train, row);
                QCOMPARE(annotation.codeLine, expected);
                const auto toggleBox = std::find_if(annotation.boxes.begin(), annotation.boxes.end(),
                                                    [](const LabelBox& box) { return box.row == kByteRow; });
                QVERIFY(toggleBox != annotation.boxes.end());
                QCOMPARE(toggleBox->text, QStringLiteral("0x0%1").arg(toggle));
                QString bitTexts;
                for (const LabelBox& box : annotation.boxes)
                    if (box.row == kBitRow)
                        bitTexts += box.text;
                QCOMPARE(bitTexts, QString::number((toggle << 11) | (address << 6) | command, 2).rightJustified(12, u'0'));
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestSampleRemotes)
#include "tst_sampleremotes.moc"
