#include "analyzer/core/FirmwareUpdate.h"

#include "device/USBDevice.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QMetaObject>

#include <chrono>

namespace {
Q_LOGGING_CATEGORY(lcFirmware, "wavix.firmware")
} // namespace

FirmwareUpdate::FirmwareUpdate(CEPDevice& device, QStringList folders, QObject* parent)
    : QObject(parent), device(device), folders(std::move(folders))
{
    handshakeTimer.setInterval(kHandshakeIntervalMs);
    connect(&handshakeTimer, &QTimer::timeout, this, &FirmwareUpdate::HandshakeTick);
}

FirmwareUpdate::~FirmwareUpdate()
{
    Shutdown();
}

void FirmwareUpdate::PublishDevice(const DeviceSnapshot& current)
{
    std::lock_guard<std::mutex> lock(mutex);
    snapshot = current;
}

DeviceSnapshot FirmwareUpdate::Snapshot()
{
    std::lock_guard<std::mutex> lock(mutex);
    return snapshot;
}

void FirmwareUpdate::StartSearch()
{
    if (searchThread.joinable() || shutDown)
        return;
    searchThread = std::thread(&FirmwareUpdate::RunSearch, this);
}

void FirmwareUpdate::RunSearch()
{
    DeviceSnapshot current = Snapshot();
    while (keepRunning && !ReadyForFirmwareSearch(current)) {
        std::unique_lock<std::mutex> lock(mutex);
        wake.wait_for(lock, std::chrono::milliseconds(kSearchPollMs), [this] { return !keepRunning; });
        current = snapshot;
    }
    // Past shutdown there is no window left to take an image.
    QString path;
    if (keepRunning && current.identified)
        path = FindNewerFirmware(folders, current.identity);
    if (!path.isEmpty()) {
        qCDebug(lcFirmware) << "newer firmware than" << current.identity.deviceVersion << ":" << path;
        AwaitUiThread(
            [this, path](uint64_t) {
                emit UpdateFound(path);
                StartUpdate(path);
            },
            true);
    }
    searchFinished = true;
}

void FirmwareUpdate::StartUpdate(const QString& path)
{
    if (shutDown || deviceHeld)
        return;
    if (IsFirmwareImageName(path)) {
        std::optional<QByteArray> image = ReadFirmwareImage(path);
        if (!image) {
            qCDebug(lcFirmware) << "cannot read" << path;
            return;
        }
        firmwareImage = std::move(*image);
        imageLoaded = true;
    }
    // Without an image there is nothing to send: restarting the device into
    // its bootloader would only leave it there.
    if (!imageLoaded)
        return;
    handshake.Start();
    handshakeTimer.start();
}

void FirmwareUpdate::HandshakeTick()
{
    const bool identified = device.identified;
    switch (handshake.Tick(identified, identified ? device.Identity().deviceName : QString())) {
    case HandshakeStep::EnterBootloader:
        device.EnterBootloader(); // repeated every tick until the device leaves
        break;
    case HandshakeStep::StartTransfer:
        handshakeTimer.stop();
        StartTransfer();
        break;
    case HandshakeStep::Wait:
        break;
    case HandshakeStep::GiveUp:
        handshakeTimer.stop();
        qCDebug(lcFirmware) << "no bootloader after" << handshake.bootloaderWaitTicks << "ticks: giving up";
        ReleaseImage();
        emit HandshakeGaveUp();
        break;
    }
}

void FirmwareUpdate::StartTransfer()
{
    if (transferThread.joinable())
        transferThread.join(); // a previous transfer, long done
    deviceHeld = true;
    qCDebug(lcFirmware) << "sending" << firmwareImage.size() << "bytes to the bootloader";
    transferThread = std::thread(&FirmwareUpdate::RunTransfer, this, firmwareImage);
    emit TransferStarted();
}

void FirmwareUpdate::RunTransfer(QByteArray image)
{
    const bool ok = device.WriteFirmware(reinterpret_cast<const uint8_t*>(image.constData()), size_t(image.size()));
    qCDebug(lcFirmware) << (ok ? "transfer done" : "transfer failed");
    AwaitUiThread(
        [this, ok](uint64_t ticket) {
            resultTicket = ticket;
            emit ShowResult(ok);
        },
        false);
    device.Close();
    deviceHeld = false;
    AwaitUiThread([this](uint64_t) { emit RediscoveryDue(kRediscoveryDelayMs); }, true);
}

void FirmwareUpdate::ResultClosed()
{
    if (resultTicket != 0)
        FinishTicket(std::exchange(resultTicket, 0));
}

void FirmwareUpdate::AwaitUiThread(const std::function<void(uint64_t)>& job, bool finishNow)
{
    uint64_t ticket = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        ticket = ++lastTicket;
    }
    // Queued to this object: dropped unheard if it is destroyed first.
    QMetaObject::invokeMethod(
        this,
        [this, job, ticket, finishNow] {
            if (keepRunning)
                job(ticket);
            if (finishNow || !keepRunning)
                FinishTicket(ticket);
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> lock(mutex);
    wake.wait(lock, [&] { return finishedTickets.count(ticket) != 0 || !keepRunning; });
    finishedTickets.erase(ticket);
}

void FirmwareUpdate::FinishTicket(uint64_t ticket)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        finishedTickets.insert(ticket);
    }
    wake.notify_all();
}

void FirmwareUpdate::ReleaseImage()
{
    firmwareImage = QByteArray();
    imageLoaded = false;
}

void FirmwareUpdate::Shutdown()
{
    if (shutDown)
        return;
    shutDown = true;
    handshakeTimer.stop();
    {
        std::lock_guard<std::mutex> lock(mutex);
        keepRunning = false;
    }
    wake.notify_all();
    if (searchThread.joinable())
        searchThread.join();
    if (transferThread.joinable())
        transferThread.join();
    ReleaseImage();
}
