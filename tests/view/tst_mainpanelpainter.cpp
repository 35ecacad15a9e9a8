#include "support/ViewTestSupport.h"

#include "analyzer/view/MainPanelPainter.h"
#include "analyzer/view/RasterLines.h"
#include "analyzer/view/ViewColors.h"

#include <QtTest>

#include <climits>

class TestMainPanelPainter : public QObject {
    Q_OBJECT

private slots:
    void rasterLinesExcludeTheirEnd_data();
    void rasterLinesExcludeTheirEnd();
    void startUpPicture();
    void gridRulerAndTicks();
    void labelTexts_data();
    void labelTexts();
    void noLabelsPastTheData();
    void traceLevelsAndEdges_data();
    void traceLevelsAndEdges();
    void pulseEndingAtTheLeftEdgeIsDrawn();
    void absurdDurationsAreBounded();
    void cursorColumns_data();
    void cursorColumns();
    void cursorsAreDottedAndT2IsOnTop();
    void overlayGoesBetweenTracesAndCursors();

private:
    static QImage Paint(const WaveformView& view, const ChannelTrains& channels, bool analyze = true,
                        const DecodeOverlayPainter& overlay = {})
    {
        return PaintMainPanel(view, channels, analyze, QSize(1200, 400), overlay);
    }
};

void TestMainPanelPainter::rasterLinesExcludeTheirEnd_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("first"); // covered pixels, first..last
    QTest::addColumn<int>("last");

    QTest::newRow("forwards") << 2 << 5 << 2 << 4;
    QTest::newRow("backwards") << 5 << 2 << 3 << 5;
    QTest::newRow("one pixel") << 7 << 8 << 7 << 7;
    QTest::newRow("empty") << 3 << 3 << -1 << -1;
    QTest::newRow("clipped left") << -30 << 2 << 0 << 1;
    QTest::newRow("to the edge") << 15 << 20 << 15 << 19;
    QTest::newRow("whole int range") << INT_MIN << INT_MAX << 0 << 19;
    QTest::newRow("whole int range backwards") << INT_MAX << INT_MIN << 0 << 19;
    QTest::newRow("outside") << 25 << 40 << -1 << -1;
}

void TestMainPanelPainter::rasterLinesExcludeTheirEnd()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, first);
    QFETCH(int, last);
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::black);
    RasterLines::Horizontal(image, from, to, 4, Qt::red);
    RasterLines::Vertical(image, 9, from, to, Qt::green);
    for (int i = 0; i < 20; ++i) {
        const bool covered = i >= first && i <= last && first >= 0;
        QVERIFY2(IsColour(image, i, 4, Qt::red) == covered || (i == 9 && covered), qPrintable(QString::number(i)));
        if (i != 4)
            QVERIFY2(IsColour(image, 9, i, Qt::green) == covered, qPrintable(QString::number(i)));
    }
}

void TestMainPanelPainter::startUpPicture()
{
    const PanelGeometry panels = MakePanels(1200, 1000);
    const WaveformView view = MakeView(panels, WaveformView::kInitialDataSpanUs);
    const QImage image = Paint(view, ChannelTrains{});
    QCOMPARE(image.size(), QSize(1200, 400));
    QVERIFY(!AnyColour(image, 0, 1200, 0, 400, ViewColors::Trace()));

    const QColor yellow = ViewColors::RulerLabel();
    for (int y0 = 84; y0 < 400; y0 += 98) {
        for (int x = 0; x < 1200; x += 70) {
            const QByteArray where = QByteArray::number(x) + "," + QByteArray::number(y0);
            QVERIFY2(AnyColour(image, x, x + 20, y0 + 6, y0 + 20, yellow), where);
            QVERIFY2(!AnyColour(image, x, x + 20, y0, y0 + 6, yellow), where);
            QVERIFY2(!AnyColour(image, x + 40, x + 69, y0 + 6, y0 + 20, yellow), where);
        }
    }
    // All three cursors at x = 0, T2 drawn last.
    QVERIFY(IsColour(image, 0, 0, ViewColors::CursorT2()));
    QVERIFY(IsColour(image, 0, 398, ViewColors::CursorT2()));
    QVERIFY(!AnyColour(image, 1, 1200, 0, 400, ViewColors::CursorT1()));
}

