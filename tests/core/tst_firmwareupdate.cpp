// The whole firmware update against the simulated device, without a window:
// a small stand-in plays the window's part (device monitor, device search,
// result box).
#include "analyzer/core/DeviceMonitor.h"
#include "analyzer/core/FirmwareUpdate.h"
#include "analyzer/core/Transmit.h"
#include "device/USBDevice.h"
#include "sim/SimControl.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {

using Bytes = std::vector<uint8_t>;

QByteArray TestImage(int size)
{
    QByteArray image(size, '\0');
    for (int i = 0; i < size; ++i)
        image[i] = char(i * 131 + (i >> 8) + 7);
    return image;
}

Bytes ToBytes(const QByteArray& bytes)
{
    return Bytes(bytes.begin(), bytes.end());
}

bool IsFrame(const Bytes& write, std::initializer_list<uint8_t> payloadStart)
{
    if (write.size() < 6 || write[0] != 0x1B || write[2] != write.size() - 6 || write[3] != 0 || write[4] != 0x0E)
        return false;
    uint8_t check = 0;
    for (size_t i = 0; i + 1 < write.size(); ++i)
        check ^= write[i];
    return check == write.back() && std::equal(payloadStart.begin(), payloadStart.end(), write.begin() + 5);
}

// The window's duties on fast ticks: the device search stands in for the
// arrival and removal notifications.
class WindowStandIn : public QObject {
public:
    WindowStandIn(CEPDevice& device, FirmwareUpdate& update) : device(device), update(update)
    {
        connect(&ticks, &QTimer::timeout, this, [this] {
            if (this->update.DeviceHeld())
                return;
            this->device.FindDevice();
            DeviceMonitorTick(this->device, settings, lastShown);
            this->update.PublishDevice(DeviceSnapshot{this->device.identified, this->device.Identity()});
        });
        connect(&update, &FirmwareUpdate::ShowResult, this, [this](bool ok) {
            results.append(ok);
            QTimer::singleShot(0, &this->update, &FirmwareUpdate::ResultClosed);
        });
        connect(&update, &FirmwareUpdate::RediscoveryDue, this, [this](int delayMs) {
            QTimer::singleShot(delayMs, this, [this] {
                this->device.FindDevice();
                ++rediscoveries;
            });
        });
        ticks.start(20);
    }

    QList<bool> results;
    int rediscoveries = 0;

private:
    CEPDevice& device;
    FirmwareUpdate& update;
    AnalyzerSettings settings;
    bool lastShown = false;
    QTimer ticks;
};

} // namespace

class TestFirmwareUpdate : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<CEPDevice> device;
    std::unique_ptr<FirmwareUpdate> update;
    std::unique_ptr<WindowStandIn> window;

    // The simulated device is told to expect the image unless it is a decoy.
    QString PlaceImage(const QString& name, const QByteArray& image, bool expected = true)
    {
        QFile file(folder->filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size())
            return QString();
        if (expected)
            usbsim::ExpectFirmware(name.toStdString(), ToBytes(image));
        return file.fileName();
    }

    void Start()
    {
        update->StartSearch();
    }

