#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace usbsim {

// Builds an IR burst train as the receiver sees it: marks (burst, high) and
// spaces (silence, low) alternating, starting with a mark. Neighbouring
// pulses of the same level merge, as they do on the air.
class PulseBuilder {
public:
    void Mark(int us);
    void Space(int us);
    // Silence until `periodUs` after `frameStartUs`, so frames repeat at a
    // fixed start-to-start period; at least `minimumUs` of silence.
    void SpaceUntil(int64_t frameStartUs, int64_t periodUs, int minimumUs = 2000);
    int64_t ElapsedUs() const { return elapsedUs; }
    size_t PulseCount() const { return pulses.size(); }
    // The train without its trailing space: the device ends a capture on silence.
    std::vector<int> Finish() const;

private:
    void Add(bool high, int us);

    std::vector<int> pulses;
    bool lastHigh = false;
    int64_t elapsedUs = 0;
};

// Bits of `value`, least significant first.
std::vector<bool> BitsLsbFirst(uint32_t value, int count);
// Bytes in order, each least significant bit first (NEC, Sony).
std::vector<bool> BytesLsbFirst(const std::vector<uint8_t>& bytes);
// Bytes in order, each most significant bit first.
std::vector<bool> BytesMsbFirst(const std::vector<uint8_t>& bytes);

} // namespace usbsim