void TestMainPanelPainter::gridRulerAndTicks()
{
    const PanelGeometry panels = MakePanels(1200, 1000);
    WaveformView view = MakeView(panels, WaveformView::kInitialDataSpanUs);
    view.cursorT1 = view.cursorT2 = view.cursorOrigin = 1000000; // off-panel
    const QImage image = Paint(view, ChannelTrains{});
    const QColor navy = ViewColors::Grid();
    const QColor olive = ViewColors::Ruler();

    QVERIFY(IsColour(image, 5, 14, navy));
    QVERIFY(IsColour(image, 14, 5, navy));
    QVERIFY(IsColour(image, 1190, 302, navy));
    QVERIFY(IsColour(image, 5, 13, Qt::black));
    QVERIFY(IsColour(image, 1199, 5, Qt::black)); // 1199 is no grid column

    // Ruler line, a minor tick (1 x 4) at x = 14, a major one (3 x 6) at 70.
    QVERIFY(IsColour(image, 5, 84, olive));
    QVERIFY(IsColour(image, 14, 87, olive));
    QVERIFY(IsColour(image, 14, 88, navy));
    QVERIFY(IsColour(image, 15, 85, Qt::black));
    for (int x = 69; x <= 71; ++x) {
        QVERIFY(IsColour(image, x, 89, olive));
        QVERIFY(!IsColour(image, x, 90, olive));
    }
    QVERIFY(IsColour(image, 72, 85, Qt::black));
    QVERIFY(IsColour(image, 56, 378 + 3, olive)); // fourth strip
}

void TestMainPanelPainter::labelTexts_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QStringList>("labels"); // at x = 0, 70, 140, ...

    QTest::newRow("x10") << 1000 << QStringList{"0ms", "0.1ms", "0.2ms", "0.3ms", "0.4ms", "0.5ms", "0.6ms",
                                                "0.7ms", "0.8ms", "0.9ms", "1ms", "1.1ms"};
    QTest::newRow("x1") << 100 << QStringList{"0ms", "1ms", "2ms", "3ms", "4ms", "5ms", "6ms", "7ms", "8ms",
                                              "9ms", "10ms", "11ms", "12ms"};
    QTest::newRow("x2") << 200 << QStringList{"0ms", "0.5ms", "1ms", "1.5ms"};
    QTest::newRow("/100") << 1 << QStringList{"0ms", "100ms", "200ms", "300ms"};
}

void TestMainPanelPainter::labelTexts()
{
    QFETCH(int, zoom);
    QFETCH(QStringList, labels);
    WaveformView view;
    view.zoom = zoom;
    for (int i = 0; i < labels.size(); ++i) {
        const int t = view.XToTime(70 * i);
        QVERIFY(RulerHasLabel(view, t));
        QCOMPARE(RulerLabelText(t), labels[i]);
        for (int x = 70 * i + 14; x < 70 * i + 70; x += 14) {
            QVERIFY(!RulerHasLabel(view, view.XToTime(x)));
            QVERIFY(!RulerHasMajorTick(view, view.XToTime(x)));
        }
    }
    // Left of the data no label, and a negative label never appears.
    QVERIFY(!RulerHasLabel(view, view.XToTime(-70)));
}

