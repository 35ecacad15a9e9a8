#include "support/ViewTestSupport.h"

#include "analyzer/view/OverviewPainter.h"
#include "analyzer/view/ViewColors.h"

#include <QtTest>

// Overview 1000 x 110; main panel 1400 wide (viewSpan 20000 us at x1).
class TestOverviewPainter : public QObject {
    Q_OBJECT

private slots:
    void init();
    void separatorCoversThreeRows();
    void rectangleOutlineExcludesRightAndBottom();
    void cursorLinesAndReadouts();
    void readoutTexts_data();
    void readoutTexts();
    void miniTraces();
    void cacheIsReusedUntilDiscarded();
    void noDataPutsCursorsAtZero();

private:
    QImage Paint() { return PaintOverviewPanel(view, channels, QSize(1000, 110)); }

    PanelGeometry panels;
    WaveformView view;
    ChannelTrains channels{};
};

void TestOverviewPainter::init()
{
    panels = MakePanels(1400, 1000);
    view = MakeView(panels, 980000); // S = 1000000: 1000 us per pixel
    channels = {};
    view.cursorT1 = view.cursorT2 = view.cursorOrigin = 990000; // x = 990
}

void TestOverviewPainter::separatorCoversThreeRows()
{
    const QImage image = Paint();
    for (const int x : {0, 500, 999}) {
        QVERIFY(!IsColour(image, x, 88, ViewColors::White()));
        for (int y = 89; y <= 91; ++y)
            QVERIFY(IsColour(image, x, y, ViewColors::White()));
    }
    QVERIFY(!AnyColour(image, 500, 1000, 92, 110, ViewColors::White()));
}

void TestOverviewPainter::rectangleOutlineExcludesRightAndBottom()
{
    view.overviewRect = ViewRect{100, 5, 150, 85};
    const QImage image = Paint();
    const QColor white = ViewColors::White();
    QVERIFY(IsColour(image, 100, 5, white) && IsColour(image, 149, 5, white));
    QVERIFY(IsColour(image, 100, 84, white) && IsColour(image, 149, 84, white));
    QVERIFY(IsColour(image, 100, 40, white) && IsColour(image, 149, 40, white));
    QVERIFY(!IsColour(image, 150, 5, white) && !IsColour(image, 100, 85, white));
    QVERIFY(!IsColour(image, 125, 40, white)); // not filled
    QVERIFY(!IsColour(image, 99, 40, white) && !IsColour(image, 125, 4, white));
}

void TestOverviewPainter::cursorLinesAndReadouts()
{
    view.cursorT1 = 400000;     // x = 400
    view.cursorT2 = 600000;     // x = 600
    view.cursorOrigin = 800000; // x = 800
    const QImage image = Paint();

    const QColor cyan = ViewColors::CursorT1();
    const QColor green = ViewColors::CursorT2();
    const QColor white = ViewColors::White();
    QVERIFY(IsColour(image, 400, 0, cyan) && IsColour(image, 400, 89, cyan) && IsColour(image, 400, 90, white));
    QVERIFY(IsColour(image, 600, 45, green) && IsColour(image, 800, 45, white));
    QVERIFY(!IsColour(image, 401, 45, cyan));

    // Read-outs from y = 92: T1 at x 0, T2 at 150, T1-T2 at 300, each in its colour.
    QVERIFY(AnyColour(image, 0, 150, 92, 106, cyan));
    QVERIFY(AnyColour(image, 150, 300, 92, 106, green));
    QVERIFY(AnyColour(image, 300, 450, 92, 106, white));
    QVERIFY(!AnyColour(image, 150, 1000, 92, 110, cyan));
    QVERIFY(!AnyColour(image, 0, 150, 92, 110, green));
    QVERIFY(!AnyColour(image, 300, 1000, 92, 110, green));
    QVERIFY(!AnyColour(image, 0, 1000, 106, 110, cyan));
}

