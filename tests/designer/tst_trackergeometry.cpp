// The tracker geometry without a window: the clamp rule, the handles and
// their hit test, resizing by a handle, and the size invariant.
#include "designer/TrackerGeometry.h"

#include "designer/support/DesignRectPrint.h"

#include <QtTest>

class TestTrackerGeometry : public QObject {
    Q_OBJECT

    const DesignRect bound{6, 6, 324, 639};

private slots:
    void clampMove_data()
    {
        QTest::addColumn<DesignRect>("rect");
        QTest::addColumn<DesignRect>("expected");
        QTest::newRow("inside stays") << DesignRect{50, 50, 98, 98} << DesignRect{50, 50, 98, 98};
        QTest::newRow("past the left edge") << DesignRect{-10, 50, 38, 98} << DesignRect{6, 50, 54, 98};
        QTest::newRow("past the right edge") << DesignRect{300, 50, 348, 98} << DesignRect{276, 50, 324, 98};
        QTest::newRow("past the top") << DesignRect{50, 0, 98, 48} << DesignRect{50, 6, 98, 54};
        QTest::newRow("past the bottom") << DesignRect{50, 620, 98, 668} << DesignRect{50, 591, 98, 639};
        QTest::newRow("past a corner") << DesignRect{-5, 700, 43, 748} << DesignRect{6, 591, 54, 639};
        // Wider or taller than the bound: the left (top) edge lies on it,
        // wherever the rectangle started.
        QTest::newRow("wider, starting left") << DesignRect{0, 50, 400, 98} << DesignRect{6, 50, 406, 98};
        QTest::newRow("wider, starting inside") << DesignRect{20, 50, 420, 98} << DesignRect{6, 50, 406, 98};
        QTest::newRow("taller, starting inside") << DesignRect{50, 20, 98, 720} << DesignRect{50, 6, 98, 706};
    }
    void clampMove()
    {
        QFETCH(DesignRect, rect);
        QFETCH(DesignRect, expected);
        QCOMPARE(tracker::ClampMove(rect, bound), expected);
        QCOMPARE(tracker::ClampMove(rect, DesignRect{}), rect); // empty bound: no clamping
    }

    void clampResizeMovesOnlyTheViolatingEdge()
    {
        QCOMPARE(tracker::ClampResize({0, 50, 98, 98}, bound), (DesignRect{6, 50, 98, 98}));
        QCOMPARE(tracker::ClampResize({300, 50, 350, 98}, bound), (DesignRect{300, 50, 324, 98}));
        QCOMPARE(tracker::ClampResize({50, 2, 98, 700}, bound), (DesignRect{50, 6, 98, 700}));
        QCOMPARE(tracker::ClampResize({50, 50, 98, 98}, bound), (DesignRect{50, 50, 98, 98}));
    }

    void hitTest_data()
    {
        // A 48 x 48 rectangle at (100, 100); its handles are 6-pixel squares
        // outside it, the edge handles centred on the edges.
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("hit");
        QTest::newRow("top-left handle") << QPoint(95, 95) << int(tracker::kHitTopLeft);
        QTest::newRow("top-right handle") << QPoint(148, 94) << int(tracker::kHitTopRight);
        QTest::newRow("bottom-right handle") << QPoint(153, 153) << int(tracker::kHitBottomRight);
        QTest::newRow("bottom-left handle") << QPoint(94, 148) << int(tracker::kHitBottomLeft);
        QTest::newRow("top handle") << QPoint(124, 97) << int(tracker::kHitTop);
        QTest::newRow("right handle") << QPoint(150, 121) << int(tracker::kHitRight);
        QTest::newRow("bottom handle") << QPoint(121, 150) << int(tracker::kHitBottom);
        QTest::newRow("left handle") << QPoint(97, 126) << int(tracker::kHitLeft);
        QTest::newRow("inside") << QPoint(110, 130) << int(tracker::kHitInside);
        QTest::newRow("on the frame") << QPoint(99, 110) << int(tracker::kHitInside);
        QTest::newRow("between handles") << QPoint(110, 96) << int(tracker::kHitNothing);
        QTest::newRow("far away") << QPoint(10, 10) << int(tracker::kHitNothing);
    }
    void hitTest()
    {
        QFETCH(QPoint, point);
        QFETCH(int, hit);
        QCOMPARE(tracker::HitTest({100, 100, 148, 148}, point.x(), point.y()), hit);
    }

    void resizeKeepsTheMinimumAndNeverInverts()
    {
        const DesignRect r{100, 100, 148, 148};
        QCOMPARE(tracker::ResizeByHandle(r, tracker::kHitRight, 52, 30), (DesignRect{100, 100, 200, 148}));
        QCOMPARE(tracker::ResizeByHandle(r, tracker::kHitTopLeft, -10, -20), (DesignRect{90, 80, 148, 148}));
        QCOMPARE(tracker::ResizeByHandle(r, tracker::kHitLeft, 100, 0), (DesignRect{140, 100, 148, 148}));
        QCOMPARE(tracker::ResizeByHandle(r, tracker::kHitBottom, 0, -200), (DesignRect{100, 100, 148, 108}));
    }

    void sizeInvariantCentresThePicture()
    {
        // 48 x 48 given 100 x 48 with the left edge kept: 26 pixels right.
        QCOMPARE(tracker::SnapToPicture({100, 100, 200, 148}, 48, 48), (DesignRect{126, 100, 174, 148}));
        // The default 160 x 48 place.
        QCOMPARE(tracker::SnapToPicture({98, 310, 258, 358}, 48, 48), (DesignRect{154, 310, 202, 358}));
        // Smaller than the picture: the halves truncate toward zero.
        QCOMPARE(tracker::SnapToPicture({100, 100, 147, 145}, 48, 48), (DesignRect{100, 99, 148, 147}));
    }
};

QTEST_APPLESS_MAIN(TestTrackerGeometry)
#include "tst_trackergeometry.moc"
