// The two modes of the window and the built remote: start-up from a program
// file with or without a design, Preview and the mode chord with every step
// of the switch, Build with its dialog, and what play mode shows: the body,
// the keys composed over it with their states, the dot, the window's shape.
#include "TestFiles.h"
#include "designer/BuiltRemote.h"
#include "designer/KeyTypes.h"
#include "designer/ui/Pictures.h"
#include "support/RemoteWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

QByteArray FakeProgram()
{
    return QByteArray("\x7f" "ELF and the rest of a program ", 31).repeated(50);
}

built::ButtonRecord Record(int keyType, int left, int top, const QString& caption, int firstPulse)
{
    built::ButtonRecord record;
    record.keyType = keyType;
    record.rect = {left, top, left + 48, top + 48};
    record.caption = caption;
    record.code[0] = 1;
    record.code[1] = firstPulse;
    record.code[2] = 500;
    return record;
}

int CountColour(const QImage& image, const QRect& area, QRgb colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

// Answers the first modal window for which `is` holds, once it is open.
// Polled, never waited for, so that no modal loop is held up.
template <typename Is, typename Answer>
void WhenModal(Is is, Answer answer)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, is, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !is(modal))
            return;
        poll->stop();
        poll->deleteLater();
        answer(modal);
    });
    poll->start(10);
}

// As a user picks a folder and types a name into the dialog's name box.
void TypeFileName(QFileDialog* dialog, const QString& path)
{
    dialog->setDirectory(QFileInfo(path).path());
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(name);
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, QFileInfo(path).fileName());
}

bool IsFileDialog(QWidget* modal)
{
    return qobject_cast<QFileDialog*>(modal);
}

// The build's own result box, not the file dialog's overwrite question.
bool IsBuildResult(QWidget* modal)
{
    auto* box = qobject_cast<QMessageBox*>(modal);
    return box && (box->text() == QStringLiteral("Success") || box->text() == QStringLiteral("Fail"));
}

} // namespace

