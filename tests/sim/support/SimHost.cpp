#include "SimHost.h"

#include <algorithm>

namespace simtest {

Bytes CommandFrame(uint8_t sequence, const Bytes& payload)
{
    Bytes frame{0x1B, sequence, static_cast<uint8_t>(payload.size()), 0x00, 0x0E};
    frame.insert(frame.end(), payload.begin(), payload.end());
    uint8_t x = 0;
    for (uint8_t b : frame)
        x ^= b;
    frame.push_back(x);
    return frame;
}

struct usb_device* FindDevice()
{
    usb_find_busses();
    usb_find_devices();
    for (usb_bus* bus = usb_get_busses(); bus; bus = bus->next)
        for (struct usb_device* dev = bus->devices; dev; dev = dev->next)
            if (dev->descriptor.idVendor == 0x16C0 && dev->descriptor.idProduct == 0x1012)
                return dev;
    return nullptr;
}

bool Host::Open()
{
    Close();
    if (struct usb_device* dev = FindDevice())
        handle = usb_open(dev);
    return handle != nullptr;
}

void Host::Close()
{
    if (handle)
        usb_close(handle);
    handle = nullptr;
}

int Host::Control(int request, int value, Bytes& reply, int size, int requestType, int index)
{
    char buffer[64] = {};
    const int result =
        usb_control_msg(handle, requestType, request, value, index, buffer, std::min(size, 64), 1000);
    reply.assign(buffer, buffer + std::clamp(result, 0, std::min(size, 64)));
    return result;
}

int Host::Write(const Bytes& bytes, int endpoint)
{
    const bool claimed = usb_claim_interface(handle, 0) == 0;
    const int result = usb_bulk_write(handle, endpoint, reinterpret_cast<const char*>(bytes.data()),
                                      static_cast<int>(bytes.size()), 1000);
    if (claimed)
        usb_release_interface(handle, 0);
    return result;
}

int Host::Read(Bytes& bytes, int size, int endpoint)
{
    bytes.assign(static_cast<size_t>(size), 0);
    const bool claimed = usb_claim_interface(handle, 0) == 0;
    const int result = usb_bulk_read(handle, endpoint, reinterpret_cast<char*>(bytes.data()), size, 1000);
    if (claimed)
        usb_release_interface(handle, 0);
    bytes.resize(static_cast<size_t>(std::clamp(result, 0, size)));
    return result;
}

} // namespace simtest
