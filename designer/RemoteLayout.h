#pragma once

#include "designer/DesignRect.h"

#include <QRect>
#include <Qt>
#include <QRgb>
#include <QString>

#include <vector>

// The designer window's numbers and places. The window is laid out in dialog
// units at 1.5 pixels per unit, which makes it 360 x 720 pixels, the size of
// the body pictures.
namespace remote {

constexpr int kAboutDialog = 100;
constexpr int kMainDialog = 102;
constexpr int kKeyMenu = 158;
constexpr int kCmdAbout = 16;

constexpr int kDesignArea = 1000;
constexpr int kBodyList = 1001;
constexpr int kAddKey = 1005;
constexpr int kDeleteKeys = 1006;
constexpr int kBuild = 1007;
constexpr int kPreview = 1008;
constexpr int kAlignLeft = 1009;
constexpr int kLearn = 1010;
constexpr int kAlignCentreX = 1011;
constexpr int kAlignRight = 1012;
constexpr int kAlignTop = 1013;
constexpr int kAlignCentreY = 1014;
constexpr int kAlignBottom = 1015;
constexpr int kSpaceAcross = 1016;
constexpr int kSpaceDown = 1017;
constexpr int kCaptionEdit = 1018;
constexpr int kSetCaption = 1019;

constexpr int kFirstButtonId = 3001;
constexpr int kLastSendingId = 4001;

// Picture numbers of the two small buttons and the program icon.
constexpr int kAddKeyPressed = 145;
constexpr int kAddKeyNormal = 146;
constexpr int kAddKeyHover = 147;
constexpr int kDeleteKeysPressed = 148;
constexpr int kDeleteKeysHover = 149;
constexpr int kDeleteKeysNormal = 150;
constexpr int kIcon = 128;
constexpr QRgb kMagenta = 0xFF00FF;

constexpr int kWindowWidthDu = 240;
constexpr int kWindowHeightDu = 480;

// Dialog units to pixels, truncating; a rectangle's far edges are converted
// on their own so that neighbours stay neighbours.
int DuToPixels(int du);
QRect DuRect(int x, int y, int width, int height);
QSize WindowSize();

// Where a new button goes when it is given no place: a 160 x 48 rectangle
// centred in the design area (window client coordinates).
DesignRect DefaultButtonPlace(const QRect& designArea);

enum class ControlKind { DesignArea, PushButton, BodyList, CaptionEdit, PictureButton };

struct ControlPlace {
    int id;
    ControlKind kind;
    QString text;
    QRect rect; // pixels, window client coordinates
};

// The mode chord, Ctrl+Shift+M in either mode: switches between design and
// play mode; the only way into design mode of a built remote.
constexpr int kModeChordKey = Qt::Key_M;
bool IsModeChord(int key, Qt::KeyboardModifiers modifiers);

// Every design-mode control in tab order.
const std::vector<ControlPlace>& Controls();
const ControlPlace* ControlById(int id);

} // namespace remote
