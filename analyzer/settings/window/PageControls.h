#pragma once

#include <QString>

class QFormLayout;
class QHBoxLayout;
class QPushButton;
class QWidget;

// Building blocks the option pages share.

// A numbered caption for `field` in the form: the field's accessible name
// comes from the caption's text, in every language.
void AddCaptionedRow(QFormLayout* form, const QString& caption, int captionId, QWidget* field);
// A numbered push button that does not take Enter unless its page makes it
// the default.
QPushButton* PageButton(const QString& text, int id, QWidget* parent);
// The buttons right-aligned in a row.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);
