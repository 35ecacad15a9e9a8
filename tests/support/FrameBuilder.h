#pragma once

#include "analyzer/core/PulseTrain.h"
#include "analyzer/decode/TimingPattern.h"

#include <cstdint>
#include <initializer_list>
#include <random>
#include <vector>

// Builds pulse trains as a remote would send them: nominal durations from a
// protocol's patterns with seeded random jitter (default +-15 %).
class FrameBuilder {
public:
    explicit FrameBuilder(uint32_t seed = 1, int jitterPercent = 15);

    FrameBuilder& StartLevel(int32_t level);
    FrameBuilder& Pulse(int nominalUs);                  // jittered
    FrameBuilder& Exact(std::initializer_list<int> durationsUs);
    // The pattern's pulses, jittered; a nominal of 0 becomes `anyUs`.
    FrameBuilder& Pattern(const TimingPattern& pattern, int anyUs = 20000);
    // One pattern per bit, first bit first.
    FrameBuilder& Bits(const std::vector<int>& bits, const ProtocolDescriptor& protocol);
    // Bytes in received order, each most significant bit first.
    FrameBuilder& Bytes(const std::vector<uint8_t>& bytes, const ProtocolDescriptor& protocol);

    int PulseCount() const { return static_cast<int>(pulses.size()); }
    // Terminated by a 0 unless all 2047 pulses are used; extra pulses are dropped.
    PulseTrain Build() const;

private:
    std::mt19937 random;
    int jitterPercent;
    int32_t startLevel = 1;
    std::vector<int32_t> pulses;
};

std::vector<int> BitsOfBytes(const std::vector<uint8_t>& bytes);

// The exact nominal durations of an NEC key press (address, ~address,
// command, ~command), as a remote pressed on the simulated device sends them.
std::vector<int> NecKeyDurations(uint8_t address, uint8_t command);

// Whole frames of the table's protocols, jittered with `seed`.
FrameBuilder& AppendNecFrame(FrameBuilder& builder, const std::vector<uint8_t>& bytes, int protocolRow = 0);
FrameBuilder& AppendNecRepeat(FrameBuilder& builder, int protocolRow = 0);
PulseTrain NecTrain(const std::vector<uint8_t>& bytes, uint32_t seed = 1, int protocolRow = 0);
PulseTrain NecBitsTrain(const std::vector<int>& bits, uint32_t seed = 1);
// A held key: one frame, then repeat frames until the train is full.
PulseTrain HeldNecKeyTrain(const std::vector<uint8_t>& bytes, uint32_t seed = 1);
PulseTrain HaierTrain(const std::vector<uint8_t>& bytes, uint32_t seed = 1);
// Data bits with separators before the given slots (slot = position among the 41 pairs).
PulseTrain QuendarTrain(const std::vector<int>& bits, const std::vector<int>& separatorSlots, uint32_t seed = 1);
PulseTrain HitachiTrain(const std::vector<int>& bits, uint32_t seed = 1);
// The last bit's space runs into the gap after the frame.
PulseTrain SonyTrain(const std::vector<int>& bits, uint32_t seed = 1);
// Biphase; with `bitCount` < 12 the frame is cut and a stray 5 ms pulse follows.
PulseTrain Rc5Train(int toggle, int address, int command, uint32_t seed = 1, int bitCount = 12);
