#include "sim/model/CaptureCodec.h"
#include "sim/remotes/CaptureFile.h"
#include "sim/remotes/IrProtocols.h"
#include "sim/remotes/SampleRemotes.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <fstream>

using Train = std::vector<int>;

namespace {

// Pulse-distance bits: `count` mark/space pairs from pulse `from`, a space
// nearer `one` than `zero` being a 1.
std::vector<bool> DistanceBits(const Train& t, size_t from, size_t count, int zero, int one)
{
    std::vector<bool> bits;
    for (size_t i = 0; i < count && from + 2 * i + 1 < t.size(); ++i) {
        const int space = t[from + 2 * i + 1];
        bits.push_back(std::abs(space - one) < std::abs(space - zero));
    }
    return bits;
}

std::vector<int> BytesLsbFirst(const std::vector<bool>& bits)
{
    std::vector<int> bytes(bits.size() / 8, 0);
    for (size_t i = 0; i < bytes.size() * 8; ++i)
        bytes[i / 8] |= bits[i] << (i % 8);
    return bytes;
}

std::vector<int> BytesMsbFirst(const std::vector<bool>& bits)
{
    std::vector<int> bytes(bits.size() / 8, 0);
    for (size_t i = 0; i < bytes.size() * 8; ++i)
        bytes[i / 8] |= bits[i] << (7 - i % 8);
    return bytes;
}

int64_t Sum(const Train& t, size_t from, size_t to)
{
    int64_t sum = 0;
    for (size_t i = from; i < to; ++i)
        sum += t[i];
    return sum;
}

Train Press(const std::string& remote, const std::string& key, int hold = 0, int toggle = 0)
{
    usbsim::PressSettings settings;
    settings.jitterPermille = 0;
    settings.hold = hold;
    settings.toggle = toggle;
    return usbsim::PressSampleKey(remote, key, settings).value_or(Train{});
}

void AppendLe32(std::string& data, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        data.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string Record(uint32_t channel, int32_t level, const std::vector<int32_t>& durations)
{
    std::string data;
    AppendLe32(data, channel);
    AppendLe32(data, static_cast<uint32_t>(level));
    for (int i = 0; i < 2047; ++i)
        AppendLe32(data, i < int(durations.size()) ? static_cast<uint32_t>(durations[size_t(i)]) : 0);
    return data;
}

} // namespace

class TestSimSignals : public QObject {
    Q_OBJECT

private slots:
    void necFrameCarriesInverseBytes();
    void necHeldKeySendsDittoFrames();
    void necX2SendsExtendedAddressTwice();
    void haierFrame();
    void quendarSeparatorAfter24Bits();
    void hitachiFrameLengths_data();
    void hitachiFrameLengths();
    void sircFrames_data();
    void sircFrames();
    void rc5Toggle_data();
    void rc5Toggle();
    void jitterIsSmallRoundedAndReproducible();
    void everyKeyMakesAValidCapture_data();
    void everyKeyMakesAValidCapture();
    void captureFileReading();
};

void TestSimSignals::necFrameCarriesInverseBytes()
{
    const Train t = usbsim::NecPress(0x04, 0x08, 0);
    QCOMPARE(int(t.size()), 2 + 64 + 1);
    QCOMPARE(t[0], 9000);
    QCOMPARE(t[1], 4500);
    for (size_t i = 2; i < t.size(); i += 2)
        QCOMPARE(t[i], 560);
    const auto bytes = BytesLsbFirst(DistanceBits(t, 2, 32, 560, 1690));
    QCOMPARE(bytes, (std::vector<int>{0x04, 0xFB, 0x08, 0xF7}));
    for (size_t i = 3; i < 66; i += 2)
        QVERIFY(t[i] == 560 || t[i] == 1690);
}

void TestSimSignals::necHeldKeySendsDittoFrames()
{
    const Train t = usbsim::NecPress(0x04, 0x02, 2);
    QCOMPARE(int(t.size()), 67 + 2 * 4);
    for (size_t start : {size_t(68), size_t(72)}) {
        QCOMPARE(t[start], 9000);
        QCOMPARE(t[start + 1], 2250);
        QCOMPARE(t[start + 2], 560);
    }
    // Frames start every 108 ms.
    QCOMPARE(Sum(t, 0, 68), int64_t(108000));
    QCOMPARE(Sum(t, 68, 72), int64_t(108000));
}

void TestSimSignals::necX2SendsExtendedAddressTwice()
{
    const Train t = usbsim::NecX2Press(0xBD02, 0x45, 0);
    QCOMPARE(int(t.size()), 2 * 67 + 1);
    QCOMPARE(t[0], 9024);
    QCOMPARE(t[1], 4512);
    QCOMPARE(t[2], 564);
    const auto bytes = BytesLsbFirst(DistanceBits(t, 2, 32, 565, 1692));
    QCOMPARE(bytes, (std::vector<int>{0x02, 0xBD, 0x45, 0xBA}));
    QVERIFY(bytes[1] != (~bytes[0] & 0xFF));
    QCOMPARE(Sum(t, 0, 68), int64_t(108000));
    QCOMPARE(t[68], 9024);
    QCOMPARE(BytesLsbFirst(DistanceBits(t, 70, 32, 565, 1692)), bytes);
}

void TestSimSignals::haierFrame()
{
    const Train t = Press("haier-ac", "power");
    QCOMPARE(int(t.size()), 4 + 176 + 1);
    QCOMPARE((Train{t[0], t[1], t[2], t[3]}), (Train{3040, 3040, 3020, 4400}));
    const auto bytes = BytesMsbFirst(DistanceBits(t, 4, 88, 560, 1660));
    QCOMPARE(bytes[0], 0xA5);
    int sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += bytes[size_t(i)];
    QCOMPARE(bytes[10], sum & 0xFF);
    QCOMPARE(t.back(), 560);
}

void TestSimSignals::quendarSeparatorAfter24Bits()
{
    const Train t = Press("quendar", "power");
    QCOMPARE(int(t.size()), 2 + 48 + 2 + 32 + 1);
    QCOMPARE(t[0], 3640);
    QCOMPARE(t[1], 1728);
    QCOMPARE(t[50], 3640);
    QCOMPARE(t[51], 1728);
    std::vector<bool> bits = DistanceBits(t, 2, 24, 466, 1030);
    const std::vector<bool> rest = DistanceBits(t, 52, 16, 466, 1030);
    bits.insert(bits.end(), rest.begin(), rest.end());
    QCOMPARE(BytesMsbFirst(bits), (std::vector<int>{0x51, 0x44, 0x01, 0x0C, 0xF3}));
    QCOMPARE(t.back(), 620);
}

void TestSimSignals::hitachiFrameLengths_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("bits");
    QTest::newRow("power") << "power" << 32;
    QTest::newRow("digit") << "1" << 48;
}

