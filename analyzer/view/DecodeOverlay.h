#pragma once

#include "analyzer/core/CaptureState.h"
#include "analyzer/decode/Annotation.h"
#include "analyzer/decode/PulseStartTimes.h"
#include "analyzer/view/TimeAxis.h"

#include <QFont>
#include <QRect>
#include <QRgb>

#include <array>
#include <optional>

class QPainter;

// The protocol annotation layer over the main panel's traces: the code line
// and the labelled boxes of every recognised channel.

// Style of the whole annotation layer.
constexpr QRgb kOverlayOutlineColor = 0xFF808080; // grey, 1-pixel outline
constexpr QRgb kOverlayFillColor = 0xFFCCFFCC;    // light green
constexpr QRgb kOverlayTextColor = 0xFF339933;    // green

// A monospaced 14-pixel face, normal weight, drawn without antialiasing.
QFont DecodeOverlayFont();

// Where the layer is drawn: the area it may touch and how time maps to its
// pixel columns.
struct OverlayPaintParams {
    QRect clientArea;
    TimeAxis axis;
};

// Pixels a box covers after clipping, or nothing when no pixel remains.
//
// The box spans x1 = TimeToX(start of firstPulse + startShift) (0 when
// firstPulse is 0) to x2 = TimeToX(end of lastPulse + endShift) and, for
// channel c, rows y1..y2 of 98c + (47..61 | 33..47 | 33..61) for rows 0, 1, 2.
// As with every line of the waveform, a span from a to b includes a and
// excludes b: the box covers the pixel columns x1 .. x2 - 1 and the pixel
// lines y1 .. y2 - 1, so the bit row and the byte row above it do not share a
// line. The result is that half-open rectangle intersected with the client
// area; its outline lies on its outermost pixels.
std::optional<QRect> LabelBoxArea(const LabelBox& box, int channel, const PulseStartTimes& startTimes,
                                  const OverlayPaintParams& params);

// Draws one labelled box: grey outline, light green fill and, centred on one
// line, the text when its rendered width fits the clipped box.
void DrawLabelBox(QPainter& painter, const OverlayPaintParams& params, int channel, const PulseStartTimes& startTimes,
                  const LabelBox& box);

// The annotation layer of all four channels: channels whose protocol is -1
// are skipped; every paint decodes the trains afresh. The painter's pen,
// brush, font and clipping are left as they were.
void DrawDecodeOverlay(QPainter& painter, const OverlayPaintParams& params, const ChannelTrains& channels,
                       const std::array<int, kChannelCount>& channelProtocol);