void TestMainPanelPainter::noLabelsPastTheData()
{
    const PanelGeometry panels = MakePanels(1200, 1000);
    WaveformView view = MakeView(panels, 3000);
    QVERIFY(RulerHasLabel(view, 3000));
    QVERIFY(!RulerHasLabel(view, 4000));
    QVERIFY(RulerHasMajorTick(view, 4000)); // ticks go on

    view.dataSpan = 0;
    QVERIFY(RulerHasLabel(view, 0));
    QVERIFY(!RulerHasLabel(view, 1000));
    const QImage image = Paint(view, ChannelTrains{});
    QVERIFY(AnyColour(image, 0, 20, 90, 104, ViewColors::RulerLabel()));
    QVERIFY(!AnyColour(image, 30, 1200, 90, 104, ViewColors::RulerLabel()));
}

void TestMainPanelPainter::traceLevelsAndEdges_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<bool>("analyze");
    QTest::addColumn<int>("yHigh");
    QTest::addColumn<int>("yLow");

    QTest::newRow("analysis on") << 0 << true << 63 << 82;
    QTest::newRow("analysis off") << 0 << false << 35 << 82;
    QTest::newRow("channel 3") << 2 << true << 259 << 278;
    QTest::newRow("channel 4, analysis off") << 3 << false << 329 << 376;
}

void TestMainPanelPainter::traceLevelsAndEdges()
{
    QFETCH(int, channel);
    QFETCH(bool, analyze);
    QFETCH(int, yHigh);
    QFETCH(int, yLow);
    QCOMPARE(ViewGeometry::TraceHighY(channel, analyze), yHigh);
    QCOMPARE(ViewGeometry::TraceLowY(channel), yLow);

    const PanelGeometry panels = MakePanels(1200, 1000);
    WaveformView view = MakeView(panels, 14060);
    ChannelTrains channels{};
    channels[size_t(channel)] = MakeTrain({1, 9000, 4500, 560});
    view.cursorT1 = view.cursorT2 = view.cursorOrigin = 20000; // off the trace
    const QImage image = Paint(view, channels, analyze);
    const QColor red = ViewColors::Trace();
    auto red_at = [&](int x, int y) { return IsColour(image, x, y, red); };

    // High 0..630, edge down, low 630..945, edge up, high 945..984, edge down.
    QVERIFY(red_at(0, yHigh) && red_at(629, yHigh) && red_at(630, yHigh));
    QVERIFY(!red_at(631, yHigh) && !red_at(0, yLow) && !red_at(629, yLow));
    QVERIFY(red_at(630, yLow - 1) && red_at(630, yLow) && red_at(944, yLow) && red_at(945, yLow));
    QVERIFY(!red_at(946, yLow));
    QVERIFY(red_at(945, yHigh + 1) && red_at(945, yHigh) && red_at(983, yHigh));
    QVERIFY(red_at(984, yHigh) && red_at(984, yLow - 1));
    QVERIFY(!red_at(984, yLow) && !red_at(985, yHigh));
    QVERIFY(!AnyColour(image, 0, 1200, 0, yHigh, red));
    QVERIFY(!AnyColour(image, 0, 1200, yLow + 1, 400, red));
}

void TestMainPanelPainter::pulseEndingAtTheLeftEdgeIsDrawn()
{
    // scroll 14 at x1: the left edge is t = 200.
    const PanelGeometry panels = MakePanels(1200, 1000);
    WaveformView view = MakeView(panels, 12500000, 100, 14);
    view.cursorT1 = view.cursorT2 = view.cursorOrigin = 100000;
    ChannelTrains channels{};
    channels[0] = MakeTrain({1, 200, 300, 1000});
    channels[1] = MakeTrain({1, 199, 301, 1000});
    const QImage image = Paint(view, channels);
    const QColor red = ViewColors::Trace();

    // Ends at the edge: its closing edge is the first column.
    QVERIFY(IsColour(image, 0, 70, red));
    QVERIFY(IsColour(image, 0, 82, red));
    // Ends one microsecond earlier: skipped, the next pulse starts at x = 0.
    QVERIFY(!AnyColour(image, 0, 1, 161, 180, red));
    QVERIFY(IsColour(image, 0, 180, red));
    QVERIFY(IsColour(image, 20, 180, red) && IsColour(image, 21, 170, red));
}

