// The code library window driven through its real widgets, from the main
// window, against the simulated device.
#include "TestFiles.h"
#include "analyzer/app/ControlIds.h"
#include "analyzer/app/WavixDlg.h"
#include "analyzer/core/Transmit.h"
#include "analyzer/library/LibraryListModel.h"
#include "analyzer/library/RecordFile.h"
#include "analyzer/library/SoundPlayer.h"
#include "analyzer/library/window/VendorAddDlg.h"
#include "analyzer/library/window/VendorDlg.h"
#include "analyzer/library/window/VendorIds.h"
#include "analyzer/library/window/VendorRenameDlg.h"
#include "analyzer/library/window/VendorTestDlg.h"
#include "analyzer/settings/SettingsStore.h"
#include "sim/SimControl.h"
#include "tests/app/support/DialogDriver.h"
#include "tests/support/FrameBuilder.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

#include "analyzer/app/CodeTextBox.h"
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <mutex>

namespace {

std::vector<int> SonyKey(int command)
{
    std::vector<int> pulses = {2400};
    for (int bit = 0; bit < 12; ++bit)
        pulses.insert(pulses.end(), {600, (command >> bit) & 1 ? 1200 : 600});
    return pulses;
}

// Runs `act` on the modal dialog of type T as soon as it is open. `act`
// must close the dialog; checks are made by the caller once exec returns.
// The wait is long: a file dialog can take seconds to open on a busy machine.
template <typename T>
void WhenModal(std::function<void(T*)> act)
{
    auto* timer = new QTimer;
    const QDeadlineTimer deadline(60000);
    QObject::connect(timer, &QTimer::timeout, [timer, act, deadline] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog && !deadline.hasExpired())
            return;
        timer->stop();
        timer->deleteLater();
        if (dialog)
            act(dialog);
    });
    timer->start(10);
}

// The success sound's requests, without a sound library.
struct HeardSounds {
    std::mutex mutex;
    QStringList paths;
    SoundPlayer player{[this](const std::string& path) {
        std::lock_guard<std::mutex> lock(mutex);
        paths << QString::fromStdString(path);
    }};
    QStringList Paths()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return paths;
    }
};

} // namespace

class TestVendorWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<CWavixDlg> window;
    std::unique_ptr<HeardSounds> sounds;

    QString RecordPath() const { return RecordFilePath(folder->path()); }
    QString IniPath() const { return SettingsFilePath(folder->path()); }

    CVendorDlg* OpenVendor()
    {
        window->Command(ids::kCmdVendor)->trigger();
        CVendorDlg* vendor = window->VendorWindow();
        if (vendor) {
            vendor->UseSoundPlayer(sounds->player);
            if (!QTest::qWaitForWindowExposed(vendor))
                return nullptr;
        }
        return vendor;
    }

    QTableView* List(CVendorDlg* vendor) { return vendor->List(); }
    QStringList Column(CVendorDlg* vendor, int column)
    {
        QStringList texts;
        const auto* model = vendor->List()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, column).data().toString();
        return texts;
    }
    QPoint RowCenter(CVendorDlg* vendor, int row)
    {
        return vendor->List()->visualRect(vendor->List()->model()->index(row, 1)).center();
    }
    // A right click as the windowing system delivers it: the press, the
    // context-menu request, the release.
    void RightClick(CVendorDlg* vendor, QPoint position)
    {
        QWidget* viewport = List(vendor)->viewport();
        QTest::mousePress(viewport, Qt::RightButton, Qt::NoModifier, position);
        QContextMenuEvent request(QContextMenuEvent::Mouse, position, viewport->mapToGlobal(position));
        QApplication::sendEvent(viewport, &request);
        QTest::mouseRelease(viewport, Qt::RightButton, Qt::NoModifier, position);
    }
    void RightClickRow(CVendorDlg* vendor, int row) { RightClick(vendor, RowCenter(vendor, row)); }
    // The first click of a double click arrives as a click of its own.
    void DoubleClickRow(CVendorDlg* vendor, int row)
    {
        QTest::mouseClick(List(vendor)->viewport(), Qt::LeftButton, Qt::NoModifier, RowCenter(vendor, row));
        QTest::mouseDClick(List(vendor)->viewport(), Qt::LeftButton, Qt::NoModifier, RowCenter(vendor, row));
    }

    void Capture(int channel, int startLevel, const std::vector<int>& pulses)
    {
        window->Command(ids::kCmdChannel1 + channel)->trigger();
        if (!window->Capture().capturing)
            window->ToggleCapture();
        usbsim::QueueCapture(startLevel, pulses);
        // The poll that fetches a capture also stores it and runs the code test.
        QTRY_COMPARE(usbsim::PendingCaptures(), 0);
        QCOMPARE(window->Capture().channels[size_t(channel)][int(pulses.size())], pulses.back());
    }

    // Entry i holds NEC key (keys[i], 0x10 + keys[i]); by default key i.
    void WriteLibrary(const QStringList& names, QList<int> keys = {})
    {
        CodeLibrary library;
        for (int i = 0; i < names.size(); ++i) {
            const int key = i < keys.size() ? keys[i] : i;
            PulseTrain train;
            train[0] = 1;
            const std::vector<int> pulses = NecKeyDurations(uint8_t(key), uint8_t(0x10 + key));
            for (size_t j = 0; j < pulses.size(); ++j)
                train[int(j) + 1] = pulses[j];
            library.Append(names[i], train);
        }
        QVERIFY(SaveRecords(RecordPath(), library));
    }

