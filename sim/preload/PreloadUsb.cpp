// libusb-0.1 for LD_PRELOAD: every call goes to the daemon that hosts the
// simulated device, so unchanged programs see it on their bus. No daemon
// means no device, never a crash or a long wait.
#include "sim/ipc/DaemonClient.h"
#include "sim/usb/BusView.h"
#include "sim/usb/UsbExport.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>

struct usb_dev_handle {
    int id;
    uint64_t session;
    struct usb_device* device;
};

USBSIM_EXPORT_VARIABLE struct usb_bus* usb_busses = nullptr;

namespace usbsim {
namespace {

constexpr int kCallTimeoutMs = 1000;
constexpr uint32_t kMaxBusEntries = 64;
constexpr int kErrNoDevice = -19;
constexpr int kErrInvalid = -22;
constexpr int kErrTimeout = -110;

struct Preload {
    std::mutex mutex;
    BusView view;
    std::set<usb_dev_handle*> handles;
    DaemonClient client{DefaultSocketPath(), program_invocation_short_name, kCallTimeoutMs};
};

Preload& State()
{
    static Preload* state = new Preload(); // outlives static destructors of the host program
    return *state;
}

thread_local char lastError[128] = "no error";

int Failed(int result)
{
    if (result < 0)
        std::snprintf(lastError, sizeof lastError, "%s", std::strerror(-result));
    return result;
}

// A simulated timeout takes as long as a real one would.
int WaitIfTimedOut(int result, int timeoutMs)
{
    if (result == kErrTimeout && timeoutMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(timeoutMs, kCallTimeoutMs)));
    return Failed(result);
}

std::vector<BusEntry> FetchBus(DaemonClient& client)
{
    std::vector<uint8_t> reply;
    if (!client.Call(MessageWriter().U8(static_cast<uint8_t>(Op::Bus)).Data(), reply))
        return {};
    MessageReader in(reply);
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

// Sends a request about an open handle; the result the daemon gave, or
// "no device" when the daemon is gone or restarted since the open.
int HandleCall(Preload& state, const usb_dev_handle* handle, const std::vector<uint8_t>& request,
               std::vector<uint8_t>* data = nullptr, int maxData = 0)
{
    std::vector<uint8_t> reply;
    if (!state.client.CallInSession(handle->session, request, reply))
        return kErrNoDevice;
    MessageReader in(reply);
    const int result = in.I32();
    if (data) {
        *data = in.Bytes();
        if (data->size() > static_cast<size_t>(std::max(0, maxData)))
            data->resize(static_cast<size_t>(std::max(0, maxData)));
    }
    return in.Ok() ? result : kErrNoDevice;
}

bool Valid(Preload& state, usb_dev_handle* handle)
{
    return handle && state.handles.count(handle) != 0;
}

MessageWriter Request(Op op, const usb_dev_handle* handle)
{
    MessageWriter writer;
    writer.U8(static_cast<uint8_t>(op)).I32(handle->id);
    return writer;
}

} // namespace
} // namespace usbsim

using namespace usbsim;

USBSIM_EXPORT void usb_init(void)
{
    State();
}

USBSIM_EXPORT void usb_set_debug(int)
{
}

USBSIM_EXPORT int usb_find_busses(void)
{
    Preload& state = State();
    std::lock_guard lock(state.mutex);
    const int changes = state.view.UpdateBuses();
    usb_busses = state.view.Buses();
    return changes;
}

USBSIM_EXPORT int usb_find_devices(void)
{
    Preload& state = State();
    std::lock_guard lock(state.mutex);
    const int changes = state.view.UpdateDevices(FetchBus(state.client));
    usb_busses = state.view.Buses();
    return changes;
}

USBSIM_EXPORT struct usb_bus* usb_get_busses(void)
{
    return usb_busses;
}

