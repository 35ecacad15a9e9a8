#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// A short expected sequence of pulses. `level` is the level of the first
// pulse (1 = high, the infrared burst); only its low 8 bits are compared.
// A nominal duration of 0 accepts any non-zero duration. An empty pattern
// (level 0, count 0) is a real value: it matches wherever the level is low.
struct TimingPattern {
    static constexpr int kMaxPulses = 8;

    int32_t level = 0;
    int32_t count = 0;
    std::array<int32_t, kMaxPulses> durations{};

    // Nominal of the last pulse, 0 for an empty pattern.
    constexpr int32_t LastNominal() const
    {
        return count > 0 && count <= kMaxPulses ? durations[static_cast<std::size_t>(count - 1)] : 0;
    }
};

// One protocol: its display name (also the identity decoding and display
// dispatch on) and its seven patterns.
struct ProtocolDescriptor {
    const wchar_t* name = nullptr;
    int32_t bitCount = 0; // nominal; the accepted frame lengths are the decoder's
    TimingPattern lead;
    TimingPattern zeroBit;
    TimingPattern oneBit;
    TimingPattern altFirstBit; // generic recogniser only
    TimingPattern separator;   // mid-frame header
    TimingPattern stop;        // after the last data bit, annotation only
    TimingPattern repeat;      // repeat frame, annotation only
};
