#include "support/ViewTestSupport.h"

#include "analyzer/view/ViewNavigation.h"
#include "analyzer/view/ZoomTable.h"

#include <QtTest>

#include <climits>

class TestViewArithmetic : public QObject {
    Q_OBJECT

private slots:
    void startUpState();
    void timeMappingAtEveryZoom_data();
    void timeMappingAtEveryZoom();
    void timeToXTruncatesTowardZero();
    void scrollLimit_data();
    void scrollLimit();
    void zoomRescalesScroll_data();
    void zoomRescalesScroll();
    void spinStepsStopAtTheEnds();
    void arrowKeysClampToTheScrollRange();
    void overviewRectFollowsScroll();
    void dataChangeKeepsRelativePosition();
    void shorterCapturePullsCursorsBack();
    void longestChannelIsBoundedAndUnsigned();
    void degeneratePlacementsStayInRange_data();
    void degeneratePlacementsStayInRange();
};

void TestViewArithmetic::startUpState()
{
    WaveformView view;
    QCOMPARE(view.zoom, 100);
    QCOMPARE(view.scroll, 0);
    QCOMPARE(view.dataSpan, 12500000u);
    QCOMPARE(view.cursorT1 | view.cursorT2 | view.cursorOrigin, 0);
    QVERIFY(!view.dragPan && !view.dragRect && !view.pressInOverview);
    QCOMPARE(QLatin1String(kZoomTable[kStartZoomIndex].text), QLatin1String("x1"));
    QCOMPARE(kZoomTable[kStartZoomIndex].zoom, view.zoom);
    QCOMPARE(ZoomTexts(), QStringList({"x10", "x5", "x2", "x1", "/2", "/5", "/10", "/20", "/50", "/100"}));

    const PanelGeometry panels = MakePanels(1400, 1000);
    view.overviewCache = QImage(4, 4, QImage::Format_RGB32);
    const ViewUpdate update = RefreshView(view, panels);
    QVERIFY(update.repaintMain && update.repaintOverview && view.overviewCache.isNull());
    QCOMPARE(view.viewSpan, 20000);
    QCOMPARE(view.overviewRect, (ViewRect{0, 5, 10, 85})); // 1.6 pixels widened to 10
}

void TestViewArithmetic::timeMappingAtEveryZoom_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("cellUs");
    for (const ZoomEntry& entry : kZoomTable)
        QTest::newRow(entry.text) << entry.zoom << 20000 / entry.zoom;
}

void TestViewArithmetic::timeMappingAtEveryZoom()
{
    QFETCH(int, zoom);
    QFETCH(int, cellUs);
    WaveformView view;
    view.zoom = zoom;

    QCOMPARE(view.TimeToX(cellUs), 14);
    QCOMPARE(view.TimeToX(5 * cellUs - 1), 69);
    QCOMPARE(view.XToTime(14), cellUs);
    QCOMPARE(view.XToTime(70), 5 * cellUs);

    view.scroll = 28;
    QCOMPARE(view.TimeToX(cellUs), -14);
    QCOMPARE(view.XToTime(0), 2 * cellUs);
    QCOMPARE(view.XToTime(view.TimeToX(7 * cellUs)), 7 * cellUs);
}

void TestViewArithmetic::timeToXTruncatesTowardZero()
{
    WaveformView view;
    view.scroll = 10;
    QCOMPARE(view.TimeToX(99), -3); // 6.93 - 10
    QCOMPARE(view.XToTime(-11), -14); // -1 pixel is -14.3 us
}

void TestViewArithmetic::scrollLimit_data()
{
    QTest::addColumn<uint32_t>("dataSpan");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("limit");
    QTest::newRow("start-up") << 12500000u << 100 << 875000;
    QTest::newRow("whole ms only") << 1999u << 100 << 70;
    QTest::newRow("under 1 ms") << 999u << 1000 << 0;
    QTest::newRow("/100 truncates") << 1999u << 1 << 0;
    QTest::newRow("/50 odd") << 1001000u << 50 << 35035;
    QTest::newRow("100 s at x10 needs more than 32 bits") << 100000000u << 1000 << 70000000;
    QTest::newRow("capped at INT_MAX") << 4000000000u << 1000 << INT_MAX;
}

void TestViewArithmetic::scrollLimit()
{
    QFETCH(uint32_t, dataSpan);
    QFETCH(int, zoom);
    QFETCH(int, limit);
    WaveformView view;
    view.dataSpan = dataSpan;
    view.zoom = zoom;
    QCOMPARE(view.ScrollLimit(), limit);
}

