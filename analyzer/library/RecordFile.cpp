#include "analyzer/library/RecordFile.h"
#include "analyzer/core/AtomicFile.h"

#include "analyzer/library/CodeLibrary.h"

#include <QFile>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr qint64 kTrainBytes = qint64(sizeof(PulseTrain));
constexpr char16_t kCarriageReturn = u'\r';
constexpr char16_t kLineFeed = u'\n';

// Buffered reading of the two kinds of pieces a record is made of. Large
// chunks keep a 1023-entry file to a handful of system calls.
class RecordReader {
public:
    explicit RecordReader(QIODevice& device) : in(device), buffer(kChunk) {}

    // One name line: units up to and including the first line feed, or to
    // the end of the stream. Units past the name limit are read but not
    // kept. Returns false when not one unit could be read (a lone trailing
    // byte is no unit).
    bool ReadLine(QString& name)
    {
        name.clear();
        bool readAny = false;
        for (;;) {
            if (available() < 2 && !Refill(2))
                return readAny;
            const char* p = buffer.data() + position;
            const qint64 units = available() / 2;
            qint64 u = 0;
            bool ended = false;
            for (; u < units; ++u) {
                const char16_t unit = char16_t(uchar(p[2 * u]) | (uchar(p[2 * u + 1]) << 8));
                if (unit == kLineFeed) {
                    ended = true;
                    ++u;
                    break;
                }
                if (unit != kCarriageReturn && name.size() < CodeLibrary::kMaxNameLength)
                    name.append(QChar(unit));
            }
            position += 2 * u;
            readAny = readAny || u > 0;
            if (ended)
                return true;
        }
    }

    // Up to `size` bytes; returns how many arrived.
    qint64 Read(char* out, qint64 size)
    {
        qint64 done = std::min(size, available());
        std::memcpy(out, buffer.data() + position, size_t(done));
        position += done;
        while (done < size) {
            if (!Refill(1))
                break;
            const qint64 take = std::min(size - done, available());
            std::memcpy(out + done, buffer.data() + position, size_t(take));
            position += take;
            done += take;
        }
        return done;
    }

private:
    static constexpr qint64 kChunk = 256 * 1024;

    qint64 available() const { return filled - position; }

    // Keeps the unread bytes and appends what the stream has; true when at
    // least `wanted` bytes are available afterwards.
    bool Refill(qint64 wanted)
    {
        const qint64 kept = available();
        std::memmove(buffer.data(), buffer.data() + position, size_t(kept));
        position = 0;
        filled = kept;
        while (filled < wanted) {
            const qint64 got = in.read(buffer.data() + filled, kChunk - filled);
            if (got <= 0)
                break;
            filled += got;
        }
        return filled >= wanted;
    }

    QIODevice& in;
    std::vector<char> buffer;
    qint64 position = 0;
    qint64 filled = 0;
};

} // namespace

QString RecordFilePath(const QString& appDirectory)
{
    return appDirectory + QStringLiteral("/Record.dat");
}

void ReadRecords(QIODevice& in, CodeLibrary& library)
{
    library.Clear();
    RecordReader reader(in);
    QString name;
    std::array<char, kTrainBytes> bytes;
    while (!library.IsFull() && reader.ReadLine(name)) {
        bytes.fill(0);
        if (reader.Read(bytes.data(), kTrainBytes) == 0)
            break;
        PulseTrain train;
        qFromLittleEndian<qint32>(bytes.data(), PulseTrain::kEntries, train.entries.data());
        library.Append(name, train);
    }
}

bool LoadRecords(const QString& path, CodeLibrary& library)
{
    library.Clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    ReadRecords(file, library);
    return true;
}

bool SaveRecords(const QString& path, const CodeLibrary& library)
{
    // The whole file is built in memory and written in one go: a thousand
    // small writes would cost more than the bytes themselves.
    qsizetype size = 0;
    for (int i = 0; i < library.Count(); ++i)
        size += 2 * library.Entry(i).name.size() + 4 + kTrainBytes;
    QByteArray bytes(size, Qt::Uninitialized);
    char* out = bytes.data();
    for (int i = 0; i < library.Count(); ++i) {
        const CodeEntry& entry = library.Entry(i);
        qToLittleEndian<quint16>(entry.name.utf16(), entry.name.size(), out);
        out += 2 * entry.name.size();
        static const char kLineEnd[] = {'\r', 0, '\n', 0};
        std::memcpy(out, kLineEnd, sizeof kLineEnd);
        out += sizeof kLineEnd;
        qToLittleEndian<qint32>(entry.train.entries.data(), PulseTrain::kEntries, out);
        out += kTrainBytes;
    }

    return WriteFileAtomically(path, bytes).ok;
}
