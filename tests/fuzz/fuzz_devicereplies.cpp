// Device replies as a broken or hostile device (or a broken libusb) may give
// them. This file is the program's libusb-0.1: every result comes from the
// fuzzer - negative, zero, short, exact, oversized - and every data byte too;
// the buses it lists change from scan to scan, devices come and go, and a
// list may even loop. The real device code runs on top: discovery, the
// device monitor, capture polling, transmit, firmware and the identity reads.
//
// The stand-in checks the host's side of the contract: only open handles
// are used, interface 0 is claimed around bulk transfers, every transfer has
// a timeout, the buffers are as large as the host says (the address
// sanitizer sees every byte written), and every handle is closed at the end.

#include "analyzer/core/Acquisition.h"
#include "analyzer/core/DeviceMonitor.h"
#include "analyzer/core/Transmit.h"
#include "device/USBDevice.h"
#include "fuzz/FuzzInput.h"

#include <usb.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <set>

struct usb_dev_handle {
    bool claimed = false;
};

namespace {

struct StandIn {
    explicit StandIn(FuzzInput& in) : in(in) {}

    FuzzInput& in;
    std::array<usb_bus, 2> buses{};
    std::array<struct usb_device, 6> devices{};
    std::set<usb_dev_handle*> open;

    // A libusb result: an error, nothing, or a count around `size`.
    int Result(int size)
    {
        static constexpr int kErrors[] = {-ENODEV, -ETIMEDOUT, -EPIPE, -EIO, -EBUSY, -1, INT_MIN};
        const uint8_t mode = in.U8();
        switch (mode % 8) {
        case 0: return kErrors[(mode / 8) % (sizeof kErrors / sizeof kErrors[0])];
        case 1: return 0;
        case 2: return size > INT_MAX - 256 ? INT_MAX : size + 1 + in.U8(); // oversized
        case 3: return size > 0 ? in.U16() % size : 0;                       // short
        default: return size;
        }
    }

    // Fills at most `size` bytes of the caller's buffer, the count the
    // result claims or less.
    int Reply(char* bytes, int size)
    {
        const int result = Result(size);
        const int filled = std::min(std::max(result, 0), size);
        for (int i = 0; i < filled; ++i)
            bytes[i] = static_cast<char>(in.U8());
        return result;
    }

    void Check(usb_dev_handle* handle) { FuzzAssert(open.count(handle) == 1); }
};

StandIn* standIn = nullptr;

constexpr const char* kFileNames[] = {"001", "002", "005", "127"};

} // namespace

