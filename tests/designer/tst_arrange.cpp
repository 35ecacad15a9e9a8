// Alignment, spacing and nudging on the selection's rectangles, in the
// order they were selected (the last one is the reference).
#include "designer/Arrange.h"

#include "designer/support/DesignRectPrint.h"

#include <QtTest>

using Rects = std::vector<DesignRect>;
Q_DECLARE_METATYPE(Rects)
Q_DECLARE_METATYPE(arrange::Align)

namespace {

DesignRect Key(int left, int top)
{
    return DesignRect::FromSize(left, top, 48, 48);
}

} // namespace

class TestArrange : public QObject {
    Q_OBJECT

    const DesignRect bound{6, 6, 324, 639};

private slots:
    void align_data()
    {
        QTest::addColumn<arrange::Align>("how");
        QTest::addColumn<Rects>("expected");
        // A, B, C selected in that order: C is the reference and stays.
        const DesignRect c = DesignRect::FromSize(150, 300, 160, 48);
        QTest::newRow("L") << arrange::Align::Left << Rects{Key(150, 100), Key(150, 200), c};
        QTest::newRow("R") << arrange::Align::Right << Rects{Key(262, 100), Key(262, 200), c};
        QTest::newRow("V") << arrange::Align::CentreX << Rects{Key(206, 100), Key(206, 200), c};
        QTest::newRow("T") << arrange::Align::Top << Rects{Key(20, 300), Key(90, 300), c};
        QTest::newRow("B") << arrange::Align::Bottom << Rects{Key(20, 300), Key(90, 300), c};
        QTest::newRow("H") << arrange::Align::CentreY << Rects{Key(20, 300), Key(90, 300), c};
    }
    void align()
    {
        QFETCH(arrange::Align, how);
        QFETCH(Rects, expected);
        const Rects selection{Key(20, 100), Key(90, 200), DesignRect::FromSize(150, 300, 160, 48)};
        QCOMPARE(arrange::AlignTo(selection, how, bound), expected);
    }

    void alignClampsAndNeedsTwo()
    {
        // Centring a wide reference's neighbour may push it past the bound.
        const Rects wide{Key(100, 100), DesignRect::FromSize(-40, 200, 300, 48)};
        QCOMPARE(arrange::AlignTo(wide, arrange::Align::Left, bound)[0], Key(6, 100));
        const Rects one{Key(100, 100)};
        QCOMPARE(arrange::AlignTo(one, arrange::Align::Left, bound), one);
        // Odd differences truncate toward zero: (48 - 49) / 2 = 0.
        const Rects odd{DesignRect::FromSize(0, 0, 49, 49), Key(100, 100)};
        QCOMPARE(arrange::AlignTo(odd, arrange::Align::CentreX, bound)[0].left, 100);
    }

    void spaceAcrossEvensTheGaps()
    {
        // Lefts 10, 50, 200, widths 48: total 144, gap (248 - 144 - 10) / 2 = 47.
        const Rects selection{Key(200, 10), Key(10, 20), Key(50, 30)};
        const Rects spaced = arrange::Space(selection, arrange::Axis::Across, bound);
        QCOMPARE(spaced[0], Key(200, 10));
        QCOMPARE(spaced[1], Key(10, 20));
        QCOMPARE(spaced[2], Key(105, 30));
    }

    void spaceDownChainsFromTheEntryBefore()
    {
        // Four at tops 0, 10, 20, 300: gap (348 - 192 - 0) / 3 = 52; each
        // middle entry starts below the previous one as moved.
        const Rects selection{Key(5, 0), Key(5, 10), Key(5, 20), Key(5, 300)};
        const Rects spaced = arrange::Space(selection, arrange::Axis::Down, bound);
        QCOMPARE(spaced[1].top, 100);
        QCOMPARE(spaced[2].top, 200);
        QCOMPARE(spaced[3].top, 300);
        // Overlapping entries give a negative gap and pile up evenly.
        const Rects piled = arrange::Space({Key(0, 0), Key(10, 0), Key(20, 0)}, arrange::Axis::Across, bound);
        QCOMPARE(piled[1].left, 48 + (68 - 144) / 2);
    }

    void spaceKeepsSelectionOrderForEqualEdges()
    {
        // Equal lefts: the earlier selected counts as the earlier one.
        const Rects selection{Key(0, 0), Key(100, 0), Key(100, 60), Key(300, 0)};
        const Rects spaced = arrange::Space(selection, arrange::Axis::Across, bound);
        QCOMPARE(spaced[1].left, 100);
        QCOMPARE(spaced[2].left, 200);
    }

    void spaceKeepsEveryEntryInsideTheBound()
    {
        // A wide middle entry chained after its neighbour would stick out
        // past the widest one: it stops on the bound instead.
        const Rects selection{DesignRect::FromSize(158, 0, 160, 48), DesignRect::FromSize(164, 60, 160, 48),
                              Key(219, 120)};
        QCOMPARE(arrange::Space(selection, arrange::Axis::Across, DesignRect{})[1].left, 217);
        QCOMPARE(arrange::Space(selection, arrange::Axis::Across, bound)[1], DesignRect::FromSize(164, 60, 160, 48));
    }

    void spaceNeedsThree()
    {
        const Rects two{Key(0, 0), Key(200, 0)};
        QCOMPARE(arrange::Space(two, arrange::Axis::Across, bound), two);
        QCOMPARE(arrange::Space(two, arrange::Axis::Down, bound), two);
    }

    void nudgeStopsTheGroupAtTheBound()
    {
        const Rects atEdge{Key(6, 100), Key(60, 200)};
        QCOMPARE(arrange::Nudge(atEdge, -1, 0, true, bound), atEdge);
        QCOMPARE(arrange::Nudge(atEdge, 1, 0, true, bound), (Rects{Key(7, 100), Key(61, 200)}));
        // A step larger than the room left shrinks for the whole group.
        QCOMPARE(arrange::Nudge(atEdge, -1, -150, true, bound), (Rects{Key(6, 6), Key(60, 106)}));
        QCOMPARE(arrange::Nudge(atEdge, 0, 0, true, bound), atEdge);
    }
};

QTEST_APPLESS_MAIN(TestArrange)
#include "tst_arrange.moc"
