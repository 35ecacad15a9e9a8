#include "analyzer/library/window/DialogTexts.h"

#include "analyzer/library/VendorHost.h"
#include "analyzer/library/window/VendorIds.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QVariant>
#include <QWidget>

void TranslateDialog(QWidget* dialog, int dialogNumber, const VendorHost& host)
{
    const QString section = QStringLiteral("IDD_%1").arg(dialogNumber);
    const QString title = host.LanguageText(section, section + QStringLiteral("_Title"));
    if (!title.isEmpty())
        dialog->setWindowTitle(title);
    for (QWidget* control : dialog->findChildren<QWidget*>()) {
        const QVariant id = control->property("controlId");
        if (!id.isValid())
            continue;
        const QString text = host.LanguageText(section, section + QStringLiteral("_%1").arg(id.toInt()));
        if (text.isEmpty())
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->setText(text);
        else if (auto* label = qobject_cast<QLabel*>(control))
            label->setText(text);
        else if (auto* group = qobject_cast<QGroupBox*>(control))
            group->setTitle(text);
    }
}

QString MenuText(const VendorHost& host, int menuNumber, const QString& keySuffix, const QString& fallback)
{
    const QString section = QStringLiteral("MENU_%1").arg(menuNumber);
    const QString text = host.LanguageText(section, section + QLatin1Char('_') + keySuffix);
    return text.isEmpty() ? fallback : text;
}
