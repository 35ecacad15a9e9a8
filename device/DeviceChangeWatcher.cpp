#include "device/DeviceChangeWatcher.h"

#include <QDir>

namespace {
const QString kBusRoot = QStringLiteral("/dev/bus/usb");
}

DeviceChangeWatcher::DeviceChangeWatcher(Lister lister, QObject* parent)
    : QObject(parent), lister(std::move(lister))
{
    connect(&rescanTimer, &QTimer::timeout, this, &DeviceChangeWatcher::Rescan);
    debounce.setSingleShot(true);
    debounce.setInterval(50);
    connect(&debounce, &QTimer::timeout, this, [this] {
        WatchBusDirectories();
        Rescan();
    });
    connect(&busWatcher, &QFileSystemWatcher::directoryChanged, this, [this] { debounce.start(); });
}

void DeviceChangeWatcher::Start(int rescanIntervalMs)
{
    WatchBusDirectories();
    // The devices present at start are the baseline, not arrivals.
    if (lister)
        for (const QString& path : lister())
            present.insert(path);
    primed = true;
    if (rescanIntervalMs > 0)
        rescanTimer.start(rescanIntervalMs);
}

void DeviceChangeWatcher::Stop()
{
    rescanTimer.stop();
    debounce.stop();
}

void DeviceChangeWatcher::WatchBusDirectories()
{
    QStringList dirs;
    if (QDir(kBusRoot).exists()) {
        dirs << kBusRoot;
        for (const QString& bus : QDir(kBusRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            dirs << kBusRoot + QLatin1Char('/') + bus;
    }
    const QStringList watched = busWatcher.directories();
    for (const QString& dir : dirs)
        if (!watched.contains(dir))
            busWatcher.addPath(dir);
}

void DeviceChangeWatcher::Rescan()
{
    if (!lister)
        return;
    const QStringList listed = lister();
    const QSet<QString> now(listed.begin(), listed.end());
    if (!primed) {
        present = now;
        primed = true;
        return;
    }
    const QSet<QString> before = present;
    present = now;
    for (const QString& path : before)
        if (!now.contains(path))
            emit DeviceChange(kRemoveComplete, kDeviceInterface, path);
    for (const QString& path : now)
        if (!before.contains(path))
            emit DeviceChange(kArrival, kDeviceInterface, path);
}

bool IsOurDevicePath(const QString& path)
{
    // "%*[^#]#%[^#]": skip up to the first '#', take up to the next one. The
    // skipped part must not be empty, as with the scanf pattern.
    const int first = path.indexOf(QLatin1Char('#'));
    if (first <= 0)
        return false;
    const int second = path.indexOf(QLatin1Char('#'), first + 1);
    const QString middle = path.mid(first + 1, second < 0 ? -1 : second - first - 1);
    if (middle.isEmpty())
        return false;
    return middle.compare(QLatin1String("Vid_16c0&Pid_1012"), Qt::CaseInsensitive) == 0;
}

bool IsOurDeviceChange(int kind, int broadcastType, const QString& path)
{
    return (kind == DeviceChangeWatcher::kArrival || kind == DeviceChangeWatcher::kRemoveComplete)
        && broadcastType == DeviceChangeWatcher::kDeviceInterface && IsOurDevicePath(path);
}
