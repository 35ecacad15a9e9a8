#include "analyzer/view/TextRows.h"

#include <algorithm>

void TextRows::SetText(QString newText)
{
    text = std::move(newText);
    lineStarts.clear();
    lineStarts.push_back(0);
    const char16_t* units = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (units[i] == u'\r') {
            if (i + 1 < size && units[i + 1] == u'\n')
                ++i;
        } else if (units[i] != u'\n') {
            continue;
        }
        lineStarts.push_back(static_cast<int32_t>(i + 1));
    }
    Rewrap();
}

void TextRows::SetColumns(int newColumns)
{
    newColumns = std::max(1, newColumns);
    if (newColumns == columns)
        return;
    columns = newColumns;
    Rewrap();
}

qsizetype TextRows::LineEnd(int line) const
{
    if (line + 1 >= static_cast<int>(lineStarts.size()))
        return text.size();
    qsizetype end = lineStarts[size_t(line) + 1] - 1; // the LF, or a lone CR
    if (text.at(end) == u'\n' && end > lineStarts[size_t(line)] && text.at(end - 1) == u'\r')
        --end;
    return end;
}

int TextRows::RowsOfLine(int line) const
{
    const qsizetype length = LineEnd(line) - lineStarts[size_t(line)];
    return length == 0 ? 1 : static_cast<int>((length + columns - 1) / columns);
}

void TextRows::Rewrap()
{
    rowsBefore.assign(lineStarts.size() + 1, 0);
    for (size_t line = 0; line < lineStarts.size(); ++line)
        rowsBefore[line + 1] = rowsBefore[line] + RowsOfLine(static_cast<int>(line));
}

TextRows::Span TextRows::Row(int row) const
{
    if (row < 0 || row >= RowCount())
        return {};
    const auto after = std::upper_bound(rowsBefore.begin(), rowsBefore.end(), row);
    const int line = static_cast<int>(after - rowsBefore.begin()) - 1;
    const qsizetype lineStart = lineStarts[size_t(line)];
    const qsizetype begin = lineStart + qsizetype(row - rowsBefore[size_t(line)]) * columns;
    return {begin, std::min(begin + columns, LineEnd(line))};
}

int TextRows::RowOf(qsizetype position) const
{
    position = std::clamp<qsizetype>(position, 0, text.size());
    const auto after = std::upper_bound(lineStarts.begin(), lineStarts.end(), position);
    const int line = static_cast<int>(after - lineStarts.begin()) - 1;
    const qsizetype offset = std::min(position, LineEnd(line)) - lineStarts[size_t(line)];
    const int rowInLine = std::min(static_cast<int>(offset / columns), RowsOfLine(line) - 1);
    return rowsBefore[size_t(line)] + rowInLine;
}
