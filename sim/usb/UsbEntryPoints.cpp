// The libusb-0.1 functions the programs call, written once over a back-end.
// They are the only symbols the simulated libraries export.
#include "sim/usb/BusView.h"
#include "sim/usb/UsbBackend.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>

#define USBSIM_EXPORT extern "C" __attribute__((visibility("default")))
#define USBSIM_EXPORT_VARIABLE __attribute__((visibility("default")))

USBSIM_EXPORT_VARIABLE struct usb_bus* usb_busses = nullptr;

namespace usbsim {
namespace {

struct EntryState {
    UsbBackend& backend = Backend();
    std::mutex mutex;
    BusView view;
    std::set<usb_dev_handle*> handles;
};

// Never destroyed: a worker thread the program does not wait for at exit may
// still be talking to the device.
EntryState& State()
{
    static EntryState* state = new EntryState();
    return *state;
}

thread_local char lastError[128] = "no error";

int Failed(int result)
{
    if (result < 0)
        std::snprintf(lastError, sizeof lastError, "%s", std::strerror(-result));
    return result;
}

// A handle this library handed out and has not closed yet.
bool Valid(EntryState& state, usb_dev_handle* handle)
{
    return handle && state.handles.count(handle) != 0;
}

bool ValidBuffer(const char* bytes, int size)
{
    return size >= 0 && (size == 0 || bytes);
}

// Copies what came back into the caller's buffer of `size` bytes.
int Deliver(const TransferReply& reply, char* bytes, int size)
{
    const size_t length = std::min(reply.data.size(), static_cast<size_t>(size));
    if (length > 0)
        std::memcpy(bytes, reply.data.data(), length);
    return reply.result;
}

// Makes a call about a handle this library handed out, under the lock.
template <typename Call>
int OnHandle(usb_dev_handle* handle, Call call)
{
    EntryState& state = State();
    std::lock_guard lock(state.mutex);
    if (!Valid(state, handle))
        return Failed(kErrInvalid);
    return Failed(call(state.backend));
}

// The same for a transfer, whose buffer is checked too; a timeout takes its
// time outside the lock, so that other threads are not held up meanwhile.
template <typename Call>
int Transfer(usb_dev_handle* handle, const char* bytes, int size, int timeoutMs, Call call)
{
    EntryState& state = State();
    int result = kErrInvalid;
    {
        std::lock_guard lock(state.mutex);
        if (!Valid(state, handle) || !ValidBuffer(bytes, size))
            return Failed(kErrInvalid);
        result = call(state.backend);
    }
    if (result == kErrTimeout && timeoutMs > 0)
        state.backend.WaitOutTimeout(timeoutMs);
    else
        state.backend.TakeTransferTime();
    return Failed(result);
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
    EntryState& state = State();
    std::lock_guard lock(state.mutex);
    const int changes = state.view.UpdateBuses();
    usb_busses = state.view.Buses();
    return changes;
}

USBSIM_EXPORT int usb_find_devices(void)
{
    EntryState& state = State();
    std::lock_guard lock(state.mutex);
    const int changes = state.view.UpdateDevices(state.backend.Bus());
    usb_busses = state.view.Buses();
    return changes;
}

USBSIM_EXPORT struct usb_bus* usb_get_busses(void)
{
    return usb_busses;
}

USBSIM_EXPORT usb_dev_handle* usb_open(struct usb_device* device)
{
    EntryState& state = State();
    std::lock_guard lock(state.mutex);
    const auto key = state.view.KeyOf(device);
    if (!key) {
        Failed(kErrInvalid);
        return nullptr;
    }
    uint64_t session = 0;
    const int id = state.backend.Open(*key, session);
    if (id <= 0) {
        Failed(id < 0 ? id : kErrNoDevice);
        return nullptr;
    }
    auto* handle = new usb_dev_handle{id, session, device};
    state.handles.insert(handle);
    return handle;
}

USBSIM_EXPORT int usb_close(usb_dev_handle* handle)
{
    EntryState& state = State();
    std::lock_guard lock(state.mutex);
    if (!state.handles.erase(handle))
        return Failed(kErrInvalid);
    state.backend.Close(*handle);
    delete handle;
    return 0;
}

USBSIM_EXPORT struct usb_device* usb_device(usb_dev_handle* handle)
{
    EntryState& state = State();
    std::lock_guard lock(state.mutex);
    return Valid(state, handle) ? handle->device : nullptr;
}

USBSIM_EXPORT int usb_claim_interface(usb_dev_handle* handle, int interface)
{
    return OnHandle(handle, [&](UsbBackend& backend) { return backend.Claim(*handle, interface); });
}

USBSIM_EXPORT int usb_release_interface(usb_dev_handle* handle, int interface)
{
    return OnHandle(handle, [&](UsbBackend& backend) { return backend.Release(*handle, interface); });
}

USBSIM_EXPORT int usb_control_msg(usb_dev_handle* handle, int requesttype, int request, int value, int index,
                                  char* bytes, int size, int timeout)
{
    return Transfer(handle, bytes, size, timeout, [&](UsbBackend& backend) {
        return Deliver(backend.Control(*handle, requesttype, request, value, index, size, timeout), bytes, size);
    });
}

USBSIM_EXPORT int usb_bulk_write(usb_dev_handle* handle, int ep, const char* bytes, int size, int timeout)
{
    return Transfer(handle, bytes, size, timeout, [&](UsbBackend& backend) {
        return backend.BulkWrite(*handle, ep, reinterpret_cast<const uint8_t*>(bytes), size, timeout);
    });
}

USBSIM_EXPORT int usb_bulk_read(usb_dev_handle* handle, int ep, char* bytes, int size, int timeout)
{
    return Transfer(handle, bytes, size, timeout, [&](UsbBackend& backend) {
        return Deliver(backend.BulkRead(*handle, ep, size, timeout), bytes, size);
    });
}

USBSIM_EXPORT char* usb_strerror(void)
{
    return lastError;
}
