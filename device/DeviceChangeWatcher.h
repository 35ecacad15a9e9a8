#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

#include <functional>

// Tells the programs when a device interface arrives or goes away. It watches
// /dev/bus/usb where the system offers it and also rescans periodically,
// because containers deliver no hot-plug events and the simulated device has
// no device node at all. Tests feed notifications to the receiver directly.
class DeviceChangeWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr int kArrival = 0x8000;
    static constexpr int kRemoveComplete = 0x8004;
    static constexpr int kDeviceInterface = 5;

    using Lister = std::function<QStringList()>;

    explicit DeviceChangeWatcher(Lister lister, QObject* parent = nullptr);

    void Start(int rescanIntervalMs = 500);
    void Stop();

    // Compares the present devices with the last scan and announces the difference.
    void Rescan();

signals:
    void DeviceChange(int kind, int broadcastType, const QString& path);

private:
    void WatchBusDirectories();

    Lister lister;
    QSet<QString> present;
    bool primed = false;
    QTimer rescanTimer;
    QTimer debounce;
    QFileSystemWatcher busWatcher;
};

// True when an interface path names our device: the text between its first
// and second '#' equals "Vid_16c0&Pid_1012", ignoring case.
bool IsOurDevicePath(const QString& path);

// True for an arrival or a removal of a device interface that is our device:
// the notifications after which the programs search for the device again.
bool IsOurDeviceChange(int kind, int broadcastType, const QString& path);
