#include "analyzer/core/FirmwareImages.h"

#include "analyzer/core/FirmwareVersion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const QLatin1String kImageSuffix(".UPF");
const QLatin1String kNormalFirmwareMark("Logic Analyzer");
const QLatin1String kNoVersion("0.0.0.0");
} // namespace

bool ReadyForFirmwareSearch(const DeviceSnapshot& device)
{
    return device.identified && device.identity.deviceType.endsWith(QLatin1String("IR"));
}

bool IsFirmwareImageName(const QString& fileName)
{
    return fileName.toUpper().endsWith(kImageSuffix);
}

QString FindNewerFirmware(const QStringList& folders, const DeviceIdentity& device)
{
    const QString running =
        device.deviceName.contains(kNormalFirmwareMark) ? device.deviceVersion : QString(kNoVersion);
    QString best = running;
    QString path;
    for (const QString& folder : folders) {
        const QFileInfoList entries =
            QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
        for (const QFileInfo& entry : entries) {
            if (!IsFirmwareImageName(entry.fileName()))
                continue;
            const QString version = entry.fileName().chopped(kImageSuffix.size());
            if (CompareVersions(version, best) > 0) {
                best = version;
                path = entry.absoluteFilePath();
            }
        }
    }
    return path;
}

std::optional<QByteArray> ReadFirmwareImage(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 size = file.size();
    if (size < 0 || size > kMaxFirmwareImageBytes)
        return std::nullopt;
    QByteArray image = file.read(kMaxFirmwareImageBytes + 1);
    // A file that changed while it was read is not the image that was chosen.
    if (image.size() != size || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return image;
}
