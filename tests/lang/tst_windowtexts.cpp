// Windows and menus translating themselves by their numbers.
#include "TestFiles.h"
#include "analyzer/lang/MultiLanguage.h"
#include "analyzer/lang/window/ControlNumbers.h"
#include "analyzer/lang/window/WindowTexts.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kPack = "[Setting]\nLanguage=Test\n"
                         "[IDD_50]\nIDD_50_Title=Fifty\nIDD_50_1=Okay\nIDD_50_7=Label seven\nIDD_50_8=Boxed\n"
                         "IDD_50_9=Group\nIDD_50_-1=Unnumbered\nIDD_50_10=\nIDD_50_11=a\\nb\nIDD_50_12=Field\n"
                         "[IDD_51]\nIDD_51_1=Page okay\n"
                         "[MENU_60]\nMENU_60_0=Top zero\nMENU_60_0_2=Inner popup\nMENU_60_100=Command 100\n"
                         "MENU_60_200=Deep 200\nMENU_60_1=\nMENU_60_0_0=not a command key\n"
                         "[MENU_70]\nMENU_70_0_1=Popup of a context menu\nMENU_70_300=Context 300\n";

template <typename W>
W* Numbered(W* widget, int id)
{
    SetControlId(widget, id);
    return widget;
}

QAction* Command(QMenu* menu, const QString& text, int id)
{
    QAction* action = menu->addAction(text);
    SetCommandId(action, id);
    return action;
}

} // namespace

class TestWindowTexts : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    std::unique_ptr<CMultiLanguage> language;

private slots:
    void initTestCase()
    {
        QDir().mkpath(folder.filePath(QStringLiteral("Language")));
        QVERIFY(WriteFile(folder.filePath(QStringLiteral("Language/test.ini")), kPack));
        language = std::make_unique<CMultiLanguage>(folder.path());
        QVERIFY(language->SelectLanguage(QStringLiteral("Test")));
    }

    // Controls at any depth of plain containers take their texts; empty
    // values leave a text alone; a page or window of its own is left to
    // translate itself; backslash-n stays as written.
    void dialogControlsTakeTheirTexts()
    {
        QDialog dialog;
        auto* ok = Numbered(new QPushButton(QStringLiteral("OK"), &dialog), 1);
        auto* label = Numbered(new QLabel(QStringLiteral("seven"), &dialog), 7);
        auto* container = new QWidget(&dialog);
        auto* group = Numbered(new QGroupBox(QStringLiteral("group"), container), 9);
        auto* boxed = Numbered(new QCheckBox(QStringLiteral("boxed"), group), 8);
        auto* unnumbered = Numbered(new QLabel(QStringLiteral("static"), &dialog), -1);
        auto* emptyValue = Numbered(new QLabel(QStringLiteral("kept"), &dialog), 10);
        auto* literal = Numbered(new QLabel(QStringLiteral("x"), &dialog), 11);
        auto* field = Numbered(new QLineEdit(QStringLiteral("typed"), &dialog), 12);
        auto* plain = new QLabel(QStringLiteral("no number"), &dialog);
        auto* page = new QWidget(&dialog);
        SetDialogNumber(page, 51);
        auto* pageOk = Numbered(new QPushButton(QStringLiteral("OK"), page), 1);
        auto* child = new QDialog(&dialog);
        auto* childOk = Numbered(new QPushButton(QStringLiteral("OK"), child), 1);

        TranslateDialog(*language, &dialog, 50);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Fifty"));
        QCOMPARE(ok->text(), QStringLiteral("Okay"));
        QCOMPARE(label->text(), QStringLiteral("Label seven"));
        QCOMPARE(group->title(), QStringLiteral("Group"));
        QCOMPARE(boxed->text(), QStringLiteral("Boxed"));
        QCOMPARE(unnumbered->text(), QStringLiteral("Unnumbered"));
        QCOMPARE(emptyValue->text(), QStringLiteral("kept"));
        QCOMPARE(literal->text(), QStringLiteral("a\\nb"));
        QCOMPARE(field->text(), QStringLiteral("typed")); // what the user typed is no caption
        QCOMPARE(plain->text(), QStringLiteral("no number"));
        QCOMPARE(pageOk->text(), QStringLiteral("OK"));
        QCOMPARE(childOk->text(), QStringLiteral("OK"));

        TranslateDialog(*language, page, 51);
        QCOMPARE(pageOk->text(), QStringLiteral("Page okay"));
        TranslateDialog(*language, child, 52); // no section: nothing changes
        QCOMPARE(childOk->text(), QStringLiteral("OK"));
        QCOMPARE(child->windowTitle(), QString());
    }

    // Popups by position (separators count), commands by number at any depth.
    void menuBarsFollowPositionsAndNumbers()
    {
        QMenuBar bar;
        QMenu* top = bar.addMenu(QStringLiteral("top"));
        QAction* command = Command(top, QStringLiteral("c100"), 100);
        top->addSeparator();
        QMenu* inner = top->addMenu(QStringLiteral("inner"));
        QAction* deep = Command(inner, QStringLiteral("c200"), 200);
        QAction* unnumbered = top->addAction(QStringLiteral("mine"));
        QMenu* second = bar.addMenu(QStringLiteral("second"));

        TranslateMenu(*language, &bar, 60);
        QCOMPARE(top->title(), QStringLiteral("Top zero"));
        QCOMPARE(command->text(), QStringLiteral("Command 100"));
        QCOMPARE(inner->title(), QStringLiteral("Inner popup"));
        QCOMPARE(deep->text(), QStringLiteral("Deep 200"));
        QCOMPARE(unnumbered->text(), QStringLiteral("mine"));
        QCOMPARE(second->title(), QStringLiteral("second")); // empty value
    }

    void aContextMenuIsPopupZeroOfItsMenu()
    {
        QMenu context;
        QAction* command = Command(&context, QStringLiteral("c300"), 300);
        QMenu* popup = context.addMenu(QStringLiteral("popup"));
        TranslateMenu(*language, &context, 70, {0});
        QCOMPARE(command->text(), QStringLiteral("Context 300"));
        QCOMPARE(popup->title(), QStringLiteral("Popup of a context menu"));
    }
};

QTEST_MAIN(TestWindowTexts)
#include "tst_windowtexts.moc"
