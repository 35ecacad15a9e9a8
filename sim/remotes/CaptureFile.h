#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace usbsim {

// One channel of a capture file (*.lgc): records of 8196 bytes, a 32-bit
// channel index then 2048 little-endian 32-bit entries (start level, then
// durations in us up to the first 0).
struct CaptureChannel {
    uint32_t channel = 0; // 0..3
    int32_t startLevel = 0;
    std::vector<int> durationsUs;
};

// The channels a file names, a later record for a channel replacing an
// earlier one; records with an index above 3 and a trailing partial record
// are skipped. Nothing when the file cannot be read or is no regular file.
std::optional<std::vector<CaptureChannel>> ReadCaptureFile(const std::string& path);

} // namespace usbsim
