#include "analyzer/decode/PatternMatch.h"
#include "analyzer/decode/ProtocolLayouts.h"

#include <array>

// Biphase: every bit is two half-bits of opposite level, and two equal
// neighbouring half-bits arrive as one double-length pulse. An extended match
// marks such a pulse; its second half is carried into the next bit through
// the first-pulse adjustment, and the pulse indexes of later bits shift down
// by one.
namespace {

constexpr int kBits = 12;

struct Rc5Bits {
    std::array<int, kBits> value{};
    std::array<MatchResult, kBits> result{};
    int firstCarryUs = 0;
};

bool DecodeRc5Bits(const ProtocolDescriptor& descriptor, const PulseTrain& train, Rc5Bits& out)
{
    const MatchResult lead = MatchPattern(StartLevelByte(train), descriptor.lead, train, 0);
    int carryUs = lead == kExtendedMatch ? descriptor.lead.LastNominal() : 0;
    int shift = lead == kExtendedMatch ? 1 : 0;
    out.firstCarryUs = carryUs;
    for (int n = 0; n < kBits; ++n) {
        const int m = 3 + 2 * n - shift;
        const int level = PulseLevel(train, m);
        const TimingPattern* matched = &descriptor.oneBit;
        MatchResult result = MatchPattern(level, descriptor.oneBit, train, m, -carryUs);
        out.value[n] = 1;
        if (result == kNoMatch) {
            matched = &descriptor.zeroBit;
            result = MatchPattern(level, descriptor.zeroBit, train, m, -carryUs);
            out.value[n] = 0;
        }
        if (result == kNoMatch)
            return false;
        out.result[n] = result;
        if (result == kExtendedMatch) {
            ++shift;
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
    for (int n = first; n <= last; ++n)
        value = (value << 1) | bits.value[n];
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
    const int toggle = bits.value[0];
    const int address = FieldValue(bits, 1, 5);
    const int command = FieldValue(bits, 6, 11);
    out.codeLine = layout::CodePrefix(descriptor) + QStringLiteral(" Address:") + layout::Hex2(address)
                   + QStringLiteral(" Command:") + layout::Hex2(command);

    layout::AddBox(out, 0, 2, kTallRow, QStringLiteral("Lead code"), 0, -bits.firstCarryUs);

    // A long pulse is split halfBitUs before its end between the two bits
    // that share it: `j` counts the merged pulses so far, `s` is where the
    // next box starts inside its first pulse.
    std::array<LabelBox, kBits> bitBoxes;
    int j = bits.firstCarryUs != 0 ? 1 : 0;
    int64_t s = bits.firstCarryUs != 0 ? int64_t(PulseAt(train, 2)) - halfBitUs : 0;
    for (int n = 0; n < kBits; ++n) {
        const int first = 2 * n - j + 3;
        const QString text = layout::BitText(bits.value[n]);
        if (bits.result[n] == kMatch) {
            bitBoxes[n] = LabelBox{first, first + 1, kBitRow, s, 0, text};
            s = 0;
        } else if (n < kBits - 1) {
            bitBoxes[n] = LabelBox{first, first + 1, kBitRow, s, -halfBitUs, text};
            s = int64_t(PulseAt(train, first + 1)) - halfBitUs;
            ++j;
        } else {
            bitBoxes[n] = LabelBox{first, first, kBitRow, s, halfBitUs, text};
            s = halfBitUs;
            ++j;
        }
        out.boxes.push_back(bitBoxes[n]);
    }

    LabelBox toggleBox = bitBoxes[0];
    toggleBox.row = kByteRow;
    toggleBox.text = layout::ByteText(toggle);
    out.boxes.push_back(toggleBox);
    out.boxes.push_back(Span(bitBoxes[1], bitBoxes[5], layout::ByteText(address)));
    out.boxes.push_back(Span(bitBoxes[6], bitBoxes[11], layout::ByteText(command)));

    // Drawn without a check, as the frame's last half-bit may end the capture.
    layout::AddBox(out, 27 - j, 27 - j, kTallRow, QStringLiteral("Stop"), s, 0);
}
