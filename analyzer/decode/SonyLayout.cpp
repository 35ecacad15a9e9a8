#include "analyzer/decode/FrameDecoder.h"
#include "analyzer/decode/PatternMatch.h"
#include "analyzer/decode/ProtocolLayouts.h"

namespace {

// The last bit's space runs into the gap, so its box ends a nominal space
// (600 us) after its mark, and the Stop box starts there.
constexpr int kSpaceUs = 600;

void AddSonyBoxes(const PulseTrain& train, const uint8_t* bytes, int bits, int address, int command,
                  int addressLastPulse, ChannelAnnotation& out)
{
    const int lastMark = 2 * bits;     // pulse of the last bit's mark
    const int stopPulse = lastMark + 1;
    layout::AddBitBoxes(out, bytes, bits - 1, [](int j) { return 2 + 2 * j; });
    layout::AddBox(out, lastMark, lastMark, kBitRow, layout::BitText(layout::BitAt(bytes, bits - 1)), 0, kSpaceUs);
    layout::AddBox(out, 0, 1, kTallRow, QStringLiteral("Lead code"));
    layout::AddBox(out, 2, addressLastPulse, kByteRow, layout::ByteText(address));
    layout::AddBox(out, addressLastPulse + 1, lastMark, kByteRow, layout::ByteText(command), 0, kSpaceUs);
    if (PulseAt(train, stopPulse) != 0)
        layout::AddBox(out, stopPulse, stopPulse, kTallRow, QStringLiteral("Stop"), kSpaceUs, 0);
}

QString AddressCommandText(int address, int command)
{
    return QStringLiteral(" Address:") + layout::Hex2(address) + QStringLiteral(" Command:") + layout::Hex2(command);
}

} // namespace

void LayoutSonySirc(const ProtocolDescriptor& descriptor, const PulseTrain& train, ChannelAnnotation& out)
{
    uint8_t bytes[kSonyBufferBytes];
    const int bits = DecodeFrame(bytes, descriptor, train, kSonyBufferBytes);
    const QString prefix = layout::CodePrefix(descriptor);
    if (bits == 20) {
        out.codeLine = prefix + QStringLiteral("-20bit");
    } else if (bits == 15) {
        const int address = bytes[0];
        const int command = bytes[1] >> 1;
        out.codeLine = prefix + QStringLiteral("-15bit") + AddressCommandText(address, command);
        AddSonyBoxes(train, bytes, 15, address, command, 17, out);
    } else if (bits == 12) {
        const int address = bytes[0] >> 3;
        const int command = ((bytes[0] & 7) << 4) | (bytes[1] >> 4);
        out.codeLine = prefix + QStringLiteral("-12bit") + AddressCommandText(address, command);
        AddSonyBoxes(train, bytes, 12, address, command, 11, out);
    }
}
