#pragma once

#include "sim/model/BusEntry.h"
#include "sim/model/DeviceTypes.h"

#include <usb.h>

#include <cstdint>
#include <vector>

// What a program holds for an open device: the back-end's handle number, the
// connection it was opened on (0 in-process) and the device struct it came
// from.
struct usb_dev_handle {
    int id;
    uint64_t session;
    struct usb_device* device;
};

namespace usbsim {

// Where the libusb-0.1 entry points send a program's calls: the device model
// in the same process (the tests) or the daemon's (the preload library). The
// entry points check every argument first and make one call at a time.
class UsbBackend {
public:
    virtual ~UsbBackend() = default;

    virtual std::vector<BusEntry> Bus() = 0;
    // A handle number above 0, with the connection it belongs to, or a
    // negative errno.
    virtual int Open(uint64_t deviceKey, uint64_t& session) = 0;
    virtual int Close(const usb_dev_handle& handle) = 0;
    virtual int Claim(const usb_dev_handle& handle, int interface) = 0;
    virtual int Release(const usb_dev_handle& handle, int interface) = 0;
    // Transfers carry the caller's timeout: the device refuses to wait for ever.
    virtual TransferReply Control(const usb_dev_handle& handle, int requestType, int request, int value, int index,
                                  int size, int timeoutMs) = 0;
    virtual int BulkWrite(const usb_dev_handle& handle, int endpoint, const uint8_t* bytes, int size,
                          int timeoutMs) = 0;
    virtual TransferReply BulkRead(const usb_dev_handle& handle, int endpoint, int size, int timeoutMs) = 0;
    // After a transfer timed out, outside the entry points' lock.
    virtual void WaitOutTimeout(int /*timeoutMs*/) {}
    // After every transfer, outside the entry points' lock: the time the
    // transfer takes on the bus, during which other threads may go on.
    virtual void TakeTransferTime() {}
};

// The back-end of this library; each back-end defines it.
UsbBackend& Backend();

} // namespace usbsim
