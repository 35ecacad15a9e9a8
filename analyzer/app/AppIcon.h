#pragma once

#include <QIcon>
#include <QImage>

// The program icon, drawn rather than stored so that every size is crisp and
// the picture is reproducible: a dark screen with a red pulse train and the
// light-green box of a decoded bit above it.
QImage PaintWavixIcon(int size);
QIcon WavixIcon();
