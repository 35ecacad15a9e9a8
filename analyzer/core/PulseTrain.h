#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// One channel's capture or one stored code: entry 0 is the start level,
// entries 1..2047 are pulse durations in microseconds with alternating levels.
// The first zero entry (index >= 1) ends the train. Every reader stops there
// or after entry 2047, whichever comes first.
struct PulseTrain {
    static constexpr int kEntries = 2048;
    static constexpr int kMaxPulses = 2047;

    std::array<int32_t, kEntries> entries{};

    int32_t& operator[](int i) { return entries[static_cast<std::size_t>(i)]; }
    int32_t operator[](int i) const { return entries[static_cast<std::size_t>(i)]; }

    bool StartsHigh() const { return entries[0] != 0; }

    // Level of entry i (1..2047): high exactly when (entry 0 != 0) == (i is odd).
    bool IsHigh(int i) const { return StartsHigh() == ((i & 1) != 0); }

    int PulseCount() const
    {
        int n = 0;
        while (n < kMaxPulses && entries[static_cast<std::size_t>(n) + 1] != 0)
            ++n;
        return n;
    }

    // Sum of the pulses, in 64 bits so that no file content can overflow it.
    int64_t TotalDurationUs() const
    {
        int64_t total = 0;
        for (int i = 1; i <= kMaxPulses && entries[static_cast<std::size_t>(i)] != 0; ++i)
            total += entries[static_cast<std::size_t>(i)];
        return total;
    }

    void Clear() { entries.fill(0); }

    bool operator==(const PulseTrain& other) const { return entries == other.entries; }
    bool operator!=(const PulseTrain& other) const { return !(*this == other); }
};

static_assert(sizeof(PulseTrain) == 8192, "a PulseTrain is the 8192-byte memory image of a channel");
