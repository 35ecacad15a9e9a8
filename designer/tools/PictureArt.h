#pragma once

#include <QColor>
#include <QImage>

// The designer's pictures, drawn from shapes so that every build makes the
// same set: key faces, remote bodies, the two small buttons and the icon.
enum class FaceState { Normal, Hover, Pressed };

// 48 x 48 RGBA (160 x 48 for the Blank key), transparent around the key.
QImage DrawKeyFace(int keyType, FaceState state);

// 360 x 720 RGBA, a rounded body on a transparent surround.
QImage DrawBody(int bodyIndex);

// 35 x 35 without alpha: a round plus or minus sign on magenta, which the
// button keys out. `background` is what the edges are smoothed against.
QImage DrawSmallButton(bool plus, FaceState state, QColor background);

// The program icon, 64 x 64 RGBA.
QImage DrawIcon();
