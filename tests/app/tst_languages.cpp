// Switching the whole analyzer between languages through its Language menu.
#include "TestFiles.h"
#include "analyzer/app/AboutDlg.h"
#include "analyzer/app/ControlIds.h"
#include "analyzer/app/WavixDlg.h"
#include "analyzer/library/window/VendorDlg.h"
#include "analyzer/settings/LanguageSetting.h"
#include "analyzer/settings/window/OptionDlg.h"
#include "analyzer/settings/window/OptionPages.h"
#include "analyzer/settings/window/TabCtrlSheet.h"
#include "sim/SimControl.h"
#include "tests/app/support/DialogDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList Captions(const QList<QAction*>& actions)
{
    QStringList captions;
    for (QAction* action : actions)
        if (!action->isSeparator())
            captions.append(action->text());
    return captions;
}

// Texts of the window's visible labels, buttons and check boxes, and of
// every menu entry below `menus`, that carry Latin letters but no Chinese:
// words a pack left in English. Language names are their own words.
QStringList EnglishLeftOver(QWidget* window, const QList<QAction*>& menus)
{
    const auto english = [](const QString& text) {
        bool latin = false;
        for (QChar c : QString(text).remove(u'&').section(u'\t', 0, 0)) {
            if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF)
                return false;
            latin = latin || (c.isLetter() && c.unicode() < 0x80);
        }
        return latin;
    };
    QStringList left;
    for (QWidget* child : window->findChildren<QWidget*>()) {
        QString text;
        if (auto* label = qobject_cast<QLabel*>(child))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(child))
            text = button->text();
        if (child->isVisible() && english(text))
            left.append(text);
    }
    QList<QAction*> pending = menus;
    while (!pending.isEmpty()) {
        QAction* action = pending.takeFirst();
        if (action->menu())
            pending.append(action->menu()->actions());
        if (CommandId(action) < ids::kCmdLanguageFirst && english(action->text()))
            left.append(action->text());
    }
    return left;
}

QMenu* Popup(QMainWindow& window, int position)
{
    return window.menuBar()->actions().at(position)->menu();
}

} // namespace

class TestLanguages : public QObject {
    Q_OBJECT

    DialogWatchdog watchdog;
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<CWavixDlg> window;

