#include "designer/RemoteLayout.h"

namespace remote {

int DuToPixels(int du)
{
    return du * 3 / 2;
}

QRect DuRect(int x, int y, int width, int height)
{
    const int left = DuToPixels(x);
    const int top = DuToPixels(y);
    return QRect(left, top, DuToPixels(x + width) - left, DuToPixels(y + height) - top);
}

QSize WindowSize()
{
    return QSize(DuToPixels(kWindowWidthDu), DuToPixels(kWindowHeightDu));
}

DesignRect DefaultButtonPlace(const QRect& designArea)
{
    const DesignRect area = DesignRect::FromQRect(designArea);
    const int left = (area.left + area.right) / 2 - 80;
    const int top = (area.top + area.bottom) / 2 - 24;
    return {left, top, left + 160, top + 48};
}

bool IsModeChord(int key, Qt::KeyboardModifiers modifiers)
{
    // A keypad modifier does not change the chord; Alt or Meta on top does.
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    return key == kModeChordKey && held == (Qt::ControlModifier | Qt::ShiftModifier);
}

const std::vector<ControlPlace>& Controls()
{
    static const std::vector<ControlPlace> table = [] {
        using K = ControlKind;
        std::vector<ControlPlace> t = {
            {kDesignArea, K::DesignArea, {}, DuRect(9, 8, 220, 430)},
            {kAddKey, K::PictureButton, {}, DuRect(229, 25, 10, 10)},
            {kDeleteKeys, K::PictureButton, {}, DuRect(229, 42, 10, 10)},
        };
        const struct {
            int id;
            const char* text;
            int x;
        } toolbar[] = {{kAlignLeft, "L", 10},      {kAlignCentreX, "V", 27}, {kAlignRight, "R", 45},
                       {kAlignTop, "T", 68},       {kAlignCentreY, "H", 85}, {kAlignBottom, "B", 103},
                       {kSpaceAcross, "A", 125},   {kSpaceDown, "D", 143}};
        for (const auto& b : toolbar)
            t.push_back({b.id, K::PushButton, QString::fromLatin1(b.text), DuRect(b.x, 441, 15, 14)});
        t.push_back({kBodyList, K::BodyList, {}, DuRect(165, 441, 64, 14)});
        t.push_back({kPreview, K::PushButton, QStringLiteral("Preview"), DuRect(9, 460, 48, 14)});
        t.push_back({kLearn, K::PushButton, QStringLiteral("Learn"), DuRect(60, 460, 48, 14)});
        t.push_back({kBuild, K::PushButton, QStringLiteral("Build"), DuRect(111, 460, 48, 14)});
        t.push_back({kCaptionEdit, K::CaptionEdit, {}, DuRect(165, 460, 45, 14)});
        t.push_back({kSetCaption, K::PushButton, QStringLiteral("S"), DuRect(214, 460, 15, 14)});
        return t;
    }();
    return table;
}

const ControlPlace* ControlById(int id)
{
    for (const ControlPlace& c : Controls())
        if (c.id == id)
            return &c;
    return nullptr;
}

} // namespace remote
