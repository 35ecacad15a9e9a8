#pragma once

#include <QImage>

// The embedded pictures by number, decoded once and shared. A number without
// a picture gives a null image.
QImage PngPicture(int number);    // premultiplied when it carries alpha
QImage BitmapPicture(int number); // 24-bit, no alpha
