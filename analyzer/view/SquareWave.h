#pragma once

#include "analyzer/core/PulseTrain.h"
#include "analyzer/view/RasterLines.h"

#include <QColor>
#include <QImage>

#include <cstdint>

// Draws a train as a square wave between the rows yHigh and yLow: each pulse
// a horizontal run at its level from its start to its end, then the edge to
// the next level. `toX` maps a time in microseconds to a column. Pulses that
// end before `fromUs` are skipped, and drawing stops after the first edge at
// or past the right end of the image, so a long train costs only what shows.
template <typename TimeToX>
void DrawSquareWave(QImage& image, const PulseTrain& train, int yHigh, int yLow, const QColor& colour,
                    int64_t fromUs, TimeToX toX)
{
    int i = 1;
    int64_t start = 0;
    bool high = train.StartsHigh();
    while (i < PulseTrain::kEntries && train[i] != 0 && start + train[i] < fromUs) {
        start += train[i];
        high = !high;
        ++i;
    }
    for (; i < PulseTrain::kEntries && train[i] != 0; ++i) {
        const int64_t end = start + train[i];
        const int x1 = toX(start);
        const int x2 = toX(end);
        const int yFrom = high ? yHigh : yLow;
        const int yTo = high ? yLow : yHigh;
        RasterLines::Horizontal(image, x1, x2, yFrom, colour);
        RasterLines::Vertical(image, x2, yFrom, yTo, colour);
        start = end;
        high = !high;
        if (x2 >= image.width())
            break;
    }
}
