#pragma once

#include <QString>
#include <QStringList>

#include <array>

struct ZoomEntry {
    const char* text;
    int zoom;
};

// The zoom list's entries in list order; index 0 is the closest view.
constexpr std::array<ZoomEntry, 10> kZoomTable{{
    {"x10", 1000},
    {"x5", 500},
    {"x2", 200},
    {"x1", 100},
    {"/2", 50},
    {"/5", 20},
    {"/10", 10},
    {"/20", 5},
    {"/50", 2},
    {"/100", 1},
}};

constexpr int kStartZoomIndex = 3; // "x1"

QStringList ZoomTexts();

// -1 when the text is not an entry (exact comparison).
int ZoomIndexOfText(const QString& text);

// The list index a spin-button step selects: a positive delta moves towards
// "/100", zero or negative towards "x10"; both ends stop.
int SteppedZoomIndex(int currentIndex, int delta);
