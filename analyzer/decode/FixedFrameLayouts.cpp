#include "analyzer/decode/FrameDecoder.h"
#include "analyzer/decode/ProtocolLayouts.h"

void LayoutHaier(const ProtocolDescriptor& descriptor, const PulseTrain& train, ChannelAnnotation& out)
{
    uint8_t bytes[kHaierBufferBytes];
    if (DecodeFrame(bytes, descriptor, train, kHaierBufferBytes) != 88)
        return;
    out.codeLine = layout::CodePrefix(descriptor) + layout::HexBytesSuffix(bytes, 11);
    layout::AddBitBoxes(out, bytes, 88, [](int j) { return 4 + 2 * j; });
    layout::AddBox(out, 0, 3, kTallRow, QStringLiteral("Lead code"));
    layout::AddByteBoxes(out, bytes, 11, [](int k) { return 4 + 16 * k; });
}

// The boxes place the separator after the 24th bit, wherever the frame had it.
void LayoutQuendar(const ProtocolDescriptor& descriptor, const PulseTrain& train, ChannelAnnotation& out)
{
    uint8_t bytes[kQuendarBufferBytes];
    if (DecodeFrame(bytes, descriptor, train, kQuendarBufferBytes) == 0)
        return;
    out.codeLine = layout::CodePrefix(descriptor) + layout::HexBytesSuffix(bytes, 5);
    layout::AddBitBoxes(out, bytes, 40, [](int j) { return j < 24 ? 2 + 2 * j : 4 + 2 * j; });
    layout::AddBox(out, 0, 1, kTallRow, QStringLiteral("Lead code"));
    layout::AddBox(out, 50, 51, kTallRow, QStringLiteral("Space"));
    layout::AddByteBoxes(out, bytes, 5, [](int k) { return k < 3 ? 2 + 16 * k : 4 + 16 * k; });
}

void LayoutHitachi(const ProtocolDescriptor& descriptor, const PulseTrain& train, ChannelAnnotation& out)
{
    uint8_t bytes[kHitachiBufferBytes];
    const int bits = DecodeFrame(bytes, descriptor, train, kHitachiBufferBytes);
    if (bits <= 0)
        return;
    const int byteCount = bits / 8;
    out.codeLine = layout::CodePrefix(descriptor) + layout::HexBytesSuffix(bytes, byteCount);
    layout::AddBitBoxes(out, bytes, 8 * byteCount, [](int j) { return 2 + 2 * j; });
    layout::AddBox(out, 0, 1, kTallRow, QStringLiteral("Lead code"));
    layout::AddByteBoxes(out, bytes, byteCount, [](int k) { return 2 + 16 * k; });
}
