#include "analyzer/files/CaptureFile.h"
#include "analyzer/core/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cerrno>

namespace {

static_assert(kCaptureRecordSize == 4 + static_cast<int>(sizeof(PulseTrain)), "a record is an index and a train");

// Applies one whole record; returns the channel replaced or -1 when skipped.
int ApplyRecord(const char* record, ChannelTrains& channels)
{
    const quint32 index = qFromLittleEndian<quint32>(record);
    if (index >= static_cast<quint32>(kChannelCount))
        return -1;
    PulseTrain& train = channels[index];
    qFromLittleEndian<qint32>(record + 4, PulseTrain::kEntries, train.entries.data());
    return static_cast<int>(index);
}

// Reads up to `size` bytes, retrying short reads until the end of the file.
qint64 ReadFully(QFile& file, char* into, qint64 size)
{
    qint64 total = 0;
    while (total < size) {
        const qint64 got = file.read(into + total, size - total);
        if (got <= 0)
            break;
        total += got;
    }
    return total;
}

// The cause of a failed save in the words the user will see.
QString SaveErrorText(const QString& path, int systemError, const QString& qtError)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    switch (systemError) {
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("Access to %1 was denied.").arg(shownPath);
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("There is not enough space on the disk to save %1.").arg(shownPath);
    default:
        break;
    }
    const QString cause = qtError.isEmpty() ? QStringLiteral("unknown error") : qtError;
    return QStringLiteral("%1 could not be saved: %2.").arg(shownPath, cause);
}

} // namespace

std::vector<int> ApplyCaptureRecords(const QByteArray& bytes, ChannelTrains& channels)
{
    std::vector<int> replaced;
    const qsizetype records = bytes.size() / kCaptureRecordSize;
    for (qsizetype r = 0; r < records; ++r) {
        const int channel = ApplyRecord(bytes.constData() + r * kCaptureRecordSize, channels);
        if (channel >= 0)
            replaced.push_back(channel);
    }
    return replaced;
}

bool LoadCaptureFile(const QString& path, ChannelTrains& channels, std::vector<int>* replaced)
{
    // A pipe or a device could feed records for ever; only plain files load.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    char record[kCaptureRecordSize];
    while (ReadFully(file, record, kCaptureRecordSize) == kCaptureRecordSize) {
        const int channel = ApplyRecord(record, channels);
        if (channel >= 0 && replaced)
            replaced->push_back(channel);
    }
    return true;
}

QByteArray SerializeChannels(const ChannelTrains& channels, const std::vector<int>& which)
{
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(which.size()) * kCaptureRecordSize);
    char record[kCaptureRecordSize];
    for (const int channel : which) {
        if (channel < 0 || channel >= kChannelCount)
            continue;
        qToLittleEndian<quint32>(static_cast<quint32>(channel), record);
        qToLittleEndian<qint32>(channels[static_cast<std::size_t>(channel)].entries.data(), PulseTrain::kEntries,
                                record + 4);
        bytes.append(record, kCaptureRecordSize);
    }
    return bytes;
}

SaveOutcome SaveCaptureFile(const QString& path, const ChannelTrains& channels, const std::vector<int>& which)
{
    SaveOutcome outcome;
    const QByteArray bytes = SerializeChannels(channels, which);
    const AtomicWriteResult written = WriteFileAtomically(path, bytes);
    outcome.ok = written.ok;
    if (!written.ok)
        outcome.error = SaveErrorText(path, written.systemError, written.errorText);
    return outcome;
}
