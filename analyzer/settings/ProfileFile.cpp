#include "analyzer/settings/ProfileFile.h"
#include "analyzer/core/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>
#include <QtEndian>

namespace {

bool IsBlank(char16_t unit)
{
    return unit == u' ' || unit == u'\t' || unit == u'\v' || unit == u'\f';
}

// Cuts to at most maxLength UTF-16 units without splitting a surrogate pair.
QString CutToLength(QString text, int maxLength)
{
    if (maxLength < 0)
        maxLength = 0;
    if (text.size() <= maxLength)
        return text;
    qsizetype cut = maxLength;
    if (cut > 0 && text.at(cut - 1).isHighSurrogate() && text.at(cut).isLowSurrogate())
        --cut;
    text.truncate(cut);
    return text;
}

} // namespace

ProfileFile::ProfileFile(QByteArray bytes)
    : fileBytes(std::move(bytes))
{
    DetectEncoding();
}

ProfileFile ProfileFile::Load(const QString& path)
{
    QFileInfo info(path);
    if (!info.exists())
        return ProfileFile();

    ProfileFile profile;
    // A folder, a pipe or a device under the settings name is never read
    // (a pipe would block) and never replaced.
    profile.complete = false;
    if (!info.isFile())
        return profile;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return profile;
    QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return profile;

    const bool whole = bytes.size() <= kMaxFileBytes;
    if (!whole)
        bytes.truncate(kMaxFileBytes);
    profile = ProfileFile(std::move(bytes));
    profile.complete = whole;
    return profile;
}

void ProfileFile::DetectEncoding()
{
    if (fileBytes.startsWith("\xEF\xBB\xBF")) {
        encoding = Encoding::Utf8WithBom;
        bomBytes = 3;
        unitBytes = 1;
    } else if (fileBytes.startsWith("\xFF\xFE")) {
        encoding = Encoding::Utf16LeWithBom;
        bomBytes = 2;
        unitBytes = 2;
    } else {
        encoding = Encoding::Utf8;
        bomBytes = 0;
        unitBytes = 1;
    }
}

qsizetype ProfileFile::UnitCount() const
{
    // An odd byte left at the end of a UTF-16 file is kept but not read.
    return (fileBytes.size() - bomBytes) / unitBytes;
}

char16_t ProfileFile::Unit(qsizetype index) const
{
    const char* data = fileBytes.constData() + ByteOffset(index);
    if (unitBytes == 1)
        return static_cast<unsigned char>(*data);
    return qFromLittleEndian<quint16>(data);
}

bool ProfileFile::NextLine(qsizetype& position, Line& line) const
{
    const qsizetype count = UnitCount();
    if (position >= count)
        return false;
    line.begin = position;
    qsizetype i = position;
    while (i < count) {
        const char16_t unit = Unit(i);
        if (unit == u'\r' || unit == u'\n')
            break;
        ++i;
    }
    line.contentEnd = i;
    if (i < count) {
        // CR LF, LF and a lone CR each end a line.
        if (Unit(i) == u'\r' && i + 1 < count && Unit(i + 1) == u'\n')
            i += 2;
        else
            i += 1;
    }
    line.end = i;
    position = i;
    return true;
}

QString ProfileFile::Decode(qsizetype from, qsizetype to) const
{
    if (to <= from)
        return QString();
    const char* data = fileBytes.constData() + ByteOffset(from);
    const qsizetype units = to - from;
    if (unitBytes == 1) {
        // Only the file's first bytes can be a byte-order mark (DetectEncoding
        // skips it); U+FEFF at the start of a value is part of the value.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return utf8(QByteArrayView(data, units));
    }
    QString text(units, Qt::Uninitialized);
    qFromLittleEndian<quint16>(data, units, text.data());
    return text;
}

QByteArray ProfileFile::Encode(const QString& text) const
{
    if (unitBytes == 1)
        return text.toUtf8();
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    qToLittleEndian<quint16>(text.utf16(), text.size(), bytes.data());
    return bytes;
}

QByteArray ProfileFile::LineEndBytes() const
{
    // New lines follow the file's first line end, so a CRLF file stays CRLF.
    QString ending = QStringLiteral("\n");
    qsizetype position = 0;
    Line line;
    while (NextLine(position, line)) {
        if (line.end > line.contentEnd) {
            ending = Decode(line.contentEnd, line.end);
            break;
        }
    }
    return Encode(ending);
}

qsizetype ProfileFile::SkipBlanks(qsizetype from, qsizetype to) const
{
    while (from < to && IsBlank(Unit(from)))
        ++from;
    return from;
}

qsizetype ProfileFile::TrimBlanksBack(qsizetype from, qsizetype to) const
{
    while (to > from && IsBlank(Unit(to - 1)))
        --to;
    return to;
}

std::optional<QString> ProfileFile::SectionName(const Line& line) const
{
    const qsizetype start = SkipBlanks(line.begin, line.contentEnd);
    if (start >= line.contentEnd || Unit(start) != u'[')
        return std::nullopt;
    qsizetype close = line.contentEnd;
    while (close > start + 1 && Unit(close - 1) != u']')
        --close;
    if (close <= start + 1)
        return std::nullopt; // "[" without "]" is not a section header
    const qsizetype nameBegin = SkipBlanks(start + 1, close - 1);
    const qsizetype nameEnd = TrimBlanksBack(nameBegin, close - 1);
    return Decode(nameBegin, nameEnd);
}

