#include "designer/KeyTypes.h"

namespace keys {

namespace {

const std::array<KeyType, kKeyTypeCount> kKeyTypes = {{
    {"Default", 32807, 213, 213, 213, 48, 48},
    {"Power", 32772, 156, 155, 154, 48, 48},
    {"+", 32795, 153, 152, 151, 48, 48},
    {"-", 32797, 212, 211, 210, 48, 48},
    {"Menu", 32774, 201, 200, 199, 48, 48},
    {"0", 32776, 162, 161, 160, 48, 48},
    {"1", 32777, 165, 164, 163, 48, 48},
    {"2", 32779, 168, 167, 166, 48, 48},
    {"3", 32781, 171, 170, 169, 48, 48},
    {"4", 32783, 174, 173, 172, 48, 48},
    {"5", 32785, 177, 176, 175, 48, 48},
    {"6", 32787, 180, 179, 178, 48, 48},
    {"7", 32789, 183, 182, 181, 48, 48},
    {"8", 32791, 186, 185, 184, 48, 48},
    {"9", 32793, 189, 188, 187, 48, 48},
    {"\u2191", 32799, 159, 209, 208, 48, 48},
    {"\u2193", 32801, 195, 194, 193, 48, 48},
    {"\u2190", 32803, 198, 197, 196, 48, 48},
    {"\u2192", 32805, 207, 206, 205, 48, 48},
    {"Blank", 32809, 215, 214, 216, 160, 48},
}};

const std::array<Body, kBodyCount> kBodies = {{
    {"Black", 140},
    {"Blue", 139},
    {"Gray", 138},
    {"Green", 137},
    {"Other", 136},
}};

} // namespace

bool IsValidKeyType(int keyType)
{
    return keyType >= 0 && keyType < kKeyTypeCount;
}

const KeyType& Key(int keyType)
{
    return kKeyTypes[static_cast<size_t>(IsValidKeyType(keyType) ? keyType : kDefault)];
}

QString MenuText(int keyType)
{
    return QString::fromUtf8(Key(keyType).menuText);
}

QString MenuItemText(int keyType)
{
    const QString text = MenuText(keyType);
    const bool hasShortcut = (keyType >= kPlus && keyType <= kMinus) || (keyType >= kDigit0 && keyType <= kRight);
    return hasShortcut ? text + QStringLiteral("\tCtrl+") + text : text;
}

QSize KeySize(int keyType)
{
    return QSize(Key(keyType).width, Key(keyType).height);
}

std::optional<int> KeyTypeForCommand(int command)
{
    for (int i = 0; i < kKeyTypeCount; ++i)
        if (kKeyTypes[static_cast<size_t>(i)].command == command)
            return i;
    return std::nullopt;
}

std::array<std::optional<QColor>, 5> CaptionColors(int keyType)
{
    if (keyType != kDefault)
        return {};
    const QColor white(255, 255, 255);
    return {white, white, QColor(255, 255, 0), white, QColor(0, 255, 0)};
}

std::optional<int> ShortcutKeyType(int key, Qt::KeyboardModifiers modifiers)
{
    if (!(modifiers & Qt::ControlModifier))
        return std::nullopt;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return kDigit0 + (key - Qt::Key_0);
    switch (key) {
    case Qt::Key_Up: return kUp;
    case Qt::Key_Down: return kDown;
    case Qt::Key_Left: return kLeft;
    case Qt::Key_Right: return kRight;
    default: break;
    }
    // Plus and minus count only from the keypad.
    if (modifiers & Qt::KeypadModifier) {
        if (key == Qt::Key_Plus)
            return kPlus;
        if (key == Qt::Key_Minus)
            return kMinus;
    }
    return std::nullopt;
}

bool IsValidBody(int bodyIndex)
{
    return bodyIndex >= 0 && bodyIndex < kBodyCount;
}

const Body& BodyAt(int bodyIndex)
{
    return kBodies[static_cast<size_t>(IsValidBody(bodyIndex) ? bodyIndex : 0)];
}

} // namespace keys