void TestViewArithmetic::zoomRescalesScroll_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("scroll");
    QTest::newRow("x1 to x2") << "x2" << 200 << 1428;
    QTest::newRow("x1 to /2 rounds down to a cell") << "/2" << 50 << 350;
    QTest::newRow("x1 to x10") << "x10" << 1000 << 7140;
    QTest::newRow("unknown text keeps the zoom") << "x3" << 100 << 714;
    QTest::newRow("comparison is exact") << "X2" << 100 << 714;
}

void TestViewArithmetic::zoomRescalesScroll()
{
    QFETCH(QString, text);
    QFETCH(int, zoom);
    QFETCH(int, scroll);
    const PanelGeometry panels = MakePanels(1400, 1000);
    WaveformView view = MakeView(panels, 12500000, 100, 714);
    view.overviewCache = QImage(4, 4, QImage::Format_RGB32);

    const ViewUpdate update = ApplyZoom(view, text, panels);
    QCOMPARE(view.zoom, zoom);
    QCOMPARE(view.scroll, scroll);
    QCOMPARE(view.viewSpan, 1400 * 20000 / (zoom * 14));
    QVERIFY(view.overviewCache.isNull() && update.repaintMain);
}

void TestViewArithmetic::spinStepsStopAtTheEnds()
{
    QCOMPARE(SteppedZoomIndex(3, 1), 4);
    QCOMPARE(SteppedZoomIndex(3, 0), 2);
    QCOMPARE(SteppedZoomIndex(3, -120), 2);
    QCOMPARE(SteppedZoomIndex(9, 1), 9);
    QCOMPARE(SteppedZoomIndex(0, -1), 0);
}

void TestViewArithmetic::arrowKeysClampToTheScrollRange()
{
    const PanelGeometry panels = MakePanels(1400, 1000);
    const ChannelTrains channels{};
    WaveformView view = MakeView(panels, 1001000, 50, 35028);
    QCOMPARE(view.ScrollLimit(), 35035); // not a whole number of cells

    ScrollByArrow(view, ArrowKey::Right, channels, true, panels);
    QCOMPARE(view.scroll, 35035);
    view.overviewCache = QImage(4, 4, QImage::Format_RGB32);
    const ViewUpdate update = ScrollByArrow(view, ArrowKey::Right, channels, true, panels);
    QCOMPARE(view.scroll, 35035);
    QVERIFY(update.repaintMain && update.repaintOverview && !view.overviewCache.isNull());
    QCOMPARE(view.overviewRect.right, 1000);

    ScrollByArrow(view, ArrowKey::Left, channels, true, panels);
    QCOMPARE(view.scroll, 35021);

    view.scroll = 5;
    ScrollByArrow(view, ArrowKey::Left, channels, true, panels);
    QCOMPARE(view.scroll, 0);
    ScrollByArrow(view, ArrowKey::Left, channels, true, panels);
    QCOMPARE(view.scroll, 0);
    QCOMPARE(view.overviewRect.left, 0);
}

void TestViewArithmetic::overviewRectFollowsScroll()
{
    // Overview 1000 wide, rectangle 10 wide: X = 990 * scroll / 875000.
    const PanelGeometry panels = MakePanels(1400, 1000);
    WaveformView view = MakeView(panels, 12500000, 100, 437500);
    QCOMPARE(view.overviewRect, (ViewRect{495, 5, 505, 85}));

    // Moving right rounds X down, moving left rounds it up.
    view.scroll = 438381; // X = 495.997
    MoveOverviewRectToScroll(view, 1000);
    QCOMPARE(view.overviewRect.left, 495);
    view.scroll = 436604; // X = 493.99
    MoveOverviewRectToScroll(view, 1000);
    QCOMPARE(view.overviewRect.left, 494);
    QCOMPARE(view.overviewRect.Width(), 10);
}

void TestViewArithmetic::dataChangeKeepsRelativePosition()
{
    const PanelGeometry panels = MakePanels(1400, 1000);
    WaveformView view = MakeView(panels, 12500000, 100, 437500);
    QCOMPARE(view.overviewRect.left, 495);

    ChannelTrains channels{};
    channels[2] = MakeTrain({0, 1000000, 1000000});
    view.overviewCache = QImage(4, 4, QImage::Format_RGB32);
    UpdateDataSpan(view, channels, panels);
    QCOMPARE(view.dataSpan, 2000000u);
    QCOMPARE(view.scroll, 70000); // half of the new limit 140000
    QCOMPARE(view.overviewRect.left, 495);
    QVERIFY(view.overviewCache.isNull());

    // Same span: the scroll stays where it is.
    view.scroll = 1400;
    UpdateDataSpan(view, channels, panels);
    QCOMPARE(view.scroll, 1400);
}

