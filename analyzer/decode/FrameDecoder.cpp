#include "analyzer/decode/FrameDecoder.h"

#include "analyzer/decode/PatternMatch.h"
#include "analyzer/decode/ProtocolKind.h"

#include <algorithm>
#include <cstring>

namespace {

// Where decoded bits go: most significant bit first, in the order received.
// Without a buffer every bit "fits", so checking reads as far as decoding.
class BitSink {
public:
    BitSink(uint8_t* target, int targetBytes) : buffer(target), sizeBytes(std::max(targetBytes, 0))
    {
        if (buffer && sizeBytes > 0)
            std::memset(buffer, 0, static_cast<std::size_t>(sizeBytes));
    }

    bool CanHold(int bit) const { return !buffer || bit / 8 < sizeBytes; }

    void SetOne(int bit)
    {
        if (buffer && bit >= 0 && CanHold(bit))
            buffer[bit / 8] |= static_cast<uint8_t>(0x80u >> (bit % 8));
    }

private:
    uint8_t* buffer;
    int sizeBytes;
};

int FirstDataPulse(const ProtocolDescriptor& descriptor)
{
    return std::clamp(descriptor.lead.count, 0, TimingPattern::kMaxPulses);
}

struct PulseDistanceRules {
    int slotLimit;
    bool acceptExtended;
    bool (*acceptsCount)(int bits);
};

bool NecCount(int bits) { return bits == 32 || bits == 40 || bits == 88; }
bool HaierCount(int bits) { return bits == 88; }
bool HitachiCount(int bits) { return bits >= 8 && bits <= 344 && bits % 8 == 0; }
bool SonyCount(int bits) { return bits == 12 || bits == 15 || bits == 20; }

int DecodePulseDistance(BitSink& sink, const ProtocolDescriptor& descriptor, const PulseTrain& train,
                        const PulseDistanceRules& rules)
{
    const int p0 = FirstDataPulse(descriptor);
    int bits = 0;
    for (int slot = 0; slot < rules.slotLimit; ++slot) {
        const int position = p0 + 2 * slot;
        auto fits = [&](const TimingPattern& pattern) {
            const MatchResult result = MatchPattern(1, pattern, train, position);
            return result == kMatch || (rules.acceptExtended && result == kExtendedMatch);
        };
        // The one-bit is tried first: a pair that fits both reads as 1.
        if (fits(descriptor.oneBit)) {
            if (!sink.CanHold(slot))
                break;
            sink.SetOne(slot);
        } else if (!fits(descriptor.zeroBit)) {
            break;
        }
        ++bits;
    }
    return rules.acceptsCount(bits) ? bits : 0;
}

// 40 data bits and exactly one separator, which may stand in any of the 41 slots.
int DecodeQuendar(BitSink& sink, const ProtocolDescriptor& descriptor, const PulseTrain& train)
{
    constexpr int kSlots = 41;
    const int p0 = FirstDataPulse(descriptor);
    int separators = 0;
    int slotsRead = 0;
    for (int slot = 0; slot < kSlots; ++slot) {
        const int position = p0 + 2 * slot;
        const int bit = slot - separators;
        if (MatchPattern(1, descriptor.oneBit, train, position) == kMatch) {
            // A separator-less frame would put its 41st bit past a 5-byte
            // buffer; the sink drops it and the frame is rejected below.
            sink.SetOne(bit);
        } else if (MatchPattern(1, descriptor.zeroBit, train, position) == kMatch) {
            // a 0 bit: the buffer is already zero
        } else if (MatchPattern(1, descriptor.separator, train, position) == kMatch) {
            ++separators;
        } else {
            break;
        }
        ++slotsRead;
    }
    return slotsRead == kSlots && separators == 1 ? kSlots : 0;
}

// Reads no bits: only says whether the first bit after the lead is plausible.
int RecogniseGeneric(const ProtocolDescriptor& descriptor, const PulseTrain& train)
{
    const MatchResult lead = MatchPattern(StartLevelByte(train), descriptor.lead, train, 0);
    if (lead == kNoMatch)
        return 0;
    const int p0 = FirstDataPulse(descriptor);
    if (lead == kMatch) {
        const int level = PulseLevel(train, p0);
        const bool plausible = MatchPattern(level, descriptor.zeroBit, train, p0) != kNoMatch
                               || MatchPattern(level, descriptor.oneBit, train, p0) != kNoMatch
                               || MatchPattern(level, descriptor.altFirstBit, train, p0) != kNoMatch;
        return plausible ? -1 : 0;
    }
    // The lead's last pulse ran into the first half-bit: match that rest.
    const int longPulse = p0 - 1;
    const MatchResult rest = MatchPattern(PulseLevel(train, longPulse), descriptor.zeroBit, train, longPulse,
                                          -descriptor.lead.LastNominal());
    return rest != kNoMatch ? -1 : 0;
}

} // namespace

int DecodeFrame(uint8_t* buffer, const ProtocolDescriptor& descriptor, const PulseTrain& train, int bufferSize)
{
    BitSink sink(buffer, bufferSize);
    switch (KindOf(descriptor)) {
    case ProtocolKind::NecFamily:
        return DecodePulseDistance(sink, descriptor, train, {88, false, NecCount});
    case ProtocolKind::Haier:
        return DecodePulseDistance(sink, descriptor, train, {88, false, HaierCount});
    case ProtocolKind::Hitachi:
        return DecodePulseDistance(sink, descriptor, train, {344, false, HitachiCount});
    case ProtocolKind::SonySirc:
        // The space of the last bit may run into the gap after the frame.
        return DecodePulseDistance(sink, descriptor, train, {20, true, SonyCount});
    case ProtocolKind::QuendarA:
        return DecodeQuendar(sink, descriptor, train);
    case ProtocolKind::PhilipsRc5:
    case ProtocolKind::Other:
        break;
    }
    return RecogniseGeneric(descriptor, train);
}
