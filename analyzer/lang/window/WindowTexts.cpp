#include "analyzer/lang/window/WindowTexts.h"

#include "analyzer/lang/MultiLanguage.h"
#include "analyzer/lang/window/ControlNumbers.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace {

const QString kChineseFont = QStringLiteral("WenQuanYi Micro Hei");

void SetControlText(QWidget* control, const QString& text)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(text);
}

// The controls of `parent` and of the plain containers under it; windows and
// pages of their own translate themselves.
void TranslateControls(const CMultiLanguage& language, QWidget* parent, const QString& section)
{
    for (QObject* child : parent->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (!control || control->isWindow() || DialogNumber(control) != 0)
            continue;
        if (const int id = ControlId(control)) {
            const QString text = language.WindowText(section, section + QStringLiteral("_%1").arg(id));
            if (!text.isEmpty())
                SetControlText(control, text);
        }
        TranslateControls(language, control, section);
    }
}

void TranslateEntries(const CMultiLanguage& language, const QList<QAction*>& entries, const QString& section,
                      const QString& prefix)
{
    int position = 0;
    for (QAction* entry : entries) {
        const int here = position++;
        if (QMenu* popup = entry->menu()) {
            const QString key = prefix + QStringLiteral("_%1").arg(here);
            const QString text = language.WindowText(section, key);
            if (!text.isEmpty())
                entry->setText(text);
            TranslateEntries(language, popup->actions(), section, key);
            continue;
        }
        const int command = CommandId(entry);
        if (entry->isSeparator() || command == 0)
            continue;
        const QString text = language.WindowText(section, section + QStringLiteral("_%1").arg(command));
        if (!text.isEmpty())
            entry->setText(text);
    }
}

} // namespace

void TranslateDialog(const CMultiLanguage& language, QWidget* window, int dialogNumber)
{
    const QString section = QStringLiteral("IDD_%1").arg(dialogNumber);
    const QString title = language.WindowText(section, section + QStringLiteral("_Title"));
    if (!title.isEmpty())
        window->setWindowTitle(title);
    TranslateControls(language, window, section);
}

void TranslateMenu(const CMultiLanguage& language, QMenuBar* menuBar, int menuNumber)
{
    const QString section = QStringLiteral("MENU_%1").arg(menuNumber);
    TranslateEntries(language, menuBar->actions(), section, section);
    menuBar->update();
}

void TranslateMenu(const CMultiLanguage& language, QMenu* popup, int menuNumber, std::initializer_list<int> popupPath)
{
    const QString section = QStringLiteral("MENU_%1").arg(menuNumber);
    QString prefix = section;
    for (int position : popupPath)
        prefix += QStringLiteral("_%1").arg(position);
    TranslateEntries(language, popup->actions(), section, prefix);
}

void UseChineseFallbackFont()
{
    QFont font = QApplication::font();
    const QStringList families = font.families().isEmpty() ? QStringList{font.family()} : font.families();
    if (families.contains(kChineseFont))
        return;
    font.setFamilies(families + QStringList{kChineseFont});
    QApplication::setFont(font);
}
