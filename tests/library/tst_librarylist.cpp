// The library window's list in plain code: the filter, the numbering, and
// the Add, Delete and move commands.
#include "analyzer/library/AddEntries.h"
#include "analyzer/library/CodeLibrary.h"
#include "analyzer/library/LibraryListModel.h"
#include "analyzer/library/Wildcard.h"

#include <QtTest>

namespace {

PulseTrain Marked(int mark)
{
    PulseTrain train;
    train[0] = 1;
    train[1] = mark;
    return train;
}

void Fill(CodeLibrary& library, const QStringList& names)
{
    library.Clear();
    for (int i = 0; i < names.size(); ++i)
        library.Append(names[i], Marked(1000 + i));
}

QStringList Names(const CodeLibrary& library)
{
    QStringList names;
    for (int i = 0; i < library.Count(); ++i)
        names << library.Entry(i).name;
    return names;
}

QStringList Column(const LibraryListModel& model, int column)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.data(model.index(row, column)).toString();
    return texts;
}

} // namespace

class TestLibraryList : public QObject {
    Q_OBJECT

private slots:
    void matchesLikeTheFilter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("shown");
        QTest::newRow("pow in Power") << "pow" << "Power" << true;
        QTest::newRow("pow in TV power") << "pow" << "TV power" << true;
        QTest::newRow("pow in POWER2") << "pow" << "POWER2" << true;
        QTest::newRow("pow not in Pwr") << "pow" << "Pwr" << false;
        QTest::newRow("p?w in Power") << "p?w" << "Power" << true;
        QTest::newRow("p?w not in Pwr") << "p?w" << "Pwr" << false;
        QTest::newRow("a*c in abc") << "a*c" << "abc" << true;
        QTest::newRow("a*c in xaxyc") << "a*c" << "xaxyc" << true;
        QTest::newRow("a*c not in cba") << "a*c" << "cba" << false;
        QTest::newRow("case ignored in pattern and name") << "VoL" << "vOLUME" << true;
        QTest::newRow("non-ASCII case ignored") << "ÄB" << "xäb" << true;
        // No backtracking: the run takes its first occurrence and sticks.
        QTest::newRow("first a taken, ? then misses") << "a?c" << "aabc" << false;
        QTest::newRow("first ab taken, c then misses") << "ab?d" << "abab_d" << false;
        QTest::newRow("late occurrence is found") << "ab" << "aab" << true;
        QTest::newRow("empty filter shows all") << "" << "anything" << true;
        QTest::newRow("empty filter shows the empty name") << "" << "" << true;
        QTest::newRow("star filter hides the empty name") << "*" << "" << false;
        QTest::newRow("star filter shows a name") << "*" << "x" << true;
        QTest::newRow("trailing star") << "po*" << "Power" << true;
        QTest::newRow("question mark needs a character") << "Power?" << "Power" << false;
        QTest::newRow("filter longer than name") << "Powerful" << "Power" << false;
    }
    void matchesLikeTheFilter()
    {
        QFETCH(QString, filter);
        QFETCH(QString, name);
        QFETCH(bool, shown);
        QCOMPARE(MatchWildcard(QLatin1Char('*') + filter, name), shown);
    }

    void longPatternsStayCheap()
    {
        // A quadratic or backtracking matcher would take minutes here.
        const QString name = QString(1024, QLatin1Char('a'));
        const QString pattern = QStringLiteral("*") + QString(40, QLatin1Char('a')) + QStringLiteral("*")
            + QString(40, QLatin1Char('a')) + QStringLiteral("b");
        for (int i = 0; i < 1000; ++i)
            QVERIFY(!MatchWildcard(pattern, name));
    }

    void refreshNumbersTheShownRows()
    {
        CodeLibrary library;
        Fill(library, {"Power", "Pwr", "TV power", "Mute", "POWER2"});
        LibraryListModel model(library);
        model.Refresh(QString());
        QCOMPARE(Column(model, LibraryListModel::kNumberColumn), (QStringList{"1", "2", "3", "4", "5"}));
        model.Refresh(QStringLiteral("pow"));
        QCOMPARE(Column(model, LibraryListModel::kNumberColumn), (QStringList{"1", "2", "3"}));
        QCOMPARE(Column(model, LibraryListModel::kNameColumn), (QStringList{"Power", "TV power", "POWER2"}));
        QCOMPARE(model.EntryAt(1), 2);
        QCOMPARE(model.data(model.index(2, 0), LibraryListModel::kEntryRole).toInt(), 4);
        QCOMPARE(model.EntryAt(3), -1);
    }

    void deleteKeepsNumbersUntilRefresh()
    {
        CodeLibrary library;
        Fill(library, {"a", "b", "c", "d", "e"});
        LibraryListModel model(library);
        model.Refresh(QString());
        model.DeleteRows({2, 1});
        QCOMPARE(Names(library), (QStringList{"a", "d", "e"}));
        QCOMPARE(library.Entry(1).train[1], 1003);
        QCOMPARE(Column(model, LibraryListModel::kNumberColumn), (QStringList{"1", "4", "5"}));
        QCOMPARE(Column(model, LibraryListModel::kNameColumn), (QStringList{"a", "d", "e"}));
        model.Refresh(QString());
        QCOMPARE(Column(model, LibraryListModel::kNumberColumn), (QStringList{"1", "2", "3"}));
    }

    void deleteWithAFilterRemovesTheShownEntries()
    {
        CodeLibrary library;
        Fill(library, {"x1", "y1", "x2", "y2", "x3"});
        LibraryListModel model(library);
        model.Refresh(QStringLiteral("x"));
        model.DeleteRows({0, 2});
        QCOMPARE(Names(library), (QStringList{"y1", "x2", "y2"}));
        QCOMPARE(Column(model, LibraryListModel::kNameColumn), (QStringList{"x2"}));
        QCOMPARE(model.EntryAt(0), 1);
    }

    void movesBlocks_data()
    {
        QTest::addColumn<bool>("up");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("library");
        QTest::addColumn<QList<int>>("selectedAfter");
        QTest::addColumn<bool>("saved");

        const QStringList start{"a", "b", "c", "d", "e"};
        QTest::newRow("up: block of rows 2 and 3")
            << true << QList<int>{2, 3} << QStringList{"a", "c", "d", "b", "e"} << QList<int>{1, 2} << true;
        QTest::newRow("up: two separate rows")
            << true << QList<int>{1, 4} << QStringList{"b", "a", "c", "e", "d"} << QList<int>{0, 3} << true;
        QTest::newRow("up: row 0 among the selected moves nothing")
            << true << QList<int>{0, 3} << start << QList<int>{0, 3} << false;
        QTest::newRow("up: nothing selected only saves") << true << QList<int>{} << start << QList<int>{} << true;
        QTest::newRow("down: block of rows 1 and 2")
            << false << QList<int>{1, 2} << QStringList{"a", "d", "b", "c", "e"} << QList<int>{2, 3} << true;
        QTest::newRow("down: last row among the selected moves nothing")
            << false << QList<int>{1, 4} << start << QList<int>{1, 4} << false;
        QTest::newRow("down: nothing selected only saves")
            << false << QList<int>{} << start << QList<int>{} << true;
    }
    void movesBlocks()
    {
        QFETCH(bool, up);
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, library);
        QFETCH(QList<int>, selectedAfter);
        QFETCH(bool, saved);

        CodeLibrary codes;
        Fill(codes, {"a", "b", "c", "d", "e"});
        LibraryListModel model(codes);
        model.Refresh(QString());
        const std::vector<int> rows(selected.begin(), selected.end());
        const LibraryListModel::MoveOutcome outcome = up ? model.MoveUp(rows) : model.MoveDown(rows);
        QCOMPARE(Names(codes), library);
        QCOMPARE(outcome.save, saved);
        if (outcome.moved)
            QCOMPARE(QList<int>(outcome.selection.begin(), outcome.selection.end()), selectedAfter);
        else
            QCOMPARE(selected, selectedAfter);
        // Rows keep their numbers; names follow the entries.
        QCOMPARE(Column(model, LibraryListModel::kNumberColumn), (QStringList{"1", "2", "3", "4", "5"}));
        QCOMPARE(Column(model, LibraryListModel::kNameColumn), library);
    }

    void moveWithAFilterSwapsNonNeighbours()
    {
        CodeLibrary library;
        Fill(library, {"tv 1", "radio", "tv 2", "fan", "tv 3"});
        LibraryListModel model(library);
        model.Refresh(QStringLiteral("tv"));
        const auto down = model.MoveDown({0});
        QVERIFY(down.moved);
        QCOMPARE(Names(library), (QStringList{"tv 2", "radio", "tv 1", "fan", "tv 3"}));
        QCOMPARE(library.Entry(0).train[1], 1002);
        QCOMPARE(down.selection, std::vector<int>{1});
        QCOMPARE(down.current, 1);
        const auto blocked = model.MoveDown({1, 2});
        QVERIFY(!blocked.moved);
        QVERIFY(!blocked.save);
        const auto up2 = model.MoveUp({2});
        QVERIFY(up2.moved);
        QCOMPARE(Names(library), (QStringList{"tv 2", "radio", "tv 3", "fan", "tv 1"}));
        QCOMPARE(Column(model, LibraryListModel::kNameColumn), (QStringList{"tv 2", "tv 3", "tv 1"}));
    }

    void addRespectsTheLimit_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<QList<bool>>("ticks");
        QTest::addColumn<int>("after");
        QTest::newRow("1022 + two ticked adds nothing") << 1022 << QList<bool>{true, false, true, false} << 1022;
        QTest::newRow("1022 + one ticked reaches 1023") << 1022 << QList<bool>{false, false, false, true} << 1023;
        QTest::newRow("1023 + one ticked adds nothing") << 1023 << QList<bool>{true, false, false, false} << 1023;
        QTest::newRow("a full library loaded from a file") << 1024 << QList<bool>{true, false, false, false} << 1024;
        QTest::newRow("four ticked into an empty library") << 0 << QList<bool>{true, true, true, true} << 4;
        QTest::newRow("none ticked") << 3 << QList<bool>{false, false, false, false} << 3;
    }
    void addRespectsTheLimit()
    {
        QFETCH(int, before);
        QFETCH(QList<bool>, ticks);
        QFETCH(int, after);
        CodeLibrary library;
        for (int i = 0; i < before; ++i)
            library.Append(QString::number(i), PulseTrain());
        std::array<PulseTrain, kChannelCount> channels{};
        AddChoice choice;
        for (int c = 0; c < kChannelCount; ++c) {
            channels[size_t(c)][1] = 100 + c;
            channels[size_t(c)][PulseTrain::kMaxPulses] = 7; // all 2048 slots are copied
            choice.ticked[size_t(c)] = ticks[c];
            choice.names[size_t(c)] = QStringLiteral("Key\r\n%1").arg(c + 1);
        }
        QCOMPARE(AddChannels(library, channels, choice), after - before);
        QCOMPARE(library.Count(), after);
        int added = before;
        for (int c = 0; c < kChannelCount && after > before; ++c) {
            if (!ticks[c])
                continue;
            QCOMPARE(library.Entry(added).name, QStringLiteral("Key%1").arg(c + 1));
            QVERIFY(library.Entry(added).train == channels[size_t(c)]);
            ++added;
        }
    }

    void addMemoryTicksTheSelectedChannelOnce()
    {
        AddDialogMemory memory;
        AddChoice first = memory.Open(2);
        QCOMPARE(first.ticked, (std::array<bool, kChannelCount>{false, false, true, false}));
        QCOMPARE(first.names[3], QStringLiteral("CH4"));
        first.ticked = {true, false, false, false};
        first.names[0] = QStringLiteral("Volume");
        memory.Remember(first);
        const AddChoice second = memory.Open(3);
        QCOMPARE(second.ticked, (std::array<bool, kChannelCount>{true, false, false, false}));
        QCOMPARE(second.names[0], QStringLiteral("Volume"));
    }
};

QTEST_GUILESS_MAIN(TestLibraryList)
#include "tst_librarylist.moc"