qsizetype ProfileFile::EqualsSign(const Line& line) const
{
    for (qsizetype i = line.begin; i < line.contentEnd; ++i) {
        if (Unit(i) == u'=')
            return i;
    }
    return -1;
}

qsizetype ProfileFile::KeyEqualsSign(const Line& line, const QString& key) const
{
    const qsizetype equals = EqualsSign(line);
    if (equals < 0)
        return -1;
    const qsizetype keyBegin = SkipBlanks(line.begin, equals);
    const qsizetype keyEnd = TrimBlanksBack(keyBegin, equals);
    return Decode(keyBegin, keyEnd).compare(key, Qt::CaseInsensitive) == 0 ? equals : -1;
}

std::optional<QString> ProfileFile::Value(const QString& section, const QString& key, int maxLength) const
{
    qsizetype position = 0;
    Line line;
    bool inSection = false;
    while (NextLine(position, line)) {
        if (const std::optional<QString> name = SectionName(line)) {
            if (inSection)
                return std::nullopt; // only the first section of that name counts
            inSection = name->compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype equals = KeyEqualsSign(line, key);
        if (equals < 0)
            continue;

        return LineValue(line, equals, maxLength);
    }
    return std::nullopt;
}

QString ProfileFile::LineValue(const Line& line, qsizetype equals, int maxLength) const
{
    const qsizetype valueBegin = SkipBlanks(equals + 1, line.contentEnd);
    const qsizetype valueEnd = TrimBlanksBack(valueBegin, line.contentEnd);
    QString value = Decode(valueBegin, valueEnd);
    if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
        value = value.mid(1, value.size() - 2);
    return CutToLength(std::move(value), maxLength);
}

void ProfileFile::ForEachValue(const ValueVisitor& visit, int maxLength) const
{
    QSet<QString> sectionsSeen; // case-folded
    QString section;
    bool reading = false;
    qsizetype position = 0;
    Line line;
    while (NextLine(position, line)) {
        if (const std::optional<QString> name = SectionName(line)) {
            const QString folded = name->toCaseFolded();
            reading = !sectionsSeen.contains(folded);
            sectionsSeen.insert(folded);
            section = *name;
            continue;
        }
        if (!reading)
            continue;
        const qsizetype equals = EqualsSign(line);
        if (equals < 0)
            continue;
        const qsizetype keyBegin = SkipBlanks(line.begin, equals);
        visit(section, Decode(keyBegin, TrimBlanksBack(keyBegin, equals)), LineValue(line, equals, maxLength));
    }
}

void ProfileFile::SetValue(const QString& section, const QString& key, const QString& value)
{
    QString singleLine = value;
    singleLine.replace(u'\r', u' ').replace(u'\n', u' ');

    qsizetype position = 0;
    Line line;
    Line lastLine;
    Line lastFilledLineOfSection;
    bool lastLineBlank = true;
    bool inSection = false;
    bool sectionFound = false;
    while (NextLine(position, line)) {
        lastLine = line;
        lastLineBlank = SkipBlanks(line.begin, line.contentEnd) == line.contentEnd;
        if (const std::optional<QString> name = SectionName(line)) {
            if (inSection)
                break;
            if (!sectionFound && name->compare(section, Qt::CaseInsensitive) == 0) {
                inSection = sectionFound = true;
                lastFilledLineOfSection = line;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!lastLineBlank)
            lastFilledLineOfSection = line;
        const qsizetype equals = KeyEqualsSign(line, key);
        if (equals < 0)
            continue;
        // Replace only the value; the key as spelt and the blanks around "=" stay.
        const qsizetype valueBegin = SkipBlanks(equals + 1, line.contentEnd);
        fileBytes.replace(ByteOffset(valueBegin), ByteOffset(line.contentEnd) - ByteOffset(valueBegin),
                          Encode(singleLine));
        return;
    }

    const QByteArray lineEnd = LineEndBytes();
    const QByteArray keyLine = Encode(key + u'=' + singleLine);
    if (sectionFound) {
        const Line& after = lastFilledLineOfSection;
        if (after.end > after.contentEnd)
            fileBytes.insert(ByteOffset(after.end), keyLine + lineEnd);
        else
            fileBytes.insert(ByteOffset(after.contentEnd), lineEnd + keyLine);
        return;
    }

    QByteArray addition;
    if (UnitCount() > 0) {
        if (lastLine.end == lastLine.contentEnd)
            addition += lineEnd;
        if (!lastLineBlank)
            addition += lineEnd; // a blank line between sections, as the profile functions write
    }
    addition += Encode(u'[' + section + u']') + lineEnd + keyLine + lineEnd;
    fileBytes.insert(ByteOffset(UnitCount()), addition);
}

bool ProfileFile::Save(const QString& path) const
{
    if (!complete)
        return false;
    return WriteFileAtomically(path, fileBytes).ok;
}
