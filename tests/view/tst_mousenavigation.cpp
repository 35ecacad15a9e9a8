#include "support/ViewTestSupport.h"

#include "analyzer/view/HoverReadout.h"
#include "analyzer/view/MouseNavigation.h"

#include <QtTest>

// Main panel 1400 wide (viewSpan 20000 us at x1), overview 1000 wide and
// dataSpan 980000 us, so that the overview scale S is exactly 1000 us a pixel.
class TestMouseNavigation : public QObject {
    Q_OBJECT

private slots:
    void init();
    void mainPanelCursorHit_data();
    void mainPanelCursorHit();
    void overviewPressTestsCursorsThenRectangle_data();
    void overviewPressTestsCursorsThenRectangle();
    void pressOutsideBothPanelsOnlyMovesFocus();
    void cursorDragClampsToTheData_data();
    void cursorDragClampsToTheData();
    void panMovesInWholeCellsWithinRange();
    void rectangleDragStopsAtTheEnds();
    void releaseEndsEveryDrag();
    void hoverText_data();
    void hoverText();
    void tooltipOnlyChangesAtANewPoint();

private:
    PanelGeometry panels;
    WaveformView view;
    ChannelTrains channels{};
};

void TestMouseNavigation::init()
{
    panels = MakePanels(1400, 1000);
    view = MakeView(panels, 980000);
    QCOMPARE(view.OverviewSpan(), 1000000.0);
    channels = {};
    channels[0] = MakeTrain({1, 9000, 4500, 560});
}

void TestMouseNavigation::mainPanelCursorHit_data()
{
    QTest::addColumn<int>("t1");
    QTest::addColumn<int>("t2");
    QTest::addColumn<int>("pressX");
    QTest::addColumn<int>("dragged"); // -1: pan

    // 1000 us is x = 70 at x1.
    QTest::newRow("2 px left of T1") << 1000 << 5000 << 68 << int(CursorT1);
    QTest::newRow("2 px right of T1") << 1000 << 5000 << 72 << int(CursorT1);
    QTest::newRow("3 px left of T1 pans") << 1000 << 5000 << 67 << -1;
    QTest::newRow("3 px right of T1 pans") << 1000 << 5000 << 73 << -1;
    QTest::newRow("T2") << 1000 << 5000 << 350 << int(CursorT2);
    QTest::newRow("T1 wins over T2") << 1000 << 1000 << 70 << int(CursorT1);
    QTest::newRow("T2 wins over the origin") << 1000 << 2000 << 140 << int(CursorT2);
    QTest::newRow("origin") << 9000 << 9000 << 141 << int(CursorOrigin);
}

void TestMouseNavigation::mainPanelCursorHit()
{
    QFETCH(int, t1);
    QFETCH(int, t2);
    QFETCH(int, pressX);
    QFETCH(int, dragged);
    view.cursorT1 = t1;
    view.cursorT2 = t2;
    view.cursorOrigin = 2000;

    const ViewUpdate update = LeftButtonPress(view, InMain(panels, pressX, 200), panels);
    QVERIFY(update.focusZoomList);
    QVERIFY(!view.pressInOverview);
    QCOMPARE(view.pressX, panels.mainPanel.left() + pressX);
    QCOMPARE(view.dragPan, dragged < 0);
    for (int c = 0; c < kCursorCount; ++c)
        QCOMPARE(view.dragCursor[size_t(c)], c == dragged);
    if (dragged >= 0)
        QCOMPARE(view.pressCursor[size_t(dragged)], view.Cursor(CursorId(dragged)));
}

void TestMouseNavigation::overviewPressTestsCursorsThenRectangle_data()
{
    QTest::addColumn<QPoint>("press"); // overview coordinates
    QTest::addColumn<int>("dragged");
    QTest::addColumn<bool>("dragRect");

    // T1 at 500000 us is overview x = 500; the rectangle covers x 0..19.
    QTest::newRow("T1 at 2 px") << QPoint(502, 40) << int(CursorT1) << false;
    QTest::newRow("T1 at 3 px: nothing") << QPoint(503, 40) << -1 << false;
    QTest::newRow("inside the rectangle") << QPoint(10, 40) << -1 << true;
    QTest::newRow("below the rectangle") << QPoint(10, 85) << -1 << false;
    QTest::newRow("cursor over the rectangle wins") << QPoint(2, 40) << int(CursorT2) << false;
}

