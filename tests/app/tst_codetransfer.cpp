// File > Import Code... and Channel > Export Code... driven through the real
// menus and dialogs, with a key captured from the simulated device.
#include "analyzer/app/ControlIds.h"
#include "analyzer/app/WavixDlg.h"
#include "analyzer/interop/window/ExportCodeDlg.h"
#include "sim/SimControl.h"
#include "sim/remotes/SampleRemotes.h"
#include "tests/TestFiles.h"
#include "tests/app/support/DialogDriver.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include "analyzer/app/CodeTextBox.h"
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

class TestCodeTransfer : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<CWavixDlg> window;
    DialogWatchdog watchdog;

    CCodeTextBox* Output()
    {
        for (auto* box : window->findChildren<CCodeTextBox*>())
            if (ControlId(box) == ids::kOutputBox)
                return box;
        return nullptr;
    }
    QString Path(const QString& name) const { return folder->filePath(name); }

    void CaptureKey(const std::string& remote, const std::string& key)
    {
        QTRY_VERIFY(window->Device().identified);
        window->ToggleCapture();
        usbsim::PressSettings press;
        usbsim::QueueCapture(1, *usbsim::PressSampleKey(remote, key, press));
        QTRY_VERIFY(!Output()->toPlainText().isEmpty());
        window->ToggleCapture();
    }

    // Channel > Export Code... with the format at `formatIndex`, into `path`.
    void Export(int formatIndex, const QString& path, int carrierHz = 38000)
    {
        OnNextModal<CExportCodeDlg>([=](CExportCodeDlg* dialog) {
            auto* format = dialog->findChild<QComboBox*>();
            format->setFocus();
            QTest::keyClick(format, Qt::Key_Home);
            for (int i = 0; i < formatIndex; ++i)
                QTest::keyClick(format, Qt::Key_Down);
            auto* carrier = dialog->findChild<QSpinBox*>();
            carrier->selectAll();
            QTest::keyClicks(carrier, QString::number(carrierHz));
            auto* file = dialog->findChild<QLineEdit*>();
            file->selectAll();
            QTest::keyClicks(file, path);
            QTest::keyClick(file, Qt::Key_Return);
        });
        MenuAction(*window, QStringLiteral("Channel(&C)"), QStringLiteral("&Export Code…"))->trigger();
    }

    // File > Import Code... of `path`.
    void Import(const QString& path)
    {
        OnNextModal<QFileDialog>([=](QFileDialog* dialog) { TypeFileName(dialog, path); });
        MenuAction(*window, QStringLiteral("File(&F)"), QStringLiteral("&Import Code…"))->trigger();
    }

