#pragma once

#include "analyzer/core/BootloaderHandshake.h"
#include "analyzer/core/FirmwareImages.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
#include <utility>

class CEPDevice;

// Keeps the device's firmware current: once per run a search thread waits
// for an identified device, picks the newest newer *.UPF image in the
// program folder and hands it to the UI thread, which loads it and runs the
// bootloader handshake on a 100 ms timer (timer 0); once the bootloader
// shows up a transfer thread sends the image, has the UI thread show the
// result, closes the device and asks for a device search a second later.
//
// Lives on the UI thread; every public call is made from there. While the
// transfer thread holds the device (DeviceHeld) the UI thread leaves the
// device alone instead of queueing on its lock.
class FirmwareUpdate : public QObject {
    Q_OBJECT
public:
    static constexpr int kHandshakeIntervalMs = 100;
    static constexpr int kSearchPollMs = 100;
    static constexpr int kRediscoveryDelayMs = 1000;

    // `folders`: where the images lie, the program folder first.
    FirmwareUpdate(CEPDevice& device, QStringList folders, QObject* parent = nullptr);
    ~FirmwareUpdate() override;

    // The device as the UI thread last saw it; the search thread reads this
    // copy, never the device's own fields.
    void PublishDevice(const DeviceSnapshot& snapshot);

    // Starts the search thread; only the first call does anything.
    void StartSearch();
    bool SearchStarted() const { return searchThread.joinable(); }
    bool SearchFinished() const { return searchFinished; }

    // Loads the image at `path` (a name ending in ".UPF"; an unreadable file
    // keeps the image loaded before) and starts the handshake.
    void StartUpdate(const QString& path);
    // One tick of timer 0.
    void HandshakeTick();

    bool HandshakeRunning() const { return handshakeTimer.isActive(); }
    int BootloaderWaitTicks() const { return handshake.bootloaderWaitTicks; }
    bool ImageLoaded() const { return imageLoaded; }
    const QByteArray& Image() const { return firmwareImage; }

    // From the start of the transfer thread until it has closed the device.
    bool DeviceHeld() const { return deviceHeld; }

    // The window closed the result box.
    void ResultClosed();

    // Ends everything at shutdown: no more searching or handshaking, the
    // threads are waited for (a transfer ends at its own pace, shows no box
    // and closes the device), the image is released. Later calls do nothing.
    void Shutdown();

signals:
    // The search chose an image (before it is loaded).
    void UpdateFound(const QString& path);
    // The transfer ended: show the result and call ResultClosed once the
    // user has closed it.
    void ShowResult(bool ok);
    // The device was closed after a transfer: search for it in delayMs.
    void RediscoveryDue(int delayMs);
    // The bootloader is there; the transfer thread now runs.
    void TransferStarted();
    // The handshake stopped waiting for the bootloader and released the image.
    void HandshakeGaveUp();

private:
    void RunSearch();
    void RunTransfer(QByteArray image);
    void StartTransfer();
    void ReleaseImage();
    DeviceSnapshot Snapshot();

    // Worker side: runs `job` on the UI thread and waits until the job's
    // ticket is finished or shutdown begins. A job that finishes at once
    // passes finishNow; the result box finishes when it is closed.
    void AwaitUiThread(const std::function<void(uint64_t ticket)>& job, bool finishNow);
    void FinishTicket(uint64_t ticket);

    CEPDevice& device;
    const QStringList folders;

    std::atomic<bool> keepRunning{true};
    std::atomic<bool> deviceHeld{false};
    std::atomic<bool> searchFinished{false};
    bool shutDown = false;

    std::mutex mutex; // guards the snapshot and the tickets, wakes the workers
    std::condition_variable wake;
    DeviceSnapshot snapshot;
    uint64_t lastTicket = 0;
    std::set<uint64_t> finishedTickets;
    uint64_t resultTicket = 0; // UI thread only

    QByteArray firmwareImage;
    bool imageLoaded = false;
    BootloaderHandshake handshake;
    QTimer handshakeTimer; // timer 0

    std::thread searchThread;
    std::thread transferThread;
};