void TestMouseNavigation::overviewPressTestsCursorsThenRectangle()
{
    QFETCH(QPoint, press);
    QFETCH(int, dragged);
    QFETCH(bool, dragRect);
    view.cursorT1 = 500000;
    view.cursorT2 = 0;
    view.cursorOrigin = 700000;
    QCOMPARE(view.overviewRect, (ViewRect{0, 5, 20, 85}));

    const ViewUpdate update = LeftButtonPress(view, InOverview(panels, press.x(), press.y()), panels);
    QVERIFY(update.focusZoomList);
    QVERIFY(view.pressInOverview);
    QCOMPARE(view.dragRect, dragRect);
    QVERIFY(!view.dragPan);
    for (int c = 0; c < kCursorCount; ++c)
        QCOMPARE(view.dragCursor[size_t(c)], c == dragged);
    if (dragRect)
        QCOMPARE(view.pressRect, view.overviewRect);
}

void TestMouseNavigation::pressOutsideBothPanelsOnlyMovesFocus()
{
    const ViewUpdate update = LeftButtonPress(view, QPoint(3, 3), panels);
    QVERIFY(update.focusZoomList);
    QVERIFY(!view.dragPan && !view.dragRect);
}

void TestMouseNavigation::cursorDragClampsToTheData_data()
{
    QTest::addColumn<bool>("inOverview");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("expected");

    // T1 starts at 500000 us: main x = 35000 is off-panel, so scroll there first.
    QTest::newRow("main: 1 px is 14 us") << false << 1 << 500014;
    QTest::newRow("main: -7 px") << false << -7 << 499900;
    QTest::newRow("main: beyond the end") << false << 40000 << 980000;
    QTest::newRow("overview: 1 px is 1000 us") << true << 3 << 503000;
    QTest::newRow("overview: left of 0") << true << -600 << 0;
    QTest::newRow("overview: beyond the end") << true << 490 << 980000;
}

void TestMouseNavigation::cursorDragClampsToTheData()
{
    QFETCH(bool, inOverview);
    QFETCH(int, dx);
    QFETCH(int, expected);
    view.cursorT1 = 500000;
    view.scroll = 34986; // T1 at main x = 14
    QPoint press = inOverview ? InOverview(panels, 500, 30) : InMain(panels, 14, 30);
    LeftButtonPress(view, press, panels);
    QVERIFY(view.dragCursor[CursorT1]);

    const ViewUpdate update = MouseMove(view, press + QPoint(dx, 400), channels, true, panels);
    QCOMPARE(view.cursorT1, expected);
    QVERIFY(update.repaintMain && update.repaintOverview);
    QCOMPARE(update.tooltip, TooltipAction::LeaveAlone);
    QCOMPARE(view.lastMouse, press + QPoint(dx, 400));
}

void TestMouseNavigation::panMovesInWholeCellsWithinRange()
{
    view.scroll = 700;
    const QPoint press = InMain(panels, 500, 30);
    LeftButtonPress(view, press, panels);
    QVERIFY(view.dragPan);
    QCOMPARE(view.pressScroll, 700);

    MouseMove(view, press - QPoint(30, 0), channels, true, panels); // two whole cells
    QCOMPARE(view.scroll, 728);
    MouseMove(view, press + QPoint(13, 0), channels, true, panels); // not a whole cell
    QCOMPARE(view.scroll, 700);
    MouseMove(view, press + QPoint(2000, 0), channels, true, panels);
    QCOMPARE(view.scroll, 0);
    QCOMPARE(view.overviewRect.left, 0);
    MouseMove(view, press - QPoint(200000, 0), channels, true, panels);
    QCOMPARE(view.scroll, view.ScrollLimit());
    QCOMPARE(view.overviewRect.right, 1000);
}

void TestMouseNavigation::rectangleDragStopsAtTheEnds()
{
    const QPoint press = InOverview(panels, 10, 40);
    LeftButtonPress(view, press, panels);
    QVERIFY(view.dragRect);

    // Left 490 of room 980: half of the limit 68600, in whole cells.
    MouseMove(view, press + QPoint(490, 0), channels, true, panels);
    QCOMPARE(view.overviewRect, (ViewRect{490, 5, 510, 85}));
    QCOMPARE(view.scroll, 34300);
    MouseMove(view, press + QPoint(5000, 0), channels, true, panels);
    QCOMPARE(view.overviewRect, (ViewRect{980, 5, 1000, 85}));
    QCOMPARE(view.scroll, 68600);
    MouseMove(view, press - QPoint(50, 0), channels, true, panels);
    QCOMPARE(view.overviewRect, (ViewRect{0, 5, 20, 85}));
    QCOMPARE(view.scroll, 0);
}