extern "C" {

void usb_init(void) {}
void usb_set_debug(int) {}
int usb_find_busses(void) { return 0; }

// Each scan lists a new set: our device, others, at old or new places.
int usb_find_devices(void)
{
    StandIn& s = *standIn;
    for (size_t b = 0; b < s.buses.size(); ++b) {
        usb_bus& bus = s.buses[b];
        std::snprintf(bus.dirname, sizeof bus.dirname, "%03zu", b + 1);
        bus.next = b + 1 < s.buses.size() ? &s.buses[b + 1] : nullptr;
        bus.devices = nullptr;
    }
    struct usb_device* tails[2] = {};
    const int count = s.in.U8() % (s.devices.size() + 1);
    for (int d = 0; d < count; ++d) {
        struct usb_device& device = s.devices[size_t(d)];
        const uint8_t shape = s.in.U8();
        device = {};
        device.descriptor.idVendor = shape & 1 ? 0x16C0 : s.in.U16();
        device.descriptor.idProduct = shape & 2 ? 0x1012 : s.in.U16();
        std::snprintf(device.filename, sizeof device.filename, "%s", kFileNames[(shape >> 2) & 3]);
        usb_bus& bus = s.buses[(shape >> 4) & 1];
        device.bus = &bus;
        struct usb_device*& tail = tails[(shape >> 4) & 1];
        if (tail)
            tail->next = &device;
        else
            bus.devices = &device;
        tail = &device;
    }
    // A list that loops back: the walk must still end.
    if (count > 1 && (s.in.U8() & 0x0F) == 0 && tails[0])
        tails[0]->next = s.buses[0].devices;
    return count;
}

struct usb_bus* usb_get_busses(void) { return &standIn->buses[0]; }

usb_dev_handle* usb_open(struct usb_device*)
{
    if (standIn->in.U8() % 8 == 0)
        return nullptr;
    auto* handle = new usb_dev_handle;
    standIn->open.insert(handle);
    return handle;
}

int usb_close(usb_dev_handle* handle)
{
    standIn->Check(handle);
    standIn->open.erase(handle);
    delete handle;
    return 0;
}

int usb_claim_interface(usb_dev_handle* handle, int interface)
{
    standIn->Check(handle);
    FuzzAssert(interface == 0 && !handle->claimed);
    const int result = standIn->Result(0);
    if (result < 0)
        return result;
    handle->claimed = true;
    return 0;
}

int usb_release_interface(usb_dev_handle* handle, int interface)
{
    standIn->Check(handle);
    FuzzAssert(interface == 0 && handle->claimed);
    handle->claimed = false;
    return 0;
}

int usb_control_msg(usb_dev_handle* handle, int, int, int, int, char* bytes, int size, int timeout)
{
    standIn->Check(handle);
    FuzzAssert(size >= 0 && timeout > 0);
    return standIn->Reply(bytes, size);
}

int usb_bulk_write(usb_dev_handle* handle, int, const char* bytes, int size, int timeout)
{
    standIn->Check(handle);
    FuzzAssert(handle->claimed && size >= 0 && timeout > 0);
    unsigned sum = 0;
    for (int i = 0; i < size; ++i) // every byte the host says it sends is readable
        sum += static_cast<unsigned char>(bytes[i]);
    (void)sum;
    return standIn->Result(size);
}

int usb_bulk_read(usb_dev_handle* handle, int, char* bytes, int size, int timeout)
{
    standIn->Check(handle);
    FuzzAssert(handle->claimed && size >= 0 && timeout > 0);
    return standIn->Reply(bytes, size);
}

char* usb_strerror(void)
{
    static char text[] = "fuzzed";
    return text;
}

} // extern "C"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    StandIn stand(in);
    standIn = &stand;
    CEPDevice::SetFrameSequence(0);
    {
        CEPDevice device;
        CaptureState state;
        state.capturing = true;
        AnalyzerSettings settings;
        settings.captureMode = static_cast<CaptureMode>(in.U8() % 3);
        settings.triggerMode = static_cast<TriggerMode>(in.U8() % 6);
        settings.minPulseWidth = in.I32();
        settings.maxPulseWidth = in.I32();
        bool shown = false;
        for (int step = 0; step < 32 && !in.Empty(); ++step) {
            switch (in.U8() % 8) {
            case 0: device.FindDevice(); break;
            case 1: DeviceMonitorTick(device, settings, shown); break;
            case 2: {
                if (PollCapture(state, settings, device, nullptr) == PollOutcome::Stored) {
                    const PulseTrain& train = state.channels[0];
                    FuzzAssert(train[0] >= 0 && train[0] <= 0xFFFF);
                    for (int i = 1; i <= PulseTrain::kMaxPulses; ++i)
                        FuzzAssert(train[i] >= 0 && train[i] <= 2 * 0xFFFF && train[i] % 2 == 0);
                }
                break;
            }
            case 3: TransmitTrain(device, state.channels[0]); break;
            case 4: {
                std::vector<uint8_t> image(size_t(in.U8()) * 37, 0x5A);
                device.WriteFirmware(image.data(), image.size());
                break;
            }
            case 5: device.Signal(); break;
            case 6: device.ListMatchingDevices(); break;
            default:
                if (device.Identify()) {
                    const DeviceIdentity identity = device.Identity();
                    FuzzAssert(identity.deviceName.size() <= CEPDevice::kReplySize);
                    FuzzAssert(identity.deviceVersion.size() <= CEPDevice::kReplySize);
                    FuzzAssert(identity.deviceSerial.size() == 10 && identity.deviceType.size() == 4);
                }
                break;
            }
        }
    }
    FuzzAssert(stand.open.empty()); // the device closed every handle it opened
    standIn = nullptr;
    return 0;
}