void TestMainPanelPainter::absurdDurationsAreBounded()
{
    const PanelGeometry panels = MakePanels(1200, 1000);
    WaveformView view = MakeView(panels, UINT32_MAX, 1000, INT_MAX);
    ChannelTrains channels{};
    channels[0].entries.fill(INT32_MAX);
    channels[1] = MakeTrain({1, -100000, 5, INT32_MIN, INT32_MAX, -1});
    channels[2].entries.fill(-1);
    for (const int scroll : {0, 7000, INT_MAX}) {
        view.scroll = scroll;
        const QImage image = Paint(view, channels);
        QCOMPARE(image.size(), QSize(1200, 400));
    }
}

void TestMainPanelPainter::cursorColumns_data()
{
    QTest::addColumn<uint32_t>("dataSpan");
    QTest::addColumn<int>("scroll");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("column"); // -1: not drawn

    // Panel 700 wide at x1.
    QTest::newRow("at the left edge") << 20000u << 0 << 0 << 0;
    QTest::newRow("at x = W, still drawn") << 20000u << 0 << 10000 << 700;
    QTest::newRow("at x = W + 1") << 20000u << 0 << 10015 << -1;
    QTest::newRow("left of the panel") << 20000u << 14 << 0 << -1;
    QTest::newRow("no data: always at 0") << 0u << 14 << 10015 << 0;
}

void TestMainPanelPainter::cursorColumns()
{
    QFETCH(uint32_t, dataSpan);
    QFETCH(int, scroll);
    QFETCH(int, cursor);
    QFETCH(int, column);
    WaveformView view;
    view.dataSpan = dataSpan;
    view.scroll = scroll;
    const std::optional<int> x = MainCursorColumn(view, cursor, 700);
    QCOMPARE(x.value_or(-1), column);
}

void TestMainPanelPainter::cursorsAreDottedAndT2IsOnTop()
{
    const PanelGeometry panels = MakePanels(1200, 1000);
    WaveformView view = MakeView(panels, 12500000);
    view.cursorT1 = 1000; // x = 70
    view.cursorT2 = 2000; // x = 140
    view.cursorOrigin = 2000;
    const QImage image = Paint(view, ChannelTrains{});

    QVERIFY(IsColour(image, 70, 0, ViewColors::CursorT1()));
    QVERIFY(!IsColour(image, 70, 1, ViewColors::CursorT1()));
    QVERIFY(IsColour(image, 70, 2, ViewColors::CursorT1()));
    QVERIFY(IsColour(image, 70, 398, ViewColors::CursorT1()));
    QVERIFY(IsColour(image, 140, 200, ViewColors::CursorT2()));
    QVERIFY(!AnyColour(image, 0, 1200, 0, 400, ViewColors::White()));
}

void TestMainPanelPainter::overlayGoesBetweenTracesAndCursors()
{
    const PanelGeometry panels = MakePanels(1200, 1000);
    WaveformView view = MakeView(panels, 14060);
    ChannelTrains channels{};
    channels[0] = MakeTrain({1, 9000, 4500, 560});
    view.cursorT1 = 1000; // x = 70
    const QColor fill(204, 255, 204);
    int calls = 0;
    const DecodeOverlayPainter overlay = [&](QPainter& painter) {
        ++calls;
        painter.fillRect(0, 60, 1200, 6, fill);
    };

    QImage image = Paint(view, channels, true, overlay);
    QCOMPARE(calls, 1);
    QVERIFY(IsColour(image, 10, 63, fill));                    // over the trace
    QVERIFY(IsColour(image, 70, 62, ViewColors::CursorT1())); // under the cursor
    QVERIFY(IsColour(image, 10, 67, Qt::black));

    image = Paint(view, channels, false, overlay);
    QCOMPARE(calls, 1);
    QVERIFY(!IsColour(image, 10, 63, fill));
}

QTEST_MAIN(TestMainPanelPainter)
#include "tst_mainpanelpainter.moc"
