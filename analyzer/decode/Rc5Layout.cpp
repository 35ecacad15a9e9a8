#include "analyzer/decode/PatternMatch.h"
#include "analyzer/decode/ProtocolLayouts.h"

#include <array>

// Biphase: every bit is two half-bits of opposite level, and two equal
// neighbouring half-bits arrive as one double-length pulse. An extended match
// marks such a pulse; its second half is carried into the next bit through
// the first-pulse adjustment, and the pulse indexes of later bits shift down
// by one.
namespace {

// After the three pulses of the lead: the toggle bit, five address bits and
// six command bits, most significant first.
constexpr int kLeadPulses = 3;
constexpr int kBits = 12;
constexpr int kToggleBit = 0;
constexpr int kFirstAddressBit = 1;
constexpr int kLastAddressBit = 5;
constexpr int kFirstCommandBit = 6;
constexpr int kLastCommandBit = 11;

struct Rc5Bits {
    std::array<int, kBits> value{};
    std::array<MatchResult, kBits> result{};
    int firstCarryUs = 0; // what the lead's last pulse carried into bit 0
};

// A capture ends on silence, so a frame whose last bit is 0 (burst, then
// silence) may end with that bit's burst: no pulse follows for its second
// half-bit. The burst alone then decides the bit.
bool EndsOnFirstHalfOfZero(const ProtocolDescriptor& descriptor, const PulseTrain& train, int level, int firstPulse,
                           int carryUs)
{
    if (PulseAt(train, firstPulse + 1) != 0 || descriptor.zeroBit.count < 1)
        return false;
    const TimingPattern firstHalf{descriptor.zeroBit.level, 1, {descriptor.zeroBit.durations[0]}};
    return MatchPattern(level, firstHalf, train, firstPulse, -carryUs) == kMatch;
}

bool DecodeRc5Bits(const ProtocolDescriptor& descriptor, const PulseTrain& train, Rc5Bits& out)
{
    const MatchResult lead = MatchPattern(StartLevelByte(train), descriptor.lead, train, 0);
    int carryUs = lead == kExtendedMatch ? descriptor.lead.LastNominal() : 0;
    int mergedPulses = lead == kExtendedMatch ? 1 : 0;
    out.firstCarryUs = carryUs;
    for (int bit = 0; bit < kBits; ++bit) {
        const int firstPulse = kLeadPulses + 2 * bit - mergedPulses;
        const int level = PulseLevel(train, firstPulse);
        const TimingPattern* matched = &descriptor.oneBit;
        MatchResult result = MatchPattern(level, descriptor.oneBit, train, firstPulse, -carryUs);
        out.value[bit] = 1;
        if (result == kNoMatch) {
            matched = &descriptor.zeroBit;
            result = MatchPattern(level, descriptor.zeroBit, train, firstPulse, -carryUs);
            out.value[bit] = 0;
        }
        // Laid out as a last bit whose second half runs into the silence.
        if (result == kNoMatch && bit == kBits - 1 && EndsOnFirstHalfOfZero(descriptor, train, level, firstPulse, carryUs))
            result = kExtendedMatch;
        if (result == kNoMatch)
            return false;
        out.result[bit] = result;
        if (result == kExtendedMatch) {
            ++mergedPulses;
            carryUs = matched->LastNominal();
        } else {
            carryUs = 0;
        }
    }
    return true;
}

int FieldValue(const Rc5Bits& bits, int first, int last)
{
    int value = 0;
    for (int bit = first; bit <= last; ++bit)
        value = (value << 1) | bits.value[bit];
    return value;
}

LabelBox Span(const LabelBox& from, const LabelBox& to, const QString& text)
{
    return LabelBox{from.firstPulse, to.lastPulse, kByteRow, from.startShiftUs, to.endShiftUs, text};
}

} // namespace

void LayoutPhilipsRc5(const ProtocolDescriptor& descriptor, const PulseTrain& train, ChannelAnnotation& out)
{
    Rc5Bits bits;
    if (!DecodeRc5Bits(descriptor, train, bits))
        return;
    const int halfBitUs = descriptor.lead.LastNominal();
    const int toggle = bits.value[kToggleBit];
    const int address = FieldValue(bits, kFirstAddressBit, kLastAddressBit);
    const int command = FieldValue(bits, kFirstCommandBit, kLastCommandBit);
    out.codeLine = layout::CodePrefix(descriptor) + QStringLiteral(" Address:") + layout::Hex2(address)
                   + QStringLiteral(" Command:") + layout::Hex2(command);

    layout::AddBox(out, 0, kLeadPulses - 1, kTallRow, QStringLiteral("Lead code"), 0, -bits.firstCarryUs);

    // A long pulse is split halfBitUs before its end between the two bits
    // that share it: `mergedPulses` counts the long pulses so far, and
    // `startShiftUs` is where the next box starts inside its first pulse.
    std::array<LabelBox, kBits> bitBoxes;
    const bool leadCarries = bits.firstCarryUs != 0;
    int mergedPulses = leadCarries ? 1 : 0;
    int64_t startShiftUs = leadCarries ? int64_t(PulseAt(train, kLeadPulses - 1)) - halfBitUs : 0;
    for (int bit = 0; bit < kBits; ++bit) {
        const int first = kLeadPulses + 2 * bit - mergedPulses;
        const QString text = layout::BitText(bits.value[bit]);
        if (bits.result[bit] == kMatch) {
            bitBoxes[bit] = LabelBox{first, first + 1, kBitRow, startShiftUs, 0, text};
            startShiftUs = 0;
        } else if (bit < kBits - 1) {
            // The bit's second half-bit is the first half of the long pulse.
            bitBoxes[bit] = LabelBox{first, first + 1, kBitRow, startShiftUs, -halfBitUs, text};
            startShiftUs = int64_t(PulseAt(train, first + 1)) - halfBitUs;
            ++mergedPulses;
        } else {
            // The last bit's long pulse runs into the silence after the frame.
            bitBoxes[bit] = LabelBox{first, first, kBitRow, startShiftUs, halfBitUs, text};
            startShiftUs = halfBitUs;
            ++mergedPulses;
        }
        out.boxes.push_back(bitBoxes[bit]);
    }

    LabelBox toggleBox = bitBoxes[kToggleBit];
    toggleBox.row = kByteRow;
    toggleBox.text = layout::ByteText(toggle);
    out.boxes.push_back(toggleBox);
    out.boxes.push_back(Span(bitBoxes[kFirstAddressBit], bitBoxes[kLastAddressBit], layout::ByteText(address)));
    out.boxes.push_back(Span(bitBoxes[kFirstCommandBit], bitBoxes[kLastCommandBit], layout::ByteText(command)));

    // Drawn without a check, as the frame's last half-bit may end the capture.
    const int stopPulse = kLeadPulses + 2 * kBits - mergedPulses;
    layout::AddBox(out, stopPulse, stopPulse, kTallRow, QStringLiteral("Stop"), startShiftUs, 0);
}
