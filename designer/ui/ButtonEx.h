#pragma once

#include "designer/ui/CoButton.h"

// A picture button of the designer: a placed key of one of the twenty kinds,
// or one of the two small plus and minus buttons. `owner` is the main window
// that created it.
class CButtonEx : public CCoButton {
    Q_OBJECT
public:
    CButtonEx(QWidget& owner, QWidget* parent);

    QWidget& Owner() const { return owner; }
    int KeyType() const { return keyType; }

    // Takes the kind's three pictures (normal in every slot, then pressed in
    // slot 4 and hover in slot 2) and its caption colours, and switches on
    // autoSize, which gives the button its picture's size at once.
    void SetKeyType(int type);
    // The caption; an empty one leaves the kind as the accessible name.
    void SetCaption(const QString& caption);

private:
    void UpdateAccessibleName();

    QWidget& owner;
    int keyType = 0;
};
