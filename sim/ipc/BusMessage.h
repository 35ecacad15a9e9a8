#pragma once

#include "sim/ipc/Message.h"
#include "sim/model/BusEntry.h"

#include <vector>

namespace usbsim {

// The devices on the simulated bus, as the daemon sends them (Op::Bus).
constexpr uint32_t kMaxBusEntries = 64;

void WriteBusEntries(MessageWriter& out, const std::vector<BusEntry>& entries);
// At most kMaxBusEntries entries; nothing when the reply is malformed.
std::vector<BusEntry> ReadBusEntries(MessageReader& in);

} // namespace usbsim
