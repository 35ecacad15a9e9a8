#include "analyzer/settings/window/PageControls.h"

#include "analyzer/lang/window/ControlNumbers.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

void AddCaptionedRow(QFormLayout* form, const QString& caption, int captionId, QWidget* field)
{
    auto* label = new QLabel(caption, form->parentWidget());
    SetControlId(label, captionId);
    label->setBuddy(field);
    form->addRow(label, field);
}

QPushButton* PageButton(const QString& text, int id, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    SetControlId(button, id);
    button->setAutoDefault(false);
    return button;
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}
