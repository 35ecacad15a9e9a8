// Cutting the code text into the rows its box shows.
#include "analyzer/view/TextRows.h"

#include <QtTest>

namespace {

QStringList AllRows(const TextRows& rows)
{
    QStringList shown;
    for (int r = 0; r < rows.RowCount(); ++r) {
        const TextRows::Span span = rows.Row(r);
        shown << rows.Text().mid(span.begin, span.end - span.begin);
    }
    return shown;
}

} // namespace

class TestTextRows : public QObject {
    Q_OBJECT

private slots:
    void rows_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("empty text is one empty row") << QString() << 4 << QStringList{QString()};
        QTest::newRow("CR LF, LF and a lone CR end lines")
            << QStringLiteral("ab\r\ncd\nef\rgh") << 4 << QStringList{"ab", "cd", "ef", "gh"};
        QTest::newRow("a final line break opens an empty line") << QStringLiteral("ab\r\n") << 4 << QStringList{"ab", ""};
        QTest::newRow("empty lines stay") << QStringLiteral("\n\r\n\r") << 4 << QStringList{"", "", "", ""};
        QTest::newRow("CR CR LF is two breaks") << QStringLiteral("a\r\r\nb") << 4 << QStringList{"a", "", "b"};
        QTest::newRow("long lines wrap at the column count")
            << QStringLiteral("0123456789\r\nab") << 4 << QStringList{"0123", "4567", "89", "ab"};
        QTest::newRow("exactly full rows add none") << QStringLiteral("01234567") << 4 << QStringList{"0123", "4567"};
        QTest::newRow("one column") << QStringLiteral("ab\ncd") << 1 << QStringList{"a", "b", "c", "d"};
    }
    void rows()
    {
        QFETCH(QString, text);
        QFETCH(int, columns);
        QFETCH(QStringList, rows);
        TextRows cut;
        cut.SetColumns(columns);
        cut.SetText(text);
        QCOMPARE(AllRows(cut), rows);
        // Every position lies in the row that shows it, or in the line break
        // after it (the LF of a CR LF is one past the row's end).
        for (qsizetype p = 0; p <= text.size(); ++p) {
            const TextRows::Span span = cut.Row(cut.RowOf(p));
            QVERIFY2(p >= span.begin && p <= span.end + 1, qPrintable(QString::number(p)));
        }
    }

    void rewrapsWithoutLosingCharacters()
    {
        TextRows rows;
        QString text;
        int expectedCharacters = 0;
        for (int i = 0; i < 300; ++i) {
            text += QString(i % 37, QLatin1Char('x')) + (i % 3 ? QStringLiteral("\r\n") : QStringLiteral("\n"));
            expectedCharacters += i % 37;
        }
        rows.SetText(text);
        for (int columns : {1, 7, 36, 37, 80, 1000}) {
            rows.SetColumns(columns);
            int characters = 0;
            for (int r = 0; r < rows.RowCount(); ++r) {
                const TextRows::Span span = rows.Row(r);
                QVERIFY(span.end - span.begin <= columns);
                characters += int(span.end - span.begin);
                QCOMPARE(rows.RowOf(span.begin), r);
            }
            QCOMPARE(characters, expectedCharacters);
        }
        QVERIFY(rows.Row(-1).end == 0 && rows.Row(rows.RowCount()).end == 0);
    }
};

QTEST_GUILESS_MAIN(TestTextRows)
#include "tst_textrows.moc"
