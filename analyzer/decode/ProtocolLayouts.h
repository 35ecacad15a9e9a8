#pragma once

#include "analyzer/decode/Annotation.h"

#include <cstdint>

// One layout per protocol; each decodes the train itself and appends to `out`
// only when the frame is acceptable.
void LayoutNecFamily(const ProtocolDescriptor& descriptor, const PulseTrain& train, ChannelAnnotation& out);
void LayoutHaier(const ProtocolDescriptor& descriptor, const PulseTrain& train, ChannelAnnotation& out);
void LayoutQuendar(const ProtocolDescriptor& descriptor, const PulseTrain& train, ChannelAnnotation& out);
void LayoutHitachi(const ProtocolDescriptor& descriptor, const PulseTrain& train, ChannelAnnotation& out);
void LayoutSonySirc(const ProtocolDescriptor& descriptor, const PulseTrain& train, ChannelAnnotation& out);
void LayoutPhilipsRc5(const ProtocolDescriptor& descriptor, const PulseTrain& train, ChannelAnnotation& out);

// Shared pieces of the layouts.
namespace layout {

QString Hex2(int value);          // "%02X"
QString ByteText(int value);      // "0x%02X"
QString BitText(int bit);         // "1" or "0"
QString CodePrefix(const ProtocolDescriptor& descriptor); // "Code: " plus the name
QString HexBytesSuffix(const uint8_t* bytes, int count); // " %02X" per byte

// Bit j of a buffer filled most significant bit first.
inline int BitAt(const uint8_t* bytes, int bit) { return (bytes[bit / 8] >> (7 - bit % 8)) & 1; }

void AddBox(ChannelAnnotation& out, int firstPulse, int lastPulse, int row, const QString& text,
            int64_t startShiftUs = 0, int64_t endShiftUs = 0);

// Bit j over pulses firstPulse(j) .. firstPulse(j) + 1, byte k over the
// sixteen pulses of its eight bits.
template <typename FirstPulseOfBit>
void AddBitBoxes(ChannelAnnotation& out, const uint8_t* bytes, int bitCount, FirstPulseOfBit firstPulse)
{
    for (int j = 0; j < bitCount; ++j)
        AddBox(out, firstPulse(j), firstPulse(j) + 1, kBitRow, BitText(BitAt(bytes, j)));
}

template <typename FirstPulseOfByte>
void AddByteBoxes(ChannelAnnotation& out, const uint8_t* bytes, int byteCount, FirstPulseOfByte firstPulse)
{
    for (int k = 0; k < byteCount; ++k)
        AddBox(out, firstPulse(k), firstPulse(k) + 15, kByteRow, ByteText(bytes[k]));
}

} // namespace layout
