#include "analyzer/interop/CodeLineReader.h"

bool CodeLineReader::NextTrimmed(QString& line)
{
    if (stopped_)
        return false;
    // Room for the limit, a line end and the terminating zero readLine adds.
    const qint64 got = device_.readLine(buffer_.data(), buffer_.size());
    if (got <= 0) {
        stopped_ = true;
        return false;
    }
    ++lineNumber_;
    qint64 length = got;
    const bool ended = buffer_[int(length - 1)] == '\n';
    if (!ended && length >= kMaxLineBytes && !device_.atEnd()) {
        stopped_ = true;
        problem_ = FormatProblem{lineNumber_, QStringLiteral("line longer than %1 bytes").arg(kMaxLineBytes)};
        return false;
    }
    if (ended)
        --length;
    if (length > 0 && buffer_[int(length - 1)] == '\r')
        --length;
    const char* start = buffer_.constData();
    if (lineNumber_ == 1 && length >= 3 && QByteArray::fromRawData(start, 3) == "\xEF\xBB\xBF") {
        start += 3;
        length -= 3;
    }
    line = QString::fromUtf8(start, length);
    for (QChar& c : line)
        if (ReadsAsSpace(c))
            c = QLatin1Char(' ');
    line = line.trimmed();
    return true;
}

bool CodeLineReader::NextContent(QString& trimmed)
{
    while (NextTrimmed(trimmed))
        if (!IsBlankOrComment(trimmed))
            return true;
    return false;
}

bool IsBlankOrComment(const QString& trimmedLine)
{
    return trimmedLine.isEmpty() || trimmedLine.startsWith(QLatin1Char('#'));
}
