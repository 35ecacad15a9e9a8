// The main window driven through its real widgets against the simulated device.
#include "analyzer/app/CodeTextBox.h"
#include "analyzer/app/ControlIds.h"
#include "analyzer/app/WaveformController.h"
#include "analyzer/app/WavixDlg.h"
#include "analyzer/core/Transmit.h"
#include "sim/SimControl.h"
#include "tests/app/support/DialogDriver.h"
#include "tests/support/FrameBuilder.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<CWavixDlg> window;

    QLabel* Status() { return NumberedControl<QLabel>(window.get(), ids::kStatusLine); }
    CCodeTextBox* Output() { return NumberedControl<CCodeTextBox>(window.get(), ids::kOutputBox); }
    QPushButton* Start() { return NumberedControl<QPushButton>(window.get(), ids::kStartStop); }
    QComboBox* Zoom() { return NumberedControl<QComboBox>(window.get(), ids::kZoomList); }

    void Connect()
    {
        QTRY_COMPARE(Status()->text(), QStringLiteral("IR Logic Analyzer - Version 1.0.1.1"));
    }

private slots:
    void init()
    {
        usbsim::Reset();
        folder = std::make_unique<QTemporaryDir>();
        window = std::make_unique<CWavixDlg>(folder->path());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup()
    {
        window.reset();
        folder.reset();
    }

    void startsWithTheDefaults()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Wavix II - IR Logic Analyzer"));
        QCOMPARE(Status()->text(), QStringLiteral("Device is not connected!"));
        QCOMPARE(Start()->text(), QStringLiteral("START"));
        QCOMPARE(Zoom()->currentText(), QStringLiteral("x1"));
        QCOMPARE(Zoom()->count(), 10);
        QCOMPARE(NumberedControl<QLabel>(window.get(), ids::kChannelLabel)->text(), QStringLiteral("Channel1"));
        QCOMPARE(NumberedControl<QLabel>(window.get(), ids::kTriggerText)->text(), QStringLiteral("Auto."));
        for (int id : {ids::kCmdLoadData, ids::kCmdSaveData, ids::kCmdExit, ids::kCmdClear, ids::kCmdAbout, ids::kCmdHelp})
            QVERIFY2(window->Command(id), qPrintable(QString::number(id)));
        Connect();
    }

    void captureLandsInTheSelectedChannel()
    {
        Connect();
        QTest::mouseClick(Start(), Qt::LeftButton);
        QCOMPARE(Start()->text(), QStringLiteral("STOP"));
        usbsim::QueueCapture(1, NecKeyDurations(0x00, 0x40));
        QTRY_VERIFY(!Output()->toPlainText().isEmpty());
        QVERIFY(Output()->toPlainText().startsWith(QStringLiteral("02328, 01194, 00230, ")));
        QCOMPARE(window->Capture().channels[0][1], 9000);
        QCOMPARE(window->Capture().channelProtocol[0], 0);
        QCOMPARE(window->Waveform().State().dataSpan, uint32_t(window->Capture().channels[0].TotalDurationUs()));

        window->Command(ids::kCmdChannel1 + 2)->trigger();
        QCOMPARE(NumberedControl<QLabel>(window.get(), ids::kChannelLabel)->text(), QStringLiteral("Channel3"));
        QCOMPARE(Output()->toPlainText(), QString());
        usbsim::QueueCapture(1, {1000, 2000});
        QTRY_COMPARE(Output()->toPlainText(), QStringLiteral("003E8, 007D0"));
        QCOMPARE(window->Capture().channels[2][2], 2000);
        QCOMPARE(window->Capture().channels[0][1], 9000);
    }

    void sendPutsTheChannelOnTheWire()
    {
        Connect();
        PulseTrain& train = window->Capture().channels[1];
        train[0] = 1;
        train[1] = 9000;
        train[2] = 4500;
        usbsim::ClearLogs();
        QTest::mouseClick(NumberedControl<QPushButton>(window.get(), ids::kSendChannel1 + 1), Qt::LeftButton);
        const auto frames = usbsim::Frames();
        QCOMPARE(int(frames.size()), 1);
        QCOMPARE(frames[0].payload, (std::vector<uint8_t>{0x02, 0xBB, 0x06, 0x00}));
        QCOMPARE(usbsim::TransmittedTrains().back(), (std::vector<uint8_t>{0x01, 0x00, 0x94, 0x11, 0xCA, 0x08}));
    }

    // Enter on either keyboard, wherever the focus is; the window system
    // marks the keypad's Enter with the keypad modifier.
    void enterTogglesCapturing_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("focus");
        QTest::newRow("Return, text box") << int(Qt::Key_Return) << int(Qt::NoModifier) << ids::kOutputBox;
        QTest::newRow("keypad Enter, text box") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << ids::kOutputBox;
        QTest::newRow("keypad Enter, zoom list") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << ids::kZoomList;
        QTest::newRow("keypad Enter, START") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << ids::kStartStop;
    }
    void enterTogglesCapturing()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, focus);
        QWidget* target = NumberedControl<QWidget>(window.get(), focus);
        QVERIFY(target);
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTRY_COMPARE(Start()->text(), QStringLiteral("STOP"));
        QVERIFY(window->Capture().capturing);
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTRY_COMPARE(Start()->text(), QStringLiteral("START"));
        QVERIFY(!window->Capture().capturing);
        // With another modifier it is another key (a focused button takes any Enter itself).
        if (focus != ids::kStartStop) {
            QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier | Qt::KeyboardModifiers(modifiers));
            QTest::qWait(50);
            QVERIFY(!window->Capture().capturing);
        }
    }

    // The device leaves and comes back faster than any rescan: capturing
    // goes on, the trigger is sent to the new device, the status line never
    // says otherwise.
    void captureArrivesAfterAFastReplug()
    {
        Connect();
        QTRY_VERIFY(usbsim::LastTrigger().received);
        QTest::mouseClick(Start(), Qt::LeftButton);
        usbsim::Replug();
        QVERIFY(!usbsim::LastTrigger().received);
        usbsim::QueueCapture(1, NecKeyDurations(0x00, 0x40));
        QTRY_VERIFY(!Output()->toPlainText().isEmpty());
        QCOMPARE(window->Capture().channels[0][1], 9000);
        QVERIFY(usbsim::LastTrigger().received);
        QCOMPARE(Status()->text(), QStringLiteral("IR Logic Analyzer - Version 1.0.1.1"));
        QCOMPARE(usbsim::OpenHandles(), 1);
    }

    void statusLineFollowsPlugAndUnplug()
    {
        Connect();
        usbsim::Unplug();
        QTRY_COMPARE(Status()->text(), QStringLiteral("Device is not connected!"));
        QVERIFY(!window->Device().IsOpen());
        usbsim::Plug();
        Connect();
    }

    void ignoresNotificationsForOtherDevices()
    {
        const QString mouse = QStringLiteral("\\\\?\\USB#Vid_046d&Pid_c52b#1#{x}");
        const QString ours = QStringLiteral("\\\\?\\USB#VID_16C0&PID_1012#1#{x}");
        usbsim::Unplug();
        window->OnDeviceChange(0x8004, 5, ours); // closes whatever the first search opened
        QVERIFY(!window->Device().IsOpen());
        usbsim::Plug();
        const int opens = usbsim::OpenCount();
        window->OnDeviceChange(0x8000, 5, mouse);
        QVERIFY(!window->Device().IsOpen());
        QCOMPARE(usbsim::OpenCount(), opens);
        window->OnDeviceChange(0x8000, 5, ours);
        QVERIFY(window->Device().IsOpen());
        QCOMPARE(usbsim::OpenCount(), opens + 1);
    }

    // Screen readers and GUI automation find every label by what it shows:
    // no label (the changing trigger text included) hides its text behind
    // another accessible name. Picture labels without text carry one.
    void labelsKeepTheirTextAsAccessibleName()
    {
        window.reset();
        QFile ini(folder->filePath(QStringLiteral("Setting.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Trigger]\r\nMode=\"Pulse\"\r\nMinimum Pulse Width=\"600\"\r\nMaximum Pulse Width=\"1201\"\r\n");
        ini.close();
        window = std::make_unique<CWavixDlg>(folder->path());
        window->show();
        window->OpenVendor();
        QCOMPARE(NumberedControl<QLabel>(window.get(), ids::kTriggerText)->text(), QStringLiteral("Pulse [600 - 1201]"));
        int checked = 0;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            for (QLabel* label : top->findChildren<QLabel*>()) {
                if (label->text().isEmpty())
                    continue;
                QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(label);
                QVERIFY(accessible);
                QString shown = label->text();
                shown.remove(QLatin1Char('&'));
                QCOMPARE(accessible->text(QAccessible::Name), shown);
                ++checked;
            }
        }
        QVERIFY(checked >= 5);
    }

    void saveAndLoadRoundTrip()
    {
        CaptureState& capture = window->Capture();
        for (int c = 0; c < kChannelCount; ++c) {
            capture.channels[size_t(c)][0] = c & 1;
            for (int i = 1; i < 40; ++i)
                capture.channels[size_t(c)][i] = 100 * (c + 1) + i;
            capture.channels[size_t(c)][60] = 777; // after the terminator, kept all the same
        }
        const auto saved = capture.channels;
        const QString all = folder->filePath(QStringLiteral("all.lgc"));
        const QString one = folder->filePath(QStringLiteral("ch3.lgc"));
        QVERIFY(window->SaveDataTo(all));
        QVERIFY(window->SaveDataTo(one, 2));
        QCOMPARE(QFileInfo(all).size(), 32784);
        QCOMPARE(QFileInfo(one).size(), 8196);

        window->ClearChannels();
        QCOMPARE(Output()->toPlainText(), QString());
        window->LoadDataFrom(all);
        QVERIFY(capture.channels == saved);
        QVERIFY(!Output()->toPlainText().isEmpty());

        capture.channels[2].Clear();
        capture.channels[0].Clear();
        window->LoadDataFrom(one);
        QVERIFY(capture.channels[2] == saved[2]);
        QVERIFY(capture.channels[0] == PulseTrain());
    }

    void failedSaveNamesTheFileAndKeepsTheOldOne()
    {
        const QString blocker = folder->filePath(QStringLiteral("not-a-folder"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep me");
        file.close();
        QString shown;
        QTimer::singleShot(200, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        QVERIFY(!window->SaveDataTo(blocker + QStringLiteral("/x.lgc")));
        QVERIFY(shown.contains(QStringLiteral("x.lgc")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("keep me"));
    }

    void settingsAreLoadedAtStartup()
    {
        window.reset();
        QFile ini(folder->filePath(QStringLiteral("Setting.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Setting]\r\nLanguage=English\r\n[Trigger]\r\nMode=\"pulse\"\r\nMinimum Pulse Width=\"600\"\r\n"
                  "Maximum Pulse Width=\"1201\"\r\n[Format]\r\nFormat=\"[INDEX]:[LEVEL]%d\"\r\nSpace Character=\" \"\r\n");
        ini.close();
        window = std::make_unique<CWavixDlg>(folder->path());
        window->show();
        QCOMPARE(NumberedControl<QLabel>(window.get(), ids::kTriggerText)->text(), QStringLiteral("Pulse [600 - 1201]"));
        Connect();
        QTRY_VERIFY(usbsim::LastTrigger().received);
        QCOMPARE(usbsim::LastTrigger().type, 3);
        QCOMPARE(usbsim::LastTrigger().maxUnits, 600);
        window->Capture().channels[0][0] = 1;
        window->Capture().channels[0][1] = 9000;
        window->Capture().channels[0][2] = 4500;
        window->FormatPulseText();
        QCOMPARE(Output()->toPlainText(), QStringLiteral("1:H9000 2:L4500"));
    }

    void wheelAnywhereStepsTheZoom()
    {
        QWheelEvent wheel(QPointF(10, 10), Output()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Output()->viewport(), &wheel);
        QCOMPARE(Zoom()->currentText(), QStringLiteral("/2"));
        QCOMPARE(window->Waveform().State().zoom, 50);
    }

    void arrowsInTheTextBoxScrollTheView()
    {
        window->Capture().channels[0][0] = 1;
        window->Capture().channels[0][1] = 100000;
        window->UpdateDataSpan();
        Output()->setPlainText(QStringLiteral("abc"));
        Output()->setFocus();
        Output()->setSelection(1, 2);
        QTest::keyClick(Output(), Qt::Key_Right);
        QTest::keyClick(Output(), Qt::Key_Right);
        QCOMPARE(window->Waveform().State().scroll, 28);
        QCOMPARE(Output()->selectedText(), QStringLiteral("b"));
        QTest::keyClick(Output(), Qt::Key_Left);
        QCOMPARE(window->Waveform().State().scroll, 14);
    }

    void draggingCursorsAndPanning()
    {
        window->Capture().channels[0][0] = 1;
        window->Capture().channels[0][1] = 100000;
        window->UpdateDataSpan();
        QWidget* main = NumberedControl<QWidget>(window.get(), ids::kMainPanel);
        QVERIFY(main);
        // T1 sits at x 0: grab it 2 pixels off and drag it 70 pixels (1 ms at x1).
        QTest::mousePress(main, Qt::LeftButton, Qt::NoModifier, QPoint(2, 50));
        QTest::mouseMove(main, QPoint(72, 50));
        QTest::mouseRelease(main, Qt::LeftButton, Qt::NoModifier, QPoint(72, 50));
        QCOMPARE(window->Waveform().State().cursorT1, 1000);
        QCOMPARE(window->Waveform().State().cursorT2, 0);

        // A press away from every cursor pans in whole cells.
        QTest::mousePress(main, Qt::LeftButton, Qt::NoModifier, QPoint(400, 50));
        QTest::mouseMove(main, QPoint(370, 50));
        QTest::mouseRelease(main, Qt::LeftButton, Qt::NoModifier, QPoint(370, 50));
        QCOMPARE(window->Waveform().State().scroll, 28);
        QCOMPARE(window->focusWidget(), static_cast<QWidget*>(Zoom()));
    }

    void draggingInTheOverview()
    {
        window->Capture().channels[0][0] = 1;
        window->Capture().channels[0][1] = 60000; // a quarter of it fits the panel at x1
        window->UpdateDataSpan();
        QWidget* overview = NumberedControl<QWidget>(window.get(), ids::kOverviewPanel);
        const WaveformView& view = window->Waveform().State();
        const double span = view.OverviewSpan();
        const int width = overview->width();

        QTest::mousePress(overview, Qt::LeftButton, Qt::NoModifier, QPoint(1, 40));
        QTest::mouseMove(overview, QPoint(101, 40));
        QTest::mouseRelease(overview, Qt::LeftButton, Qt::NoModifier, QPoint(101, 40));
        QCOMPARE(view.cursorT1, int(100 * span / width));
        QCOMPARE(view.scroll, 0);

        // Away from the cursors, inside the rectangle: the rectangle moves and the view follows.
        const int inside = view.overviewRect.left + view.overviewRect.Width() / 2 + 7;
        QTest::mousePress(overview, Qt::LeftButton, Qt::NoModifier, QPoint(inside, 40));
        QTest::mouseMove(overview, QPoint(inside + 200, 40));
        QTest::mouseRelease(overview, Qt::LeftButton, Qt::NoModifier, QPoint(inside + 200, 40));
        QVERIFY(view.scroll > 0);
        QCOMPARE(view.scroll % 14, 0);
        QVERIFY(view.overviewRect.left >= 190);
    }

    void clearEmptiesEveryChannel()
    {
        window->Capture().channels[3][1] = 500;
        window->Capture().channelProtocol[3] = 2;
        window->Command(ids::kCmdClear)->trigger();
        QVERIFY(window->Capture().channels[3] == PulseTrain());
        QCOMPARE(window->Capture().channelProtocol[3], 2);
        QCOMPARE(window->Waveform().State().dataSpan, uint32_t(0));
    }

    void resizeGrowsThePanelsAndTheTextBox()
    {
        QWidget* main = NumberedControl<QWidget>(window.get(), ids::kMainPanel);
        const QRect mainBefore = main->geometry();
        const QRect outputBefore = Output()->geometry();
        const QRect statusBefore = Status()->geometry();
        window->resize(window->size() + QSize(100, 50));
        QTRY_COMPARE(main->width(), mainBefore.width() + 100);
        QCOMPARE(main->height(), mainBefore.height());
        QCOMPARE(Output()->height(), outputBefore.height() + 50);
        QCOMPARE(Status()->y(), statusBefore.y() + 50);
        QVERIFY(window->minimumSizeHint().width() <= window->width());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