void TestMouseNavigation::releaseEndsEveryDrag()
{
    LeftButtonPress(view, InMain(panels, 500, 30), panels);
    LeftButtonRelease(view);
    QVERIFY(!view.dragPan && !view.dragRect);
    QCOMPARE(view.dragCursor, (std::array<bool, 3>{false, false, false}));

    // Idle again: a move shows the read-out and leaves the scroll alone.
    const ViewUpdate hover = MouseMove(view, InMain(panels, 0, 70), channels, true, panels);
    QCOMPARE(hover.tooltip, TooltipAction::Show);
    QCOMPARE(view.scroll, 0);
}

void TestMouseNavigation::hoverText_data()
{
    QTest::addColumn<QPoint>("point"); // main-panel coordinates
    QTest::addColumn<bool>("analyze");
    QTest::addColumn<QString>("text");

    // 9000/4500/560 at x1: the pulses end at x = 630, 945 and 984.
    QTest::newRow("first pulse") << QPoint(0, 70) << true << "CH1\n1H:9000us";
    QTest::newRow("exactly at its end") << QPoint(630, 70) << true << "CH1\n1H:9000us";
    QTest::newRow("just after") << QPoint(631, 70) << true << "CH1\n2L:4500us";
    QTest::newRow("last pulse") << QPoint(984, 70) << true << "CH1\n3H:560us";
    QTest::newRow("past the end") << QPoint(985, 70) << true << "";
    QTest::newRow("top of the trace") << QPoint(10, 63) << true << "CH1\n1H:9000us";
    QTest::newRow("bottom of the trace") << QPoint(10, 82) << true << "CH1\n1H:9000us";
    QTest::newRow("above it") << QPoint(10, 62) << true << "";
    QTest::newRow("below it") << QPoint(10, 83) << true << "";
    QTest::newRow("annotation rows when analysis is off") << QPoint(10, 35) << false << "CH1\n1H:9000us";
    QTest::newRow("above them") << QPoint(10, 34) << false << "";
    QTest::newRow("empty channel") << QPoint(10, 170) << true << "";
    QTest::newRow("low start, channel 4") << QPoint(10, 370) << true << "CH4\n1L:300us";
    QTest::newRow("no terminator") << QPoint(10, 272) << true << "CH3\n142L:1us";
    QTest::newRow("no terminator, past the end") << QPoint(200, 272) << true << "";
}

void TestMouseNavigation::hoverText()
{
    QFETCH(QPoint, point);
    QFETCH(bool, analyze);
    QFETCH(QString, text);
    channels[2].entries.fill(1); // 2047 pulses of 1 us
    channels[3] = MakeTrain({0, 300, 400});
    QCOMPARE(HoverText(view, point, channels, analyze), text);
}

void TestMouseNavigation::tooltipOnlyChangesAtANewPoint()
{
    const QPoint onTrace = InMain(panels, 100, 70);
    ViewUpdate update = MouseMove(view, onTrace, channels, true, panels);
    QCOMPARE(update.tooltip, TooltipAction::Show);
    QCOMPARE(update.tooltipText, QStringLiteral("CH1\n1H:9000us"));
    QCOMPARE(view.lastTipPos, onTrace);

    // An arrow key re-evaluates at the same point: the shown text stays.
    update = ScrollByArrow(view, ArrowKey::Right, channels, true, panels);
    QCOMPARE(update.tooltip, TooltipAction::LeaveAlone);

    update = MouseMove(view, onTrace + QPoint(600, 0), channels, true, panels);
    QCOMPARE(update.tooltip, TooltipAction::Show);
    QCOMPARE(update.tooltipText, QStringLiteral("CH1\n2L:4500us"));

    update = MouseMove(view, InOverview(panels, 100, 70), channels, true, panels);
    QCOMPARE(update.tooltip, TooltipAction::Hide);
}

QTEST_GUILESS_MAIN(TestMouseNavigation)
#include "tst_mousenavigation.moc"
