#include "designer/BuiltRemote.h"

#include "designer/KeyTypes.h"

#include <QFile>
#include <QIODevice>
#include <QSaveFile>
#include <QtEndian>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace built {

namespace {

constexpr char kMagic[4] = {'V', '1', '.', '0'};
constexpr char16_t kCr = 0x000D;
constexpr char16_t kLf = 0x000A;
constexpr qint64 kCopyChunk = 1 << 20;

void PutI32(QByteArray& out, qint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

qint32 I32(const char* bytes)
{
    return qFromLittleEndian<qint32>(bytes);
}

int Clamped(qint32 coordinate)
{
    return std::clamp<qint32>(coordinate, -kMaxCoordinate, kMaxCoordinate);
}

// The code units from the file's position up to the next LF (not beyond
// `end`), the LF left out. Nothing when no LF comes or the line is too long.
std::optional<QString> ReadCaptionLine(QIODevice& file, qint64 end)
{
    QString line;
    char chunk[512];
    for (;;) {
        const qint64 at = file.pos();
        const qint64 want = std::min<qint64>(sizeof chunk, end - at) & ~qint64(1);
        if (want <= 0 || file.read(chunk, want) != want)
            return std::nullopt;
        for (qint64 i = 0; i < want; i += 2) {
            const auto unit = qFromLittleEndian<quint16>(chunk + i);
            if (unit == kLf) {
                if (!file.seek(at + i + 2))
                    return std::nullopt;
                return line;
            }
            if (line.size() >= kMaxCaptionUnits)
                return std::nullopt;
            line.append(QChar(unit));
        }
    }
}

ButtonRecord ParseRecord(const char* bytes)
{
    ButtonRecord record;
    record.keyType = I32(bytes);
    record.rect = {Clamped(I32(bytes + 4)), Clamped(I32(bytes + 8)), Clamped(I32(bytes + 12)),
                   Clamped(I32(bytes + 16))};
    qFromLittleEndian<qint32>(bytes + 20, PulseTrain::kEntries, record.code.entries.data());
    return record;
}

bool SameFile(const QString& a, const QString& b)
{
    struct stat first {};
    struct stat second {};
    if (::stat(QFile::encodeName(a).constData(), &first) != 0 || ::stat(QFile::encodeName(b).constData(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool CopyPrefix(QFile& from, QFileDevice& to, qint64 length)
{
    QByteArray chunk;
    for (qint64 left = length; left > 0;) {
        chunk = from.read(std::min(left, kCopyChunk));
        if (chunk.isEmpty() || to.write(chunk) != chunk.size())
            return false;
        left -= chunk.size();
    }
    return true;
}

} // namespace

QString EscapeCaption(const QString& caption)
{
    QString escaped = caption;
    escaped.replace(QChar(kCr), QLatin1String("\\r"));
    escaped.replace(QChar(kLf), QLatin1String("\\n"));
    return escaped;
}

QString UnescapeCaption(const QString& line)
{
    QString caption = line;
    caption.remove(QChar(kCr));
    caption.remove(QChar(kLf));
    caption.replace(QLatin1String("\\r"), QString(QChar(kCr)));
    caption.replace(QLatin1String("\\n"), QString(QChar(kLf)));
    return caption;
}

QByteArray EncodeDesign(const std::vector<ButtonRecord>& buttons, qint32 programLength, qint32 bodyIndex)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(buttons.size()) * (kRecordBytes + 64) + kTrailerBytes);
    for (const ButtonRecord& button : buttons) {
        PutI32(out, button.keyType);
        PutI32(out, button.rect.left);
        PutI32(out, button.rect.top);
        PutI32(out, button.rect.right);
        PutI32(out, button.rect.bottom);
        const qsizetype codeAt = out.size();
        out.resize(codeAt + PulseTrain::kEntries * 4);
        qToLittleEndian<qint32>(button.code.entries.data(), PulseTrain::kEntries, out.data() + codeAt);

        const QString line = EscapeCaption(button.caption) + QChar(kCr) + QChar(kLf);
        const qsizetype lineAt = out.size();
        out.resize(lineAt + line.size() * 2);
        qToLittleEndian<quint16>(line.utf16(), line.size(), out.data() + lineAt);
    }
    out.append(kMagic, 4);
    PutI32(out, programLength);
    PutI32(out, bodyIndex);
    return out;
}

std::optional<Design> ReadDesign(QIODevice& file)
{
    const qint64 size = file.size();
    char trailer[kTrailerBytes];
    if (size < kTrailerBytes || !file.seek(size - kTrailerBytes) || file.read(trailer, kTrailerBytes) != kTrailerBytes
        || std::memcmp(trailer, kMagic, sizeof kMagic) != 0)
        return std::nullopt;
    Design design;
    design.programLength = I32(trailer + 4);
    design.bodyIndex = I32(trailer + 8);
    if (design.programLength < 0 || design.programLength >= size)
        return std::nullopt;

    // The trailer is never part of a record or a caption.
    const qint64 end = size - kTrailerBytes;
    if (design.programLength > end || !file.seek(design.programLength))
        return design;
    QByteArray record(kRecordBytes, Qt::Uninitialized);
    qint64 captionBytes = 0;
    while (design.buttons.size() < size_t(kMaxButtons) && end - file.pos() >= kRecordBytes) {
        if (file.read(record.data(), kRecordBytes) != kRecordBytes)
            break;
        const std::optional<QString> line = ReadCaptionLine(file, end);
        if (!line)
            break;
        captionBytes += 2 * line->size();
        if (captionBytes > kMaxCaptionBytes)
            break;
        ButtonRecord button = ParseRecord(record.constData());
        if (!keys::IsValidKeyType(button.keyType))
            continue;
        button.caption = UnescapeCaption(*line);
        design.buttons.push_back(std::move(button));
    }
    return design;
}

bool WriteBuiltRemote(const QString& outPath, const QString& programPath, qint64 programLength,
                      const std::vector<ButtonRecord>& buttons, qint32 bodyIndex)
{
    // Replacing the running program would pull the designer from under itself.
    if (SameFile(outPath, programPath))
        return false;
    QFile program(programPath);
    if (!program.open(QIODevice::ReadOnly))
        return false;
    const qint64 partLength = programLength > 0 ? programLength : program.size();
    if (partLength > program.size() || partLength > std::numeric_limits<qint32>::max())
        return false;

    // Written beside the target and renamed over it only when complete.
    // Unbuffered, so that a short write (a full disk) shows at once: the
    // file object's own flush at commit does not report one.
    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !CopyPrefix(program, out, partLength))
        return false;
    const QByteArray design = EncodeDesign(buttons, static_cast<qint32>(partLength), bodyIndex);
    if (out.write(design) != design.size())
        return false;
    // Executable, so that it starts from the file manager.
    if (::fchmod(out.handle(), 0755) != 0)
        return false;
    return out.commit();
}

} // namespace built
