// The wire protocol, byte for byte, through the simulated device.
#include "device/USBDevice.h"
#include "sim/SimControl.h"

#include <QtTest>

#include <atomic>
#include <numeric>
#include <thread>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Frame(uint8_t sequence, const Bytes& payload)
{
    Bytes frame = {0x1B, sequence, uint8_t(payload.size()), 0x00, 0x0E};
    frame.insert(frame.end(), payload.begin(), payload.end());
    frame.push_back(std::accumulate(frame.begin(), frame.end(), uint8_t(0), [](uint8_t a, uint8_t b) { return uint8_t(a ^ b); }));
    return frame;
}

} // namespace

class TestUsbDevice : public QObject {
    Q_OBJECT

    std::unique_ptr<CEPDevice> device;

    void OpenFresh()
    {
        usbsim::Reset();
        CEPDevice::SetFrameSequence(0);
        device = std::make_unique<CEPDevice>();
        QVERIFY(device->FindDevice());
        usbsim::ClearLogs();
    }

private slots:
    void init() { OpenFresh(); }
    // Whatever a test did: every handle closed, every claim released, every
    // bulk transfer made with interface 0 claimed, every control request
    // with the 64-byte buffer and the 1000 ms timeout.
    void cleanup()
    {
        device.reset();
        QCOMPARE(usbsim::OpenHandles(), 0);
        QCOMPARE(usbsim::ClaimedInterfaces(), 0);
        QCOMPARE(usbsim::UnclaimedTransfers(), 0);
        for (const usbsim::ControlRequest& request : usbsim::ControlRequests()) {
            QCOMPARE(request.length, CEPDevice::kReplySize);
            QCOMPARE(request.timeoutMs, CEPDevice::kTimeoutMs);
        }
    }

    void framesCarryConsecutiveSequenceNumbersAndWrap()
    {
        QVERIFY(device->SetTrigger(0, 0, 0));
        QVERIFY(device->SetTrigger(0, 0, 0));
        CEPDevice::SetFrameSequence(254);
        QVERIFY(device->SetTrigger(0, 0, 0));
        QVERIFY(device->SetTrigger(0, 0, 0));
        const auto frames = usbsim::Frames();
        QCOMPARE(int(frames.size()), 4);
        QCOMPARE(int(frames[0].sequence), 1);
        QCOMPARE(int(frames[1].sequence), 2);
        QCOMPARE(int(frames[2].sequence), 255);
        QCOMPARE(int(frames[3].sequence), 0);
        for (const auto& frame : frames)
            QVERIFY(frame.checksumOk);
        QCOMPARE(int(usbsim::UnclaimedTransfers()), 0);
    }

    void enterBootloaderIsTheEightByteFrame()
    {
        CEPDevice::SetFrameSequence(0x41);
        QVERIFY(device->EnterBootloader());
        const auto writes = usbsim::BulkWrites();
        QCOMPARE(int(writes.size()), 1);
        const Bytes expected = {0x1B, 0x42, 0x02, 0x00, 0x0E, 0x10, 0x55, uint8_t(0x1B ^ 0x42 ^ 0x02 ^ 0x0E ^ 0x10 ^ 0x55)};
        QCOMPARE(writes[0], expected);
    }

    void setTriggerPayload()
    {
        QVERIFY(device->SetTrigger(3, 300, 600));
        QCOMPARE(usbsim::BulkWrites().at(0), Frame(1, {0x01, 0xBB, 0x03, 0x2C, 0x01, 0x58, 0x02}));
        const auto trigger = usbsim::LastTrigger();
        QVERIFY(trigger.received);
        QCOMPARE(trigger.type, 3);
        QCOMPARE(trigger.minUnits, 300);
        QCOMPARE(trigger.maxUnits, 600);
    }

