// The capture path: status, fetch, capture modes and the conversion into a channel.
#include "analyzer/core/Acquisition.h"
#include "analyzer/core/DeviceMonitor.h"
#include "device/USBDevice.h"
#include "sim/SimControl.h"

#include <QtTest>

namespace {

struct Recorder : CaptureEvents {
    std::vector<std::string> events;
    void CapturingChanged(bool capturing) override { events.push_back(capturing ? "on" : "off"); }
    void CaptureStored(int channel) override { events.push_back("stored " + std::to_string(channel)); }
};

bool SentReadTrain()
{
    for (const auto& frame : usbsim::Frames())
        if (frame.payload.size() >= 2 && frame.payload[0] == 0x03 && frame.payload[1] == 0xBB)
            return true;
    return false;
}

} // namespace

class TestAcquisition : public QObject {
    Q_OBJECT

    std::unique_ptr<CEPDevice> device;
    CaptureState state;
    AnalyzerSettings settings;
    Recorder recorder;

private slots:
    void init()
    {
        usbsim::Reset();
        device = std::make_unique<CEPDevice>();
        QVERIFY(device->FindDevice());
        device->identified = device->Identify();
        QVERIFY(device->identified);
        state = CaptureState();
        state.capturing = true;
        settings = AnalyzerSettings();
        recorder = Recorder();
        usbsim::ClearLogs();
    }
    void cleanup() { device.reset(); }

    void fullCaptureFillsAllDurations()
    {
        std::vector<int> durations(2047);
        for (size_t i = 0; i < durations.size(); ++i)
            durations[i] = 100 + 2 * int(i % 500);
        usbsim::QueueCapture(1, durations);
        state.selectedChannel = 2;
        QCOMPARE(PollCapture(state, settings, *device, &recorder), PollOutcome::Stored);
        const PulseTrain& train = state.channels[2];
        QCOMPARE(train[0], 1);
        QCOMPARE(train.PulseCount(), 2047);
        for (int i = 1; i <= 2047; ++i)
            QCOMPARE(train[i], durations[size_t(i - 1)]);
        QCOMPARE(recorder.events, std::vector<std::string>{"stored 2"});
        QVERIFY(state.channels[0] == PulseTrain());
    }

