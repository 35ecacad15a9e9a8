// The code text box: what the user sees, selects, copies and a screen reader reads.
#include "analyzer/app/CodeTextBox.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QScrollBar>
#include <QtTest>

class TestCodeTextBox : public QObject {
    Q_OBJECT

    std::unique_ptr<CCodeTextBox> box;

    QPoint PointOf(int row, int column) const
    {
        const QFontMetrics metrics(box->font());
        return QPoint(4 + column * metrics.horizontalAdvance(QLatin1Char('0')) + 1,
                      row * metrics.lineSpacing() + metrics.lineSpacing() / 2);
    }

private slots:
    void init()
    {
        box = std::make_unique<CCodeTextBox>();
        box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        box->resize(400, 120);
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    }
    void cleanup() { box.reset(); }

    void dragSelectsAndCtrlCCopies()
    {
        box->setPlainText(QStringLiteral("00230, 01194\r\n00460, 00230"));
        QTest::mousePress(box->viewport(), Qt::LeftButton, Qt::NoModifier, PointOf(0, 7));
        QTest::mouseMove(box->viewport(), PointOf(1, 5));
        QTest::mouseRelease(box->viewport(), Qt::LeftButton, Qt::NoModifier, PointOf(1, 5));
        QCOMPARE(box->selectedText(), QStringLiteral("01194\r\n00460"));
        QApplication::clipboard()->clear();
        QTest::keyClick(box.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("01194\r\n00460"));

        // Shift+click extends from the same anchor; a new text drops the selection.
        QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::ShiftModifier, PointOf(1, 0));
        QCOMPARE(box->selectedText(), QStringLiteral("01194\r\n"));
        QTest::keyClick(box.get(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(box->selectedText(), box->toPlainText());
        box->setPlainText(QStringLiteral("x"));
        QCOMPARE(box->selectedText(), QString());
    }

    void doubleClickSelectsAValue()
    {
        box->setPlainText(QStringLiteral("1:H9000 2:L4500"));
        QTest::mouseDClick(box->viewport(), Qt::LeftButton, Qt::NoModifier, PointOf(0, 10));
        QCOMPARE(box->selectedText(), QStringLiteral("2:L4500"));
    }

    // A million lines are shown at once and scroll like any text.
    void hugeTextScrollsByRows()
    {
        QString text;
        for (int i = 0; i < 1000000; ++i)
            text += QStringLiteral("%1\r\n").arg(i);
        box->setPlainText(text);
        QCOMPARE(box->Rows().RowCount(), 1000001);
        QScrollBar* bar = box->verticalScrollBar();
        QVERIFY(bar->maximum() > 999990);
        QTest::keyClick(box.get(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(bar->value(), bar->maximum());
        QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::NoModifier, PointOf(0, 0));
        const TextRows::Span span = box->Rows().Row(bar->value());
        QCOMPARE(box->cursorPosition(), span.begin);
        QTest::keyClick(box.get(), Qt::Key_Down);
        QCOMPARE(bar->value(), bar->maximum()); // already at the end
        QTest::keyClick(box.get(), Qt::Key_PageUp);
        QVERIFY(bar->value() < bar->maximum());
    }

    // Long lines wrap at the box's width; a wider box shows fewer rows.
    void longLinesWrapAtTheWidth()
    {
        box->setPlainText(QString(1000, QLatin1Char('7')));
        const int narrow = box->Rows().RowCount();
        const int columns = box->Rows().Columns();
        QVERIFY(columns * QFontMetrics(box->font()).horizontalAdvance(QLatin1Char('7')) <= box->viewport()->width());
        QCOMPARE(narrow, (1000 + columns - 1) / columns);
        box->resize(800, 120);
        QTRY_VERIFY(box->Rows().RowCount() < narrow);
    }

    void screenReadersReadTheText()
    {
        box->setAccessibleName(QStringLiteral("Code text"));
        box->setPlainText(QStringLiteral("003E8, 007D0"));
        box->setSelection(7, 12);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box.get());
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Code text"));
        QVERIFY(accessible->state().readOnly);
        QAccessibleTextInterface* text = accessible->textInterface();
        QVERIFY(text);
        QCOMPARE(text->characterCount(), 12);
        QCOMPARE(text->text(0, 5), QStringLiteral("003E8"));
        QCOMPARE(text->selectionCount(), 1);
        int start = 0, end = 0;
        text->selection(0, &start, &end);
        QCOMPARE(text->text(start, end), QStringLiteral("007D0"));
        QCOMPARE(text->text(-5, 99), QStringLiteral("003E8, 007D0"));
    }
};

QTEST_MAIN(TestCodeTextBox)
#include "tst_codetextbox.moc"