private slots:
    void init()
    {
        usbsim::Reset();
        folder = std::make_unique<QTemporaryDir>();
        sounds = std::make_unique<HeardSounds>();
        window = std::make_unique<CWavixDlg>(folder->path());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_VERIFY(window->Device().identified);
    }
    void cleanup()
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        sounds.reset();
        folder.reset();
    }

    // Must stay the first test: the Add memory lives as long as the process.
    void addRenameFilterSendAndLoad()
    {
        Capture(0, 1, NecKeyDurations(0x04, 0x08));
        Capture(1, 0, SonyKey(0x15));
        CVendorDlg* vendor = OpenVendor();
        QVERIFY(vendor);
        QCOMPARE(vendor->windowTitle(), QStringLiteral("Vendor"));
        QCOMPARE(List(vendor)->model()->rowCount(), 0);
        QCOMPARE(List(vendor)->horizontalHeader()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Number"));
        QCOMPARE(List(vendor)->columnWidth(0), 100);

        // The first Add ticks the selected channel (CH2); the user ticks CH1 too.
        bool ch2TickedAtFirst = false;
        bool ch3EditDisabled = false;
        WhenModal<CVendorAddDlg>([&](CVendorAddDlg* add) {
            ch2TickedAtFirst = add->Check(1)->isChecked() && !add->Check(0)->isChecked();
            ch3EditDisabled = !add->NameEdit(2)->isEnabled();
            QTest::mouseClick(add->Check(0), Qt::LeftButton);
            add->NameEdit(0)->selectAll();
            QTest::keyClicks(add->NameEdit(0), QStringLiteral("TV Power"));
            add->NameEdit(1)->selectAll();
            QTest::keyClicks(add->NameEdit(1), QStringLiteral("Amp Mute"));
            QTest::mouseClick(NumberedControl<QPushButton>(add, vendorids::kOk), Qt::LeftButton);
        });
        QTest::mouseClick(NumberedControl<QPushButton>(vendor, vendorids::kOk), Qt::LeftButton);
        QVERIFY(ch2TickedAtFirst);
        QVERIFY(ch3EditDisabled);
        QCOMPARE(Column(vendor, 0), (QStringList{"1", "2"}));
        QCOMPARE(Column(vendor, 1), (QStringList{"TV Power", "Amp Mute"}));
        QCOMPARE(List(vendor)->selectionModel()->selectedRows().size(), 2);
        QVERIFY(vendor->Library().Entry(1).train == window->Capture().channels[1]);
        QCOMPARE(QFileInfo(RecordPath()).size(), qint64(2 * 8 + 4 + 8192) * 2);

        // Rename through the context menu of the second row.
        RightClickRow(vendor, 1);
        QTRY_VERIFY(vendor->ContextMenu()->isVisible());
        QCOMPARE(List(vendor)->selectionModel()->selectedRows().size(), 1);
        QString shownName;
        WhenModal<CVendorRenameDlg>([&](CVendorRenameDlg* rename) {
            shownName = rename->NameEdit()->selectedText();
            QTest::keyClicks(rename->NameEdit(), QStringLiteral("Amp Volume"));
            QTest::keyClick(rename->NameEdit(), Qt::Key_Return);
        });
        QTest::keyClick(vendor->ContextMenu(), Qt::Key_R);
        QCOMPARE(shownName, QStringLiteral("Amp Mute"));
        QCOMPARE(Column(vendor, 1), (QStringList{"TV Power", "Amp Volume"}));
        CodeLibrary saved;
        QVERIFY(LoadRecords(RecordPath(), saved));
        QCOMPARE(saved.Entry(1).name, QStringLiteral("Amp Volume"));

        // Filter, then send the one row shown.
        QTest::keyClicks(NumberedControl<QLineEdit>(vendor, vendorids::kFilterEdit), QStringLiteral("VOL"));
        QCOMPARE(Column(vendor, 1), (QStringList{"Amp Volume"}));
        usbsim::ClearLogs();
        DoubleClickRow(vendor, 0);
        TransmitBuffer expected;
        const int length = EncodeTrain(window->Capture().channels[1], expected);
        QCOMPARE(length, 2 * 26);
        QCOMPARE(usbsim::TransmittedTrains().size(), size_t(1));
        QCOMPARE(usbsim::TransmittedTrains().back(), std::vector<uint8_t>(expected.begin(), expected.begin() + length));

        // Load the NEC key into CH3 while CH3 is the channel on show.
        NumberedControl<QLineEdit>(vendor, vendorids::kFilterEdit)->clear();
        window->Command(ids::kCmdChannel1 + 2)->trigger();
        auto* output = window->findChildren<CCodeTextBox*>().constFirst();
        QCOMPARE(output->toPlainText(), QString());
        RightClickRow(vendor, 0);
        QTRY_VERIFY(vendor->ContextMenu()->isVisible());
        QTest::keyClick(vendor->ContextMenu(), Qt::Key_L);
        QMenu* loadTo = vendor->ContextMenu()->actions().at(1)->menu();
        QTRY_VERIFY(loadTo->isVisible());
        QTest::keyClick(loadTo, Qt::Key_3);
        QVERIFY(window->Capture().channels[2] == window->Capture().channels[0]);
        QCOMPARE(window->Capture().channelProtocol[2], 0);
        QVERIFY(output->toPlainText().startsWith(QStringLiteral("02328, 01194")));
    }

    void oneWindowThatReloadsAfterClosing()
    {
        WriteLibrary({"one", "two", "three"});
        QVERIFY(window->Command(ids::kCmdVendor)->isEnabled());
        CVendorDlg* vendor = OpenVendor();
        QVERIFY(vendor);
        QCOMPARE(OpenVendor(), vendor);
        QCOMPARE(Column(vendor, 1), (QStringList{"one", "two", "three"}));

        QTest::keyClick(vendor, Qt::Key_Escape);
        QTRY_VERIFY(!window->VendorWindow());
        // No window, no code test: a capture changes nothing of the library.
        Capture(0, 1, NecKeyDurations(0, 0x10));

        WriteLibrary({"four"});
        vendor = OpenVendor();
        QVERIFY(vendor);
        QCOMPARE(Column(vendor, 1), (QStringList{"four"}));
    }

    void deleteAndMoveWithTheButtons()
    {
        WriteLibrary({"a", "b", "c", "d", "e"});
        CVendorDlg* vendor = OpenVendor();
        QVERIFY(vendor);
        QTest::mouseClick(List(vendor)->viewport(), Qt::LeftButton, Qt::NoModifier, RowCenter(vendor, 1));
        QTest::mouseClick(List(vendor)->viewport(), Qt::LeftButton, Qt::ControlModifier, RowCenter(vendor, 2));
        QTest::mouseClick(NumberedControl<QPushButton>(vendor, vendorids::kDelete), Qt::LeftButton);
        QCOMPARE(Column(vendor, 0), (QStringList{"1", "4", "5"}));
        QCOMPARE(Column(vendor, 1), (QStringList{"a", "d", "e"}));
        CodeLibrary saved;
        QVERIFY(LoadRecords(RecordPath(), saved));
        QCOMPARE(saved.Count(), 3);
        QCOMPARE(saved.Entry(1).name, QStringLiteral("d"));

        QTest::mouseClick(List(vendor)->viewport(), Qt::LeftButton, Qt::NoModifier, RowCenter(vendor, 1));
        QTest::mouseClick(List(vendor)->viewport(), Qt::LeftButton, Qt::ShiftModifier, RowCenter(vendor, 2));
        QTest::mouseClick(NumberedControl<QPushButton>(vendor, vendorids::kUp), Qt::LeftButton);
        QCOMPARE(Column(vendor, 1), (QStringList{"d", "e", "a"}));
        QCOMPARE(List(vendor)->selectionModel()->selectedRows().size(), 2);
        QVERIFY(List(vendor)->selectionModel()->isRowSelected(0, QModelIndex()));
        QVERIFY(List(vendor)->selectionModel()->isRowSelected(1, QModelIndex()));
        // The block touches the top now: nothing moves.
        QTest::mouseClick(NumberedControl<QPushButton>(vendor, vendorids::kUp), Qt::LeftButton);
        QCOMPARE(Column(vendor, 1), (QStringList{"d", "e", "a"}));
        QTest::mouseClick(NumberedControl<QPushButton>(vendor, vendorids::kDown), Qt::LeftButton);
        QCOMPARE(Column(vendor, 1), (QStringList{"a", "d", "e"}));
        QVERIFY(LoadRecords(RecordPath(), saved));
        QCOMPARE(saved.Entry(0).name, QStringLiteral("a"));
        QCOMPARE(saved.Entry(2).name, QStringLiteral("e"));
    }

    void rightClickBetweenRowsOpensNoMenuAndSendNeedsADevice()
    {
        WriteLibrary({"only"});
        CVendorDlg* vendor = OpenVendor();
        QVERIFY(vendor);
        RightClick(vendor, QPoint(20, List(vendor)->viewport()->height() - 5));
        QTest::qWait(50);
        QVERIFY(!vendor->ContextMenu()->isVisible());

        usbsim::Unplug();
        QTRY_VERIFY(!window->Device().identified);
        usbsim::ClearLogs();
        DoubleClickRow(vendor, 0);
        QVERIFY(usbsim::TransmittedTrains().empty());
    }

    void codeTestLogsTheFirstShownMatch()
    {
        WriteLibrary({"Power", "Power too", "Mute"}, {0, 0, 2});
        CVendorDlg* vendor = OpenVendor();
        QVERIFY(vendor);
        auto* test = NumberedControl<QCheckBox>(vendor, vendorids::kTest);
        auto* log = NumberedControl<QPlainTextEdit>(vendor, vendorids::kLog);
        QVERIFY(!test->isChecked());
        QCOMPARE(ReadSetting(IniPath(), "Test", "Enabled", "?"), QStringLiteral("FALSE"));
        for (int id : {vendorids::kSetting, vendorids::kSave, vendorids::kClear})
            QVERIFY(!NumberedControl<QPushButton>(vendor, id)->isEnabled());
        QVERIFY(!log->isEnabled());

        // Test off: captures leave the log alone.
        Capture(0, 1, NecKeyDurations(0, 0x10));
        QCOMPARE(log->toPlainText(), QString());

        QTest::mouseClick(test, Qt::LeftButton);
        QVERIFY(vendor->TestEnabled());
        QVERIFY(log->isEnabled() && NumberedControl<QPushButton>(vendor, vendorids::kClear)->isEnabled());
        QCOMPARE(ReadSetting(IniPath(), "Test", "Enabled", "?"), QStringLiteral("TRUE"));

        usbsim::ClearLogs();
        Capture(0, 1, NecKeyDurations(2, 0x12));
        const QRegularExpression line(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d: Mute\\n$"));
        QVERIFY2(line.match(log->toPlainText()).hasMatch(), qPrintable(log->toPlainText()));
        QCOMPARE(log->textCursor().position(), log->toPlainText().size());
        QTRY_COMPARE(sounds->Paths(), QStringList{folder->path() + QStringLiteral("/success.wav")});
        QCOMPARE(usbsim::SignalCount(), 1);

        // "Power" and "Power too" both match key 0: only the upper row is named;
        // once the filter hides it, the next shown row is.
        Capture(0, 1, NecKeyDurations(0, 0x10));
        QVERIFY(log->toPlainText().endsWith(QStringLiteral(": Power\n")));
        QTest::keyClicks(NumberedControl<QLineEdit>(vendor, vendorids::kFilterEdit), QStringLiteral("too"));
        Capture(0, 1, NecKeyDurations(0, 0x10));
        QVERIFY(log->toPlainText().endsWith(QStringLiteral(": Power too\n")));
        QCOMPARE(log->toPlainText().count(QLatin1Char('\n')), 3);

        // A capture of another level never matches.
        Capture(0, 0, NecKeyDurations(0, 0x10));
        QCOMPARE(log->toPlainText().count(QLatin1Char('\n')), 3);

        // Save asks for a text file, then writes the log; Clear empties it.
        const QString saved = folder->filePath(QStringLiteral("log.txt"));
        QStringList filters;
        QString suffix;
        bool confirmsOverwrite = false;
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            filters = dialog->nameFilters();
            suffix = dialog->defaultSuffix();
            confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            // Typed as a user would: selectFile() leaves a focused name field alone.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            name->setText(folder->filePath(QStringLiteral("log")));
            QTest::keyClick(name, Qt::Key_Return);
        });
        QTest::mouseClick(NumberedControl<QPushButton>(vendor, vendorids::kSave), Qt::LeftButton);
        QCOMPARE(filters, (QStringList{"Text Files[*.txt] (*.txt)", "All Files[*.*] (*)"}));
        QCOMPARE(suffix, QStringLiteral("txt"));
        QVERIFY(confirmsOverwrite);
        QCOMPARE(QString::fromUtf8(ReadFile(saved)), log->toPlainText());
        QTest::mouseClick(NumberedControl<QPushButton>(vendor, vendorids::kClear), Qt::LeftButton);
        QCOMPARE(log->toPlainText(), QString());

        // Switched off again: disabled, and written.
        QTest::mouseClick(test, Qt::LeftButton);
        QVERIFY(!log->isEnabled());
        QCOMPARE(ReadSetting(IniPath(), "Test", "Enabled", "?"), QStringLiteral("FALSE"));
    }

    void testSettingsFromTheFileAndTheDialog()
    {
        WriteLibrary({"Power"});
        QVERIFY(WriteFile(IniPath(), "[Test]\nEnabled=\"true\"\nMargins of error=\"75\"\n"));
        CVendorDlg* vendor = OpenVendor();
        QVERIFY(vendor);
        QVERIFY(NumberedControl<QCheckBox>(vendor, vendorids::kTest)->isChecked());
        QCOMPARE(ReadSetting(IniPath(), "Test", "Enabled", "?"), QStringLiteral("TRUE"));
        QCOMPARE(vendor->TestMargin(), 1);

        QString shownMargin;
        bool shownPlaySound = false;
        int items = 0;
        WhenModal<CVendorTestDlg>([&](CVendorTestDlg* dialog) {
            shownMargin = dialog->MarginList()->currentText();
            shownPlaySound = dialog->PlaySoundCheck()->isChecked();
            items = dialog->MarginList()->count();
            dialog->MarginList()->setCurrentIndex(34);
            QTest::mouseClick(dialog->PlaySoundCheck(), Qt::LeftButton);
            QTest::mouseClick(NumberedControl<QPushButton>(dialog, vendorids::kOk), Qt::LeftButton);
        });
        QTest::mouseClick(NumberedControl<QPushButton>(vendor, vendorids::kSetting), Qt::LeftButton);
        QCOMPARE(shownMargin, QStringLiteral("1%"));
        QVERIFY(shownPlaySound);
        QCOMPARE(items, 50);
        QCOMPARE(vendor->TestMargin(), 35);
        QVERIFY(!vendor->PlaySoundOn());
        QCOMPARE(ReadSetting(IniPath(), "Test", "Margins of error", "?"), QStringLiteral("35"));
        QCOMPARE(ReadSetting(IniPath(), "Test", "Play Sound", "?"), QStringLiteral("FALSE"));

        // Cancel changes nothing.
        WhenModal<CVendorTestDlg>([&](CVendorTestDlg* dialog) {
            dialog->MarginList()->setCurrentIndex(3);
            QTest::mouseClick(NumberedControl<QPushButton>(dialog, vendorids::kCancel), Qt::LeftButton);
        });
        QTest::mouseClick(NumberedControl<QPushButton>(vendor, vendorids::kSetting), Qt::LeftButton);
        QCOMPARE(vendor->TestMargin(), 35);

        // A match without Play Sound: logged, silent, no signal.
        usbsim::ClearLogs();
        Capture(3, 1, NecKeyDurations(0, 0x10));
        QVERIFY(NumberedControl<QPlainTextEdit>(vendor, vendorids::kLog)->toPlainText().endsWith(QStringLiteral(": Power\n")));
        QTest::qWait(50);
        QVERIFY(sounds->Paths().isEmpty());
        QCOMPARE(usbsim::SignalCount(), 0);
    }
};

QTEST_MAIN(TestVendorWindow)
#include "tst_vendorwindow.moc"