private slots:
    void init()
    {
        usbsim::Reset();
        usbsim::SetReenumerationDelayMs(150);
        folder = std::make_unique<QTemporaryDir>();
        device = std::make_unique<CEPDevice>();
        update = std::make_unique<FirmwareUpdate>(*device, QStringList{folder->path()});
        window = std::make_unique<WindowStandIn>(*device, *update);
    }
    void cleanup()
    {
        update->Shutdown();
        window.reset();
        update.reset();
        device.reset();
        folder.reset();
    }

    // Begin frame with the length, 1024-byte chunks, the remainder, the end
    // frame; the device comes back with the version the image's name carries.
    void wholeUpdateByteForByte_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("empty image") << 0;
        QTest::newRow("one chunk") << 1024;
        QTest::newRow("chunk and one byte") << 1025;
        QTest::newRow("two chunks and a remainder") << 2500;
    }
    void wholeUpdateByteForByte()
    {
        QFETCH(int, size);
        const QByteArray image = TestImage(size);
        QVERIFY(!PlaceImage(QStringLiteral("Wavix_1.0.2.0.UPF"), image).isEmpty());
        PlaceImage(QStringLiteral("Wavix_1.0.0.9.UPF"), TestImage(10), false); // older: never sent
        Start();
        QTRY_COMPARE_WITH_TIMEOUT(window->results, QList<bool>{true}, 10000);
        QVERIFY(update->SearchFinished());

        const auto writes = usbsim::BulkWrites();
        const auto begin = std::find_if(writes.begin(), writes.end(),
                                        [](const Bytes& w) { return IsFrame(w, {0x02, 0xAA}); });
        QVERIFY(begin != writes.end());
        const uint32_t n = uint32_t(size);
        QCOMPARE(Bytes(begin->begin() + 5, begin->end() - 1),
                 (Bytes{0x02, 0xAA, 0, 0, 0, 0, uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}));
        Bytes sent;
        auto write = begin + 1;
        for (int left = size; left > 0; left -= 1024, ++write) {
            QVERIFY(write != writes.end());
            QCOMPARE(int(write->size()), std::min(left, 1024));
            sent.insert(sent.end(), write->begin(), write->end());
        }
        QCOMPARE(sent, ToBytes(image));
        QVERIFY(write != writes.end() && IsFrame(*write, {0x04, 0xAA}));
        QCOMPARE(int(write->size()), 8);
        QCOMPARE(uint8_t((*begin)[1] + 1), (*write)[1]); // no frame in between
        QCOMPARE(usbsim::ReceivedFirmware(), ToBytes(image));
        QVERIFY(QString::fromStdString(usbsim::FirmwareReport()).contains(QStringLiteral("received intact")));

        // Closed after the box, found again a second later with the new version.
        QTRY_COMPARE_WITH_TIMEOUT(window->rediscoveries, 1, 5000);
        QTRY_VERIFY(device->identified);
        QCOMPARE(device->Identity().deviceName, QStringLiteral("IR Logic Analyzer"));
        QCOMPARE(device->Identity().deviceVersion, QStringLiteral("1.0.2.0"));
        QVERIFY(update->ImageLoaded()); // kept until shutdown
        update->Shutdown();
        QVERIFY(!update->ImageLoaded());
    }

    void nothingNewerNothingHappens()
    {
        PlaceImage(QStringLiteral("Wavix_1.0.1.1.UPF"), TestImage(100), false);
        PlaceImage(QStringLiteral("FIRMWARE.UPF"), TestImage(100), false);
        Start();
        QTRY_VERIFY(update->SearchFinished());
        QTest::qWait(300);
        QVERIFY(!update->ImageLoaded());
        QVERIFY(!update->HandshakeRunning());
        QVERIFY(!usbsim::InBootloader());
        QVERIFY(window->results.isEmpty());
    }

    // The device leaves for its bootloader and never comes back.
    void handshakeGivesUpAfterFiftyTicks()
    {
        PlaceImage(QStringLiteral("Wavix_1.0.2.0.UPF"), TestImage(2500));
        usbsim::InjectFault(usbsim::Fault::NoBootloader, 1);
        QSignalSpy gaveUp(update.get(), &FirmwareUpdate::HandshakeGaveUp);
        QElapsedTimer clock;
        Start();
        QTRY_VERIFY(update->HandshakeRunning());
        clock.start();
        QTRY_COMPARE_WITH_TIMEOUT(gaveUp.count(), 1, 10000);
        QVERIFY2(clock.elapsed() >= 4500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(update->BootloaderWaitTicks(), 50);
        QVERIFY(!update->HandshakeRunning());
        QVERIFY(!update->ImageLoaded());
        QVERIFY(window->results.isEmpty());
        QVERIFY(usbsim::ReceivedFirmware().empty());
    }

    // The bootloader refuses a chunk: "fail" is shown, the device is closed
    // and found again, still in its bootloader.
    void failingChunkFailsAndRediscovers()
    {
        PlaceImage(QStringLiteral("Wavix_1.0.2.0.UPF"), TestImage(2500));
        usbsim::InjectFault(usbsim::Fault::FailChunk, 1);
        Start();
        QTRY_COMPARE_WITH_TIMEOUT(window->results, QList<bool>{false}, 10000);
        const auto writes = usbsim::BulkWrites();
        const auto begin = std::find_if(writes.begin(), writes.end(),
                                        [](const Bytes& w) { return IsFrame(w, {0x02, 0xAA}); });
        QVERIFY(begin != writes.end());
        QVERIFY(std::none_of(begin, writes.end(), [](const Bytes& w) { return IsFrame(w, {0x04, 0xAA}); }));
        QTRY_COMPARE_WITH_TIMEOUT(window->rediscoveries, 1, 5000);
        QTRY_VERIFY(device->identified);
        QCOMPARE(device->Identity().deviceName, QStringLiteral("Quendar BOOTLOADER"));
        QVERIFY(usbsim::ReceivedFirmware().empty());
        QCOMPARE(usbsim::CurrentIdentity().version, std::string("1.0.1.1"));
        QCOMPARE(usbsim::OpenHandles(), 1);
        QCOMPARE(usbsim::ClaimedInterfaces(), 0);
    }

    // The cable is pulled mid-image: "fail", the device is closed and not
    // found until it is plugged in again, then in its bootloader.
    void unpluggedMidTransfer()
    {
        usbsim::SetChunkWriteMs(5); // a second for the image
        PlaceImage(QStringLiteral("Wavix_1.0.2.0.UPF"), TestImage(200 * 1024));
        Start();
        // Pulled once the first chunks are in: the old firmware is erased.
        const auto chunksIn = [] {
            const QString report = QString::fromStdString(usbsim::FirmwareReport());
            const auto match = QRegularExpression(QStringLiteral("receiving an image: (\\d+) of")).match(report);
            return match.hasMatch() && match.captured(1).toInt() >= 2048;
        };
        QTRY_VERIFY_WITH_TIMEOUT(chunksIn(), 10000);
        usbsim::InjectFault(usbsim::Fault::UnplugMidTransfer, 1);
        QTRY_COMPARE_WITH_TIMEOUT(window->results, QList<bool>{false}, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(window->rediscoveries, 1, 5000);
        QVERIFY(!device->IsOpen());
        QCOMPARE(usbsim::OpenHandles(), 0);
        usbsim::Plug();
        QTRY_VERIFY(device->identified);
        QCOMPARE(device->Identity().deviceName, QStringLiteral("Quendar BOOTLOADER"));
        QVERIFY(usbsim::ReceivedFirmware().empty());
    }

    // Another thread sends trains as fast as it can while the image goes
    // out: the device's lock keeps every frame out of the image.
    void framesFromAnotherThreadNeverInterleave()
    {
        const QByteArray image = TestImage(64 * 1024 + 300);
        PlaceImage(QStringLiteral("Wavix_1.0.2.0.UPF"), image);
        PulseTrain train;
        train[0] = 1;
        train[1] = 9000;
        train[2] = 4500;
        std::atomic<bool> stop{false};
        std::atomic<int> sends{0};
        std::thread sender([&] {
            while (!stop) {
                sends += TransmitTrain(*device, train) ? 1 : 0;
                std::this_thread::yield();
            }
        });
        Start();
        QTRY_COMPARE_WITH_TIMEOUT(window->results.size(), 1, 20000);
        stop = true;
        sender.join();
        QCOMPARE(window->results, QList<bool>{true});
        QVERIFY(sends > 0);
        QCOMPARE(usbsim::ReceivedFirmware(), ToBytes(image));
        QVERIFY(QString::fromStdString(usbsim::FirmwareReport()).contains(QStringLiteral("received intact")));
    }

    // Shutdown while the image goes out: the transfer ends at its own
    // pace, no box is asked for, the device is closed, nothing hangs.
    void shutdownDuringTransfer()
    {
        PlaceImage(QStringLiteral("Wavix_1.0.2.0.UPF"), TestImage(1024 * 1024));
        bool heldAtShutdown = false;
        connect(update.get(), &FirmwareUpdate::TransferStarted, this, [&] {
            heldAtShutdown = update->DeviceHeld();
            update->Shutdown();
        });
        Start();
        QTRY_VERIFY_WITH_TIMEOUT(heldAtShutdown, 10000);
        QVERIFY(!update->DeviceHeld());
        QVERIFY(!device->IsOpen());
        QTest::qWait(50);
        QVERIFY(window->results.isEmpty());
        QCOMPARE(window->rediscoveries, 0);
    }

    // Shutdown while the search still waits for a device ends it at once.
    void shutdownWhileWaitingForADevice()
    {
        usbsim::Unplug();
        PlaceImage(QStringLiteral("Wavix_1.0.2.0.UPF"), TestImage(10));
        Start();
        QTest::qWait(250);
        QVERIFY(!update->SearchFinished());
        QElapsedTimer clock;
        clock.start();
        update->Shutdown();
        QVERIFY(clock.elapsed() < 150);
        QVERIFY(update->SearchFinished());
        QVERIFY(!update->ImageLoaded());
    }
};

QTEST_GUILESS_MAIN(TestFirmwareUpdate)
#include "tst_firmwareupdate.moc"
