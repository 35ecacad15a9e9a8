#pragma once

#include <QString>

// Firmware versions as they appear in device replies and image file names:
// four dot-separated numbers of one to three digits ("1.0.10.0").

// The first place in `text`, from the left, that holds four groups of one to
// three digits joined by dots, each group as long as it can be; the four
// groups joined by dots, or the empty text when there is no such place.
// "build12345.1.2.3" gives "345.1.2.3"; "1.2.3" gives "".
QString NormalizeVersion(const QString& text);

// -1, 0 or +1 as version a is older than, as new as or newer than version b.
// Components compare as numbers. A text without a version counts as older
// than a version with a non-zero component where they first differ, and
// as equal to one made of zeros.
int CompareVersions(const QString& a, const QString& b);
