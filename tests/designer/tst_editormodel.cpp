// The editor's state without a window: the ordered selection, presses with
// the modifier keys, the click/drag threshold, group moves, rubber bands,
// resizing by a handle, and what a refresh repaints.
#include "designer/EditorModel.h"

#include "designer/support/DesignRectPrint.h"

#include <QtTest>

namespace {

// Stand-ins for controls: the model only needs distinct keys.
int controlA, controlB, controlC, controlD;
const ControlKey A = &controlA, B = &controlB, C = &controlC, D = &controlD;

DesignRect Key(int left, int top)
{
    return DesignRect::FromSize(left, top, 48, 48);
}

std::vector<ControlKey> Keys(std::initializer_list<ControlKey> keys)
{
    return keys;
}

} // namespace

class TestEditorModel : public QObject {
    Q_OBJECT

    EditorModel model;

    // A at (20, 20), B at (100, 20), C at (200, 200), D nowhere near.
    void Place()
    {
        model = EditorModel();
        model.SetBound({6, 6, 324, 639});
        model.Attach();
        model.AddControl(A, Key(20, 20));
        model.AddControl(B, Key(100, 20));
        model.AddControl(C, Key(200, 200));
        model.AddControl(D, Key(250, 500));
    }

    // A press, drag and release at the times given (milliseconds).
    std::vector<ControlKey> Drag(QPoint from, QPoint to, qint64 heldMs, Qt::KeyboardModifiers modifiers = {})
    {
        model.Press(from, modifiers, 1000);
        model.TrackTo(to);
        return model.Release(to, 1000 + heldMs);
    }

private slots:
    void init() { Place(); }

    void selectionKeepsItsOrder()
    {
        QVERIFY(model.Select(B));
        QVERIFY(model.Select(A));
        QVERIFY(!model.Select(B)); // already selected
        QVERIFY(model.Select(C));
        QCOMPARE(model.Selection(), Keys({B, A, C}));
        QVERIFY(model.Deselect(A));
        QVERIFY(!model.Deselect(A));
        QCOMPARE(model.Selection(), Keys({B, C}));
        QVERIFY(model.Toggle(A));
        QCOMPARE(model.Selection(), Keys({B, C, A}));
        model.ClearSelection();
        QVERIFY(model.Selection().empty());
        QVERIFY(!model.IsSelected(B));
        // Removing a control deselects it.
        model.Select(D);
        QVERIFY(model.RemoveControl(D));
        QVERIFY(!model.RemoveControl(D));
        QVERIFY(model.Selection().empty());
    }

    void nothingWorksDetached()
    {
        model.Detach();
        QVERIFY(!model.Select(A));
        QVERIFY(!model.IsSelected(A));
        QVERIFY(!model.AddControl(A, Key(0, 0)));
        QCOMPARE(model.Press({30, 30}, {}, 0).tracking, EditorModel::Tracking::None);
    }

    void ctrlClickTogglesAndShiftClickMakesTheReference()
    {
        model.Select(A);
        model.Select(B);
        const auto ctrl = model.Press({120, 40}, Qt::ControlModifier, 0);
        QCOMPARE(ctrl.tracking, EditorModel::Tracking::None);
        QVERIFY(ctrl.refresh);
        QCOMPARE(model.Selection(), Keys({A}));

        model.Select(B);
        model.Press({30, 30}, Qt::ShiftModifier, 0); // selected A becomes the reference
        QCOMPARE(model.Selection(), Keys({B, A}));
        model.Press({210, 210}, Qt::ShiftModifier, 0); // unselected C joins
        QCOMPARE(model.Selection(), Keys({B, A, C}));
    }

    void clickOrDrag_data()
    {
        QTest::addColumn<bool>("selectedBefore");
        QTest::addColumn<QPoint>("moveBy");
        QTest::addColumn<int>("heldMs");
        QTest::addColumn<QPoint>("expectedShift");
        QTest::newRow("quick click, 2 px: only selects") << false << QPoint(2, -2) << 200 << QPoint(0, 0);
        QTest::newRow("quick, 3 px: moves") << false << QPoint(3, 0) << 100 << QPoint(3, 0);
        QTest::newRow("held longer, 1 px: moves") << false << QPoint(0, 1) << 201 << QPoint(0, 1);
        QTest::newRow("held longer, far: moves") << false << QPoint(40, 25) << 900 << QPoint(40, 25);
        QTest::newRow("already selected, quick 1 px: moves") << true << QPoint(1, 0) << 10 << QPoint(1, 0);
    }
    void clickOrDrag()
    {
        QFETCH(bool, selectedBefore);
        QFETCH(QPoint, moveBy);
        QFETCH(int, heldMs);
        QFETCH(QPoint, expectedShift);
        model.Select(D);
        if (selectedBefore)
            model.Select(C);
        const QPoint from(220, 220);
        const auto moved = Drag(from, from + moveBy, heldMs);
        QCOMPARE(model.RectOf(C), Key(200 + expectedShift.x(), 200 + expectedShift.y()));
        QCOMPARE(moved.empty(), expectedShift.isNull());
        // A press on an unselected button leaves it the only selected one.
        QCOMPARE(model.Selection(), selectedBefore ? Keys({D, C}) : Keys({C}));
        if (selectedBefore)
            QCOMPARE(model.RectOf(D), Key(250 + expectedShift.x(), 500 + expectedShift.y()));
    }

