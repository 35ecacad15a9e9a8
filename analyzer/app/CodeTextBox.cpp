#include "analyzer/app/CodeTextBox.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int kMargin = 4;

// What a screen reader reads: the whole text, the selection and the caret,
// character by character or by the lines and words it asks for.
class CodeTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit CodeTextAccessible(CCodeTextBox* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return Box()->toPlainText();
        return QAccessibleWidget::text(kind);
    }

    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index == 0 && selectionCount() == 1) {
            *start = int(std::min(Box()->selectionAnchor(), Box()->cursorPosition()));
            *end = int(std::max(Box()->selectionAnchor(), Box()->cursorPosition()));
        }
    }
    int selectionCount() const override { return Box()->selectionAnchor() != Box()->cursorPosition() ? 1 : 0; }
    void addSelection(int start, int end) override { Box()->setSelection(start, end); }
    void removeSelection(int) override { Box()->setSelection(Box()->cursorPosition(), Box()->cursorPosition()); }
    void setSelection(int, int start, int end) override { Box()->setSelection(start, end); }
    int cursorPosition() const override { return int(Box()->cursorPosition()); }
    void setCursorPosition(int position) override { Box()->setSelection(position, position); }
    QString text(int start, int end) const override
    {
        const QString& all = Box()->Rows().Text();
        start = std::clamp(start, 0, int(all.size()));
        end = std::clamp(end, start, int(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override { return int(Box()->Rows().Text().size()); }
    QRect characterRect(int offset) const override
    {
        const TextRows& rows = Box()->Rows();
        const int row = rows.RowOf(offset);
        const QFontMetrics metrics(Box()->font());
        const int width = metrics.horizontalAdvance(QLatin1Char('0'));
        const QPoint topLeft(kMargin + int(offset - rows.Row(row).begin) * width,
                             (row - Box()->FirstVisibleRow()) * metrics.lineSpacing());
        return QRect(Box()->viewport()->mapToGlobal(topLeft), QSize(width, metrics.lineSpacing()));
    }
    int offsetAtPoint(const QPoint&) const override { return int(Box()->cursorPosition()); }
    void scrollToSubstring(int start, int) override { Box()->setSelection(start, start); }
    QString attributes(int offset, int* start, int* end) const override
    {
        *start = *end = offset;
        return QString();
    }

private:
    CCodeTextBox* Box() const { return static_cast<CCodeTextBox*>(widget()); }
};

QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("CCodeTextBox") && object && object->isWidgetType())
        return new CodeTextAccessible(static_cast<CCodeTextBox*>(object));
    return nullptr;
}

bool IsSpace(QChar c)
{
    return c.isSpace();
}

} // namespace

CCodeTextBox::CCodeTextBox(QWidget* parent) : QAbstractScrollArea(parent)
{
    static const bool factoryInstalled = (QAccessible::installFactory(AccessibleFactory), true);
    Q_UNUSED(factoryInstalled);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    rows.SetText(QString());
    Relayout();
}

void CCodeTextBox::setPlainText(const QString& text)
{
    const QString before = rows.Text();
    rows.SetText(text);
    anchor = cursor = 0;
    Relayout();
    verticalScrollBar()->setValue(0);
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, before, text);
        QAccessible::updateAccessibility(&event);
    }
}

QString CCodeTextBox::selectedText() const
{
    const qsizetype from = std::min(anchor, cursor);
    return rows.Text().mid(from, std::max(anchor, cursor) - from);
}

void CCodeTextBox::setSelection(qsizetype newAnchor, qsizetype newCursor)
{
    const qsizetype size = rows.Text().size();
    anchor = std::clamp<qsizetype>(newAnchor, 0, size);
    cursor = std::clamp<qsizetype>(newCursor, 0, size);
    viewport()->update();
    emit selectionChanged();
}

void CCodeTextBox::selectAll()
{
    setSelection(0, rows.Text().size());
}

void CCodeTextBox::copy() const
{
    if (anchor != cursor)
        QApplication::clipboard()->setText(selectedText());
}

int CCodeTextBox::FirstVisibleRow() const
{
    return verticalScrollBar()->value();
}

int CCodeTextBox::CharWidth() const
{
    return std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('0')));
}

int CCodeTextBox::VisibleRows() const
{
    return std::max(1, viewport()->height() / std::max(1, fontMetrics().lineSpacing()));
}

