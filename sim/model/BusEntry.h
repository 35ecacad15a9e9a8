#pragma once

#include <cstdint>

namespace usbsim {

// One device on the simulated buses as the host enumerates it. The key is
// unique per enumeration: a device that re-enumerates gets a new key (and a
// new device number), so handles to its previous life stop working.
struct BusEntry {
    uint8_t bus = 0;
    uint8_t deviceNumber = 0;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint64_t key = 0;
};

constexpr uint16_t kDeviceVendorId = 0x16C0;
constexpr uint16_t kDeviceProductId = 0x1012;

} // namespace usbsim
