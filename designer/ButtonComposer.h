#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <array>
#include <optional>

// Composing a picture button off screen, as the button paints itself in
// design mode and as the window paints every button in play mode.
namespace compose {

// Draw states, also the indexes of the picture slots (slot 5 is spare).
enum DrawState { kNormal = 0, kDisabled = 1, kHover = 2, kFocus = 3, kPressed = 4 };
constexpr int kSlotCount = 6;

// A decoded picture ready for blending: one with alpha becomes premultiplied
// (each colour channel times alpha / 255, truncated); one without stays an
// opaque 24-bit picture.
QImage Premultiplied(const QImage& decoded);

// The grey picture of a disabled button without its own: (r + g + b) / 3 in
// every channel, the transparent colour kept. Only 24-bit pictures have one.
QImage GreyCopy(const QImage& picture, std::optional<QRgb> transparentColor);

struct ButtonFace {
    std::array<QImage, kSlotCount> stateImages;
    int drawState = kNormal;
    QString caption;
    QFont font;
    QColor textColor;                     // for drawState
    QColor windowColor = Qt::white;       // the disabled caption's shadow
    QColor grayTextColor = Qt::darkGray;  // the disabled caption
    std::optional<QRgb> transparentColor; // left out when copied to the surface
};

// Composes the button into `surface` (RGB32 or ARGB32 premultiplied) at
// `place`: what lies under the button shows through its transparent parts.
void ComposeButton(QImage& surface, const QRect& place, const ButtonFace& face);

} // namespace compose
