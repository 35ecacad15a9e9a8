#pragma once

#include "analyzer/core/PulseTrain.h"

#include <QString>

#include <cstdint>

// One code as other tools' files hold it: a name and a train. Imported trains
// always start with a mark (entry 0 = 1).
struct NamedCode {
    QString name;
    PulseTrain train;
};

namespace interop {

// Longest duration a file may give.
constexpr int64_t kMaxDurationUs = 2147483647;
// Longest pulse the device measures (65535 units of 2 us). Silence longer than
// this after the last burst can be neither captured nor sent: readers drop
// it, so an imported code compares with a capture as the code test expects.
constexpr int64_t kLongestCapturableUs = 131070;
// Silence written after a code that ends with a burst where a format needs a
// closing space (Pronto pairs, the LIRC gap). Longer than anything the device
// captures, so reading the file back drops it again.
constexpr int32_t kClosingSilenceUs = 150000;
// The analyzer's default carrier and the range an export accepts.
constexpr int kDefaultCarrierHz = 38000;
constexpr int kMinCarrierHz = 10000;
constexpr int kMaxCarrierHz = 500000;
// A name longer than this in a file is refused rather than stored.
constexpr int kMaxNameLength = 256;

} // namespace interop
