#pragma once

#include "analyzer/core/PulseTrain.h"

#include <optional>

class CEPDevice;

// The designer's side of the device: one learned code per poll, and the code
// of a clicked button sent through the analyzer's transmit encoder.
namespace learn {

// One 100 ms learning poll: the code waiting in the identified device,
// converted as the analyzer converts a capture. Each read goes into a fresh
// zeroed buffer, so a short code never carries the tail of an earlier one.
// The device's waiting code is consumed whether or not anyone learns it.
std::optional<PulseTrain> ReadWaitingCode(CEPDevice& device);

} // namespace learn
