#pragma once

#include "sim/model/BusEntry.h"

#include <usb.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace usbsim {

// The libusb-0.1 bus and device structs the host walks. A device struct is
// never freed: a host may hold a handle (or a stale pointer from an earlier
// walk) to a device that has left the bus, and must not read freed memory.
class BusView {
public:
    BusView();
    BusView(const BusView&) = delete;
    BusView& operator=(const BusView&) = delete;

    // Both return the number of changes since the last call, as libusb does.
    int UpdateBuses();
    int UpdateDevices(const std::vector<BusEntry>& entries);
    usb_bus* Buses() const { return busList; }
    // The enumeration key of a device struct this view handed out.
    std::optional<uint64_t> KeyOf(const struct usb_device* device) const;

private:
    usb_bus* BusNumbered(uint8_t number);
    struct usb_device* DeviceFor(const BusEntry& entry);

    std::vector<std::unique_ptr<usb_bus>> buses;
    usb_bus* busList = nullptr;
    std::map<uint64_t, std::unique_ptr<struct usb_device>> devices;
    std::map<const struct usb_device*, uint64_t> keys;
    std::vector<uint64_t> present;

    // The descriptors our device reports: one interface, bulk OUT 0x02 and bulk IN 0x81.
    usb_endpoint_descriptor endpoints[2];
    usb_interface_descriptor interfaceDescriptor;
    struct usb_interface interfaceEntry;
    usb_config_descriptor config;
};

} // namespace usbsim