class TestPlayMode : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString program; // a designer's program file: no design
    std::unique_ptr<CRemoteDlg> window;

    void Start(const QString& file)
    {
        window = std::make_unique<CRemoteDlg>(file);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    QString Built(const QString& name, const std::vector<built::ButtonRecord>& buttons, int body)
    {
        const QString path = dir.filePath(name);
        if (!built::WriteBuiltRemote(path, program, 0, buttons, body))
            return {};
        return path;
    }
    QComboBox* Bodies() const { return ControlOf<QComboBox>(*window, remote::kBodyList); }
    QPushButton* Preview() const { return ControlOf<QPushButton>(*window, remote::kPreview); }
    CButtonEx* Key(int index) const { return ButtonOf(*window, index); }
    // The design-mode controls but "Preview".
    QList<QWidget*> DesignControls() const
    {
        QList<QWidget*> controls;
        for (const remote::ControlPlace& place : remote::Controls())
            if (place.id != remote::kPreview)
                controls << window->Control(place.id);
        return controls;
    }
    // Play mode's picture of the body alone, at the window's size.
    QImage BodyBackground(int body) const
    {
        return play::Background(PngPicture(keys::BodyAt(body).picture), window->size());
    }

private slots:
    void initTestCase()
    {
        program = dir.filePath("Remote");
        QVERIFY(WriteFile(program, FakeProgram()));
    }
    void init() { usbsim::Reset(); }
    void cleanup() { window.reset(); }

    void aBuiltRemoteStartsAsTheFinishedRemote()
    {
        const QString path = Built("tv.exe",
                                   {Record(keys::kPower, 40, 60, "On", 9000), Record(keys::kDefault, 120, 60, "OK", 560)},
                                   1);
        Start(path);
        QVERIFY(!window->DesignMode());
        QVERIFY(Preview()->isHidden());
        for (QWidget* control : DesignControls())
            QVERIFY2(control->isHidden(), qPrintable(QString::number(remote::ControlId(control))));
        QVERIFY(!window->Editor().IsAttached());
        QCOMPARE(window->ProgramLength(), qint32(FakeProgram().size()));
        QCOMPARE(Bodies()->currentIndex(), 1);
        QCOMPARE(window->BodyIndex(), 1);
        QCOMPARE(window->Buttons().size(), size_t(2));
        QCOMPARE(Key(0)->KeyType(), keys::kPower);
        QCOMPARE(Key(0)->geometry(), QRect(40, 60, 48, 48));
        QCOMPARE(Key(1)->text(), QStringLiteral("OK"));
        QCOMPARE(window->Buttons()[0].code[1], 9000);
        QCOMPARE(remote::ControlId(Key(1)), 3002);
        QVERIFY(!Key(0)->SelfDrawn() && !Key(1)->SelfDrawn());

        // The body shows, the keys over it, the red dot before the device is found.
        const QImage shot = Shot(*window);
        const QImage body = BodyBackground(1);
        QCOMPARE(shot.pixel(180, 400), body.pixel(180, 400));
        QCOMPARE(shot.pixel(178, 7), play::kDisconnected);
        QCOMPARE(shot.pixel(0, 0), play::kColourKey); // a transparent corner of the body
        QVERIFY(shot.pixel(64, 84) != body.pixel(64, 84));
        // The shape: the body and the keys, never the colour key.
        QTRY_VERIFY(!window->mask().isEmpty());
        QVERIFY(!window->mask().contains(QPoint(0, 0)));
        QVERIFY(window->mask().contains(QPoint(180, 400)));
        QVERIFY(window->mask().contains(QPoint(178, 7)));

        // Found 100 ms after start: the dot turns green.
        QTRY_VERIFY(window->Connected());
        QTRY_COMPARE(Shot(*window).pixel(179, 8), play::kConnected);
    }

    void aBodyIndexWithoutPictureShowsOnlyTheKeys()
    {
        Start(Built("nobody.exe", {Record(keys::kPower, 40, 60, QString(), 9000)}, 7));
        QVERIFY(!window->DesignMode());
        QCOMPARE(Bodies()->currentIndex(), -1);
        QVERIFY(window->BodyPicture().isNull());
        const QImage shot = Shot(*window);
        QCOMPARE(shot.pixel(180, 400), play::kColourKey);
        QCOMPARE(shot.pixel(178, 7), play::kDisconnected);
        // The key is composed over the colour key: its transparent corner
        // stays see-through, its face does not.
        QCOMPARE(shot.pixel(40, 60), play::kColourKey);
        QVERIFY(shot.pixel(64, 84) != play::kColourKey);
        QTRY_VERIFY(window->mask().contains(QPoint(64, 84)));
        QVERIFY(!window->mask().contains(QPoint(180, 400)));
    }

    void foreignFilesStartTheDesigner_data()
    {
        QTest::addColumn<qint32>("offset");
        QTest::newRow("negative") << -5;
        QTest::newRow("the file's length") << qint32(FakeProgram().size() + 12);
    }
    void foreignFilesStartTheDesigner()
    {
        QFETCH(qint32, offset);
        QByteArray file = FakeProgram() + built::EncodeDesign({}, 0, 2);
        qToLittleEndian(offset, file.data() + file.size() - 8);
        const QString path = dir.filePath("foreign.exe");
        QVERIFY(WriteFile(path, file));
        Start(path);
        QVERIFY(window->DesignMode());
        QVERIFY(window->Editor().IsAttached());
        QCOMPARE(Bodies()->currentIndex(), 0);
        QCOMPARE(window->ProgramLength(), 0);
        QVERIFY(window->mask().isEmpty());
    }

    void previewSwitchesBothWays()
    {
        Start(program);
        QVERIFY(window->DesignMode());
        window->AddKey(keys::kPower);
        window->AddKey(keys::kMenu);
        Bodies()->setCurrentIndex(3);
        QVERIFY(window->BodyPicture().isNull()); // design mode only notes the body

        QTest::mouseClick(Preview(), Qt::LeftButton);
        QVERIFY(!window->DesignMode());
        QVERIFY(!window->Editor().IsAttached());
        QVERIFY(window->Editor().Selection().isEmpty());
        QVERIFY(Preview()->isVisible());
        for (QWidget* control : DesignControls())
            QVERIFY(control->isHidden());
        QVERIFY(!Key(0)->SelfDrawn());
        QCOMPARE(window->palette().color(QPalette::Window).rgb(), play::kColourKey);
        QCOMPARE(window->BodyPicture(), PngPicture(keys::BodyAt(3).picture));
        QTRY_COMPARE(Shot(*window).pixel(180, 500), BodyBackground(3).pixel(180, 500));
        QTRY_VERIFY(window->mask().contains(Preview()->geometry()));

        // The body list changes the picture at once in play mode.
        Bodies()->setCurrentIndex(4);
        QCOMPARE(window->BodyPicture(), PngPicture(keys::BodyAt(4).picture));

        QTest::mouseClick(Preview(), Qt::LeftButton);
        QVERIFY(window->DesignMode());
        QVERIFY(window->BodyPicture().isNull());
        QVERIFY(window->mask().isEmpty());
        for (QWidget* control : DesignControls())
            QVERIFY(control->isVisible());
        QVERIFY(window->Editor().IsAttached());
        QCOMPARE(window->Editor().Model().Bound(), (DesignRect{6, 6, 324, 639}));
        QCOMPARE(int(window->Editor().Model().Controls().size()), 2);
        QVERIFY(Key(0)->SelfDrawn() && Key(1)->SelfDrawn());
        QCOMPARE(window->palette().color(QPalette::Window), window->palette().color(QPalette::Dark));
        QCOMPARE(Bodies()->currentIndex(), 4); // the choice survives
        // Nothing is drawn at the dot's place in design mode.
        QTRY_COMPARE(Shot(*window).pixel(180, 500), qRgb(255, 255, 255));
        const QRgb there = Shot(*window).pixel(178, 7);
        QVERIFY(there != play::kConnected && there != play::kDisconnected);
    }

    void modeChordWorksInBothModes_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("switches");
        const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
        QTest::newRow("Ctrl+Shift+M") << (ctrl | shift) << true;
        QTest::newRow("keypad flag ignored") << (ctrl | shift | int(Qt::KeypadModifier)) << true;
        QTest::newRow("Ctrl+M") << ctrl << false;
        QTest::newRow("Shift+M") << shift << false;
        QTest::newRow("Ctrl+Alt+Shift+M") << (ctrl | shift | int(Qt::AltModifier)) << false;
    }
    void modeChordWorksInBothModes()
    {
        QFETCH(int, modifiers);
        QFETCH(bool, switches);
        Start(Built("chord.exe", {Record(keys::kPower, 40, 60, "On", 9000)}, 0));
        QVERIFY(!window->DesignMode());
        Key(0)->setFocus(); // keys reach the window before the focused key
        QTest::keyClick(Key(0), Qt::Key_M, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(window->DesignMode(), switches);
        if (!switches)
            return;
        QVERIFY(Preview()->isVisible());
        QVERIFY(window->Editor().IsAttached());
        // And back, typed into the caption box of design mode.
        auto* caption = ControlOf<QLineEdit>(*window, remote::kCaptionEdit);
        caption->setFocus();
        QTest::keyClick(caption, Qt::Key_M, Qt::KeyboardModifiers(modifiers));
        QVERIFY(!window->DesignMode());
        QVERIFY(Preview()->isHidden());
        QVERIFY(caption->text().isEmpty());
    }

    void rebuildingWritesOnlyTheProgramPart()
    {
        const QString first = Built("first.exe", {Record(keys::kPower, 40, 60, "Old", 9000)}, 2);
        Start(first);
        window->SwitchModeByChord();
        window->AddKey(keys::kBlank);
        ButtonOf(*window, 1)->SetCaption(QStringLiteral("New"));
        const QString second = dir.filePath("second.exe");
        QVERIFY(window->BuildRemote(second));
        const QByteArray bytes = ReadFile(second);
        QVERIFY(bytes.startsWith(FakeProgram()));
        QCOMPARE(bytes.count("V1.0"), 1);
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + bytes.size() - 8), qint32(FakeProgram().size()));
        QCOMPARE(bytes.size(), FakeProgram().size() + 2 * 8212 + 2 * (3 * 2 + 4) + 12);

        window.reset();
        Start(second);
        QVERIFY(!window->DesignMode());
        QCOMPARE(window->Buttons().size(), size_t(2));
        QCOMPARE(Key(0)->text(), QStringLiteral("Old"));
        QCOMPARE(Key(1)->KeyType(), keys::kBlank);
        QCOMPARE(Bodies()->currentIndex(), 2);
    }

    void emptyDesignBuildsTheProgramAndATrailer()
    {
        Start(program);
        Bodies()->setCurrentIndex(2);
        const QString path = dir.filePath("empty.exe");
        QVERIFY(window->BuildRemote(path));
        QByteArray trailer("V1.0\0\0\0\0\2\0\0\0", 12);
        qToLittleEndian(qint32(FakeProgram().size()), trailer.data() + 4);
        QCOMPARE(ReadFile(path), FakeProgram() + trailer);
        window.reset();
        Start(path);
        QVERIFY(!window->DesignMode());
        QVERIFY(window->Buttons().empty());
        QCOMPARE(window->BodyPicture(), PngPicture(keys::BodyAt(2).picture));
    }

    void buildAsksWhereAndSaysHowItWent()
    {
        Start(program);
        window->AddKey(keys::kPower);
        QString filters;
        QString said;
        WhenModal(IsFileDialog, [&](QWidget* modal) {
            auto* dialog = static_cast<QFileDialog*>(modal);
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog->defaultSuffix(), QStringLiteral("exe"));
            filters = dialog->nameFilters().join("|");
            TypeFileName(dialog, dir.filePath("living-room"));
            WhenModal(IsBuildResult, [&](QWidget* box) {
                said = static_cast<QMessageBox*>(box)->text();
                static_cast<QMessageBox*>(box)->accept();
            });
            static_cast<QDialog*>(dialog)->accept();
        });
        QTest::mouseClick(ControlOf(*window, remote::kBuild), Qt::LeftButton);
        QCOMPARE(filters, QStringLiteral("EXE File (*.exe)|All File (*.*)"));
        QCOMPARE(said, QStringLiteral("Success"));
        const QString built = dir.filePath("living-room.exe");
        QVERIFY(QFile::exists(built));
        QVERIFY(QFile::permissions(built) & QFile::ExeOther);

        // A built remote rebuilt onto its own file, replacing it: "Fail",
        // and the file stays whole.
        window.reset();
        Start(built);
        const QByteArray before = ReadFile(built);
        window->SwitchModeByChord();
        window->AddKey(keys::kMenu);
        said.clear();
        WhenModal(IsFileDialog, [&](QWidget* modal) {
            auto* dialog = static_cast<QFileDialog*>(modal);
            TypeFileName(dialog, built);
            WhenModal([](QWidget* box) { return qobject_cast<QMessageBox*>(box) && !IsBuildResult(box); },
                      [](QWidget* box) { static_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click(); });
            WhenModal(IsBuildResult, [&](QWidget* box) {
                said = static_cast<QMessageBox*>(box)->text();
                static_cast<QMessageBox*>(box)->accept();
            });
            static_cast<QDialog*>(dialog)->accept();
        });
        QTest::mouseClick(ControlOf(*window, remote::kBuild), Qt::LeftButton);
        QCOMPARE(said, QStringLiteral("Fail"));
        QCOMPARE(ReadFile(built), before);
    }

    void keysAreComposedOverTheBody()
    {
        // Entry 0 overlaps entry 1 and lies on top of it.
        Start(Built("stack.exe", {Record(keys::kPower, 100, 100, QString(), 1), Record(keys::kMenu, 124, 100, QString(), 1)},
                    0));
        const QImage shot = Shot(*window);
        const QImage body = BodyBackground(0);
        // The keys' transparent corners show the body, not the colour key.
        QCOMPARE(shot.pixel(100, 100), body.pixel(100, 100));
        QCOMPARE(shot.pixel(171, 147), body.pixel(171, 147));
        // Where they overlap, entry 0's face shows.
        compose::ButtonFace face = Key(0)->Face();
        QImage alone = body.copy(100, 100, 48, 48);
        compose::ComposeButton(alone, alone.rect(), face);
        QCOMPARE(shot.pixel(140, 124), alone.pixel(40, 24));
    }

    void defaultKeyCaptionFollowsThePointer()
    {
        Start(Built("default.exe", {Record(keys::kDefault, 100, 100, "WWW", 1)}, 4));
        const QRect key(100, 100, 48, 48);
        const QRgb white = qRgb(255, 255, 255), yellow = qRgb(255, 255, 0), green = qRgb(0, 255, 0);
        QImage shot = Shot(*window);
        QVERIFY(CountColour(shot, key, white) > 20);
        QCOMPARE(CountColour(shot, key, yellow), 0);

        QWindow* w = window->windowHandle();
        QTest::mouseMove(w, key.center());
        QTRY_VERIFY(CountColour(Shot(*window), key, yellow) > 20);
        QCOMPARE(CountColour(Shot(*window), key, white), 0);

        QTest::mousePress(w, Qt::LeftButton, {}, key.center());
        QTRY_VERIFY(CountColour(Shot(*window), key, green) > 20);
        QTest::mouseRelease(w, Qt::LeftButton, {}, key.center());
        QTest::mouseMove(w, QPoint(300, 600));
        QTRY_VERIFY(CountColour(Shot(*window), key, white) > 20);
    }

    void closingReleasesTheKeysAndTheDevice()
    {
        Start(Built("close.exe", {Record(keys::kPower, 40, 60, "On", 9000)}, 0));
        QVERIFY(ConnectDevice(*window));
        QCOMPARE(usbsim::OpenHandles(), 1);
        QPointer<CButtonEx> key = Key(0);
        key->setFocus();
        QTest::keyClick(key, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QTRY_VERIFY(key.isNull());
        QVERIFY(window->Buttons().empty());
        QCOMPARE(usbsim::OpenHandles(), 0);
    }
};

QTEST_MAIN(TestPlayMode)
#include "tst_playmode.moc"
