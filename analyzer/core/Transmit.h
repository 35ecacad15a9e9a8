#pragma once

#include "analyzer/core/PulseTrain.h"

#include <array>
#include <cstdint>

class CEPDevice;

using TransmitBuffer = std::array<uint8_t, 4096>;

// The one encoder for every sender: the start-level word, then each duration
// halved into a 2 us word (at most 0xFFFF), up to the first half that is 0. Returns the length
// in bytes, 2 * (pulses + 1).
int EncodeTrain(const PulseTrain& train, TransmitBuffer& buffer);

// Sends a train through the device's emitter; does nothing unless the device
// is identified. Returns what SendTrain reported.
bool TransmitTrain(CEPDevice& device, const PulseTrain& train);