    void unusableCountsReadNothing_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::newRow("zero") << 0;
        QTest::newRow("over 4096") << 4097;
        QTest::newRow("far over") << 65535;
    }
    void unusableCountsReadNothing()
    {
        QFETCH(int, bytes);
        usbsim::QueueCaptureBytes(std::vector<uint8_t>(size_t(bytes), 0x11));
        QCOMPARE(PollCapture(state, settings, *device, &recorder), PollOutcome::NothingWaiting);
        QVERIFY(!SentReadTrain());
        QVERIFY(recorder.events.empty());
    }

    void shortReplyAfterLongOneEndsAtItsTerminator()
    {
        usbsim::QueueCapture(1, std::vector<int>(100, 700));
        QCOMPARE(PollCapture(state, settings, *device, &recorder), PollOutcome::Stored);
        usbsim::QueueCaptureBytes({0x01, 0x00, 0x64, 0x00, 0x00, 0x00});
        QCOMPARE(PollCapture(state, settings, *device, &recorder), PollOutcome::Stored);
        const PulseTrain& train = state.channels[0];
        QCOMPARE(train[0], 1);
        QCOMPARE(train[1], 200);
        QCOMPARE(train[2], 0);
        QCOMPARE(train[3], 700); // stale bytes converted too, but after the terminator
        QCOMPARE(train.PulseCount(), 1);
        QCOMPARE(train.TotalDurationUs(), int64_t(200));
    }

    void onceModeSwitchesCapturingOffBeforeStoring()
    {
        settings.captureMode = CaptureMode::Once;
        usbsim::QueueCapture(1, {9000, 4500, 560});
        QCOMPARE(PollCapture(state, settings, *device, &recorder), PollOutcome::Stored);
        QVERIFY(!state.capturing);
        QCOMPARE(recorder.events, (std::vector<std::string>{"off", "stored 0"}));
        usbsim::QueueCapture(1, {9000, 4500, 560});
        QCOMPARE(PollCapture(state, settings, *device, &recorder), PollOutcome::NotPolling);
    }

    void normalModeAcceptsEveryFifthTick()
    {
        settings.captureMode = CaptureMode::Normal;
        std::vector<int> accepted;
        for (int tick = 0; tick < 12; ++tick) {
            usbsim::QueueCapture(1, {1000 + 2 * tick, 500});
            if (PollCapture(state, settings, *device, &recorder) == PollOutcome::Stored)
                accepted.push_back(tick);
        }
        QCOMPARE(accepted, (std::vector<int>{0, 5, 10}));
        QCOMPARE(state.channels[0][1], 1020); // the capture of tick 10
    }

    void holdOffCountsDownWhileNotCapturing()
    {
        state.holdOffTicks = 3;
        state.capturing = false;
        PollCapture(state, settings, *device, &recorder);
        PollCapture(state, settings, *device, &recorder);
        QCOMPARE(state.holdOffTicks, 1);
    }

    void autoModeStoresEveryCapture()
    {
        for (int i = 0; i < 3; ++i) {
            usbsim::QueueCapture(0, {300 + 2 * i});
            QCOMPARE(PollCapture(state, settings, *device, &recorder), PollOutcome::Stored);
        }
        QCOMPARE(state.channels[0][1], 304);
        QVERIFY(state.capturing);
    }

    void noDeviceMeansNothingHappens()
    {
        usbsim::Unplug();
        device->FindDevice();
        usbsim::QueueCapture(1, {9000});
        QCOMPARE(PollCapture(state, settings, *device, &recorder), PollOutcome::NotPolling);
        QVERIFY(recorder.events.empty());
        QVERIFY(state.capturing);
    }

    void faultsSkipTheTick_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("outcome");
        QTest::newRow("timeout") << int(usbsim::Fault::Timeout) << int(PollOutcome::NothingWaiting);
        QTest::newRow("wrong marker") << int(usbsim::Fault::WrongStatusMarker) << int(PollOutcome::NothingWaiting);
        QTest::newRow("short bulk") << int(usbsim::Fault::ShortBulk) << int(PollOutcome::ReadFailed);
        QTest::newRow("claim fails") << int(usbsim::Fault::ClaimFails) << int(PollOutcome::ReadFailed);
        QTest::newRow("unplug mid-transfer") << int(usbsim::Fault::UnplugMidTransfer) << int(PollOutcome::ReadFailed);
    }
    void faultsSkipTheTick()
    {
        QFETCH(int, fault);
        QFETCH(int, outcome);
        state.channels[0][0] = 1;
        state.channels[0][1] = 1234;
        usbsim::QueueCapture(1, {9000, 4500});
        usbsim::InjectFault(usbsim::Fault(fault), 1);
        QCOMPARE(int(PollCapture(state, settings, *device, &recorder)), outcome);
        QCOMPARE(state.channels[0][1], 1234);
        QVERIFY(recorder.events.empty());
        QCOMPARE(usbsim::ClaimedInterfaces(), 0);
    }

    void triggerSettingsGoOutHalved_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("minUs");
        QTest::addColumn<int>("maxUs");
        QTest::addColumn<int>("minUnits");
        QTest::addColumn<int>("maxUnits");
        QTest::newRow("pulse 600..1201") << 3 << 600 << 1201 << 300 << 600;
        QTest::newRow("auto") << 0 << 0 << 0 << 0 << 0;
        QTest::newRow("negative halves toward zero") << 4 << -3 << -5 << 0xFFFF << 0xFFFE;
        QTest::newRow("low 16 bits") << 5 << 131074 << 262146 << 1 << 1;
    }
    void triggerSettingsGoOutHalved()
    {
        QFETCH(int, mode);
        QFETCH(int, minUs);
        QFETCH(int, maxUs);
        QFETCH(int, minUnits);
        QFETCH(int, maxUnits);
        settings.triggerMode = TriggerMode(mode);
        settings.minPulseWidth = minUs;
        settings.maxPulseWidth = maxUs;
        QVERIFY(SendTriggerSettings(*device, settings));
        const auto trigger = usbsim::LastTrigger();
        QCOMPARE(trigger.type, mode);
        QCOMPARE(trigger.minUnits, minUnits);
        QCOMPARE(trigger.maxUnits, maxUnits);
    }

    void triggerSettingsNeedAnIdentifiedDevice()
    {
        device->identified = false;
        QVERIFY(!SendTriggerSettings(*device, settings));
        QVERIFY(usbsim::Frames().empty());
    }

    void monitorIdentifiesConfiguresAndForgets()
    {
        device = std::make_unique<CEPDevice>();
        settings.triggerMode = TriggerMode::Pulse;
        settings.minPulseWidth = 600;
        settings.maxPulseWidth = 1201;
        bool shown = false;
        QCOMPARE(DeviceMonitorTick(*device, settings, shown), ConnectionChange::None);
        QVERIFY(device->FindDevice());
        QCOMPARE(DeviceMonitorTick(*device, settings, shown), ConnectionChange::Connected);
        QVERIFY(shown);
        QCOMPARE(usbsim::LastTrigger().minUnits, 300);
        QCOMPARE(DeviceMonitorTick(*device, settings, shown), ConnectionChange::None);

        usbsim::Unplug();
        device->FindDevice();
        QCOMPARE(DeviceMonitorTick(*device, settings, shown), ConnectionChange::Disconnected);
        QVERIFY(device->Identity().deviceName.isEmpty());
        QVERIFY(!device->identified);
    }

    // The device is replugged between two ticks: the poll that meets the
    // dead handle reopens the device, the next monitor tick configures it
    // again, and the following poll fetches the new capture.
    void pollingResumesAfterAFastReplug()
    {
        settings.triggerMode = TriggerMode::RisingEdge;
        bool shown = true;
        usbsim::Replug();
        QVERIFY(!usbsim::LastTrigger().received); // the new device starts unconfigured
        usbsim::QueueCapture(1, {9000, 4500});
        QCOMPARE(PollCapture(state, settings, *device, &recorder), PollOutcome::NothingWaiting);
        QCOMPARE(PollCapture(state, settings, *device, &recorder), PollOutcome::NotPolling);
        QCOMPARE(DeviceMonitorTick(*device, settings, shown), ConnectionChange::None);
        QVERIFY(usbsim::LastTrigger().received);
        QCOMPARE(usbsim::LastTrigger().type, int(TriggerMode::RisingEdge));
        QCOMPARE(PollCapture(state, settings, *device, &recorder), PollOutcome::Stored);
        QCOMPARE(state.channels[0][1], 9000);
    }
};

QTEST_GUILESS_MAIN(TestAcquisition)
#include "tst_acquisition.moc"