void TestSimSignals::hitachiFrameLengths()
{
    QFETCH(QString, key);
    QFETCH(int, bits);
    const Train t = Press("hitachi-tv", key.toStdString());
    QCOMPARE(int(t.size()), 2 + 2 * bits + 1);
    QCOMPARE(t[0], 3400);
    QCOMPARE(t[1], 1700);
    for (size_t i = 2; i < t.size(); i += 2)
        QCOMPARE(t[i], 450);
}

void TestSimSignals::sircFrames_data()
{
    QTest::addColumn<QString>("remote");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("hold");
    QTest::newRow("12-bit") << "sony-tv" << 12 << 0;
    QTest::newRow("15-bit") << "sony-av" << 15 << 0;
    QTest::newRow("20-bit") << "sony-bd" << 20 << 0;
    QTest::newRow("12-bit held") << "sony-tv" << 12 << 2;
}

void TestSimSignals::sircFrames()
{
    QFETCH(QString, remote);
    QFETCH(int, bits);
    QFETCH(int, hold);
    const Train t = Press(remote.toStdString(), "power", hold);
    const size_t frameLength = 2 + 2 * size_t(bits);
    const int frames = 3 + hold;
    QCOMPARE(t.size(), frames * frameLength - 1); // no trailing space
    for (int f = 0; f < frames; ++f) {
        const size_t start = size_t(f) * frameLength;
        QCOMPARE(t[start], 2400);
        QCOMPARE(t[start + 1], 600);
        int command = 0;
        for (int b = 0; b < bits; ++b) {
            const int mark = t[start + 2 + 2 * size_t(b)];
            QVERIFY(mark == 600 || mark == 1200);
            if (b < 7)
                command |= (mark == 1200) << b;
        }
        QCOMPARE(command, 0x15);
        if (f + 1 < frames)
            QCOMPARE(Sum(t, start, start + frameLength), int64_t(45000));
    }
    QCOMPARE(t.back() == 600 || t.back() == 1200, true);
}

void TestSimSignals::rc5Toggle_data()
{
    QTest::addColumn<int>("toggle");
    QTest::addColumn<int>("leadLast");
    QTest::newRow("toggle 0 merges with the second start bit") << 0 << 1778;
    QTest::newRow("toggle 1") << 1 << 889;
}

