#pragma once

#include <cstdint>
#include <vector>

namespace usbsim {

constexpr int kMaxCaptureBytes = 4096;
constexpr int kMaxCaptureDurations = 2047;

// The bytes the device reports for a capture: little-endian 16-bit words,
// word 0 the start level, then the durations in 2 us units (halved from us,
// remainder dropped, clamped to 1..65535), then one 0 word unless all 2047
// duration words are used. Durations past 2047 are dropped.
std::vector<uint8_t> EncodeCapture(int startLevel, const std::vector<int>& durationsUs);

// A transmitted train (start word and durations, no terminator) as the
// receiver would capture it: the same words plus the terminator, capped at
// 4096 bytes. An odd trailing byte is dropped.
std::vector<uint8_t> CaptureFromTransmittedTrain(const std::vector<uint8_t>& train);

} // namespace usbsim
