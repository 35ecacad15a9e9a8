#pragma once

#include "designer/ButtonComposer.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QRgb>
#include <QSize>

#include <vector>

// The play-mode picture of the whole remote: the body, every button composed
// over it, the connection indicator. The window shows it in one step and is
// shaped to it, so only the body and the buttons are seen.
namespace play {

// The window's background in play mode (colour value 0x030201: red 1,
// green 2, blue 3); every pixel of exactly this colour is see-through.
constexpr QRgb kColourKey = 0xFF010203;
constexpr QRgb kConnected = 0xFF00FF00;
constexpr QRgb kDisconnected = 0xFFFF0000;

// The 4 x 4 connection indicator, centred across the top of a window of `size`.
QRect IndicatorRect(const QSize& size);

// The background every paint starts from: the colour key, with the body
// stretched over it except where the body has its key colour (its top-left
// pixel; black for transparent corners once premultiplied). A null body
// gives the bare colour key.
QImage Background(const QImage& body, const QSize& size);

struct PlacedButton {
    QRect place; // window client coordinates
    compose::ButtonFace face;
};

// Composes the buttons over a copy of `background`, the last entry first so
// that entry 0 ends on top, and adds the connection indicator.
QImage Compose(const QImage& background, const std::vector<PlacedButton>& buttons, bool connected);

// Where `picture` is not the colour key: the part of the window that is seen
// and takes clicks.
QRegion VisibleRegion(const QImage& picture);

} // namespace play
