#pragma once

#include "analyzer/decode/TimingPattern.h"

#include <QString>

namespace protocol_table_detail {
constexpr TimingPattern High(int32_t a, int32_t b) { return TimingPattern{1, 2, {a, b}}; }
constexpr TimingPattern High(int32_t a, int32_t b, int32_t c) { return TimingPattern{1, 3, {a, b, c}}; }
constexpr TimingPattern High(int32_t a, int32_t b, int32_t c, int32_t d) { return TimingPattern{1, 4, {a, b, c, d}}; }
constexpr TimingPattern Low(int32_t a, int32_t b) { return TimingPattern{0, 2, {a, b}}; }
constexpr TimingPattern LowAny() { return TimingPattern{0, 1, {0}}; }
constexpr TimingPattern Empty() { return TimingPattern{}; }

inline constexpr ProtocolDescriptor kTable[] = {
    //  name            bits  lead                            zeroBit          oneBit            alt      separator         stop          repeat
    {L"NEC",           32,  High(9000, 4500),              High(560, 560),  High(560, 1690),  Empty(), Empty(),          High(560, 0), High(9000, 2250)},
    {L"NEC1-X2",       32,  High(9024, 4512),              High(564, 565),  High(564, 1692),  Empty(), Empty(),          High(564, 0), High(9024, 2256)},
    {L"Haier",         88,  High(3040, 3040, 3020, 4400),  High(560, 560),  High(560, 1660),  Empty(), Empty(),          Empty(),      Empty()},
    {L"Quendar-A",     40,  High(3640, 1728),              High(620, 466),  High(620, 1030),  Empty(), High(3640, 1728), Empty(),      Empty()},
    {L"HITACHI",       344, High(3400, 1700),              High(450, 450),  High(450, 1230),  Empty(), Empty(),          Empty(),      Empty()},
    {L"Sony SIRC",     12,  High(2400, 600),               High(600, 600),  High(1200, 600),  Empty(), Empty(),          LowAny(),     Empty()},
    {L"Philips RC-5",  12,  High(889, 889, 889),           High(889, 889),  Low(889, 889),    Empty(), Empty(),          LowAny(),     Empty()},
    {nullptr,          0,   {},                            {},              {},               {},      {},               {},           {}},
};
} // namespace protocol_table_detail

// Protocols in the order they are tried; the entry with a null name ends the
// table. `channelProtocol` holds a row index of this table.
inline constexpr const auto& ProtocolTable = protocol_table_detail::kTable;

// Rows before the null-name end.
inline constexpr int kProtocolCount = 7;
static_assert(sizeof(ProtocolTable) / sizeof(ProtocolTable[0]) == kProtocolCount + 1,
              "the table ends with one null-name entry");

inline bool IsProtocolIndex(int index) { return index >= 0 && index < kProtocolCount; }

inline QString ProtocolName(const ProtocolDescriptor& descriptor)
{
    return descriptor.name ? QString::fromWCharArray(descriptor.name) : QString();
}
