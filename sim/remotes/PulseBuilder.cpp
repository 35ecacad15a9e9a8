#include "sim/remotes/PulseBuilder.h"

#include <algorithm>

namespace usbsim {

void PulseBuilder::Add(bool high, int us)
{
    if (us <= 0)
        return;
    elapsedUs += us;
    if (pulses.empty()) {
        if (!high)
            return; // silence before the first burst is idle time, not part of the capture
        pulses.push_back(us);
    } else if (high == lastHigh) {
        pulses.back() += us;
    } else {
        pulses.push_back(us);
    }
    lastHigh = high;
}

void PulseBuilder::Mark(int us)
{
    Add(true, us);
}

void PulseBuilder::Space(int us)
{
    Add(false, us);
}

void PulseBuilder::SpaceUntil(int64_t frameStartUs, int64_t periodUs, int minimumUs)
{
    const int64_t gap = std::max<int64_t>(minimumUs, frameStartUs + periodUs - elapsedUs);
    Space(static_cast<int>(std::min<int64_t>(gap, 1000000)));
}

std::vector<int> PulseBuilder::Finish() const
{
    std::vector<int> train = pulses;
    if (!train.empty() && !lastHigh)
        train.pop_back();
    return train;
}

std::vector<bool> BitsLsbFirst(uint32_t value, int count)
{
    std::vector<bool> bits;
    for (int i = 0; i < count; ++i)
        bits.push_back((value >> i) & 1U);
    return bits;
}

std::vector<bool> BytesLsbFirst(const std::vector<uint8_t>& bytes)
{
    std::vector<bool> bits;
    for (uint8_t byte : bytes)
        for (int i = 0; i < 8; ++i)
            bits.push_back((byte >> i) & 1U);
    return bits;
}

std::vector<bool> BytesMsbFirst(const std::vector<uint8_t>& bytes)
{
    std::vector<bool> bits;
    for (uint8_t byte : bytes)
        for (int i = 7; i >= 0; --i)
            bits.push_back((byte >> i) & 1U);
    return bits;
}

} // namespace usbsim
