// The designer's window driven through its real widgets: start-up, placing
// keys from the menu and the shortcuts, deleting, captioning, the mouse
// gestures of the design area, the toolbar, the keys, and what is painted.
#include "designer/KeyTypes.h"
#include "designer/RemoteLayout.h"
#include "designer/ui/ControlId.h"
#include "designer/ui/Pictures.h"
#include "designer/ui/RemoteDlg.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

namespace {

int IdOf(const tagIRDATA& entry)
{
    return remote::ControlId(entry.button.get());
}

QAction* ActionNamed(QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

} // namespace

class TestRemoteDlg : public QObject {
    Q_OBJECT

    std::unique_ptr<CRemoteDlg> window;

    template <typename W = QWidget>
    W* Control(int id) const
    {
        return qobject_cast<W*>(window->Control(id));
    }
    QWidget* Area() const { return Control(remote::kDesignArea); }
    CButtonEx* Button(int index) const { return window->Buttons()[static_cast<size_t>(index)].button.get(); }
    QList<QWidget*> Selection() const { return window->Editor().Selection(); }

    // Places a key and moves it to (left, top), window coordinates.
    CButtonEx* KeyAt(int keyType, int left, int top)
    {
        CButtonEx* button = window->CreateButton(keyType, left, top, left + 48, top + 48, QString());
        return button;
    }
    QPoint InArea(const QWidget* button, QPoint inButton = QPoint(24, 24)) const
    {
        return button->geometry().topLeft() + inButton - Area()->pos();
    }
    // What the window shows: its backing store, not a fresh rendering.
    QImage Shot() const
    {
        return window->screen()->grabWindow(window->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    }

private slots:
    void init()
    {
        window = std::make_unique<CRemoteDlg>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    void startsInDesignModeWithTheBlackBody()
    {
        QCOMPARE(window->size(), QSize(360, 720));
        QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(window->DesignMode());
        QCOMPARE(window->ModulePath(), QCoreApplication::applicationFilePath());
        auto* bodies = Control<QComboBox>(remote::kBodyList);
        QCOMPARE(bodies->currentText(), QStringLiteral("Black"));
        QStringList names;
        for (int i = 0; i < bodies->count(); ++i)
            names << bodies->itemText(i);
        QCOMPARE(names, (QStringList{"Black", "Blue", "Gray", "Green", "Other"}));
        QCOMPARE(window->BodyIndex(), 0);
        QVERIFY(window->Editor().IsAttached());
        QCOMPARE(window->Editor().Model().Bound(), (DesignRect{6, 6, 324, 639}));
        QVERIFY(window->Buttons().empty());
    }

    void controlsHaveTheirTextsAndPlaces_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("place");
        QTest::newRow("design area") << remote::kDesignArea << QString() << QRect(13, 12, 330, 645);
        QTest::newRow("L") << remote::kAlignLeft << "L" << QRect(15, 661, 22, 21);
        QTest::newRow("D") << remote::kSpaceDown << "D" << QRect(214, 661, 23, 21);
        QTest::newRow("Preview") << remote::kPreview << "Preview" << QRect(13, 690, 72, 21);
        QTest::newRow("Learn") << remote::kLearn << "Learn" << QRect(90, 690, 72, 21);
        QTest::newRow("Build") << remote::kBuild << "Build" << QRect(166, 690, 72, 21);
        QTest::newRow("caption") << remote::kCaptionEdit << QString() << QRect(247, 690, 68, 21);
        QTest::newRow("S") << remote::kSetCaption << "S" << QRect(321, 690, 22, 21);
        QTest::newRow("plus") << remote::kAddKey << QString() << QRect(343, 37, 15, 15);
        QTest::newRow("minus") << remote::kDeleteKeys << QString() << QRect(343, 63, 15, 15);
        QTest::newRow("bodies") << remote::kBodyList << QString() << QRect(247, 661, 96, 21);
    }
    void controlsHaveTheirTextsAndPlaces()
    {
        QFETCH(int, id);
        QFETCH(QString, text);
        QFETCH(QRect, place);
        QWidget* control = Control(id);
        QVERIFY(control);
        QVERIFY(control->isVisible());
        QCOMPARE(control->geometry(), place);
        if (auto* button = qobject_cast<QPushButton*>(control); button && !text.isEmpty())
            QCOMPARE(button->text(), text);
        QVERIFY(!control->accessibleName().isEmpty() || !text.isEmpty() || qobject_cast<QComboBox*>(control));
    }

    void toolbarIsInScreenOrder()
    {
        const int ids[] = {1009, 1011, 1012, 1013, 1014, 1015, 1016, 1017};
        QString texts;
        int lastX = -1;
        for (int id : ids) {
            auto* button = Control<QPushButton>(id);
            QVERIFY(button->x() > lastX);
            lastX = button->x();
            texts += button->text();
        }
        QCOMPARE(texts, QStringLiteral("LVRTHBAD"));
    }

    void powerFromTheKeyMenuInAnEmptyDesign()
    {
        QTest::mouseClick(Control(remote::kAddKey), Qt::LeftButton);
        QMenu* menu = window->KeyMenu();
        QTRY_VERIFY(menu->isVisible());
        QAction* power = ActionNamed(menu, QStringLiteral("Power"));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(power).center());
        QTRY_COMPARE(window->Buttons().size(), size_t(1));

        const tagIRDATA& entry = window->Buttons()[0];
        QCOMPARE(IdOf(entry), 3001);
        QCOMPARE(entry.button->KeyType(), keys::kPower);
        // 48 x 48, centred where the 160 x 48 default rectangle is.
        QCOMPARE(entry.button->geometry(), QRect(154, 310, 48, 48));
        QVERIFY(entry.button->text().isEmpty());
        QCOMPARE(entry.button->accessibleName(), QStringLiteral("Power"));
        QVERIFY(entry.code == PulseTrain{});
        QCOMPARE(Selection(), (QList<QWidget*>{entry.button.get()}));
    }

