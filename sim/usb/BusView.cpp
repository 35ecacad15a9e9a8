#include "sim/usb/BusView.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace usbsim {

BusView::BusView()
{
    std::memset(endpoints, 0, sizeof endpoints);
    const uint8_t addresses[2] = {0x02, 0x81};
    for (int i = 0; i < 2; ++i) {
        endpoints[i].bLength = USB_DT_ENDPOINT_SIZE;
        endpoints[i].bDescriptorType = USB_DT_ENDPOINT;
        endpoints[i].bEndpointAddress = addresses[i];
        endpoints[i].bmAttributes = USB_ENDPOINT_TYPE_BULK;
        endpoints[i].wMaxPacketSize = 64;
    }
    std::memset(&interfaceDescriptor, 0, sizeof interfaceDescriptor);
    interfaceDescriptor.bLength = USB_DT_INTERFACE_SIZE;
    interfaceDescriptor.bDescriptorType = USB_DT_INTERFACE;
    interfaceDescriptor.bNumEndpoints = 2;
    interfaceDescriptor.bInterfaceClass = USB_CLASS_VENDOR_SPEC;
    interfaceDescriptor.endpoint = endpoints;
    interfaceEntry.altsetting = &interfaceDescriptor;
    interfaceEntry.num_altsetting = 1;
    std::memset(&config, 0, sizeof config);
    config.bLength = USB_DT_CONFIG_SIZE;
    config.bDescriptorType = USB_DT_CONFIG;
    config.wTotalLength = USB_DT_CONFIG_SIZE + USB_DT_INTERFACE_SIZE + 2 * USB_DT_ENDPOINT_SIZE;
    config.bNumInterfaces = 1;
    config.bConfigurationValue = 1;
    config.bmAttributes = 0x80;
    config.MaxPower = 50;
    config.interface = &interfaceEntry;
}

usb_bus* BusView::BusNumbered(uint8_t number)
{
    for (const auto& bus : buses)
        if (bus->location == number)
            return bus.get();
    auto bus = std::make_unique<usb_bus>();
    std::memset(bus.get(), 0, sizeof(usb_bus));
    std::snprintf(bus->dirname, sizeof bus->dirname, "%03u", static_cast<unsigned>(number));
    bus->location = number;
    buses.push_back(std::move(bus));
    std::sort(buses.begin(), buses.end(), [](const auto& a, const auto& b) { return a->location < b->location; });
    busList = nullptr;
    usb_bus* previous = nullptr;
    for (const auto& entry : buses) {
        entry->prev = previous;
        entry->next = nullptr;
        if (previous)
            previous->next = entry.get();
        else
            busList = entry.get();
        previous = entry.get();
    }
    return BusNumbered(number);
}

int BusView::UpdateBuses()
{
    const size_t before = buses.size();
    BusNumbered(1);
    BusNumbered(2);
    return static_cast<int>(buses.size() - before);
}

struct usb_device* BusView::DeviceFor(const BusEntry& entry)
{
    auto found = devices.find(entry.key);
    if (found != devices.end())
        return found->second.get();
    auto device = std::make_unique<struct usb_device>();
    std::memset(device.get(), 0, sizeof(struct usb_device));
    std::snprintf(device->filename, sizeof device->filename, "%03u", static_cast<unsigned>(entry.deviceNumber));
    device->bus = BusNumbered(entry.bus);
    device->devnum = entry.deviceNumber;
    usb_device_descriptor& d = device->descriptor;
    d.bLength = USB_DT_DEVICE_SIZE;
    d.bDescriptorType = USB_DT_DEVICE;
    d.bMaxPacketSize0 = 8;
    d.idVendor = entry.vendorId;
    d.idProduct = entry.productId;
    const bool ours = entry.vendorId == kDeviceVendorId && entry.productId == kDeviceProductId;
    d.bcdUSB = ours ? 0x0110 : 0x0200;
    d.bDeviceClass = entry.deviceNumber == 1 ? USB_CLASS_HUB : 0;
    if (ours) {
        d.bcdDevice = 0x0101;
        d.bNumConfigurations = 1;
        device->config = &config;
    }
    struct usb_device* pointer = device.get();
    keys[pointer] = entry.key;
    devices[entry.key] = std::move(device);
    return pointer;
}

int BusView::UpdateDevices(const std::vector<BusEntry>& entries)
{
    std::vector<uint64_t> now;
    for (const auto& bus : buses) {
        bus->devices = nullptr;
        bus->root_dev = nullptr;
    }
    std::map<usb_bus*, struct usb_device*> tails;
    for (const BusEntry& entry : entries) {
        // A device listed twice would be linked to itself, and a program
        // walking the list would never reach its end.
        if (std::find(now.begin(), now.end(), entry.key) != now.end())
            continue;
        struct usb_device* device = DeviceFor(entry);
        usb_bus* bus = device->bus;
        device->next = nullptr;
        device->prev = tails[bus];
        if (device->prev)
            device->prev->next = device;
        else
            bus->devices = device;
        tails[bus] = device;
        if (entry.deviceNumber == 1)
            bus->root_dev = device;
        now.push_back(entry.key);
    }
    // Devices that left keep their struct but are unlinked from every list.
    int changes = 0;
    for (uint64_t key : present) {
        if (std::find(now.begin(), now.end(), key) == now.end()) {
            struct usb_device* gone = devices[key].get();
            gone->next = gone->prev = nullptr;
            ++changes;
        }
    }
    for (uint64_t key : now)
        if (std::find(present.begin(), present.end(), key) == present.end())
            ++changes;
    present = std::move(now);
    return changes;
}

std::optional<uint64_t> BusView::KeyOf(const struct usb_device* device) const
{
    auto it = keys.find(device);
    if (it == keys.end())
        return std::nullopt;
    return it->second;
}

} // namespace usbsim
