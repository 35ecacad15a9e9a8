#include "analyzer/decode/PatternMatch.h"
#include "analyzer/decode/ProtocolTable.h"

#include <QtTest>

#include <climits>

Q_DECLARE_METATYPE(TimingPattern)

namespace {

PulseTrain TrainOf(int32_t startLevel, const QVector<int>& pulses)
{
    PulseTrain train;
    train[0] = startLevel;
    for (int i = 0; i < pulses.size() && i < PulseTrain::kMaxPulses; ++i)
        train[i + 1] = pulses[i];
    return train;
}

const TimingPattern& NecOne() { return ProtocolTable[0].oneBit; }   // H 560 1690
const TimingPattern& NecLead() { return ProtocolTable[0].lead; }    // H 9000 4500
const TimingPattern& NecStop() { return ProtocolTable[0].stop; }    // H 560 any
const TimingPattern& Rc5Zero() { return ProtocolTable[6].zeroBit; } // H 889 889
const TimingPattern& EmptyPattern() { return ProtocolTable[0].altFirstBit; }

} // namespace

class TestPatternMatch : public QObject {
    Q_OBJECT

private slots:
    void matches_data()
    {
        QTest::addColumn<TimingPattern>("pattern");
        QTest::addColumn<int>("level");
        QTest::addColumn<QVector<int>>("pulses");
        QTest::addColumn<int>("adjustUs");
        QTest::addColumn<int>("expected");

        // 1690 accepts 1014..2366; beyond the top of a last pulse is an extended match.
        QTest::newRow("last at lower bound") << NecOne() << 1 << QVector<int>{560, 1014} << 0 << 1;
        QTest::newRow("last below lower bound") << NecOne() << 1 << QVector<int>{560, 1013} << 0 << 0;
        QTest::newRow("last at upper bound") << NecOne() << 1 << QVector<int>{560, 2366} << 0 << 1;
        QTest::newRow("last too long") << NecOne() << 1 << QVector<int>{560, 2367} << 0 << 2;
        QTest::newRow("last far too long") << NecOne() << 1 << QVector<int>{560, INT_MAX} << 0 << 2;
        // 560 accepts 336..784; a misfit before the last pulse is no match at all.
        QTest::newRow("first at bounds") << NecOne() << 1 << QVector<int>{336, 1690} << 0 << 1;
        QTest::newRow("first below") << NecOne() << 1 << QVector<int>{335, 1690} << 0 << 0;
        QTest::newRow("first upper bound") << NecOne() << 1 << QVector<int>{784, 1690} << 0 << 1;
        QTest::newRow("first too long") << NecOne() << 1 << QVector<int>{785, 1690} << 0 << 0;
        QTest::newRow("lead 5400") << NecLead() << 1 << QVector<int>{5400, 4500} << 0 << 1;
        QTest::newRow("lead 5399") << NecLead() << 1 << QVector<int>{5399, 4500} << 0 << 0;
        QTest::newRow("lead 12600") << NecLead() << 1 << QVector<int>{12600, 4500} << 0 << 1;
        QTest::newRow("lead 12601") << NecLead() << 1 << QVector<int>{12601, 4500} << 0 << 0;
        QTest::newRow("negative duration") << NecOne() << 1 << QVector<int>{-560, 1690} << 0 << 0;
        QTest::newRow("INT_MIN duration") << NecLead() << 1 << QVector<int>{INT_MIN, 4500} << 0 << 0;

        // A nominal of 0 takes anything but the end of the train.
        QTest::newRow("any: long") << NecStop() << 1 << QVector<int>{560, 100000} << 0 << 1;
        QTest::newRow("any: 1 us") << NecStop() << 1 << QVector<int>{560, 1} << 0 << 1;
        QTest::newRow("any: end of train") << NecStop() << 1 << QVector<int>{560} << 0 << 0;
        QTest::newRow("ends inside pattern") << NecLead() << 1 << QVector<int>{9000} << 0 << 0;
        QTest::newRow("empty train") << NecOne() << 1 << QVector<int>{} << 0 << 0;

        // Only the low byte of the level is compared.
        QTest::newRow("level mismatch") << NecOne() << 0 << QVector<int>{560, 1690} << 0 << 0;
        QTest::newRow("level 0x101 is high") << NecOne() << 0x101 << QVector<int>{560, 1690} << 0 << 1;
        QTest::newRow("level 0x100 is low") << NecOne() << 0x100 << QVector<int>{560, 1690} << 0 << 0;
        QTest::newRow("empty pattern, low") << EmptyPattern() << 0 << QVector<int>{} << 0 << 1;
        QTest::newRow("empty pattern, 0x200") << EmptyPattern() << 0x200 << QVector<int>{} << 0 << 1;
        QTest::newRow("empty pattern, high") << EmptyPattern() << 1 << QVector<int>{560} << 0 << 0;

        // The adjustment applies to the first compared pulse only.
        QTest::newRow("carry into first") << Rc5Zero() << 1 << QVector<int>{1778, 889} << -889 << 1;
        QTest::newRow("no carry: long first") << Rc5Zero() << 1 << QVector<int>{1778, 889} << 0 << 0;
        QTest::newRow("carry not on second") << Rc5Zero() << 1 << QVector<int>{1778, 1778} << -889 << 2;
        QTest::newRow("carry below lower bound") << Rc5Zero() << 1 << QVector<int>{1422, 889} << -889 << 0;
    }

    void matches()
    {
        QFETCH(TimingPattern, pattern);
        QFETCH(int, level);
        QFETCH(QVector<int>, pulses);
        QFETCH(int, adjustUs);
        QFETCH(int, expected);
        QCOMPARE(int(MatchPattern(level, pattern, TrainOf(1, pulses), 0, adjustUs)), expected);
    }

    void matchesAtLaterPosition()
    {
        const PulseTrain train = TrainOf(1, {9000, 4500, 560, 1690, 560, 560});
        QCOMPARE(MatchPattern(1, NecOne(), train, 2), kMatch);
        QCOMPARE(MatchPattern(1, ProtocolTable[0].zeroBit, train, 4), kMatch);
        QCOMPARE(MatchPattern(1, NecOne(), train, 3), kNoMatch);
    }

    // A full train has no terminator: reading off its end must see the end,
    // never slot 2048 or beyond.
    void positionsOutsideTheTrainReadAsItsEnd_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("expected");
        QTest::newRow("last two pulses") << 2045 << 1;
        QTest::newRow("pattern runs off the end") << 2046 << 0;
        QTest::newRow("just past") << 2047 << 0;
        QTest::newRow("far past") << INT_MAX << 0;
        QTest::newRow("before the start") << -1 << 0;
        QTest::newRow("far before") << INT_MIN << 0;
    }

    void positionsOutsideTheTrainReadAsItsEnd()
    {
        QFETCH(int, position);
        QFETCH(int, expected);
        PulseTrain train;
        train.entries.fill(560);
        QCOMPARE(int(MatchPattern(1, NecStop(), train, position, -100)), expected);
    }
};

QTEST_APPLESS_MAIN(TestPatternMatch)
#include "tst_patternmatch.moc"