    void blankTakesTheDefaultRectangleExactly()
    {
        window->AddKey(keys::kPower);
        window->AddKey(keys::kBlank);
        QCOMPARE(Button(1)->geometry(), QRect(98, 310, 160, 48));
        QCOMPARE(IdOf(window->Buttons()[1]), 3002);
        QCOMPARE(Selection(), (QList<QWidget*>{Button(1)}));
        // The newer button lies under the older one.
        QVERIFY(window->childAt(QPoint(178, 334)) == Button(0));
    }

    void keyMenuListsTheKindsAndTakesRightClicks()
    {
        QMenu* menu = window->KeyMenu();
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << action->text();
        QCOMPARE(texts, (QStringList{"Default", "Power", "Menu", "Number", "+\tCtrl++", "-\tCtrl+-",
                                     QStringLiteral("↑\tCtrl+↑"), QStringLiteral("↓\tCtrl+↓"),
                                     QStringLiteral("←\tCtrl+←"), QStringLiteral("→\tCtrl+→"), "Blank"}));
        QMenu* numbers = ActionNamed(menu, QStringLiteral("Number"))->menu();
        QCOMPARE(numbers->actions().size(), 10);
        QCOMPARE(numbers->actions()[0]->text(), QStringLiteral("0\tCtrl+0"));
        QCOMPARE(numbers->actions()[9]->text(), QStringLiteral("9\tCtrl+9"));

        window->ShowKeyMenu(window->mapToGlobal(QPoint(100, 100)));
        QTRY_VERIFY(menu->isVisible());
        const QPoint blank = menu->actionGeometry(ActionNamed(menu, QStringLiteral("Blank"))).center();
        QTest::mouseClick(menu, Qt::RightButton, {}, blank);
        QTRY_COMPARE(window->Buttons().size(), size_t(1));
        QCOMPARE(Button(0)->KeyType(), keys::kBlank);
    }