void TestViewArithmetic::shorterCapturePullsCursorsBack()
{
    const PanelGeometry panels = MakePanels(1400, 1000);
    WaveformView view = MakeView(panels, 12500000);
    view.cursorT1 = 50000;
    view.cursorT2 = 14000;
    view.cursorOrigin = 3000000;

    ChannelTrains channels{};
    channels[0] = MakeTrain({1, 9000, 4500, 560});
    UpdateDataSpan(view, channels, panels);
    QCOMPARE(view.dataSpan, 14060u);
    QCOMPARE(view.cursorT1, 14060);
    QCOMPARE(view.cursorT2, 14000);
    QCOMPARE(view.cursorOrigin, 14060);

    channels[0].Clear();
    UpdateDataSpan(view, channels, panels);
    QCOMPARE(view.dataSpan, 0u);
    QCOMPARE(view.cursorT1 | view.cursorT2 | view.cursorOrigin, 0);
}

void TestViewArithmetic::longestChannelIsBoundedAndUnsigned()
{
    ChannelTrains channels{};
    channels[0] = MakeTrain({1, 9000, 4500, 560});
    channels[1] = MakeTrain({1, -5000, 100});
    QCOMPARE(LongestChannelUs(channels), 14060u);

    channels[3].entries.fill(INT32_MAX); // no terminator, 2047 huge pulses
    QCOMPARE(LongestChannelUs(channels), UINT32_MAX);

    channels[3].Clear();
    channels[2] = MakeTrain({0, INT32_MAX, INT32_MAX}); // beyond int, within unsigned
    QCOMPARE(LongestChannelUs(channels), uint32_t(2u * INT32_MAX));
}

void TestViewArithmetic::degeneratePlacementsStayInRange_data()
{
    QTest::addColumn<int>("mainWidth");
    QTest::addColumn<int>("overviewWidth");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("firstPulse"); // the only pulse of channel 1; 0 = empty
    QTest::addColumn<bool>("fillsOverview");

    QTest::newRow("no data") << 1400 << 1000 << 100 << 0 << true;
    QTest::newRow("negative durations only") << 1400 << 1000 << 100 << -7000 << true;
    QTest::newRow("capture fits into the panel") << 1400 << 1000 << 100 << 10000 << true;
    QTest::newRow("under 1 ms, narrow panel") << 50 << 1000 << 1000 << 900 << false;
    QTest::newRow("overview narrower than 10") << 1400 << 5 << 100 << 12500000 << true;
    QTest::newRow("no overview yet") << 0 << 0 << 100 << 12500000 << true;
    QTest::newRow("longest possible capture at x10") << 1400 << 1000 << 1000 << INT32_MAX << false;
}

void TestViewArithmetic::degeneratePlacementsStayInRange()
{
    QFETCH(int, mainWidth);
    QFETCH(int, overviewWidth);
    QFETCH(int, zoom);
    QFETCH(int, firstPulse);
    QFETCH(bool, fillsOverview);

    const PanelGeometry panels = MakePanels(mainWidth, overviewWidth);
    WaveformView view = MakeView(panels, 12500000, zoom, 7000);
    ChannelTrains channels{};
    channels[1] = MakeTrain({1, firstPulse});
    if (firstPulse == INT32_MAX)
        channels[1].entries.fill(INT32_MAX);

    auto checkInRange = [&](const char* step) {
        const ViewRect& rect = view.overviewRect;
        QVERIFY2(rect.left >= 0 && rect.left <= rect.right && rect.right <= std::max(overviewWidth, 0), step);
        QVERIFY2(view.scroll >= 0 && view.scroll <= std::max(view.ScrollLimit(), 0), step);
    };

    UpdateDataSpan(view, channels, panels);
    checkInRange("data change");
    if (fillsOverview)
        QCOMPARE(view.overviewRect.left, 0);

    for (int i = 0; i < 3; ++i)
        ScrollByArrow(view, ArrowKey::Right, channels, true, panels);
    checkInRange("arrow right");

    for (int index = 0; index < int(kZoomTable.size()); ++index) {
        ApplyZoomIndex(view, index, panels);
        checkInRange(kZoomTable[size_t(index)].text);
    }
    view.scroll = view.ScrollLimit();
    ScrollByArrow(view, ArrowKey::Right, channels, true, panels);
    checkInRange("arrow at the limit");
    RefreshView(view, panels);
    checkInRange("refresh");
}

QTEST_GUILESS_MAIN(TestViewArithmetic)
#include "tst_viewarithmetic.moc"
