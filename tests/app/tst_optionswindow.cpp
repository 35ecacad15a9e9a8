// The options window opened from the main window's menu, driven through its
// real widgets, its trigger going out to the simulated device.
#include "TestFiles.h"
#include "analyzer/app/CodeTextBox.h"
#include "analyzer/app/ControlIds.h"
#include "analyzer/app/WavixDlg.h"
#include "analyzer/settings/SettingsStore.h"
#include "analyzer/settings/window/OptionDlg.h"
#include "analyzer/settings/window/OptionPages.h"
#include "analyzer/settings/window/TabCtrlSheet.h"
#include "analyzer/view/ViewColors.h"
#include "analyzer/view/ViewGeometry.h"
#include "sim/SimControl.h"
#include "tests/app/support/DialogDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void TypeInto(QLineEdit* field, const QString& text)
{
    field->selectAll();
    QTest::keyClicks(field, text);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// The longest run of trace-coloured pixels in `row`: a level drawn there, not
// an edge crossing it.
int TraceRun(const QImage& image, int row)
{
    int longest = 0;
    int run = 0;
    for (int x = 0; x < image.width(); ++x) {
        run = QColor(image.pixel(x, row)) == ViewColors::Trace() ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// Pixels between the strip's top and its taller trace row that are neither
// background nor grid: the code line and the boxes of the annotation layer.
// The margins, where the cursors stand, do not count.
int AnnotationPixels(const QImage& image)
{
    constexpr int kMargin = 8;
    int count = 0;
    for (int y = ViewGeometry::StripTop(0) + 1; y < ViewGeometry::TraceHighY(0, false) - 1; ++y)
        for (int x = kMargin; x < image.width() - kMargin; ++x) {
            const QColor color(image.pixel(x, y));
            count += color != ViewColors::Background() && color != ViewColors::Grid();
        }
    return count;
}

PulseTrain NecKey()
{
    PulseTrain train;
    train[0] = 1;
    int i = 1;
    train[i++] = 9000;
    train[i++] = 4500;
    for (int bit = 0; bit < 32; ++bit) {
        train[i++] = 560;
        train[i++] = bit % 3 ? 560 : 1690;
    }
    train[i++] = 560;
    return train;
}

} // namespace

class TestOptionsWindow : public QObject {
    Q_OBJECT

    DialogWatchdog watchdog;
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<CWavixDlg> window;

    QString Ini() const { return window->SettingsPath(); }
    QLabel* TriggerLabel() { return NumberedControl<QLabel>(window.get(), ids::kTriggerText); }

    // Opens the window from the menu as a user does and runs `act` on it;
    // whatever `act` leaves open is closed with "Close".
    void WithOptions(const std::function<void(COptionDlg*)>& act)
    {
        bool ran = false;
        OnNextModal<COptionDlg>([&](COptionDlg* dialog) {
            act(dialog);
            ran = true;
            if (dialog->isVisible())
                QTest::mouseClick(dialog->CloseButton(), Qt::LeftButton);
        });
        window->Command(ids::kCmdOption)->trigger();
        QVERIFY(ran);
        QVERIFY(!watchdog.Stranded());
    }

    void Connect()
    {
        QTRY_VERIFY(window->Device().identified);
        usbsim::ClearLogs();
    }

private slots:
    void init()
    {
        usbsim::Reset();
        watchdog.Reset();
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

    void opensWithThreePagesOfTheCurrentSettings()
    {
        AnalyzerSettings& settings = window->Settings();
        settings.triggerMode = TriggerMode::NegativePulse;
        settings.minPulseWidth = 250;
        settings.maxPulseWidth = -3;
        settings.captureMode = CaptureMode::Normal;
        settings.prefix = QStringLiteral("0x");
        settings.columns = 8;
        settings.analyzeEnabled = false;
        WithOptions([](COptionDlg* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Option"));
            QVERIFY(dialog->isModal());
            QCOMPARE(dialog->CloseButton()->text(), QStringLiteral("Close"));
            CTabCtrlSheet* sheet = dialog->Sheet();
            QCOMPARE(sheet->count(), 3);
            QCOMPARE(sheet->tabText(0), QStringLiteral("Trigger"));
            QCOMPARE(sheet->tabText(1), QStringLiteral("Format"));
            QCOMPARE(sheet->tabText(2), QStringLiteral("Analyze"));
            QVERIFY(dialog->TriggerPage()->isVisible());
            QVERIFY(!dialog->FormatPage()->isVisible());

            COptionTriggerPage* trigger = dialog->TriggerPage();
            QCOMPARE(trigger->ModeList()->count(), 6);
            QCOMPARE(trigger->ModeList()->itemText(0), QStringLiteral("Auto."));
            QCOMPARE(trigger->ModeList()->currentText(), QStringLiteral("Negative Pulse"));
            QCOMPARE(trigger->MinimumWidth()->text(), QStringLiteral("250"));
            QCOMPARE(trigger->MaximumWidth()->text(), QStringLiteral("-3"));
            QCOMPARE(trigger->CaptureList()->count(), 3);
            QCOMPARE(trigger->CaptureList()->currentText(), QStringLiteral("Normal"));
            QCOMPARE(NumberedControl<QLabel>(trigger, 1021)->text(), QStringLiteral("Minimum Pulse Width(us):"));
            QCOMPARE(dialog->FormatPage()->Prefix()->text(), QStringLiteral("0x"));
            QCOMPARE(dialog->FormatPage()->SpaceCharacter()->text(), QStringLiteral(", "));
            QCOMPARE(dialog->FormatPage()->Columns()->text(), QStringLiteral("8"));
            QCOMPARE(dialog->AnalyzePage()->Enabled()->text(), QStringLiteral("Enabled"));
            QVERIFY(!dialog->AnalyzePage()->Enabled()->isChecked());

            QTest::mouseClick(sheet->tabBar(), Qt::LeftButton, {}, sheet->tabBar()->tabRect(1).center());
            QVERIFY(dialog->FormatPage()->isVisible());
            QVERIFY(!dialog->TriggerPage()->isVisible());
        });
    }

    void widthFieldsOnlyForPulseTriggers_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("Auto") << 0 << false;
        QTest::newRow("Rising Edge") << 1 << false;
        QTest::newRow("Falling Edge") << 2 << false;
        QTest::newRow("Pulse") << 3 << true;
        QTest::newRow("Positive Pulse") << 4 << true;
        QTest::newRow("Negative Pulse") << 5 << true;
    }
    void widthFieldsOnlyForPulseTriggers()
    {
        QFETCH(int, mode);
        QFETCH(bool, enabled);
        window->Settings().triggerMode = TriggerMode(mode);
        WithOptions([&](COptionDlg* dialog) {
            COptionTriggerPage* page = dialog->TriggerPage();
            QCOMPARE(page->MinimumWidth()->isEnabled(), enabled);
            QCOMPARE(page->MaximumWidth()->isEnabled(), enabled);
            // The rule runs again on every change of the list.
            page->ModeList()->setFocus();
            QTest::keyClick(page->ModeList(), enabled ? Qt::Key_Home : Qt::Key_End);
            QCOMPARE(page->MinimumWidth()->isEnabled(), !enabled);
            QCOMPARE(page->MaximumWidth()->isEnabled(), !enabled);
        });
    }

    // 600 and 1201 are stored as typed and go out halved, in 2 us units.
    void triggerOkStoresAndSendsAtOnce()
    {
        Connect();
        WithOptions([&](COptionDlg* dialog) {
            COptionTriggerPage* page = dialog->TriggerPage();
            page->ModeList()->setCurrentIndex(int(TriggerMode::Pulse));
            TypeInto(page->MinimumWidth(), QStringLiteral("600"));
            TypeInto(page->MaximumWidth(), QStringLiteral("1201"));
            page->CaptureList()->setCurrentIndex(int(CaptureMode::Once));
            QTest::mouseClick(NumberedControl<QPushButton>(page, 1), Qt::LeftButton);
            QVERIFY(dialog->isVisible()); // the page's OK does not close the window
        });
        const auto sent = usbsim::LastTrigger();
        QCOMPARE(int(sent.type), 3);
        QCOMPARE(int(sent.minUnits), 300);
        QCOMPARE(int(sent.maxUnits), 600);
        const auto log = usbsim::LogLines();
        QVERIFY(std::any_of(log.begin(), log.end(), [](const std::string& line) {
            return line.find("SetTrigger type=3 min=300 max=600") != std::string::npos;
        }));
        QCOMPARE(ReadSetting(Ini(), "Trigger", "Mode", {}), QStringLiteral("Pulse"));
        QCOMPARE(ReadSetting(Ini(), "Trigger", "Minimum Pulse Width", {}), QStringLiteral("600"));
        QCOMPARE(ReadSetting(Ini(), "Trigger", "Maximum Pulse Width", {}), QStringLiteral("1201"));
        QCOMPARE(ReadSetting(Ini(), "Capture", "Mode", {}), QStringLiteral("Once"));
        QCOMPARE(window->Settings().captureMode, CaptureMode::Once);
        QCOMPARE(TriggerLabel()->text(), QStringLiteral("Pulse [600 - 1201]"));
    }

    // Disabled width fields are taken all the same; Enter presses the page's OK.
    void widthsAreTakenFromDisabledFields()
    {
        Connect();
        window->Settings().minPulseWidth = 101;
        window->Settings().maxPulseWidth = 7;
        WithOptions([](COptionDlg* dialog) {
            COptionTriggerPage* page = dialog->TriggerPage();
            page->ModeList()->setCurrentIndex(int(TriggerMode::FallingEdge));
            QVERIFY(!page->MinimumWidth()->isEnabled());
            QTest::keyClick(page->ModeList(), Qt::Key_Enter, Qt::KeypadModifier);
        });
        const auto sent = usbsim::LastTrigger();
        QCOMPARE(int(sent.type), 2);
        QCOMPARE(int(sent.minUnits), 50);
        QCOMPARE(int(sent.maxUnits), 3);
        QCOMPARE(ReadSetting(Ini(), "Trigger", "Minimum Pulse Width", {}), QStringLiteral("101"));
        QCOMPARE(TriggerLabel()->text(), QStringLiteral("Falling Edge"));
    }

    void withoutADeviceTheTriggerIsOnlyStored()
    {
        usbsim::Unplug();
        QTRY_VERIFY(!window->Device().IsOpen());
        usbsim::ClearLogs();
        WithOptions([](COptionDlg* dialog) {
            COptionTriggerPage* page = dialog->TriggerPage();
            page->ModeList()->setCurrentIndex(int(TriggerMode::PositivePulse));
            TypeInto(page->MinimumWidth(), QStringLiteral("12x"));
            QTest::mouseClick(NumberedControl<QPushButton>(page, 1), Qt::LeftButton);
        });
        QVERIFY(usbsim::Frames().empty());
        QCOMPARE(window->Settings().minPulseWidth, 12);
        QCOMPARE(TriggerLabel()->text(), QStringLiteral("Positive Pulse [12 - 0]"));
        // It goes out once the device is back and identified.
        usbsim::Plug();
        QTRY_COMPARE(int(usbsim::LastTrigger().type), 4);
        QCOMPARE(int(usbsim::LastTrigger().minUnits), 6);
    }

    void defaultThenCloseChangesNothing()
    {
        const QByteArray before = ReadFile(Ini());
        window->Settings().prefix = QStringLiteral("<");
        WithOptions([](COptionDlg* dialog) {
            COptionFormatPage* page = dialog->FormatPage();
            QTest::mouseClick(page->DefaultsButton(), Qt::LeftButton);
            QCOMPARE(page->Prefix()->text(), QString());
            QCOMPARE(page->SpaceCharacter()->text(), QStringLiteral(", "));
            QCOMPARE(page->Format()->text(), QStringLiteral("%05X"));
            QCOMPARE(page->Columns()->text(), QStringLiteral("16"));
        });
        QCOMPARE(window->Settings().prefix, QStringLiteral("<"));
        QCOMPARE(ReadFile(Ini()), before);
    }

    void defaultThenOkStoresTheDefaults()
    {
        window->Settings().suffix = QStringLiteral(">");
        WithOptions([](COptionDlg* dialog) {
            COptionFormatPage* page = dialog->FormatPage();
            QTest::mouseClick(page->DefaultsButton(), Qt::LeftButton);
            QTest::mouseClick(NumberedControl<QPushButton>(page, 1), Qt::LeftButton);
        });
        QCOMPARE(window->Settings().suffix, QString());
        const QByteArray ini = ReadFile(Ini());
        for (const char* line : {"Prefix=\"\"", "Suffix=\"\"", "Space Character=\", \"", "Format=\"%05X\"", "Columns=\"16\""})
            QVERIFY2(ini.contains(line), line);
    }

    // The columns field is applied as its leading number and stored as typed.
    void columnsAreAppliedParsedAndStoredAsTyped()
    {
        window->LoadTrainIntoChannel(0, NecKey());
        WithOptions([](COptionDlg* dialog) {
            COptionFormatPage* page = dialog->FormatPage();
            TypeInto(page->Prefix(), QStringLiteral("0x"));
            TypeInto(page->Columns(), QStringLiteral("12abc"));
            QTest::mouseClick(NumberedControl<QPushButton>(page, 1), Qt::LeftButton);
        });
        QCOMPARE(window->Settings().columns, 12);
        QCOMPARE(ReadSetting(Ini(), "Format", "Columns", {}), QStringLiteral("12abc"));
        const QString text = NumberedControl<CCodeTextBox>(window.get(), ids::kOutputBox)->toPlainText();
        const QStringList lines = text.split(u'\n');
        QVERIFY(lines.size() > 2);
        QCOMPARE(lines.first().count(QStringLiteral(", ")), 12);
        QVERIFY(text.startsWith(QStringLiteral("0x02328")));
    }

    void escapeInsideAPageIsSwallowed()
    {
        WithOptions([](COptionDlg* dialog) {
            QLineEdit* field = dialog->TriggerPage()->MinimumWidth();
            dialog->TriggerPage()->ModeList()->setCurrentIndex(int(TriggerMode::Pulse));
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Escape);
            QVERIFY(dialog->isVisible());
            QTest::keyClick(dialog->TriggerPage()->ModeList(), Qt::Key_Escape);
            QVERIFY(dialog->isVisible());
            // Outside the pages Escape closes the window as usual.
            dialog->CloseButton()->setFocus();
            QTest::keyClick(dialog->CloseButton(), Qt::Key_Escape);
            QVERIFY(!dialog->isVisible());
        });
    }

    // Un-ticking repaints at once: taller traces, no annotation layer.
    void analysisOffRepaintsWithoutAnnotations()
    {
        window->LoadTrainIntoChannel(0, NecKey());
        auto* panel = NumberedControl<QWidget>(window.get(), ids::kMainPanel);
        QVERIFY(panel);
        QApplication::processEvents();
        const QImage before = panel->grab().toImage();
        QVERIFY(TraceRun(before, ViewGeometry::TraceHighY(0, true)) > 5);
        QVERIFY(AnnotationPixels(before) > 0);

        PaintCounter paints(panel);
        WithOptions([&](COptionDlg* dialog) {
            QCheckBox* enabled = dialog->AnalyzePage()->Enabled();
            QTest::mouseClick(enabled, Qt::LeftButton);
            QVERIFY(!window->Settings().analyzeEnabled);
            QCOMPARE(ReadSetting(Ini(), "Analyze", "Enabled", {}), QStringLiteral("FALSE"));
            QTRY_VERIFY(paints.count > 0); // while the window is still open
        });
        const QImage after = panel->grab().toImage();
        QCOMPARE(TraceRun(after, ViewGeometry::TraceHighY(0, true)), 1);
        QVERIFY(TraceRun(after, ViewGeometry::TraceHighY(0, false)) > 5);
        QCOMPARE(AnnotationPixels(after), 0);

        WithOptions([](COptionDlg* dialog) { QTest::mouseClick(dialog->AnalyzePage()->Enabled(), Qt::LeftButton); });
        QCOMPARE(ReadSetting(Ini(), "Analyze", "Enabled", {}), QStringLiteral("TRUE"));
        QVERIFY(window->Settings().analyzeEnabled);
    }
};

QTEST_MAIN(TestOptionsWindow)
#include "tst_optionswindow.moc"
