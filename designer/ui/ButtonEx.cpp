#include "designer/ui/ButtonEx.h"

#include "designer/KeyTypes.h"

CButtonEx::CButtonEx(QWidget& ownerWindow, QWidget* parent) : CCoButton(parent), owner(ownerWindow)
{
}

void CButtonEx::SetKeyType(int type)
{
    keyType = type;
    const keys::KeyType& key = keys::Key(type);
    LoadPictures(0x3F, key.normalPicture);
    LoadPictures(1u << compose::kPressed, key.pressedPicture);
    LoadPictures(1u << compose::kHover, key.hoverPicture);
    const auto colours = keys::CaptionColors(type);
    for (int state = 0; state < static_cast<int>(colours.size()); ++state)
        SetTextColor(state, colours[static_cast<size_t>(state)]);
    SetAutoSize(true);
    UpdateAccessibleName();
}

void CButtonEx::SetCaption(const QString& caption)
{
    setText(caption);
    UpdateAccessibleName();
    update();
}

void CButtonEx::UpdateAccessibleName()
{
    // An empty accessible name lets the caption speak for the button.
    setAccessibleName(text().isEmpty() ? keys::MenuText(keyType) : QString());
}