    void writeFirmwareChunks_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<QList<int>>("dataWrites");
        QTest::newRow("empty") << 0 << QList<int>{};
        QTest::newRow("one chunk") << 1024 << QList<int>{1024};
        QTest::newRow("chunk and remainder") << 1025 << QList<int>{1024, 1};
        QTest::newRow("three and a half") << 3584 << QList<int>{1024, 1024, 1024, 512};
    }
    void writeFirmwareChunks()
    {
        QFETCH(int, length);
        QFETCH(QList<int>, dataWrites);
        Bytes image(static_cast<size_t>(length));
        for (size_t i = 0; i < image.size(); ++i)
            image[i] = uint8_t(i * 7 + 3);
        QVERIFY(device->WriteFirmware(image.data(), image.size()));

        const auto writes = usbsim::BulkWrites();
        QCOMPARE(int(writes.size()), dataWrites.size() + 2);
        const uint32_t n = uint32_t(length);
        QCOMPARE(writes.front(), Frame(1, {0x02, 0xAA, 0, 0, 0, 0, uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}));
        Bytes sent;
        for (int i = 0; i < dataWrites.size(); ++i) {
            QCOMPARE(int(writes[size_t(i) + 1].size()), dataWrites[i]);
            sent.insert(sent.end(), writes[size_t(i) + 1].begin(), writes[size_t(i) + 1].end());
        }
        QCOMPARE(sent, image);
        QCOMPARE(writes.back(), Frame(2, {0x04, 0xAA}));
    }

    void writeFirmwareFailsOnShortChunk()
    {
        Bytes image(2048, 0xAB);
        usbsim::InjectFault(usbsim::Fault::ShortBulk, -1);
        QVERIFY(!device->WriteFirmware(image.data(), image.size()));
    }

    void statusReplies_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<bool>("queued");
        QTest::addColumn<bool>("waiting");
        QTest::newRow("good") << int(usbsim::Fault::None) << true << true;
        // 58 00 00 00: the marker is there, but nothing is waiting.
        QTest::newRow("nothing waiting") << int(usbsim::Fault::None) << false << false;
        QTest::newRow("three bytes") << int(usbsim::Fault::ShortReply) << true << false;
        QTest::newRow("wrong marker") << int(usbsim::Fault::WrongStatusMarker) << true << false;
        QTest::newRow("empty") << int(usbsim::Fault::EmptyReply) << true << false;
        QTest::newRow("oversized") << int(usbsim::Fault::OversizedReply) << true << false;
        QTest::newRow("timeout") << int(usbsim::Fault::Timeout) << true << false;
    }
    void statusReplies()
    {
        QFETCH(int, fault);
        QFETCH(bool, queued);
        QFETCH(bool, waiting);
        if (queued)
            usbsim::QueueCapture(1, {9000, 4500, 560});
        if (fault != int(usbsim::Fault::None))
            usbsim::InjectFault(usbsim::Fault(fault), 1);
        int count = -7;
        const int result = device->ReadStatus(count);
        QCOMPARE(result != 0, waiting);
        QCOMPARE(count, waiting ? 10 : -7); // three pulses, the start word and the terminator
    }

    void identifyReadsTheFourTexts()
    {
        usbsim::Identity identity;
        identity.name = "IR Logic Analyzer";
        identity.version = "1.0.2.0";
        identity.serial = 0x01020304;
        identity.type = "Q4IR";
        usbsim::SetIdentity(identity);
        QVERIFY(device->Identify());
        const DeviceIdentity read = device->Identity();
        QCOMPARE(read.deviceName, QStringLiteral("IR Logic Analyzer"));
        QCOMPARE(read.deviceVersion, QStringLiteral("1.0.2.0"));
        QCOMPARE(read.deviceSerial, QStringLiteral("0016909060"));
        QCOMPARE(read.deviceType, QStringLiteral("Q4IR"));
    }

    void failedIdentifyKeepsTheTexts_data()
    {
        QTest::addColumn<int>("fault");
        QTest::newRow("three-byte serial and type") << int(usbsim::Fault::ShortReply);
        QTest::newRow("empty replies") << int(usbsim::Fault::EmptyReply);
        QTest::newRow("oversized replies") << int(usbsim::Fault::OversizedReply);
        QTest::newRow("timeouts") << int(usbsim::Fault::Timeout);
    }
    void failedIdentifyKeepsTheTexts()
    {
        QFETCH(int, fault);
        QVERIFY(device->Identify());
        const DeviceIdentity before = device->Identity();
        usbsim::Identity other;
        other.name = "Other";
        other.version = "9.9.9.9";
        other.serial = 1;
        other.type = "ABCD";
        usbsim::SetIdentity(other);
        usbsim::InjectFault(usbsim::Fault(fault), 4);
        QVERIFY(!device->Identify());
        const DeviceIdentity after = device->Identity();
        QCOMPARE(after.deviceName, before.deviceName);
        QCOMPARE(after.deviceVersion, before.deviceVersion);
        QCOMPARE(after.deviceSerial, before.deviceSerial);
        QCOMPARE(after.deviceType, before.deviceType);
    }

    // A failed read does not cut the identification short: the device sees
    // all four requests, in order, whichever of them fails.
    void identifyIssuesAllFourReads_data()
    {
        QTest::addColumn<int>("failing");
        for (int read = 0; read < 4; ++read)
            QTest::newRow(qPrintable(QStringLiteral("read %1 times out").arg(read + 1))) << read;
    }
    void identifyIssuesAllFourReads()
    {
        QFETCH(int, failing);
        usbsim::InjectFault(usbsim::Fault::Timeout, 1, failing);
        QVERIFY(!device->Identify());
        std::vector<int> requests;
        for (const usbsim::ControlRequest& request : usbsim::ControlRequests())
            requests.push_back(request.request);
        QCOMPARE(requests, (std::vector<int>{'T', 'V', 'S', 'E'}));
    }

    void garbageIdentityStaysInsideTheReply()
    {
        usbsim::Identity identity;
        identity.name = std::string(64, '\xE9'); // no terminating zero, not ASCII
        identity.version = std::string("1.0\0junk", 8);
        identity.type = std::string("\x01\xFFIR", 4);
        usbsim::SetIdentity(identity);
        QVERIFY(device->Identify());
        const DeviceIdentity read = device->Identity();
        QVERIFY(read.deviceName.size() <= 64);
        QVERIFY(!read.deviceName.isEmpty());
        QCOMPARE(read.deviceVersion, QStringLiteral("1.0"));
        QCOMPARE(read.deviceType.size(), 4);
        QVERIFY(read.deviceType.endsWith(QStringLiteral("IR")));
    }

    void oversizedReplyCopiesNothing()
    {
        uint8_t buffer[CEPDevice::kReplySize + 16];
        std::fill(std::begin(buffer), std::end(buffer), 0xCC);
        usbsim::InjectFault(usbsim::Fault::OversizedReply, 1);
        const int result = device->ReadName(buffer);
        QVERIFY(result > CEPDevice::kReplySize);
        for (uint8_t byte : buffer)
            QCOMPARE(int(byte), 0xCC);
    }

    void unopenableDeviceIsRetried()
    {
        device.reset();
        device = std::make_unique<CEPDevice>();
        usbsim::InjectFault(usbsim::Fault::OpenFails, 1);
        QVERIFY(!device->FindDevice());
        QVERIFY(!device->IsOpen());
        QVERIFY(device->FindDevice());
        QVERIFY(device->IsOpen());
    }

    void unplugClosesTheHandle()
    {
        device->identified = device->Identify();
        QVERIFY(device->identified);
        usbsim::Unplug();
        QVERIFY(!device->FindDevice());
        QVERIFY(!device->identified);
        QVERIFY(!device->IsOpen());
        QCOMPARE(usbsim::OpenHandles(), 0);
        usbsim::Plug();
        QVERIFY(device->FindDevice());
        QCOMPARE(usbsim::OpenHandles(), 1);
    }

    void transferFaultsFailAndLeaveTheHandleUsable_data()
    {
        QTest::addColumn<int>("fault");
        QTest::newRow("claim fails") << int(usbsim::Fault::ClaimFails);
        QTest::newRow("timeout") << int(usbsim::Fault::Timeout);
        QTest::newRow("short bulk") << int(usbsim::Fault::ShortBulk);
        QTest::newRow("unplug mid-transfer") << int(usbsim::Fault::UnplugMidTransfer);
    }
    void transferFaultsFailAndLeaveTheHandleUsable()
    {
        QFETCH(int, fault);
        const uint8_t train[6] = {0x01, 0x00, 0x94, 0x11, 0xCA, 0x08};
        uint8_t buffer[4096] = {};
        usbsim::InjectFault(usbsim::Fault(fault), -1);
        QVERIFY(!device->SendTrain(train, 6));
        QVERIFY(!device->ReadTrain(buffer, 8));
        QCOMPARE(usbsim::ClaimedInterfaces(), 0);
        usbsim::ClearFaults();

        if (fault == int(usbsim::Fault::UnplugMidTransfer)) {
            // The failed transfer said the device is gone: closed at once.
            QVERIFY(!device->IsOpen());
            usbsim::Plug();
            QVERIFY(device->FindDevice());
        }
        usbsim::ClearLogs();
        QVERIFY(device->SendTrain(train, 6));
        QCOMPARE(usbsim::TransmittedTrains().back(), Bytes(train, train + 6));
    }

    // The data phase has a claim of its own. When only that claim fails,
    // nothing moves, so only an empty phase counts as done.
    void dataPhaseClaimFails_data()
    {
        QTest::addColumn<bool>("send");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("failingClaim");
        QTest::addColumn<bool>("result");
        for (bool send : {true, false}) {
            const char* name = send ? "SendTrain" : "ReadTrain";
            QTest::addRow("%s, frame claim fails", name) << send << 6 << 0 << false;
            QTest::addRow("%s, data claim fails", name) << send << 6 << 1 << false;
            QTest::addRow("%s, empty, frame claim fails", name) << send << 0 << 0 << false;
            QTest::addRow("%s, empty, data claim fails", name) << send << 0 << 1 << true;
        }
    }
    void dataPhaseClaimFails()
    {
        QFETCH(bool, send);
        QFETCH(int, length);
        QFETCH(int, failingClaim);
        QFETCH(bool, result);
        uint8_t bytes[8] = {0x01, 0x00, 0x94, 0x11, 0xCA, 0x08};
        usbsim::QueueCapture(1, {9000, 4500});
        usbsim::InjectFault(usbsim::Fault::ClaimFails, 1, failingClaim);
        QCOMPARE(send ? device->SendTrain(bytes, length) : device->ReadTrain(bytes, length), result);
        QCOMPARE(int(usbsim::Frames().size()), failingClaim); // the frame went out unless its claim failed
        QVERIFY(usbsim::TransmittedTrains().empty() || length == 0);
        QCOMPARE(usbsim::PendingCaptures(), 1);
    }

    // The firmware worker and the UI thread share the handle: the worker's
    // chunks must never be split by a frame the UI thread sends meanwhile.
    // Transfers take bus time here, as they do on a real device, so that an
    // unguarded handle would let the UI thread's frames in between.
    void firmwareOnAWorkerWhileTheUiThreadPolls()
    {
        QVERIFY(device->EnterBootloader());
        QVERIFY(device->FindDevice()); // the bootloader is a new enumeration
        QVERIFY(usbsim::InBootloader());
        usbsim::SetTransferTimeUs(100);
        Bytes image(64 * 1024 + 100);
        for (size_t i = 0; i < image.size(); ++i)
            image[i] = uint8_t(i * 13 + i / 256);
        std::atomic<bool> polling{false};
        std::atomic<bool> done{false};
        bool written = false;
        std::thread worker([&] {
            while (!polling)
                std::this_thread::yield();
            written = device->WriteFirmware(image.data(), image.size());
            done = true;
        });
        while (!done) {
            int waiting = 0;
            device->ReadStatus(waiting);
            device->SetTrigger(0, 0, 0);
            polling = true;
        }
        worker.join();
        QVERIFY(written);
        QCOMPARE(usbsim::ReceivedFirmware(), image);
    }

    // One counter for the process: frames of two connections never repeat a number.
    void twoDevicesShareTheSequence()
    {
        CEPDevice other;
        QVERIFY(other.FindDevice());
        QVERIFY(device->SetTrigger(0, 0, 0));
        QVERIFY(other.SetTrigger(0, 0, 0));
        QVERIFY(device->SetTrigger(0, 0, 0));
        std::vector<int> sequences;
        for (const auto& frame : usbsim::Frames())
            sequences.push_back(frame.sequence);
        QCOMPARE(sequences, (std::vector<int>{1, 2, 3}));
        QCOMPARE(int(CEPDevice::FrameSequence()), 3);
    }

    // A device that leaves and comes back between two scans is a new
    // device: the old handle is dead, so discovery opens the new one and the
    // identification starts again.
    void fastReplugOpensTheNewDevice()
    {
        device->identified = device->Identify();
        QVERIFY(device->identified);
        const int opens = usbsim::OpenCount();
        usbsim::Replug();
        QVERIFY(device->FindDevice());
        QVERIFY(!device->identified);
        QCOMPARE(usbsim::OpenCount(), opens + 1);
        QCOMPARE(usbsim::OpenHandles(), 1);
        int waiting = 0;
        QCOMPARE(device->ReadStatus(waiting), 0);
        QCOMPARE(usbsim::OpenCount(), opens + 1); // the new handle works
        QVERIFY(device->FindDevice());
        QCOMPARE(usbsim::OpenCount(), opens + 1); // and is kept while its device stays
    }

    // A request failing with -ENODEV is a removal: the handle is closed and
    // the buses scanned again at once, opening the device that came back.
    void requestOnAVanishedDeviceRescansAtOnce_data()
    {
        QTest::addColumn<bool>("comesBack");
        QTest::addColumn<int>("call");
        const char* calls[] = {"status", "identify", "send train", "firmware"};
        for (int call = 0; call < 4; ++call) {
            QTest::addRow("%s, replugged", calls[call]) << true << call;
            QTest::addRow("%s, unplugged", calls[call]) << false << call;
        }
    }
    void requestOnAVanishedDeviceRescansAtOnce()
    {
        QFETCH(bool, comesBack);
        QFETCH(int, call);
        device->identified = device->Identify();
        const int opens = usbsim::OpenCount();
        comesBack ? usbsim::Replug() : usbsim::Unplug();
        uint8_t bytes[6] = {0x01, 0x00, 0x94, 0x11, 0xCA, 0x08};
        int waiting = 0;
        switch (call) {
        case 0: QCOMPARE(device->ReadStatus(waiting), 0); break;
        case 1: QVERIFY(!device->Identify()); break;
        case 2: QVERIFY(!device->SendTrain(bytes, 6)); break;
        default: QVERIFY(!device->WriteFirmware(bytes, 6)); break;
        }
        QVERIFY(!device->identified);
        QCOMPARE(device->IsOpen(), comesBack);
        QCOMPARE(usbsim::OpenCount(), opens + (comesBack ? 1 : 0));
        QCOMPARE(usbsim::OpenHandles(), comesBack ? 1 : 0);
    }

    void sequenceAdvancesWhenTheWriteFails()
    {
        usbsim::InjectFault(usbsim::Fault::ClaimFails, 1);
        QVERIFY(!device->EnterBootloader());
        QCOMPARE(int(CEPDevice::FrameSequence()), 1);
        QVERIFY(device->EnterBootloader());
        QCOMPARE(int(usbsim::Frames().back().sequence), 2);
    }

    void noHandleFailsQuietly()
    {
        device.reset();
        device = std::make_unique<CEPDevice>();
        uint8_t buffer[4096] = {};
        int count = 0;
        QCOMPARE(device->ReadStatus(count), 0);
        QVERIFY(!device->Identify());
        QVERIFY(!device->SendTrain(buffer, 2));
        QVERIFY(!device->ReadTrain(buffer, 2));
        QVERIFY(!device->Signal());
        QVERIFY(!device->WriteFirmware(buffer, 10));
    }

    void signalExpectsZok()
    {
        QVERIFY(device->Signal());
        QCOMPARE(usbsim::SignalCount(), 1);
        usbsim::InjectFault(usbsim::Fault::ShortReply, 1);
        QVERIFY(!device->Signal());
    }

    void listsTheMatchingDevice()
    {
        const QStringList paths = device->ListMatchingDevices();
        QCOMPARE(paths.size(), 1);
        QVERIFY(paths[0].contains(QStringLiteral("#Vid_16c0&Pid_1012#")));
        usbsim::Unplug();
        QVERIFY(device->ListMatchingDevices().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestUsbDevice)
#include "tst_usbdevice.moc"