void TestOverviewPainter::readoutTexts_data()
{
    QTest::addColumn<int>("t1");
    QTest::addColumn<int>("t2");
    QTest::addColumn<int>("origin");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("T1 before T2") << 1000 << 1560 << 0 << QStringList{"T1-T2=-560us", "T1=1000us", "T2=1560us"};
    QTest::newRow("from the origin") << 1000 << 1560 << 1200 << QStringList{"T1-T2=-560us", "T1=-200us", "T2=360us"};
    QTest::newRow("far apart") << INT_MAX << 0 << 0
                               << QStringList{"T1-T2=2147483647us", "T1=2147483647us", "T2=0us"};
}

void TestOverviewPainter::readoutTexts()
{
    QFETCH(int, t1);
    QFETCH(int, t2);
    QFETCH(int, origin);
    QFETCH(QStringList, texts);
    view.cursorT1 = t1;
    view.cursorT2 = t2;
    view.cursorOrigin = origin;
    QCOMPARE(QStringList({CursorDifferenceText(view), CursorT1Text(view), CursorT2Text(view)}), texts);
}

void TestOverviewPainter::miniTraces()
{
    // S = 20000: 20 us a pixel; 9000/4500/560 end at x = 450, 675 and 703.
    // Column 0 holds the left side of the view rectangle.
    view.dataSpan = 14060;
    view.viewSpan = 5940;
    view.scroll = 123456; // the overview never skips
    channels[1] = MakeTrain({1, 9000, 4500, 560});
    const QImage image = Paint();
    const QColor maroon = ViewColors::OverviewTrace();
    auto maroon_at = [&](int x, int y) { return IsColour(image, x, y, maroon); };

    QVERIFY(maroon_at(1, 30) && maroon_at(449, 30) && maroon_at(450, 30) && maroon_at(450, 39));
    QVERIFY(maroon_at(450, 40) && maroon_at(674, 40) && maroon_at(675, 40) && maroon_at(675, 31));
    QVERIFY(maroon_at(675, 30) && maroon_at(702, 30) && maroon_at(703, 30) && maroon_at(703, 39));
    QVERIFY(!maroon_at(451, 30) && !maroon_at(703, 40) && !maroon_at(704, 30) && !maroon_at(0, 40));
    QVERIFY(!AnyColour(image, 0, 1000, 0, 30, maroon));
    QVERIFY(!AnyColour(image, 0, 1000, 41, 110, maroon));
}

void TestOverviewPainter::cacheIsReusedUntilDiscarded()
{
    channels[0] = MakeTrain({1, 9000});
    Paint();
    QVERIFY(!view.overviewCache.isNull());

    // Scrolling and cursor moves reuse the cached traces.
    channels[0] = MakeTrain({0, 9000});
    view.scroll += 14;
    QImage image = Paint();
    QVERIFY(IsColour(image, 3, 10, ViewColors::OverviewTrace()));

    RefreshView(view, panels);
    QVERIFY(view.overviewCache.isNull());
    image = Paint();
    QVERIFY(!IsColour(image, 3, 10, ViewColors::OverviewTrace()));
    QVERIFY(IsColour(image, 3, 20, ViewColors::OverviewTrace()));

    // A panel of another size never gets a stale picture.
    image = PaintOverviewPanel(view, channels, QSize(600, 120));
    QCOMPARE(image.size(), QSize(600, 120));
    QVERIFY(IsColour(image, 599, 90, ViewColors::White()));
}

void TestOverviewPainter::noDataPutsCursorsAtZero()
{
    UpdateDataSpan(view, channels, panels);
    QCOMPARE(view.dataSpan, 0u);
    view.cursorT2 = 5000; // stale value, still drawn at 0
    const QImage image = Paint();
    QVERIFY(IsColour(image, 0, 40, ViewColors::CursorT2()));
    QVERIFY(!AnyColour(image, 1, 1000, 0, 89, ViewColors::CursorT2()));
    QVERIFY(IsColour(image, 1, 5, ViewColors::White()) && IsColour(image, 999, 84, ViewColors::White()));
}

QTEST_MAIN(TestOverviewPainter)
#include "tst_overviewpainter.moc"