    void groupStopsSixPixelsInsideTheArea()
    {
        model.Select(A);
        model.Select(C);
        Drag({30, 30}, {-500, -500}, 500);
        QCOMPARE(model.RectOf(A), Key(6, 6));
        QCOMPARE(model.RectOf(C), Key(186, 186));
        Drag({30, 30}, {900, 900}, 500);
        QCOMPARE(model.RectOf(C), Key(276, 591));
        QCOMPARE(model.RectOf(A), Key(96, 411));
    }

    void cancelledDragMovesNothing()
    {
        model.Select(A);
        model.Press({30, 30}, {}, 0);
        model.TrackTo({130, 130});
        QCOMPARE(model.TrackingOutline(), Key(120, 120));
        model.CancelTracking();
        QCOMPARE(model.CurrentTracking(), EditorModel::Tracking::None);
        QCOMPARE(model.RectOf(A), Key(20, 20));
    }

    void bandSelectsOnlyWhollyCoveredControls()
    {
        model.Select(D);
        // Covers A wholly and B partly; without modifiers it starts afresh.
        Drag({10, 10}, {120, 80}, 300);
        QCOMPARE(model.Selection(), Keys({A}));
        // Dragged backwards the band is normalised; Shift keeps what was selected.
        Drag({260, 260}, {190, 190}, 300, Qt::ShiftModifier);
        QCOMPARE(model.Selection(), Keys({A, C}));
        // Ctrl toggles: A and B wholly inside, A drops out, B joins.
        Drag({10, 10}, {160, 80}, 300, Qt::ControlModifier);
        QCOMPARE(model.Selection(), Keys({C, B}));
    }

    void unselectedHandleStartsABand()
    {
        // (97, 44) is in B's left handle zone and inside A, which lies on
        // top of B. B is lower, so it is met first: unselected, its handle
        // zone counts as empty space and A is never looked at.
        model.UpdateRect(A, Key(80, 20));
        model.Select(C);
        const auto press = model.Press({97, 44}, {}, 0);
        QCOMPARE(press.tracking, EditorModel::Tracking::Band);
        QVERIFY(model.Selection().empty());
        model.TrackTo({330, 330});
        model.Release({330, 330}, 10);
        QCOMPARE(model.Selection(), Keys({C}));
    }

    void selectedHandleResizesWithinTheBound()
    {
        model.Select(B);
        const auto press = model.Press({150, 44}, {}, 0); // B's right handle
        QCOMPARE(press.tracking, EditorModel::Tracking::Resize);
        model.TrackTo({202, 60});
        QCOMPARE(model.Release({202, 60}, 5), Keys({B}));
        QCOMPARE(model.RectOf(B), (DesignRect{100, 20, 200, 68}));
        // The top-left handle dragged past the bound stops on it.
        model.Press({97, 17}, {}, 0);
        model.Release({-40, -40}, 5);
        QCOMPARE(model.RectOf(B), (DesignRect{6, 6, 200, 68}));
    }

    void pressOnAnOverlapGoesToTheLowerControl()
    {
        // Each new control lies under the earlier ones: the newest is met first.
        static int controlE;
        model.AddControl(&controlE, Key(30, 30));
        model.Press({40, 40}, {}, 0);
        model.Release({40, 40}, 1);
        QCOMPARE(model.Selection(), Keys({&controlE}));
        QCOMPARE(model.Controls().front(), ControlKey(&controlE));
    }

    void nudgeMovesTheSelectionInsideTheBound()
    {
        model.Select(A);
        model.Select(B);
        QVERIFY(model.Nudge(-14, 0, true).size() == 2);
        QCOMPARE(model.RectOf(A), Key(6, 20));
        QVERIFY(model.Nudge(-1, 0, true).empty());
        QCOMPARE(model.Nudge(1, 0, true), Keys({A, B}));
        QCOMPARE(model.RectOf(B), Key(87, 20));
    }

    void refreshCoversTheOldAndTheNewFrames()
    {
        QVERIFY(model.Refresh(false).whole); // nothing painted yet
        model.Select(A);
        const auto first = model.Refresh(false);
        QVERIFY(first.whole); // no previous frames: the whole window
        model.Nudge(10, 0, true);
        const auto second = model.Refresh(false);
        QVERIFY(!second.whole);
        QCOMPARE(second.region.boundingRect(), QRect(14, 14, 70, 60));
        QVERIFY(second.region.contains(QPoint(14, 14)));
        QVERIFY(second.region.contains(QPoint(83, 73)));
        QVERIFY(model.Refresh(true).whole);
    }
};

QTEST_APPLESS_MAIN(TestEditorModel)
#include "tst_editormodel.moc"