USBSIM_EXPORT usb_dev_handle* usb_open(struct usb_device* device)
{
    Preload& state = State();
    std::lock_guard lock(state.mutex);
    const auto key = state.view.KeyOf(device);
    if (!key) {
        Failed(kErrInvalid);
        return nullptr;
    }
    std::vector<uint8_t> reply;
    uint64_t session = 0;
    if (!state.client.Call(MessageWriter().U8(static_cast<uint8_t>(Op::Open)).U64(*key).Data(), reply, &session)) {
        Failed(kErrNoDevice);
        return nullptr;
    }
    MessageReader in(reply);
    const int id = in.I32();
    if (!in.Ok() || id <= 0) {
        Failed(in.Ok() && id < 0 ? id : kErrNoDevice);
        return nullptr;
    }
    auto* handle = new usb_dev_handle{id, session, device};
    state.handles.insert(handle);
    return handle;
}

USBSIM_EXPORT int usb_close(usb_dev_handle* handle)
{
    Preload& state = State();
    std::lock_guard lock(state.mutex);
    if (!state.handles.erase(handle))
        return Failed(kErrInvalid);
    HandleCall(state, handle, Request(Op::Close, handle).Data());
    delete handle;
    return 0;
}

USBSIM_EXPORT struct usb_device* usb_device(usb_dev_handle* handle)
{
    Preload& state = State();
    std::lock_guard lock(state.mutex);
    return Valid(state, handle) ? handle->device : nullptr;
}

USBSIM_EXPORT int usb_claim_interface(usb_dev_handle* handle, int interface)
{
    Preload& state = State();
    std::lock_guard lock(state.mutex);
    if (!Valid(state, handle))
        return Failed(kErrInvalid);
    return Failed(HandleCall(state, handle, Request(Op::Claim, handle).I32(interface).Data()));
}

USBSIM_EXPORT int usb_release_interface(usb_dev_handle* handle, int interface)
{
    Preload& state = State();
    std::lock_guard lock(state.mutex);
    if (!Valid(state, handle))
        return Failed(kErrInvalid);
    return Failed(HandleCall(state, handle, Request(Op::Release, handle).I32(interface).Data()));
}

USBSIM_EXPORT int usb_control_msg(usb_dev_handle* handle, int requesttype, int request, int value, int index,
                                  char* bytes, int size, int timeout)
{
    Preload& state = State();
    int result = kErrInvalid;
    {
        std::lock_guard lock(state.mutex);
        if (!Valid(state, handle) || size < 0 || (size > 0 && !bytes))
            return Failed(kErrInvalid);
        std::vector<uint8_t> data;
        result = HandleCall(state, handle,
                            Request(Op::Control, handle).I32(requesttype).I32(request).I32(value).I32(index)
                                .I32(size).Data(),
                            &data, size);
        if (!data.empty())
            std::memcpy(bytes, data.data(), data.size());
    }
    return WaitIfTimedOut(result, timeout);
}

USBSIM_EXPORT int usb_bulk_write(usb_dev_handle* handle, int ep, const char* bytes, int size, int timeout)
{
    Preload& state = State();
    int result = kErrInvalid;
    {
        std::lock_guard lock(state.mutex);
        if (!Valid(state, handle) || size < 0 || (size > 0 && !bytes))
            return Failed(kErrInvalid);
        result = HandleCall(state, handle,
                            Request(Op::BulkWrite, handle)
                                .I32(ep)
                                .Bytes(reinterpret_cast<const uint8_t*>(bytes), static_cast<size_t>(size))
                                .Data());
    }
    return WaitIfTimedOut(result, timeout);
}

USBSIM_EXPORT int usb_bulk_read(usb_dev_handle* handle, int ep, char* bytes, int size, int timeout)
{
    Preload& state = State();
    int result = kErrInvalid;
    {
        std::lock_guard lock(state.mutex);
        if (!Valid(state, handle) || size < 0 || (size > 0 && !bytes))
            return Failed(kErrInvalid);
        std::vector<uint8_t> data;
        result = HandleCall(state, handle, Request(Op::BulkRead, handle).I32(ep).I32(size).Data(), &data, size);
        if (!data.empty())
            std::memcpy(bytes, data.data(), data.size());
    }
    return WaitIfTimedOut(result, timeout);
}

USBSIM_EXPORT char* usb_strerror(void)
{
    return lastError;
}
