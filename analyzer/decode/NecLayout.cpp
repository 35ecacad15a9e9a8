#include "analyzer/decode/FrameDecoder.h"
#include "analyzer/decode/PatternMatch.h"
#include "analyzer/decode/ProtocolLayouts.h"

namespace {

bool IsInverse(uint8_t a, uint8_t b) { return a == static_cast<uint8_t>(~b); }

// Address and command checks of a 32-bit frame: standard NEC carries the
// inverse of both bytes, the extended form an address of two bytes. No line
// when the command check fails.
QString NecCodeLine(const uint8_t* b)
{
    using layout::Hex2;
    if (!IsInverse(b[2], b[3]))
        return {};
    if (IsInverse(b[0], b[1]))
        return QStringLiteral("Code: NEC Address:") + Hex2(b[0]) + QStringLiteral(" Command:") + Hex2(b[2]);
    return QStringLiteral("Code: NEC1-X2 Address:") + Hex2(b[1]) + Hex2(b[0]) + QStringLiteral(" Command:")
           + Hex2(b[2]);
}

// A held key repeats Stop, Repeat, Stop, ... until the capture ends.
void AddTrailer(const ProtocolDescriptor& descriptor, const PulseTrain& train, int bits, ChannelAnnotation& out)
{
    int s = 2 + 2 * bits;
    while (s < PulseTrain::kMaxPulses) {
        if (MatchPattern(1, descriptor.stop, train, s) == kNoMatch)
            break;
        layout::AddBox(out, s, s + 1, kTallRow, QStringLiteral("Stop"));
        s += 2;
        if (MatchPattern(1, descriptor.repeat, train, s) == kNoMatch)
            break;
        layout::AddBox(out, s, s + 1, kTallRow, QStringLiteral("Repeat"));
        s += 2;
    }
}

} // namespace

void LayoutNecFamily(const ProtocolDescriptor& descriptor, const PulseTrain& train, ChannelAnnotation& out)
{
    uint8_t bytes[kNecBufferBytes];
    const int bits = DecodeFrame(bytes, descriptor, train, kNecBufferBytes);
    if (bits <= 0)
        return;
    const int byteCount = bits / 8;
    if (bits == 32)
        out.codeLine = NecCodeLine(bytes);
    else
        out.codeLine = QStringLiteral("Code: NULL") + layout::HexBytesSuffix(bytes, byteCount);

    layout::AddBitBoxes(out, bytes, bits, [](int j) { return 2 + 2 * j; });
    layout::AddBox(out, 0, 1, kTallRow, QStringLiteral("Lead code"));
    layout::AddByteBoxes(out, bytes, byteCount, [](int k) { return 2 + 16 * k; });
    AddTrailer(descriptor, train, bits, out);
}