    void shortcutsPlaceKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("placed"); // -1: nothing
        const int ctrl = Qt::ControlModifier, pad = Qt::KeypadModifier;
        QTest::newRow("keypad Ctrl+5") << int(Qt::Key_5) << (ctrl | pad) << keys::kDigit0 + 5;
        QTest::newRow("main Ctrl+5") << int(Qt::Key_5) << ctrl << keys::kDigit0 + 5;
        QTest::newRow("main Ctrl+0") << int(Qt::Key_0) << ctrl << keys::kDigit0;
        QTest::newRow("keypad Ctrl+plus") << int(Qt::Key_Plus) << (ctrl | pad) << keys::kPlus;
        QTest::newRow("keypad Ctrl+minus") << int(Qt::Key_Minus) << (ctrl | pad) << keys::kMinus;
        QTest::newRow("main Ctrl+plus") << int(Qt::Key_Plus) << ctrl << -1;
        QTest::newRow("main Ctrl+minus") << int(Qt::Key_Minus) << ctrl << -1;
        QTest::newRow("Ctrl+Up") << int(Qt::Key_Up) << ctrl << keys::kUp;
        QTest::newRow("Ctrl+Left") << int(Qt::Key_Left) << ctrl << keys::kLeft;
        QTest::newRow("5 alone") << int(Qt::Key_5) << 0 << -1;
    }
    void shortcutsPlaceKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, placed);
        // The window sees the keys before the focused caption box does.
        auto* caption = Control<QLineEdit>(remote::kCaptionEdit);
        caption->setFocus();
        QTest::keyClick(caption, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        if (placed < 0) {
            QVERIFY(window->Buttons().empty());
            return;
        }
        QCOMPARE(window->Buttons().size(), size_t(1));
        QCOMPARE(Button(0)->KeyType(), placed);
        QVERIFY(caption->text().isEmpty());
    }

    void deletingRenumbersTheRest()
    {
        window->AddKey(keys::kPower);
        window->AddKey(keys::kMenu);
        window->AddKey(keys::kBlank);
        CButtonEx* first = Button(0);
        CButtonEx* third = Button(2);
        // Nothing selected: nothing goes.
        window->Editor().ClearSelection(true);
        QTest::mouseClick(Control(remote::kDeleteKeys), Qt::LeftButton);
        QCOMPARE(window->Buttons().size(), size_t(3));

        window->Editor().Select(Button(1), true);
        QPointer<CButtonEx> second = Button(1);
        QTest::mouseClick(Control(remote::kDeleteKeys), Qt::LeftButton);
        QCOMPARE(window->Buttons().size(), size_t(2));
        QVERIFY(second.isNull());
        QCOMPARE(Button(0), first);
        QCOMPARE(Button(1), third);
        QCOMPARE(IdOf(window->Buttons()[0]), 3001);
        QCOMPARE(IdOf(window->Buttons()[1]), 3002);
        QVERIFY(Selection().isEmpty());
        QCOMPARE(int(window->Editor().Model().Controls().size()), 2);
    }

    void captionGoesToTheSelectedButtons()
    {
        window->AddKey(keys::kPower);
        window->AddKey(keys::kDefault);
        window->AddKey(keys::kBlank);
        window->Editor().Select(Button(0), true); // Blank and Power selected
        auto* caption = Control<QLineEdit>(remote::kCaptionEdit);
        caption->setFocus();
        QTest::keyClicks(caption, QStringLiteral("TV "));
        QInputMethodEvent typed; // Chinese arrives from the input method
        typed.setCommitString(QStringLiteral("开机"));
        QApplication::sendEvent(caption, &typed);
        QCOMPARE(window->CaptionText(), QStringLiteral("TV 开机"));
        QVERIFY(Button(0)->text().isEmpty()); // typing alone changes no button
        QTest::mouseClick(Control(remote::kSetCaption), Qt::LeftButton);
        QCOMPARE(Button(0)->text(), QStringLiteral("TV 开机"));
        QVERIFY(Button(1)->text().isEmpty());
        QCOMPARE(Button(2)->text(), QStringLiteral("TV 开机"));
        QCOMPARE(Button(2)->accessibleName(), QString()); // the caption speaks for it

        // "S" with an empty box clears the captions.
        caption->clear();
        QTest::mouseClick(Control(remote::kSetCaption), Qt::LeftButton);
        QVERIFY(Button(0)->text().isEmpty());
        QVERIFY(Button(2)->text().isEmpty());
        QCOMPARE(Button(2)->accessibleName(), QStringLiteral("Blank"));
    }

    void clickSelectsAndHeldDragMoves()
    {
        CButtonEx* a = KeyAt(keys::kDigit0 + 1, 40, 40);
        CButtonEx* b = KeyAt(keys::kDigit0 + 2, 140, 40);
        window->Editor().Select(b, true);

        // A quick click moved by 2 pixels only selects.
        QTest::mousePress(a, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseMove(a, QPoint(22, 22));
        QTest::mouseRelease(a, Qt::LeftButton, {}, QPoint(22, 22));
        QCOMPARE(Selection(), (QList<QWidget*>{a}));
        QCOMPARE(a->pos(), QPoint(40, 40));
        QVERIFY(!a->isDown());

        // Held longer than 200 ms it moves by the distance dragged.
        window->Editor().ClearSelection(true);
        QTest::mousePress(a, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseMove(a, QPoint(22, 21));
        QTest::mouseRelease(a, Qt::LeftButton, {}, QPoint(22, 21), 300);
        QCOMPARE(a->pos(), QPoint(42, 41));
        QCOMPARE(b->pos(), QPoint(140, 40));
    }

    void hoverFollowsThePointerAfterADrag()
    {
        // Through the window, as the window system delivers them.
        CButtonEx* a = KeyAt(keys::kDigit0 + 1, 40, 40);
        CButtonEx* b = KeyAt(keys::kDigit0 + 2, 140, 40);
        QWindow* w = window->windowHandle();
        QTest::mouseMove(w, QPoint(64, 64));
        QTRY_VERIFY(a->Hovering());
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(64, 64));
        QTest::mouseMove(w, QPoint(80, 150));
        QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(80, 150), 300);
        QCOMPARE(a->pos(), QPoint(56, 126));
        QTest::mouseMove(w, QPoint(164, 64));
        QTRY_VERIFY(b->Hovering());
        QVERIFY(!a->Hovering());
    }

    void ctrlAndShiftClicks()
    {
        CButtonEx* a = KeyAt(keys::kDigit0 + 1, 40, 40);
        CButtonEx* b = KeyAt(keys::kDigit0 + 2, 140, 40);
        CButtonEx* c = KeyAt(keys::kDigit0 + 3, 240, 40);
        QSignalSpy cClicked(c, &QAbstractButton::clicked);
        QTest::mouseClick(a, Qt::LeftButton);
        QTest::mouseClick(b, Qt::LeftButton, Qt::ShiftModifier);
        QTest::mouseClick(c, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(Selection(), (QList<QWidget*>{a, b, c}));
        // The editor keeps presses from selected buttons only.
        QCOMPARE(cClicked.count(), 0);
        QTest::mouseClick(c, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(cClicked.count(), 1);
        QTest::mouseClick(c, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(Selection(), (QList<QWidget*>{a, b, c}));
        QTest::mouseClick(a, Qt::LeftButton, Qt::ShiftModifier); // the reference now
        QCOMPARE(Selection(), (QList<QWidget*>{b, c, a}));
        QTest::mouseClick(b, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(Selection(), (QList<QWidget*>{c, a}));

        // "L" aligns to the reference, the last one selected.
        QTest::mouseClick(Control(remote::kAlignLeft), Qt::LeftButton);
        QCOMPARE(c->x(), 40);
        QCOMPARE(b->x(), 140);
    }

    void bandSelectsWhatItCovers()
    {
        CButtonEx* a = KeyAt(keys::kPower, 40, 40);
        CButtonEx* b = KeyAt(keys::kMenu, 100, 40);
        CButtonEx* c = KeyAt(keys::kBlank, 40, 200);
        // From empty space over a and b, and over half of c.
        const QPoint from = QPoint(30, 30) - Area()->pos();
        const QPoint to = QPoint(160, 220) - Area()->pos();
        QTest::mousePress(Area(), Qt::LeftButton, {}, from);
        QTest::mouseMove(Area(), to);
        QTest::mouseRelease(Area(), Qt::LeftButton, {}, to);
        QCOMPARE(Selection().size(), 2);
        QVERIFY(window->Editor().IsSelected(a) && window->Editor().IsSelected(b));
        QVERIFY(!window->Editor().IsSelected(c));
    }

    void groupDragStopsInsideTheArea()
    {
        CButtonEx* a = KeyAt(keys::kPower, 40, 40);
        CButtonEx* b = KeyAt(keys::kMenu, 100, 80);
        window->Editor().Select(a, false);
        window->Editor().Select(b, true);
        QTest::mousePress(b, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(b, QPoint(-400, -400));
        QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(-400, -400));
        const QPoint area = Area()->pos();
        QCOMPARE(a->pos(), area + QPoint(6, 6));
        QCOMPARE(b->pos(), area + QPoint(66, 46));
    }

    void resizingAKeyOnlyMovesIt()
    {
        window->AddKey(keys::kPower); // at (154, 310), selected
        CButtonEx* key = Button(0);
        // The right handle lies just outside the key, on the design area.
        const QPoint handle = InArea(key, QPoint(51, 24));
        QTest::mousePress(Area(), Qt::LeftButton, {}, handle);
        QTest::mouseMove(Area(), handle + QPoint(52, 0));
        QTest::mouseRelease(Area(), Qt::LeftButton, {}, handle + QPoint(52, 0));
        QCOMPARE(key->geometry(), QRect(180, 310, 48, 48));
        QCOMPARE(window->Editor().Model().RectOf(key), DesignRect::FromQRect(key->geometry().translated(-Area()->pos())));

        // Squeezed to the minimum at the bound, the key would centre itself
        // half outside the area: it stays inside instead.
        CButtonEx* edge = KeyAt(keys::kMenu, 13 + 6, 100);
        window->Editor().ClearSelection(false);
        window->Editor().Select(edge, true);
        const QPoint right = InArea(edge, QPoint(51, 24));
        QTest::mousePress(Area(), Qt::LeftButton, {}, right);
        QTest::mouseMove(Area(), right - QPoint(45, 0));
        QTest::mouseRelease(Area(), Qt::LeftButton, {}, right - QPoint(45, 0));
        QCOMPARE(edge->geometry(), QRect(13 + 6, 100, 48, 48));
    }

    void cursorShowsWhatAPressWouldDo()
    {
        window->AddKey(keys::kPower); // (154, 310), selected
        CButtonEx* key = Button(0);
        QWindow* w = window->windowHandle();
        QTest::mouseMove(w, QPoint(205, 334)); // right handle, over the design area
        QTRY_COMPARE(Area()->cursor().shape(), Qt::SizeHorCursor);
        QTest::mouseMove(w, QPoint(151, 307)); // top-left handle
        QTRY_COMPARE(Area()->cursor().shape(), Qt::SizeFDiagCursor);
        QTest::mouseMove(w, QPoint(178, 334)); // on the key
        QTRY_COMPARE(key->cursor().shape(), Qt::SizeAllCursor);
        QTest::mouseMove(w, QPoint(60, 60));
        QTRY_COMPARE(Area()->cursor().shape(), Qt::ArrowCursor);
    }

    void arrowsNudgeWithinTheBound()
    {
        CButtonEx* a = KeyAt(keys::kPower, 13 + 7, 100);
        window->Editor().Select(a, true);
        QTest::keyClick(window.get(), Qt::Key_Left);
        QCOMPARE(a->x(), 13 + 6);
        QTest::keyClick(window.get(), Qt::Key_Left); // at the bound
        QCOMPARE(a->x(), 13 + 6);
        QTest::keyClick(window.get(), Qt::Key_Right);
        QTest::keyClick(window.get(), Qt::Key_Down);
        QCOMPARE(a->pos(), QPoint(20, 101));
        QVERIFY(window->Buttons().size() == 1);
    }

    void spacingEvensThreeKeys()
    {
        CButtonEx* a = KeyAt(keys::kPower, 23, 300);
        CButtonEx* b = KeyAt(keys::kMenu, 63, 300);
        CButtonEx* c = KeyAt(keys::kBlank, 213, 300); // 48 wide: created with a 48 x 48 place
        for (CButtonEx* key : {a, b, c})
            window->Editor().Select(key, true);
        const int gap = (c->geometry().right() + 1 - 23 - (48 + 48 + c->width())) / 2;
        QTest::mouseClick(Control(remote::kSpaceAcross), Qt::LeftButton);
        QCOMPARE(b->x(), 23 + 48 + gap);
        // Two selected: "A" and "D" do nothing.
        window->Editor().Deselect(c, true);
        const QPoint before = b->pos();
        QTest::mouseClick(Control(remote::kSpaceDown), Qt::LeftButton);
        QTest::mouseClick(Control(remote::kSpaceAcross), Qt::LeftButton);
        QCOMPARE(b->pos(), before);
    }

    void selectedKeyShowsItsFrameAndHandles()
    {
        window->AddKey(keys::kPower); // (154, 310), 48 x 48
        QImage shot = Shot();
        const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
        QCOMPARE(shot.pixel(153, 330), black);     // frame, one pixel left of the key
        QCOMPARE(shot.pixel(202, 340), black);     // and one right of it
        QCOMPARE(shot.pixel(170, 309), black);     // above it
        QCOMPARE(shot.pixel(149, 305), black);     // top-left handle
        QCOMPARE(shot.pixel(206, 362), black);     // bottom-right handle
        QCOMPARE(shot.pixel(180, 306), black);     // top handle
        QCOMPARE(shot.pixel(165, 306), white);     // between handles
        QCOMPARE(shot.pixel(155, 311), white);     // the key's transparent corner
        QVERIFY(qRed(shot.pixel(162, 334)) > 150); // the red face of the key

        window->Editor().ClearSelection(true);
        shot = Shot();
        QCOMPARE(shot.pixel(153, 330), white);
        QCOMPARE(shot.pixel(149, 305), white);
    }

    void keysTakeTheirPictures()
    {
        for (int type = 0; type < keys::kKeyTypeCount; ++type) {
            const keys::KeyType& key = keys::Key(type);
            for (int number : {key.normalPicture, key.hoverPicture, key.pressedPicture}) {
                const QImage picture = PngPicture(number);
                QCOMPARE(picture.size(), keys::KeySize(type));
                QVERIFY(picture.hasAlphaChannel());
            }
        }
        for (int body = 0; body < keys::kBodyCount; ++body)
            QCOMPARE(PngPicture(keys::BodyAt(body).picture).size(), QSize(360, 720));
        for (int number = 145; number <= 150; ++number) {
            QCOMPARE(BitmapPicture(number).size(), QSize(35, 35));
            QVERIFY(!BitmapPicture(number).hasAlphaChannel());
            QCOMPARE(BitmapPicture(number).pixel(0, 0), qRgb(255, 0, 255));
        }

        CButtonEx* key = KeyAt(keys::kUp, 50, 50);
        const auto& images = key->StateImages();
        for (int slot : {0, 1, 3, 5})
            QCOMPARE(images[static_cast<size_t>(slot)], PngPicture(159));
        QCOMPARE(images[2], PngPicture(209));
        QCOMPARE(images[4], PngPicture(208));
        // The Default key's captions: white, yellow while hovered, green pressed.
        CButtonEx* plain = KeyAt(keys::kDefault, 150, 50);
        plain->SetCaption(QStringLiteral("OK"));
        QCOMPARE(plain->Face().textColor, QColor(Qt::white));
        QTest::mouseMove(plain, QPoint(24, 24));
        QEnterEvent enter(QPointF(24, 24), QPointF(24, 24), plain->mapToGlobal(QPointF(24, 24)));
        QApplication::sendEvent(plain, &enter);
        plain->repaint();
        QCOMPARE(plain->DrawState(), int(compose::kHover));
        QCOMPARE(plain->Face().textColor, QColor(255, 255, 0));
        QCOMPARE(key->Face().textColor, key->palette().color(QPalette::ButtonText));
    }

    void escapeClosesAndAltSpaceOpensTheSystemMenu()
    {
        QTest::keyClick(window.get(), Qt::Key_Space, Qt::AltModifier);
        QMenu* menu = window->SystemMenu();
        QTRY_VERIFY(menu->isVisible());
        QAction* about = nullptr;
        for (QAction* action : menu->actions())
            if (action->data().toInt() == remote::kCmdAbout)
                about = action;
        QVERIFY(about);
        QCOMPARE(about->text(), QStringLiteral("About Remote(&A)..."));
        menu->hide();

        QTimer::singleShot(0, this, [] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QStringLiteral("About Remote"));
            bool found = false;
            for (QLabel* label : box->findChildren<QLabel*>())
                found |= label->text() == QStringLiteral("Remote Version 1.0");
            QVERIFY(found);
            box->accept();
        });
        about->trigger();

        QTest::keyClick(Control(remote::kCaptionEdit), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }

    void backgroundDragsTheWindow()
    {
        const QPoint start = window->pos();
        QTest::mousePress(window.get(), Qt::LeftButton, {}, QPoint(5, 300));
        QTest::mouseMove(window.get(), QPoint(45, 330));
        QTest::mouseRelease(window.get(), Qt::LeftButton, {}, QPoint(45, 330));
        QCOMPARE(window->pos(), start + QPoint(40, 30));
        // A right click that does not move it opens the system menu.
        QTest::mouseClick(window.get(), Qt::RightButton, {}, QPoint(5, 300));
        QTRY_VERIFY(window->SystemMenu()->isVisible());
        window->SystemMenu()->hide();
    }
};

QTEST_MAIN(TestRemoteDlg)
#include "tst_remotedlg.moc"
