// The in-process back-end: the libusb-0.1 calls reach one device model in
// the same process, which the tests drive through sim/SimControl.h.
#include "sim/inprocess/InProcessModel.h"
#include "sim/usb/UsbBackend.h"

#include <chrono>
#include <thread>

namespace usbsim {

// Never destroyed: a worker thread the program does not wait for at exit may
// still be talking to the device.
DeviceModel& InProcessModel()
{
    static DeviceModel* model = new DeviceModel();
    return *model;
}

namespace {

class InProcessBackend final : public UsbBackend {
public:
    std::vector<BusEntry> Bus() override { return model.Bus(); }
    int Open(uint64_t deviceKey, uint64_t&) override { return model.Open(deviceKey); }
    int Close(const usb_dev_handle& handle) override { return model.Close(handle.id); }
    int Claim(const usb_dev_handle& handle, int interface) override
    {
        return model.Claim(handle.id, interface);
    }
    int Release(const usb_dev_handle& handle, int interface) override
    {
        return model.Release(handle.id, interface);
    }
    TransferReply Control(const usb_dev_handle& handle, int requestType, int request, int value, int index,
                          int size, int timeoutMs) override
    {
        return model.Control(handle.id, requestType, request, value, index, size, timeoutMs);
    }
    int BulkWrite(const usb_dev_handle& handle, int endpoint, const uint8_t* bytes, int size, int timeoutMs) override
    {
        return model.BulkWrite(handle.id, endpoint, bytes, size, timeoutMs);
    }
    TransferReply BulkRead(const usb_dev_handle& handle, int endpoint, int size, int timeoutMs) override
    {
        return model.BulkRead(handle.id, endpoint, size, timeoutMs);
    }
    void TakeTransferTime() override
    {
        if (const int us = model.TransferTimeUs(); us > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(us));
    }

private:
    DeviceModel& model = InProcessModel();
};

} // namespace

UsbBackend& Backend()
{
    static InProcessBackend* backend = new InProcessBackend();
    return *backend;
}

} // namespace usbsim
