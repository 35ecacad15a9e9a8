#pragma once

#include "analyzer/view/TextRows.h"

#include <QAbstractScrollArea>

// The read-only code text box of the main window. The settings allow texts
// of megabytes and millions of lines, which a text document takes seconds to
// lay out; this box lays out nothing: it wraps the text into rows of fixed
// width characters and paints only the rows in sight. It offers what the
// window needs of a text box: selection with the mouse, Select All and Copy
// (keys and context menu), scrolling, and its text to screen readers.
class CCodeTextBox : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CCodeTextBox(QWidget* parent = nullptr);

    void setPlainText(const QString& text);
    QString toPlainText() const { return rows.Text(); }
    QString selectedText() const;
    // The selection as anchor and cursor positions; equal when nothing is selected.
    void setSelection(qsizetype anchor, qsizetype cursor);
    qsizetype selectionAnchor() const { return anchor; }
    qsizetype cursorPosition() const { return cursor; }
    void selectAll();
    void copy() const;
    int FirstVisibleRow() const;
    const TextRows& Rows() const { return rows; }

signals:
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Relayout();
    int VisibleRows() const;
    int CharWidth() const;
    qsizetype PositionAt(const QPoint& point) const;

    TextRows rows;
    qsizetype anchor = 0;
    qsizetype cursor = 0;
};
