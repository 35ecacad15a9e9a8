#include "sim/ipc/BusMessage.h"

#include <algorithm>

namespace usbsim {

void WriteBusEntries(MessageWriter& out, const std::vector<BusEntry>& entries)
{
    out.U32(static_cast<uint32_t>(entries.size()));
    for (const BusEntry& entry : entries)
        out.U8(entry.bus).U8(entry.deviceNumber).U16(entry.vendorId).U16(entry.productId).U64(entry.key);
}

std::vector<BusEntry> ReadBusEntries(MessageReader& in)
{
    const uint32_t count = std::min(in.U32(), kMaxBusEntries);
    std::vector<BusEntry> entries;
    for (uint32_t i = 0; i < count; ++i) {
        BusEntry entry;
        entry.bus = in.U8();
        entry.deviceNumber = in.U8();
        entry.vendorId = in.U16();
        entry.productId = in.U16();
        entry.key = in.U64();
        if (!in.Ok() || entry.bus == 0)
            return {};
        entries.push_back(entry);
    }
    return entries;
}

} // namespace usbsim
