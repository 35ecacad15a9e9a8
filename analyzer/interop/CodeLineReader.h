#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

// Reads a text file line by line with a bound on each line, so a hostile
// file costs neither unbounded memory nor time per line. UTF-8, a leading
// byte-order mark skipped, LF or CR LF line ends, control characters read
// as spaces (ReadsAsSpace).
class CodeLineReader {
public:
    static constexpr int kMaxLineBytes = 65536;

    explicit CodeLineReader(QIODevice& device) : device_(device) {}

    enum class Status { Line, End, TooLong };
    // The next line without its line end; `lineNumber()` is then its number
    // (1 for the first). At TooLong reading stops for good.
    Status Next(QString& line);
    int lineNumber() const { return lineNumber_; }

private:
    QIODevice& device_;
    QByteArray buffer_ = QByteArray(kMaxLineBytes + 2, Qt::Uninitialized);
    int lineNumber_ = 0;
    bool stopped_ = false;
};

// Characters that read as spaces: control characters mean nothing in these
// text formats, and U+FEFF is a byte-order mark wherever it stands.
inline bool ReadsAsSpace(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || c.unicode() == 0xFEFF;
}

// Lines that are empty or hold only a comment starting with '#'.
bool IsBlankOrComment(const QString& trimmedLine);
