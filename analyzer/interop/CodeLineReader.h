#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <optional>

// What a reader found wrong: the message and the line at fault (0 when the
// fault is the file as a whole).
struct FormatProblem {
    int line = 0;
    QString message;
};

// Reads a text file line by line with a bound on each line, so a hostile
// file costs neither unbounded memory nor time per line. UTF-8, a leading
// byte-order mark skipped, LF or CR LF line ends, control characters read
// as spaces (ReadsAsSpace).
class CodeLineReader {
public:
    static constexpr int kMaxLineBytes = 65536;

    explicit CodeLineReader(QIODevice& device) : device_(device) {}

    // The next line, trimmed; `lineNumber()` is then its number (1 for the
    // first). False at the end of the file, and at a line too long, which
    // stops reading for good and leaves its problem in `Problem()`.
    bool NextTrimmed(QString& trimmed);
    // The same, passing over blank lines and '#' comments.
    bool NextContent(QString& trimmed);
    int lineNumber() const { return lineNumber_; }
    const std::optional<FormatProblem>& Problem() const { return problem_; }

private:
    QIODevice& device_;
    QByteArray buffer_ = QByteArray(kMaxLineBytes + 2, Qt::Uninitialized);
    int lineNumber_ = 0;
    bool stopped_ = false;
    std::optional<FormatProblem> problem_;
};

// Characters that read as spaces: control characters mean nothing in these
// text formats, and U+FEFF is a byte-order mark wherever it stands.
inline bool ReadsAsSpace(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || c.unicode() == 0xFEFF;
}

// Lines that are empty or hold only a comment starting with '#'.
bool IsBlankOrComment(const QString& trimmedLine);