void TestSimSignals::rc5Toggle()
{
    QFETCH(int, toggle);
    QFETCH(int, leadLast);
    const Train t = usbsim::Rc5Press(toggle, 0x00, 16, 0);
    QCOMPARE(t[0], 889);
    QCOMPARE(t[1], 889);
    QCOMPARE(t[2], leadLast);
    // Back to half-bits: the idle half of the first start bit, then the pulses.
    std::vector<int> halves{0};
    int level = 1;
    for (int pulse : t) {
        QVERIFY(pulse == 889 || pulse == 1778);
        halves.insert(halves.end(), size_t(pulse / 889), level);
        level ^= 1;
    }
    QVERIFY(halves.size() <= 28);
    halves.resize(28, 0);
    int word = 0;
    for (size_t i = 0; i < 28; i += 2) {
        QVERIFY(halves[i] != halves[i + 1]);
        word = word << 1 | halves[i + 1];
    }
    QCOMPARE(word >> 12, 0b11);
    QCOMPARE((word >> 11) & 1, toggle);
    QCOMPARE((word >> 6) & 0x1F, 0);
    QCOMPARE(word & 0x3F, 16);
}

void TestSimSignals::jitterIsSmallRoundedAndReproducible()
{
    usbsim::PressSettings settings;
    settings.seed = 7;
    const Train a = *usbsim::PressSampleKey("nec-tv", "1", settings);
    const Train b = *usbsim::PressSampleKey("nec-tv", "1", settings);
    settings.seed = 8;
    const Train c = *usbsim::PressSampleKey("nec-tv", "1", settings);
    const Train nominal = Press("nec-tv", "1");
    QCOMPARE(a, b);
    QVERIFY(a != c);
    QCOMPARE(a.size(), nominal.size());
    bool varied = false;
    for (size_t i = 0; i < a.size(); ++i) {
        QCOMPARE(a[i] % 2, 0);
        QVERIFY(std::abs(a[i] - nominal[i]) <= nominal[i] * 3 / 100 + 2);
        varied |= a[i] != nominal[i];
    }
    QVERIFY(varied);
}

void TestSimSignals::everyKeyMakesAValidCapture_data()
{
    QTest::addColumn<QString>("remote");
    QTest::addColumn<QString>("key");
    for (const usbsim::SampleRemote& remote : usbsim::SampleRemotes())
        for (const std::string& key : remote.keys)
            QTest::newRow((remote.name + " " + key).c_str())
                << QString::fromStdString(remote.name) << QString::fromStdString(key);
}

void TestSimSignals::everyKeyMakesAValidCapture()
{
    QFETCH(QString, remote);
    QFETCH(QString, key);
    usbsim::PressSettings settings;
    settings.hold = 3;
    const auto train = usbsim::PressSampleKey(remote.toStdString(), key.toStdString(), settings);
    QVERIFY(train);
    QCOMPARE(train->size() % 2, size_t(1)); // starts and ends with a mark
    QVERIFY(train->size() <= 2047);
    for (int pulse : *train)
        QVERIFY(pulse >= 2 && pulse <= 131070 && pulse % 2 == 0);
    const auto bytes = usbsim::EncodeCapture(1, *train);
    QCOMPARE(bytes.size(), 2 * (train->size() + 2));
    QCOMPARE(bytes[0], uint8_t(1));
}

void TestSimSignals::captureFileReading()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("capture.lgc").toStdString();
    {
        std::ofstream file(path, std::ios::binary);
        const std::string records = Record(1, 1, {900, 450}) + Record(7, 1, {100}) +
                                    Record(1, 0, {1000, -4, 0, 77}) + Record(0xFFFFFFFFu, 1, {5}) +
                                    Record(3, 1, {}) + std::string(100, '\x01');
        file.write(records.data(), std::streamsize(records.size()));
    }
    const auto channels = usbsim::ReadCaptureFile(path);
    QVERIFY(channels);
    QCOMPARE(int(channels->size()), 2);
    QCOMPARE((*channels)[0].channel, 1u);
    QCOMPARE((*channels)[0].startLevel, 0);
    QCOMPARE((*channels)[0].durationsUs, (std::vector<int>{1000, -4}));
    QCOMPARE((*channels)[1].channel, 3u);
    QVERIFY((*channels)[1].durationsUs.empty());
    // A nonsense duration still encodes to a legal word.
    QCOMPARE(int(usbsim::EncodeCapture(0, (*channels)[0].durationsUs)[4]), 1);

    QVERIFY(!usbsim::ReadCaptureFile(dir.filePath("missing.lgc").toStdString()));
}

QTEST_GUILESS_MAIN(TestSimSignals)
#include "tst_simsignals.moc"
