#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// A read-only text cut into the rows a box of fixed-width characters shows:
// CR LF, LF and a lone CR end a line, and a line longer than the box wraps
// every `columns` characters. Finding the rows is one pass over the text and
// each lookup a binary search, so a text of millions of lines (the code text
// with its longest settings) is shown as fast as a short one.
class TextRows {
public:
    struct Span {
        qsizetype begin = 0; // first character of the row
        qsizetype end = 0;   // one past its last, line break excluded
    };

    void SetText(QString text);
    // Characters per row, at least 1; rewraps without rescanning the text.
    void SetColumns(int columns);

    const QString& Text() const { return text; }
    int Columns() const { return columns; }
    int RowCount() const { return rowsBefore.empty() ? 0 : rowsBefore.back(); }
    // The characters of row 0 .. RowCount() - 1.
    Span Row(int row) const;
    // The row showing the character at position (0 .. text length); the
    // position after a line's last character belongs to that line's last row.
    int RowOf(qsizetype position) const;

private:
    qsizetype LineEnd(int line) const;
    int RowsOfLine(int line) const;
    void Rewrap();

    QString text;
    int columns = 80;
    std::vector<int32_t> lineStarts; // one per line; an empty text has one empty line
    std::vector<int32_t> rowsBefore; // rows of the lines before each line, then the total
};
