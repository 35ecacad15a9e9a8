// The code test's comparison and its log line.
#include "analyzer/library/CodeLibrary.h"
#include "analyzer/library/CodeTest.h"
#include "analyzer/library/LibraryListModel.h"
#include "library/support/Trains.h"

#include <QDateTime>
#include <QtTest>

#include <climits>

namespace {

std::vector<int> ShownEntries(const LibraryListModel& model)
{
    std::vector<int> entries;
    for (const auto& row : model.Rows())
        entries.push_back(row.entry);
    return entries;
}

} // namespace

class TestCodeTest : public QObject {
    Q_OBJECT

private slots:
    void marginBounds_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("captured");
        QTest::addColumn<int>("margin");
        QTest::addColumn<bool>("matches");
        QTest::newRow("560 at 448") << 560 << 448 << 20 << true;
        QTest::newRow("560 at 447") << 560 << 447 << 20 << false;
        QTest::newRow("560 at 672") << 560 << 672 << 20 << true;
        QTest::newRow("560 at 673") << 560 << 673 << 20 << false;
        QTest::newRow("9000 at 7200") << 9000 << 7200 << 20 << true;
        QTest::newRow("9000 at 7199") << 9000 << 7199 << 20 << false;
        QTest::newRow("9000 at 10800") << 9000 << 10800 << 20 << true;
        QTest::newRow("9000 at 10801") << 9000 << 10801 << 20 << false;
        // 1 % of 99 truncates to 0: only the exact value passes.
        QTest::newRow("truncated margin, exact") << 99 << 99 << 1 << true;
        QTest::newRow("truncated margin, one off") << 99 << 100 << 1 << false;
        QTest::newRow("50 % upper edge") << 1000 << 1500 << 50 << true;
        QTest::newRow("capture ends early") << 560 << 0 << 50 << false;
        // Hostile slot values that overflow 32-bit arithmetic.
        QTest::newRow("huge stored, tiny captured") << INT_MAX << 1 << 50 << false;
        QTest::newRow("huge stored within 50 %") << INT_MAX << INT_MAX / 2 + 1 << 50 << true;
        QTest::newRow("negative captured") << INT_MAX << INT_MIN << 50 << false;
        // 100 * 42949673 wraps to 4 in 32 bits.
        QTest::newRow("difference whose 100-fold wraps") << 9000 << 9000 + 42949673 << 20 << false;
        QTest::newRow("captured far below zero") << 9000 << INT_MIN << 20 << false;
        QTest::newRow("negative stored, other value") << -500 << -499 << 20 << false;
    }
    void marginBounds()
    {
        QFETCH(int, stored);
        QFETCH(int, captured);
        QFETCH(int, margin);
        QFETCH(bool, matches);
        QCOMPARE(EntryMatches(Train(1, {9000, stored}), Train(1, {9000, captured}), margin), matches);

        // The same slot in the middle of a full train, among exact matches.
        PulseTrain fullStored;
        fullStored.entries.fill(9000);
        fullStored[0] = 1;
        PulseTrain fullCapture = fullStored;
        fullStored[1000] = stored;
        fullCapture[1000] = captured;
        QCOMPARE(EntryMatches(fullStored, fullCapture, margin), matches);
    }

    void onlyTheStoredLengthCounts()
    {
        const PulseTrain stored = Train(1, {9000, 4500, 560});
        QVERIFY(EntryMatches(stored, Train(1, {9100, 4400, 600, 40000, 9000, 2250, 560}), 20));
        QVERIFY(EntryMatches(Train(1, {}), Train(1, {1, 2, 3}), 20));
        QVERIFY(EntryMatches(Train(0x100, {}), Train(0x100, {}), 20));
        // Slot 0 is compared whole: 0x100 is not 0, and is not 1 either.
        QVERIFY(!EntryMatches(Train(0x100, {}), Train(0, {}), 50));
        QVERIFY(!EntryMatches(Train(0x100, {}), Train(1, {}), 50));
        QVERIFY(!EntryMatches(stored, Train(0, {9000, 4500, 560}), 50));

        PulseTrain full;
        full[0] = 1;
        for (int j = 1; j <= PulseTrain::kMaxPulses; ++j)
            full[j] = 500 + j;
        PulseTrain lastOff = full;
        lastOff[PulseTrain::kMaxPulses] = 5000;
        QVERIFY(EntryMatches(full, full, 1));
        QVERIFY(!EntryMatches(full, lastOff, 50));
    }

    void firstShownMatchOnly()
    {
        CodeLibrary library;
        library.Append(QStringLiteral("TV Power"), Train(1, {9000, 4500, 560}));
        library.Append(QStringLiteral("Hidden power"), Train(1, {9000, 4500, 560, 560}));
        library.Append(QStringLiteral("Anything high"), Train(1, {}));
        library.Append(QStringLiteral("Fan"), Train(1, {3000}));
        LibraryListModel model(library);
        const PulseTrain capture = Train(1, {9050, 4450, 570, 560, 1690});

        model.Refresh(QString());
        QCOMPARE(FindMatchingRow(library, ShownEntries(model), capture, 20), 0);

        model.Refresh(QStringLiteral("i")); // Hidden power, Anything high
        QCOMPARE(FindMatchingRow(library, ShownEntries(model), capture, 20), 0);
        QCOMPARE(model.EntryAt(0), 1);

        model.Refresh(QStringLiteral("an")); // Anything high, Fan
        QCOMPARE(FindMatchingRow(library, ShownEntries(model), capture, 20), 0);
        QCOMPARE(model.EntryAt(0), 2);

        model.Refresh(QStringLiteral("fan"));
        QCOMPARE(FindMatchingRow(library, ShownEntries(model), capture, 20), -1);

        // Rows top to bottom, not library order.
        model.Refresh(QString());
        model.MoveDown({0});
        QCOMPARE(FindMatchingRow(library, ShownEntries(model), capture, 20), 0);
        QCOMPARE(library.Entry(model.EntryAt(0)).name, QStringLiteral("Hidden power"));
        QCOMPARE(FindMatchingRow(library, {}, capture, 20), -1);
    }

    void logLineFormat()
    {
        const QDateTime when(QDate(2024, 3, 7), QTime(9, 5, 4));
        QCOMPARE(CodeTestLogLine(when, QStringLiteral("TV Power")), QStringLiteral("2024-03-07 09:05:04: TV Power\r\n"));
        QCOMPARE(CodeTestLogLine(QDateTime(), QStringLiteral("x")), QStringLiteral("x\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestCodeTest)
#include "tst_codetest.moc"
