#pragma once

#include "analyzer/core/PulseTrain.h"
#include "analyzer/decode/TimingPattern.h"

#include <cstdint>

// Reads the data bits after the lead into `buffer` (zeroed first, first
// received bit = most significant bit of byte 0). With no buffer it only
// checks. Returns the number of bits read (41 slots for "Quendar-A", -1 from
// the generic recogniser), or 0 when the train is not a frame of this
// protocol. The lead itself is not matched again, except by the generic
// recogniser.
int DecodeFrame(uint8_t* buffer, const ProtocolDescriptor& descriptor, const PulseTrain& train, int bufferSize);

// Buffer sizes, in bytes, that hold every frame each protocol accepts.
constexpr int kNecBufferBytes = 11;
constexpr int kHaierBufferBytes = 11;
constexpr int kQuendarBufferBytes = 5;
constexpr int kHitachiBufferBytes = 43;
constexpr int kSonyBufferBytes = 3;
constexpr int kRc5BufferBytes = 2;
