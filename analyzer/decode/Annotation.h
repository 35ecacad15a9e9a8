#pragma once

#include "analyzer/core/PulseTrain.h"
#include "analyzer/decode/TimingPattern.h"

#include <QString>

#include <cstdint>
#include <vector>

// Rows of labelled boxes above a channel's trace.
enum LabelRow : int {
    kBitRow = 0,
    kByteRow = 1,
    kTallRow = 2,
};

// One labelled box: from the start of `firstPulse` plus `startShiftUs` to the
// end of `lastPulse` plus `endShiftUs` (pulse k is slot k + 1).
struct LabelBox {
    int firstPulse = 0;
    int lastPulse = 0;
    int row = kBitRow;
    int64_t startShiftUs = 0;
    int64_t endShiftUs = 0;
    QString text;

    bool operator==(const LabelBox& other) const
    {
        return firstPulse == other.firstPulse && lastPulse == other.lastPulse && row == other.row
               && startShiftUs == other.startShiftUs && endShiftUs == other.endShiftUs && text == other.text;
    }
};

// What the overlay draws for one channel: the code line and the boxes, in
// drawing order. Empty when the train is no acceptable frame.
struct ChannelAnnotation {
    int protocol = -1; // row of the protocol table
    QString codeLine;  // may be empty while boxes are drawn (failed NEC command check)
    std::vector<LabelBox> boxes;

    bool IsEmpty() const { return codeLine.isEmpty() && boxes.empty(); }
};

// Decodes the train as the protocol of the given table row and lays out its
// annotation. Nothing for an index outside the table.
ChannelAnnotation AnnotateChannel(const PulseTrain& train, int protocolIndex);

// The same for any descriptor, dispatching on its name; a name without a
// layout of its own shows only "Code: " and the name.
ChannelAnnotation AnnotateFrame(const PulseTrain& train, const ProtocolDescriptor& descriptor);
