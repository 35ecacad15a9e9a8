// Codes met in practice: a key captured through the simulated device goes
// out to other tools' formats and comes back recognised and matching a fresh
// capture of the same key; Flipper parsed codes come in as the analyzer
// recognises the simulated remotes' presses of the same keys.

#include "analyzer/core/Acquisition.h"
#include "analyzer/decode/Annotation.h"
#include "analyzer/decode/ProtocolIdentify.h"
#include "analyzer/interop/CodeFiles.h"
#include "device/USBDevice.h"
#include "sim/SimControl.h"
#include "sim/remotes/SampleRemotes.h"
#include "tests/interop/support/InteropTestSupport.h"

#include <QtTest>

Q_DECLARE_METATYPE(CodeFormat)

namespace {

std::vector<int> Press(const std::string& remote, const std::string& key, uint32_t seed, int hold = 0)
{
    usbsim::PressSettings settings;
    settings.seed = seed;
    settings.hold = hold;
    return *usbsim::PressSampleKey(remote, key, settings);
}

// The code test's rule: every duration of the stored code within the margin
// of the capture's, the capture's durations past the code's end not compared.
bool MatchesWithin(const PulseTrain& stored, const PulseTrain& capture, int marginPercent)
{
    if (stored[0] != capture[0])
        return false;
    for (int j = 1; j <= PulseTrain::kMaxPulses && stored[j] != 0; ++j)
        if (std::abs(int64_t(stored[j]) - capture[j]) > int64_t(stored[j]) * marginPercent / 100)
            return false;
    return true;
}

QString CodeLineOf(const PulseTrain& train)
{
    return AnnotateChannel(train, IdentifyProtocol(train)).codeLine;
}

} // namespace

class TestCapturedCodes : public QObject {
    Q_OBJECT

    std::unique_ptr<CEPDevice> device;

    // The train the analyzer stores for a key pressed on the simulated device.
    PulseTrain Capture(const std::vector<int>& durations)
    {
        usbsim::QueueCapture(1, durations);
        CaptureState state;
        state.capturing = true;
        if (PollCapture(state, AnalyzerSettings(), *device, nullptr) != PollOutcome::Stored)
            qFatal("the simulated device delivered no capture");
        return state.channels[0];
    }

private slots:
    void init()
    {
        usbsim::Reset();
        device = std::make_unique<CEPDevice>();
        QVERIFY(device->FindDevice());
        device->identified = device->Identify();
        QVERIFY(device->identified);
    }
    void cleanup() { device.reset(); }

    void capturedKeyRoundTrip_data()
    {
        QTest::addColumn<CodeFormat>("format");
        for (CodeFormat format : kAllCodeFormats)
            QTest::newRow(qPrintable(CodeFormatName(format))) << format;
    }
    void capturedKeyRoundTrip()
    {
        QFETCH(CodeFormat, format);
        const PulseTrain captured = Capture(Press("nec-tv", "power", 7));
        QCOMPARE(IdentifyProtocol(captured), 0);
        const QString codeLine = CodeLineOf(captured);
        QVERIFY(codeLine.contains(QStringLiteral("NEC")));

        const ReadResult read = ReadText(WriteText(format, {{QStringLiteral("TV power"), captured}}), format);
        QVERIFY2(!read.error, qPrintable(read.error ? read.error->text : QString()));
        const PulseTrain& imported = read.codes[0].train;
        QCOMPARE(imported.PulseCount(), captured.PulseCount());
        QCOMPARE(IdentifyProtocol(imported), 0);
        QCOMPARE(CodeLineOf(imported), codeLine);

        // The code test recognises a fresh press of the key, also a held one.
        QVERIFY(MatchesWithin(imported, Capture(Press("nec-tv", "power", 99)), 20));
        QVERIFY(MatchesWithin(imported, Capture(Press("nec-tv", "power", 5, 2)), 20));
        QVERIFY(!MatchesWithin(imported, Capture(Press("nec-tv", "mute", 99)), 20));
    }

    void parsedFlipperCodesMatchTheRemotes_data()
    {
        QTest::addColumn<QString>("protocol");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("remote");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("periodUs"); // frame start to the next frame's start
        QTest::newRow("NEC") << "NEC" << "04 00 00 00" << "08 00 00 00" << "nec-tv" << "power" << 108000;
        QTest::newRow("NECext") << "NECext" << "02 BD 00 00" << "45 BA 00 00" << "nec-x2-box" << "power" << 108000;
        QTest::newRow("SIRC") << "SIRC" << "01 00 00 00" << "15 00 00 00" << "sony-tv" << "power" << 45000;
        QTest::newRow("SIRC15") << "SIRC15" << "A4 00 00 00" << "15 00 00 00" << "sony-av" << "power" << 45000;
        // 13 address bits: 5 device bits (0x1A), then 8 extended (0xE2).
        QTest::newRow("SIRC20") << "SIRC20" << "5A 1C 00 00" << "15 00 00 00" << "sony-bd" << "power" << 45000;
        // The first half-bit is silence, dropped: the code starts with the first burst.
        QTest::newRow("RC5") << "RC5" << "00 00 00 00" << "0C 00 00 00" << "philips-tv" << "power" << 113792 - 889;
    }
    void parsedFlipperCodesMatchTheRemotes()
    {
        QFETCH(QString, protocol);
        QFETCH(QString, address);
        QFETCH(QString, command);
        QFETCH(QString, remote);
        QFETCH(QString, key);
        QFETCH(int, periodUs);
        const QByteArray text = QStringLiteral("Filetype: IR signals file\nVersion: 1\n#\nname: %1\ntype: parsed\n"
                                               "protocol: %2\naddress: %3\ncommand: %4\n")
                                    .arg(key, protocol, address, command)
                                    .toUtf8();
        const ReadResult read = ReadText(text);
        QVERIFY2(!read.error, qPrintable(read.error ? read.error->text : QString()));
        const PulseTrain& parsed = read.codes[0].train;
        QCOMPARE(parsed.TotalDurationUs(), int64_t(periodUs));
        QVERIFY(!parsed.IsHigh(parsed.PulseCount())); // ends with the idle time

        // Held, so the first frame is followed by its gap as the parsed code is.
        const PulseTrain pressed = Capture(Press(remote.toStdString(), key.toStdString(), 3, 1));
        const int row = IdentifyProtocol(pressed);
        QVERIFY(row >= 0);
        QCOMPARE(IdentifyProtocol(parsed), row);
        QCOMPARE(CodeLineOf(parsed), CodeLineOf(pressed));
        QVERIFY(!CodeLineOf(parsed).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCapturedCodes)
#include "tst_capturedcodes.moc"
