// The code library window's Export and Import, driven as a user does: a key
// captured from the simulated device is added, exported as a Flipper file,
// Pronto Hex and a lircd.conf, imported back as a new entry, and the code
// test recognises a fresh press of the key against it.
#include "analyzer/app/ControlIds.h"
#include "analyzer/app/WavixDlg.h"
#include "analyzer/interop/window/ExportCodeDlg.h"
#include "analyzer/library/CodeLibrary.h"
#include "analyzer/library/LibraryListModel.h"
#include "analyzer/library/RecordFile.h"
#include "analyzer/library/window/VendorAddDlg.h"
#include "analyzer/library/window/VendorDlg.h"
#include "analyzer/library/window/VendorIds.h"
#include "sim/SimControl.h"
#include "sim/remotes/SampleRemotes.h"
#include "tests/TestFiles.h"
#include "tests/app/support/DialogDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QPushButton* Button(QWidget* window, const QString& text)
{
    for (auto* button : window->findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

std::vector<int> Press(const std::string& remote, const std::string& key, uint32_t seed)
{
    usbsim::PressSettings settings;
    settings.seed = seed;
    return *usbsim::PressSampleKey(remote, key, settings);
}

} // namespace

class TestLibraryCodes : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<CWavixDlg> window;
    DialogWatchdog watchdog;

    QString Path(const QString& name) const { return folder->filePath(name); }

    void Capture(const std::vector<int>& pulses)
    {
        if (!window->Capture().capturing)
            window->ToggleCapture();
        usbsim::QueueCapture(1, pulses);
        // The poll that fetches a capture also stores it and runs the code test.
        QTRY_COMPARE(usbsim::PendingCaptures(), 0);
    }

    CVendorDlg* OpenVendor()
    {
        window->Command(ids::kCmdVendor)->trigger();
        CVendorDlg* vendor = window->VendorWindow();
        return vendor && QTest::qWaitForWindowExposed(vendor) ? vendor : nullptr;
    }

    QStringList Names(CVendorDlg* vendor)
    {
        QStringList names;
        for (int i = 0; i < vendor->Library().Count(); ++i)
            names << vendor->Library().Entry(i).name;
        return names;
    }

private slots:
    void init()
    {
        watchdog.Reset();
        usbsim::Reset();
        folder = std::make_unique<QTemporaryDir>();
        // Silent matches: no sound, no device signal.
        QVERIFY(WriteFile(Path(QStringLiteral("Setting.ini")), "[Test]\nPlay Sound=\"FALSE\"\n"));
        window = std::make_unique<CWavixDlg>(folder->path());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_VERIFY(window->Device().identified);
    }
    void cleanup()
    {
        QVERIFY2(!watchdog.Stranded(), "a dialog was left open");
        window.reset();
        folder.reset();
    }

    void exportedKeyComesBackAndIsRecognised_data()
    {
        QTest::addColumn<int>("formatIndex"); // in the dialog's list for one entry
        QTest::addColumn<QString>("fileName");
        QTest::newRow("Flipper .ir") << 3 << "tv.ir";
        QTest::newRow("Pronto Hex") << 0 << "tv.txt";
        QTest::newRow("lircd.conf") << 1 << "tv.lircd.conf";
    }
    void exportedKeyComesBackAndIsRecognised()
    {
        QFETCH(int, formatIndex);
        QFETCH(QString, fileName);
        Capture(Press("nec-tv", "power", 11));
        CVendorDlg* vendor = OpenVendor();
        QVERIFY(vendor);

        // Add the captured channel as "TV power".
        OnNextModal<CVendorAddDlg>([](CVendorAddDlg* add) {
            if (!add->Check(0)->isChecked())
                QTest::mouseClick(add->Check(0), Qt::LeftButton);
            add->NameEdit(0)->selectAll();
            QTest::keyClicks(add->NameEdit(0), QStringLiteral("TV power"));
            QTest::mouseClick(NumberedControl<QPushButton>(add, vendorids::kOk), Qt::LeftButton);
        });
        QTest::mouseClick(NumberedControl<QPushButton>(vendor, vendorids::kOk), Qt::LeftButton);
        QCOMPARE(Names(vendor), QStringList{"TV power"});
        const PulseTrain captured = vendor->Library().Entry(0).train;

        // Export it (nothing selected: every shown entry, here the one).
        vendor->List()->clearSelection();
        const QString file = Path(fileName);
        OnNextModal<CExportCodeDlg>([=](CExportCodeDlg* dialog) {
            dialog->findChild<QComboBox*>()->setCurrentIndex(formatIndex);
            auto* path = dialog->findChild<QLineEdit*>();
            path->selectAll();
            QTest::keyClicks(path, file);
            QTest::keyClick(path, Qt::Key_Return);
        });
        QTest::mouseClick(Button(vendor, QStringLiteral("Export")), Qt::LeftButton);
        QVERIFY(QFile::exists(file));

        // The captured entry goes; the file comes back as a new entry.
        vendor->List()->selectRow(0);
        QTest::mouseClick(NumberedControl<QPushButton>(vendor, vendorids::kDelete), Qt::LeftButton);
        QCOMPARE(vendor->Library().Count(), 0);
        OnNextModal<QFileDialog>([=](QFileDialog* dialog) { TypeFileName(dialog, file); });
        QTest::mouseClick(Button(vendor, QStringLiteral("Import")), Qt::LeftButton);
        QCOMPARE(vendor->Library().Count(), 1);
        // LIRC names are single words.
        QCOMPARE(Names(vendor).first(), formatIndex == 1 ? QStringLiteral("TV_power") : QStringLiteral("TV power"));
        const PulseTrain& imported = vendor->Library().Entry(0).train;
        QCOMPARE(imported.PulseCount(), captured.PulseCount());
        QVERIFY(vendor->List()->selectionModel()->isRowSelected(0, {}));
        CodeLibrary saved;
        QVERIFY(LoadRecords(RecordFilePath(folder->path()), saved));
        QCOMPARE(saved.Count(), 1);

        // The code test recognises a fresh press of the key, not another key.
        QTest::mouseClick(NumberedControl<QCheckBox>(vendor, vendorids::kTest), Qt::LeftButton);
        auto* log = NumberedControl<QPlainTextEdit>(vendor, vendorids::kLog);
        Capture(Press("nec-tv", "mute", 12));
        QCOMPARE(log->toPlainText(), QString());
        Capture(Press("nec-tv", "power", 13));
        QVERIFY2(log->toPlainText().endsWith(QLatin1Char(' ') + Names(vendor).first() + QLatin1Char('\n')),
                 qPrintable(log->toPlainText()));
    }

    void severalEntriesOfferTheFormatsThatHoldThem()
    {
        CodeLibrary library;
        for (int i = 0; i < 3; ++i) {
            PulseTrain train;
            train[0] = 1;
            train[1] = 900 + 100 * i;
            train[2] = 450;
            train[3] = 900;
            library.Append(QStringLiteral("key %1").arg(i), train);
        }
        QVERIFY(SaveRecords(RecordFilePath(folder->path()), library));
        CVendorDlg* vendor = OpenVendor();
        QVERIFY(vendor);
        vendor->List()->selectRow(2);
        vendor->List()->selectionModel()->select(vendor->ListModel().index(0, 0),
                                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QStringList offered;
        const QString file = Path(QStringLiteral("two.raw"));
        OnNextModal<CExportCodeDlg>([&, file](CExportCodeDlg* dialog) {
            auto* formats = dialog->findChild<QComboBox*>();
            for (int i = 0; i < formats->count(); ++i)
                offered << formats->itemText(i);
            formats->setCurrentIndex(3);
            dialog->findChild<QLineEdit*>()->setText(file);
            dialog->accept();
        });
        QTest::mouseClick(Button(vendor, QStringLiteral("Export")), Qt::LeftButton);
        QCOMPARE(offered, (QStringList{"Pronto Hex (*.txt *.pronto)", "LIRC lircd.conf (*.conf *.lircd.conf)",
                                       "Flipper Zero (*.ir)", "Raw durations (*.txt *.raw)"}));
        QCOMPARE(ReadFile(file), QByteArray("key 0\n+900 -450 +900\n\nkey 2\n+1100 -450 +900\n"));
    }

    void importStopsAtTheLibrarysLimitAndSaysSo()
    {
        CodeLibrary library;
        PulseTrain train;
        train[0] = 1;
        train[1] = 900;
        for (int i = 0; i < 1020; ++i)
            library.Append(QStringLiteral("old %1").arg(i), train);
        QVERIFY(SaveRecords(RecordFilePath(folder->path()), library));
        QByteArray remote = "Filetype: IR library file\nVersion: 1\n";
        for (int i = 0; i < 5; ++i)
            remote += "#\nname: new " + QByteArray::number(i) + "\ntype: raw\nfrequency: 38000\nduty_cycle: 0.33\ndata: 500\n";
        QVERIFY(WriteFile(Path(QStringLiteral("five.ir")), remote));

        CVendorDlg* vendor = OpenVendor();
        QVERIFY(vendor);
        QString report;
        OnNextModal<QFileDialog>([&](QFileDialog* dialog) {
            OnNextModal<QMessageBox>([&](QMessageBox* box) {
                report = box->text();
                box->accept();
            });
            TypeFileName(dialog, Path(QStringLiteral("five.ir")));
        });
        QTest::mouseClick(Button(vendor, QStringLiteral("Import")), Qt::LeftButton);
        QCOMPARE(vendor->Library().Count(), 1023);
        QCOMPARE(vendor->Library().Entry(1022).name, QStringLiteral("new 2"));
        QCOMPARE(report, QStringLiteral("3 of 5 imported from five.ir; 2 left out: the library holds at most 1024 "
                                        "entries, and like Add an import keeps the last place free."));

        // Full: said at once, no file dialog.
        report.clear();
        OnNextModal<QMessageBox>([&](QMessageBox* box) {
            report = box->text();
            box->accept();
        });
        QTest::mouseClick(Button(vendor, QStringLiteral("Import")), Qt::LeftButton);
        QVERIFY2(report.startsWith(QStringLiteral("The library is full")), qPrintable(report));
        QCOMPARE(vendor->Library().Count(), 1023);
    }
};

QTEST_MAIN(TestLibraryCodes)
#include "tst_librarycodes.moc"
