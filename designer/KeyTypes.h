#pragma once

#include <QColor>
#include <QSize>
#include <QString>

#include <array>
#include <optional>

// The twenty kinds of placed button and the five remote bodies.
namespace keys {

constexpr int kKeyTypeCount = 20;
constexpr int kDefault = 0;
constexpr int kPower = 1;
constexpr int kPlus = 2;
constexpr int kMinus = 3;
constexpr int kMenu = 4;
constexpr int kDigit0 = 5; // 5..14 are the digits 0-9
constexpr int kUp = 15;
constexpr int kDown = 16;
constexpr int kLeft = 17;
constexpr int kRight = 18;
constexpr int kBlank = 19;

struct KeyType {
    const char* menuText;  // UTF-8
    int command;           // menu command number
    int normalPicture;     // also the disabled, focus and spare states
    int hoverPicture;
    int pressedPicture;
    int width;
    int height;
};

const KeyType& Key(int keyType);
bool IsValidKeyType(int keyType);
QString MenuText(int keyType);
// The menu item text: the kind, then its shortcut after a tab where it has one.
QString MenuItemText(int keyType);
QSize KeySize(int keyType);
std::optional<int> KeyTypeForCommand(int command);

// Caption colours for draw states 0-4 (normal, disabled, hover, focus,
// pressed); an empty value means the system's button-text colour.
std::array<std::optional<QColor>, 5> CaptionColors(int keyType);

// The design-mode shortcut a key press stands for, if any: Ctrl with a digit
// of either keyboard, Ctrl with the keypad's plus or minus, Ctrl with an arrow.
std::optional<int> ShortcutKeyType(int key, Qt::KeyboardModifiers modifiers);

constexpr int kBodyCount = 5;
struct Body {
    const char* text;
    int picture;
};
const Body& BodyAt(int bodyIndex);
bool IsValidBody(int bodyIndex);

} // namespace keys