    void Start()
    {
        window = std::make_unique<CWavixDlg>(folder->path());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    QString Text(int id)
    {
        if (auto* label = NumberedControl<QLabel>(window.get(), id))
            return label->text();
        if (auto* button = NumberedControl<QPushButton>(window.get(), id))
            return button->text();
        return QStringLiteral("<no control %1>").arg(id);
    }
    QMenu* LanguageMenu() { return Popup(*window, 4); }
    // Chooses a language as a user does: opens the menu, clicks the entry.
    void Choose(const QString& name)
    {
        for (QAction* action : LanguageMenu()->actions())
            if (action->text() == name) {
                action->trigger();
                return;
            }
        QFAIL(qPrintable(QStringLiteral("no language ") + name));
    }
    QString CheckedLanguage()
    {
        emit LanguageMenu()->aboutToShow();
        QString checked;
        for (QAction* action : LanguageMenu()->actions())
            if (action->isChecked())
                checked += action->text();
        return checked;
    }

private slots:
    void init()
    {
        usbsim::Reset();
        usbsim::Unplug(); // the status line shows the not-connected text
        watchdog.Reset();
        folder = std::make_unique<QTemporaryDir>();
        Start();
    }
    void cleanup()
    {
        window.reset();
        folder.reset();
    }

    void firstStartListsTheBuiltInPacksBeforeHelp()
    {
        QCOMPARE(QDir(folder->filePath(QStringLiteral("Language"))).entryList(QDir::Files).size(), 3);
        QCOMPARE(ReadLanguageSetting(window->SettingsPath()), QStringLiteral("English"));
        QCOMPARE(Captions(window->menuBar()->actions()),
                 (QStringList{"File(&F)", "Channel(&C)", "Operation(&O)", "Setting(&S)", "Language(&L)", "Help(&H)"}));
        QCOMPARE(Captions(LanguageMenu()->actions()), (QStringList{"English", "简体中文", "繁體中文"}));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(CommandId(LanguageMenu()->actions().at(i)), ids::kCmdLanguageFirst + i);
        QCOMPARE(CheckedLanguage(), QStringLiteral("English"));
        QCOMPARE(Popup(*window, 5)->actions().first()->text(), QStringLiteral("Contents\tF1"));
    }

    void simplifiedChineseRelabelsAtOnceAndSurvivesARestart()
    {
        Choose(QStringLiteral("简体中文"));
        QCOMPARE(CheckedLanguage(), QStringLiteral("简体中文"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Wavix II - 红外逻辑分析仪"));
        QCOMPARE(Text(ids::kZoomCaption), QStringLiteral("缩放："));
        QCOMPARE(Text(ids::kTriggerCaption), QStringLiteral("触发："));
        QCOMPARE(Text(ids::kTriggerText), QStringLiteral("自动"));
        QCOMPARE(Text(ids::kSendChannel1 + 3), QStringLiteral("发送 CH4"));
        QCOMPARE(Text(ids::kStartStop), QStringLiteral("开始"));
        QCOMPARE(Text(ids::kChannelLabel), QStringLiteral("通道1"));
        QCOMPARE(Text(ids::kStatusLine), QStringLiteral("设备未连接！"));
        QCOMPARE(Captions(window->menuBar()->actions()),
                 (QStringList{"文件(&F)", "通道(&C)", "操作(&O)", "设置(&S)", "语言(&L)", "帮助(&H)"}));
        QCOMPARE(Captions(Popup(*window, 0)->actions()).mid(0, 3),
                 (QStringList{"载入数据(&L)", "保存数据(&D)", "保存通道数据(&C)"}));
        QCOMPARE(window->Command(ids::kCmdSaveChannel1 + 1)->text(), QStringLiteral("通道2(&2)"));
        QCOMPARE(window->Command(ids::kCmdOption)->text(), QStringLiteral("选项(&O)"));
        QCOMPARE(window->Command(ids::kCmdHelp)->text(), QStringLiteral("帮助内容\tF1"));
        QCOMPARE(Captions(LanguageMenu()->actions()), (QStringList{"English", "简体中文", "繁體中文"}));

        window->ToggleCapture();
        QCOMPARE(Text(ids::kStartStop), QStringLiteral("停止"));
        window->SelectChannel(2);
        QCOMPARE(Text(ids::kChannelLabel), QStringLiteral("通道3"));
        QCOMPARE(ReadLanguageSetting(window->SettingsPath()), QStringLiteral("简体中文"));

        window.reset();
        Start();
        QCOMPARE(Text(ids::kStartStop), QStringLiteral("开始"));
        QCOMPARE(Captions(window->menuBar()->actions()).first(), QStringLiteral("文件(&F)"));
        QCOMPARE(CheckedLanguage(), QStringLiteral("简体中文"));

        Choose(QStringLiteral("English"));
        QCOMPARE(Text(ids::kZoomCaption), QStringLiteral("Zoom:"));
        QCOMPARE(Text(ids::kStatusLine), QStringLiteral("Device is not connected!"));
        QCOMPARE(window->Command(ids::kCmdExit)->text(), QStringLiteral("E&xit"));
    }

    void aConnectedDeviceKeepsItsNameInTheStatusLine()
    {
        usbsim::Plug();
        QTRY_VERIFY(window->Device().identified);
        QTRY_COMPARE(Text(ids::kStatusLine), QStringLiteral("IR Logic Analyzer - Version 1.0.1.1"));
        Choose(QStringLiteral("繁體中文"));
        QCOMPARE(Text(ids::kStatusLine), QStringLiteral("IR Logic Analyzer - Version 1.0.1.1"));
    }

    void theOpenLibraryWindowFollows()
    {
        window->OpenVendor();
        CVendorDlg* vendor = window->VendorWindow();
        QVERIFY(vendor);
        Choose(QStringLiteral("繁體中文"));
        QCOMPARE(vendor->windowTitle(), QStringLiteral("編碼庫"));
        QAbstractItemModel* columns = vendor->List()->horizontalHeader()->model();
        QCOMPARE(columns->headerData(0, Qt::Horizontal).toString(), QStringLiteral("編號"));
        QCOMPARE(columns->headerData(1, Qt::Horizontal).toString(), QStringLiteral("名稱"));
        QCOMPARE(NumberedControl<QPushButton>(vendor, 1)->text(), QStringLiteral("新增"));
        QCOMPARE(Captions(vendor->ContextMenu()->actions()),
                 (QStringList{"傳送(&S)", "載入至(&L)", "重新命名(&R)"}));
        Choose(QStringLiteral("English"));
        QCOMPARE(vendor->windowTitle(), QStringLiteral("Vendor"));
        QCOMPARE(Captions(vendor->ContextMenu()->actions()).first(), QStringLiteral("Send(&S)"));
    }

    // Both Chinese packs cover every text of the main window, its menus and
    // the library window with its buttons and context menu.
    void chineseLeavesNoEnglishBehind()
    {
        QFETCH(QString, name);
        window->OpenVendor();
        CVendorDlg* vendor = window->VendorWindow();
        QVERIFY(QTest::qWaitForWindowExposed(vendor));
        Choose(name);
        const QStringList left = EnglishLeftOver(window.get(), window->menuBar()->actions())
                                 + EnglishLeftOver(vendor, vendor->ContextMenu()->actions());
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QStringLiteral(" | "))));
        Choose(QStringLiteral("English"));
        QVERIFY(EnglishLeftOver(vendor, {}).contains(QStringLiteral("Export")));
    }
    void chineseLeavesNoEnglishBehind_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Simplified") << QStringLiteral("简体中文");
        QTest::newRow("Traditional") << QStringLiteral("繁體中文");
    }

    void dialogsOpenInTheCurrentLanguage()
    {
        Choose(QStringLiteral("简体中文"));
        bool seen = false;
        OnNextModal<COptionDlg>([&](COptionDlg* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("选项"));
            QCOMPARE(dialog->CloseButton()->text(), QStringLiteral("关闭"));
            QCOMPARE(dialog->Sheet()->tabText(0), QStringLiteral("触发"));
            QCOMPARE(dialog->Sheet()->tabText(2), QStringLiteral("分析"));
            QCOMPARE(dialog->TriggerPage()->ModeList()->itemText(1), QStringLiteral("上升沿"));
            QCOMPARE(dialog->TriggerPage()->CaptureList()->itemText(0), QStringLiteral("单次"));
            QCOMPARE(NumberedControl<QLabel>(dialog->TriggerPage(), 1020)->text(), QStringLiteral("触发模式："));
            QCOMPARE(NumberedControl<QPushButton>(dialog->FormatPage(), 1036)->text(), QStringLiteral("默认值"));
            QCOMPARE(dialog->AnalyzePage()->Enabled()->text(), QStringLiteral("启用"));
            seen = true;
            dialog->CloseButton()->click();
        });
        window->Command(ids::kCmdOption)->trigger();
        QVERIFY(seen);

        seen = false;
        OnNextModal<CAboutDlg>([&](CAboutDlg* about) {
            QCOMPARE(about->windowTitle(), QStringLiteral("关于 Wavix II"));
            QCOMPARE(NumberedControl<QPushButton>(about, 1)->text(), QStringLiteral("确定"));
            seen = true;
            about->accept();
        });
        window->Command(ids::kCmdAbout)->trigger();
        QVERIFY(seen);
        QVERIFY(!watchdog.Stranded());
    }

    // A user's pack with a few keys: the rest keeps its current wording, and
    // the composed texts it lacks are empty.
    void aPartialPackKeepsTheCurrentWording()
    {
        window.reset();
        QVERIFY(WriteFile(folder->filePath(QStringLiteral("Language/4.Deutsch.ini")),
                          "[Setting]\nLanguage=Deutsch\n[IDD_102]\nIDD_102_1015=Zoom (Faktor):\n"
                          "[MENU_131]\nMENU_131_0=Datei(&D)\n[SPECIAL_STRING]\nIDS_TRIGGER_AUTO=Automatisch\n"
                          "IDS_DEVICE_NC=Kein Gerät\\nangeschlossen\n"));
        Start();
        QCOMPARE(Captions(LanguageMenu()->actions()), (QStringList{"English", "简体中文", "繁體中文", "Deutsch"}));
        Choose(QStringLiteral("简体中文"));
        Choose(QStringLiteral("Deutsch"));
        QCOMPARE(Text(ids::kZoomCaption), QStringLiteral("Zoom (Faktor):"));
        QCOMPARE(Text(ids::kTriggerCaption), QStringLiteral("触发："));
        QCOMPARE(Captions(window->menuBar()->actions()).mid(0, 2), (QStringList{"Datei(&D)", "通道(&C)"}));
        QCOMPARE(Text(ids::kTriggerText), QStringLiteral("Automatisch"));
        QCOMPARE(Text(ids::kStatusLine), QStringLiteral("Kein Gerät\nangeschlossen"));
        QCOMPARE(Text(ids::kStartStop), QString());
        QCOMPARE(Text(ids::kChannelLabel), QString());
        QCOMPARE(CheckedLanguage(), QStringLiteral("Deutsch"));
    }
};

QTEST_MAIN(TestLanguages)
#include "tst_languages.moc"
