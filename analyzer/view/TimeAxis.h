#pragma once

#include <cmath>
#include <cstdint>

// The main panel's mapping between time and pixels: one 14-pixel grid cell is
// 20000 / zoom microseconds, and the picture is scrolled left by `scroll`
// pixels. Shared by the waveform painter, the annotation layer and navigation.
struct TimeAxis {
    static constexpr int kCellPixels = 14;
    static constexpr double kCellUsAtZoom1 = 20000.0;

    int zoom = 100;
    int scroll = 0;

    // trunc(t * zoom * 14 / 20000 - scroll), kept inside int so that absurd
    // durations from a file cannot turn into undefined conversions.
    int TimeToX(double timeUs) const { return ClampToInt(timeUs * zoom * kCellPixels / kCellUsAtZoom1 - scroll); }

    // trunc((x + scroll) * 20000 / (zoom * 14))
    int XToTime(int x) const
    {
        if (zoom == 0)
            return 0;
        return ClampToInt(UsForPixels(double(x) + scroll));
    }

    // The microseconds a run of pixels spans: pixels * 20000 / (zoom * 14),
    // not truncated. Zoom must not be 0.
    double UsForPixels(double pixels) const { return pixels * kCellUsAtZoom1 / (double(zoom) * kCellPixels); }

    static int ClampToInt(double value)
    {
        if (std::isnan(value))
            return 0;
        if (value >= 2147483647.0)
            return 2147483647;
        if (value <= -2147483648.0)
            return -2147483647 - 1;
        return static_cast<int>(std::trunc(value));
    }
};