void CCodeTextBox::Relayout()
{
    rows.SetColumns((viewport()->width() - 2 * kMargin) / CharWidth());
    const int visible = VisibleRows();
    verticalScrollBar()->setRange(0, std::max(0, rows.RowCount() - visible));
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setSingleStep(1);
}

void CCodeTextBox::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    Relayout();
}

void CCodeTextBox::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        Relayout();
}

void CCodeTextBox::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const QFontMetrics metrics = fontMetrics();
    const int lineHeight = metrics.lineSpacing();
    const int charWidth = CharWidth();
    const qsizetype selectionBegin = std::min(anchor, cursor);
    const qsizetype selectionEnd = std::max(anchor, cursor);
    const QString& text = rows.Text();
    const int first = FirstVisibleRow();
    const int last = std::min(rows.RowCount(), first + VisibleRows() + 1);
    for (int row = first; row < last; ++row) {
        const TextRows::Span span = rows.Row(row);
        const int top = (row - first) * lineHeight;
        const int baseline = top + metrics.ascent();
        // Up to three pieces: before, inside and after the selection.
        const qsizetype cuts[4] = {span.begin, std::clamp(selectionBegin, span.begin, span.end),
                                   std::clamp(selectionEnd, span.begin, span.end), span.end};
        for (int piece = 0; piece < 3; ++piece) {
            if (cuts[piece + 1] <= cuts[piece])
                continue;
            const QRect area(kMargin + int(cuts[piece] - span.begin) * charWidth, top,
                             int(cuts[piece + 1] - cuts[piece]) * charWidth, lineHeight);
            const bool selected = piece == 1;
            if (selected)
                painter.fillRect(area, palette().brush(QPalette::Highlight));
            painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
            painter.drawText(QPoint(area.left(), baseline), text.mid(cuts[piece], cuts[piece + 1] - cuts[piece]));
        }
    }
}

qsizetype CCodeTextBox::PositionAt(const QPoint& point) const
{
    if (rows.RowCount() == 0)
        return 0;
    const int row = std::clamp(FirstVisibleRow() + point.y() / std::max(1, fontMetrics().lineSpacing()), 0,
                               rows.RowCount() - 1);
    const TextRows::Span span = rows.Row(row);
    const int column = std::max(0, (point.x() - kMargin + CharWidth() / 2) / CharWidth());
    return std::min(span.begin + column, span.end);
}

void CCodeTextBox::keyPressEvent(QKeyEvent* event)
{
    QScrollBar* bar = verticalScrollBar();
    if (event == QKeySequence::SelectAll) {
        selectAll();
    } else if (event == QKeySequence::Copy) {
        copy();
    } else if (event == QKeySequence::MoveToStartOfDocument) {
        bar->setValue(bar->minimum());
    } else if (event == QKeySequence::MoveToEndOfDocument) {
        bar->setValue(bar->maximum());
    } else {
        QAbstractScrollArea::keyPressEvent(event); // arrows and page keys scroll
        return;
    }
    event->accept();
}

void CCodeTextBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const qsizetype position = PositionAt(event->position().toPoint());
    setSelection(event->modifiers() & Qt::ShiftModifier ? anchor : position, position);
}

void CCodeTextBox::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint point = event->position().toPoint();
    // Dragging past the top or bottom edge scrolls on.
    if (point.y() < 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
    else if (point.y() >= viewport()->height())
        verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
    setSelection(anchor, PositionAt(point));
    if (anchor != cursor && QApplication::clipboard()->supportsSelection())
        QApplication::clipboard()->setText(selectedText(), QClipboard::Selection);
}

void CCodeTextBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QString& text = rows.Text();
    qsizetype begin = PositionAt(event->position().toPoint());
    qsizetype end = begin;
    while (begin > 0 && !IsSpace(text.at(begin - 1)))
        --begin;
    while (end < text.size() && !IsSpace(text.at(end)))
        ++end;
    setSelection(begin, end);
}

void CCodeTextBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copyAction = menu.addAction(tr("&Copy"), QKeySequence::Copy, this, &CCodeTextBox::copy);
    copyAction->setEnabled(anchor != cursor);
    menu.addAction(tr("Select All"), QKeySequence::SelectAll, this, &CCodeTextBox::selectAll)
        ->setEnabled(!rows.Text().isEmpty());
    menu.exec(event->globalPos());
}
