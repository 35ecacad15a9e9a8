#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// An INI profile file with the semantics of the Windows profile functions the
// programs were written against: sections and keys match without regard to
// case, blanks around keys and values are ignored, one pair of double quotes
// around a value is removed on reading, and a value is cut to 999 characters.
//
// The file is kept as its original bytes. A write replaces the value of one
// line or inserts one line, so every other line (comments, unknown keys,
// blank lines, order, line ends, encoding) stays byte for byte as it was.
// UTF-8 (with or without a byte-order mark) and UTF-16LE with a byte-order
// mark are understood; a new file is UTF-8.
class ProfileFile {
public:
    // Setting files are tiny; anything past this is treated as absent.
    static constexpr qint64 kMaxFileBytes = 1 << 20;
    static constexpr int kMaxValueLength = 999;

    enum class Encoding { Utf8, Utf8WithBom, Utf16LeWithBom };

    ProfileFile() = default;
    explicit ProfileFile(QByteArray fileBytes);

    // A missing or unreadable file gives an empty profile. Only the first
    // kMaxFileBytes are read; IsComplete() tells whether that was all.
    static ProfileFile Load(const QString& path);

    // The value of the first matching key in the first matching section;
    // nullopt when either is missing. A line without "=" is not a key.
    std::optional<QString> Value(const QString& section, const QString& key,
                                 int maxLength = kMaxValueLength) const;

    // Every key line in file order with its section, the value as Value()
    // returns it. Keys before the first section are skipped, and so is every
    // key line of a section whose name appeared before (Value() reads only
    // the first section of a name); the caller keeps the first of equal keys.
    using ValueVisitor = std::function<void(const QString& section, const QString& key, const QString& value)>;
    void ForEachValue(const ValueVisitor& visit, int maxLength = kMaxValueLength) const;

    // Replaces the value of the key, or adds the key at the end of its
    // section, or adds the section at the end of the file. The value is
    // stored as given; line breaks in it become blanks so that a value can
    // never start a line of its own.
    void SetValue(const QString& section, const QString& key, const QString& value);

    // Writes the file atomically. Refuses (false) when the profile was read
    // from a file too large to read whole, so that its tail is never lost.
    bool Save(const QString& path) const;

    const QByteArray& Bytes() const { return fileBytes; }
    Encoding FileEncoding() const { return encoding; }
    bool IsComplete() const { return complete; }

private:
    struct Line {
        qsizetype begin = 0;      // first unit of the line
        qsizetype contentEnd = 0; // first unit of the line end (or the end of the file)
        qsizetype end = 0;        // first unit of the next line
    };

    void DetectEncoding();
    qsizetype UnitCount() const;
    char16_t Unit(qsizetype index) const;
    bool NextLine(qsizetype& position, Line& line) const;
    QString Decode(qsizetype from, qsizetype to) const;
    QByteArray Encode(const QString& text) const;
    QByteArray LineEndBytes() const;
    qsizetype ByteOffset(qsizetype unit) const { return bomBytes + unit * unitBytes; }
    qsizetype SkipBlanks(qsizetype from, qsizetype to) const;
    qsizetype TrimBlanksBack(qsizetype from, qsizetype to) const;
    std::optional<QString> SectionName(const Line& line) const;
    // Position of "=" in a key line, or -1.
    qsizetype EqualsSign(const Line& line) const;
    // Position of "=" when the line holds `key` (case ignored), or -1.
    qsizetype KeyEqualsSign(const Line& line, const QString& key) const;
    // The value after the "=" at `equals`: blanks and one pair of quotes off, cut.
    QString LineValue(const Line& line, qsizetype equals, int maxLength) const;

    QByteArray fileBytes;
    Encoding encoding = Encoding::Utf8;
    int bomBytes = 0;
    int unitBytes = 1;
    bool complete = true;
};