private slots:
    void init()
    {
        watchdog.Reset();
        usbsim::Reset();
        folder = std::make_unique<QTemporaryDir>();
        window = std::make_unique<CWavixDlg>(folder->path());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup()
    {
        QVERIFY2(!watchdog.Stranded(), "a dialog was left open");
        window.reset();
        folder.reset();
    }

    // A captured key goes out in each format and comes back into another
    // channel, recognised and printed as a loaded capture is.
    void capturedKeyGoesOutAndComesBack_data()
    {
        QTest::addColumn<int>("formatIndex");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("Pronto Hex") << 0 << "power.txt";
        QTest::newRow("lircd.conf") << 1 << "power.lircd.conf";
        QTest::newRow("Flipper") << 3 << "power.ir";
    }
    void capturedKeyGoesOutAndComesBack()
    {
        QFETCH(int, formatIndex);
        QFETCH(QString, fileName);
        CaptureKey("nec-tv", "power");
        const PulseTrain captured = window->Capture().channels[0];
        QCOMPARE(window->Capture().channelProtocol[0], 0);

        Export(formatIndex, Path(fileName));
        QVERIFY(QFile::exists(Path(fileName)));

        window->Command(ids::kCmdChannel1 + 2)->trigger();
        QVERIFY(Output()->toPlainText().isEmpty());
        Import(Path(fileName));
        const PulseTrain& imported = window->Capture().channels[2];
        QCOMPARE(imported.PulseCount(), captured.PulseCount());
        for (int i = 1; i <= captured.PulseCount(); ++i)
            QVERIFY(std::abs(imported[i] - captured[i]) <= 14);
        QCOMPARE(window->Capture().channelProtocol[2], 0);
        QVERIFY(!Output()->toPlainText().isEmpty());
        QVERIFY(window->Capture().channels[0] == captured);
    }

    void exportDialogFollowsTheFormatAndBrowses()
    {
        CaptureKey("sony-tv", "power");
        const QString chosen = Path(QStringLiteral("chosen.txt"));
        OnNextModal<CExportCodeDlg>([=](CExportCodeDlg* dialog) {
            auto* format = dialog->findChild<QComboBox*>();
            auto* file = dialog->findChild<QLineEdit*>();
            auto* carrier = dialog->findChild<QSpinBox*>();
            QCOMPARE(format->count(), 6);
            format->setCurrentIndex(3); // Flipper
            QVERIFY(file->text().endsWith(QStringLiteral("CH1.ir")));
            QVERIFY(carrier->isEnabled());
            format->setCurrentIndex(2); // mode2 has no carrier
            QVERIFY(file->text().endsWith(QStringLiteral("CH1.mode2")));
            QVERIFY(!carrier->isEnabled());
            format->setCurrentIndex(0); // Pronto, 40 kHz as Sony sends
            carrier->setValue(40000);
            OnNextModal<QFileDialog>([=](QFileDialog* files) { TypeFileName(files, chosen); });
            QPushButton* browse = nullptr;
            for (auto* button : dialog->findChildren<QPushButton*>())
                if (button->text() == QStringLiteral("Browse..."))
                    browse = button;
            QTest::mouseClick(browse, Qt::LeftButton);
            QCOMPARE(file->text(), chosen);
            file->clear();
            QVERIFY(!dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled());
            QTest::keyClicks(file, chosen);
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
        MenuAction(*window, QStringLiteral("Channel(&C)"), QStringLiteral("&Export Code…"))->trigger();
        const QByteArray text = ReadFile(chosen);
        QVERIFY2(text.startsWith("CH1\n0000 0068 "), text.left(40).constData());
    }

    void severalCodesAskWhich()
    {
        const QString remote = Path(QStringLiteral("remote.ir"));
        QVERIFY(WriteFile(remote, "Filetype: IR signals file\nVersion: 1\n"
                                  "#\nname: Power\ntype: parsed\nprotocol: NEC\naddress: 04 00 00 00\ncommand: 08 00 00 00\n"
                                  "#\nname: Mute\ntype: parsed\nprotocol: SIRC\naddress: 01 00 00 00\ncommand: 14 00 00 00\n"
                                  "#\nname: Vol+\ntype: raw\nfrequency: 38000\nduty_cycle: 0.33\ndata: 900 450 900\n"));
        QStringList offered;
        OnNextModal<QFileDialog>([=, &offered](QFileDialog* dialog) {
            OnNextModal<QInputDialog>([&offered](QInputDialog* chooser) {
                offered = chooser->comboBoxItems();
                auto* list = chooser->findChild<QComboBox*>();
                list->setFocus();
                QTest::keyClick(list, Qt::Key_Down);
                QTest::keyClick(chooser, Qt::Key_Return);
            });
            TypeFileName(dialog, remote);
        });
        MenuAction(*window, QStringLiteral("File(&F)"), QStringLiteral("&Import Code…"))->trigger();
        QCOMPARE(offered, (QStringList{"1: Power", "2: Mute", "3: Vol+"}));
        QCOMPARE(window->Capture().channelProtocol[0], 5); // Sony SIRC
        QVERIFY(Output()->toPlainText().contains(QStringLiteral("00960")));
    }

    void badFilesAreNamedAndChangeNothing()
    {
        CaptureKey("nec-tv", "mute");
        const PulseTrain before = window->Capture().channels[0];
        const QString bad = Path(QStringLiteral("bad.ir"));
        QVERIFY(WriteFile(bad, "Filetype: IR signals file\nVersion: 1\nname: P\ntype: parsed\nprotocol: RC6\n"
                               "address: 00 00 00 00\ncommand: 0C 00 00 00\n"));
        QString shown;
        OnNextModal<QFileDialog>([=, &shown](QFileDialog* dialog) {
            OnNextModal<QMessageBox>([&shown](QMessageBox* box) {
                shown = box->text();
                box->accept();
            });
            TypeFileName(dialog, bad);
        });
        MenuAction(*window, QStringLiteral("File(&F)"), QStringLiteral("&Import Code…"))->trigger();
        QCOMPARE(shown, bad + QStringLiteral(":5: protocol \"RC6\" cannot be read (only NEC, NECext, SIRC, SIRC15, SIRC20, RC5, RC5X)"));
        QVERIFY(window->Capture().channels[0] == before);

        // A Flipper file holds 1024 timings: a longer code is refused, no file appears.
        PulseTrain& longCode = window->Capture().channels[1];
        longCode[0] = 1;
        for (int i = 1; i <= 1500; ++i)
            longCode[i] = 500;
        window->Command(ids::kCmdChannel1 + 1)->trigger();
        shown.clear();
        OnNextModal<CExportCodeDlg>([=, &shown](CExportCodeDlg* dialog) {
            OnNextModal<QMessageBox>([&shown](QMessageBox* box) {
                shown = box->text();
                box->accept();
            });
            dialog->findChild<QComboBox*>()->setCurrentIndex(3);
            auto* file = dialog->findChild<QLineEdit*>();
            file->setText(Path(QStringLiteral("long.ir")));
            QTest::keyClick(file, Qt::Key_Return);
        });
        MenuAction(*window, QStringLiteral("Channel(&C)"), QStringLiteral("&Export Code…"))->trigger();
        QVERIFY2(shown.contains(QStringLiteral("1500 timings, a Flipper file holds at most 1024")), qPrintable(shown));
        QVERIFY(!QFile::exists(Path(QStringLiteral("long.ir"))));

        // An empty channel has nothing to export.
        window->Command(ids::kCmdChannel1 + 3)->trigger();
        shown.clear();
        OnNextModal<QMessageBox>([&shown](QMessageBox* box) {
            shown = box->text();
            box->accept();
        });
        MenuAction(*window, QStringLiteral("Channel(&C)"), QStringLiteral("&Export Code…"))->trigger();
        QCOMPARE(shown, QStringLiteral("CH4 holds no code to export."));
    }
};

QTEST_MAIN(TestCodeTransfer)
#include "tst_codetransfer.moc"
