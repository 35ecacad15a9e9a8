// libusb-0.1 backed by the in-process device model: the tests link this in
// place of the system library.
#include "sim/usb/BusView.h"
#include "sim/usb/InProcessModel.h"
#include "sim/usb/UsbExport.h"

#include <cstring>
#include <mutex>
#include <set>
#include <string>

struct usb_dev_handle {
    int id;
    struct usb_device* device;
};

USBSIM_EXPORT_VARIABLE struct usb_bus* usb_busses = nullptr;

namespace usbsim {

// Neither is ever destroyed: a worker thread the program does not wait for
// at exit may still be talking to the device.
DeviceModel& InProcessModel()
{
    static DeviceModel* model = new DeviceModel();
    return *model;
}

namespace {

struct Frontend {
    std::mutex mutex;
    BusView view;
    std::set<usb_dev_handle*> handles;
};

Frontend& Front()
{
    static Frontend* frontend = new Frontend();
    return *frontend;
}

thread_local char lastError[128] = "no error";

int Failed(int result)
{
    if (result < 0)
        std::snprintf(lastError, sizeof lastError, "%s", std::strerror(-result));
    return result;
}

bool Valid(Frontend& front, usb_dev_handle* handle)
{
    return handle && front.handles.count(handle) != 0;
}

} // namespace
} // namespace usbsim

using usbsim::Failed;
using usbsim::Front;
using usbsim::InProcessModel;

USBSIM_EXPORT void usb_init(void)
{
    Front();
}

USBSIM_EXPORT void usb_set_debug(int)
{
}

USBSIM_EXPORT int usb_find_busses(void)
{
    auto& front = Front();
    std::lock_guard lock(front.mutex);
    const int changes = front.view.UpdateBuses();
    usb_busses = front.view.Buses();
    return changes;
}

USBSIM_EXPORT int usb_find_devices(void)
{
    auto& front = Front();
    std::lock_guard lock(front.mutex);
    const int changes = front.view.UpdateDevices(InProcessModel().Bus());
    usb_busses = front.view.Buses();
    return changes;
}

USBSIM_EXPORT struct usb_bus* usb_get_busses(void)
{
    return usb_busses;
}

USBSIM_EXPORT usb_dev_handle* usb_open(struct usb_device* device)
{
    auto& front = Front();
    std::lock_guard lock(front.mutex);
    const auto key = front.view.KeyOf(device);
    if (!key) {
        Failed(usbsim::kErrInvalid);
        return nullptr;
    }
    const int id = InProcessModel().Open(*key);
    if (id < 0) {
        Failed(id);
        return nullptr;
    }
    auto* handle = new usb_dev_handle{id, device};
    front.handles.insert(handle);
    return handle;
}

USBSIM_EXPORT int usb_close(usb_dev_handle* handle)
{
    auto& front = Front();
    std::lock_guard lock(front.mutex);
    if (!front.handles.erase(handle))
        return Failed(usbsim::kErrInvalid);
    InProcessModel().Close(handle->id);
    delete handle;
    return 0;
}

USBSIM_EXPORT struct usb_device* usb_device(usb_dev_handle* handle)
{
    auto& front = Front();
    std::lock_guard lock(front.mutex);
    return usbsim::Valid(front, handle) ? handle->device : nullptr;
}

USBSIM_EXPORT int usb_claim_interface(usb_dev_handle* handle, int interface)
{
    auto& front = Front();
    std::lock_guard lock(front.mutex);
    if (!usbsim::Valid(front, handle))
        return Failed(usbsim::kErrInvalid);
    return Failed(InProcessModel().Claim(handle->id, interface));
}

USBSIM_EXPORT int usb_release_interface(usb_dev_handle* handle, int interface)
{
    auto& front = Front();
    std::lock_guard lock(front.mutex);
    if (!usbsim::Valid(front, handle))
        return Failed(usbsim::kErrInvalid);
    return Failed(InProcessModel().Release(handle->id, interface));
}

USBSIM_EXPORT int usb_control_msg(usb_dev_handle* handle, int requesttype, int request, int value, int index,
                                  char* bytes, int size, int /*timeout*/)
{
    auto& front = Front();
    std::lock_guard lock(front.mutex);
    if (!usbsim::Valid(front, handle) || size < 0 || (size > 0 && !bytes))
        return Failed(usbsim::kErrInvalid);
    const auto reply = InProcessModel().Control(handle->id, requesttype, request, value, index, size);
    if (!reply.data.empty())
        std::memcpy(bytes, reply.data.data(), reply.data.size());
    return Failed(reply.result);
}

USBSIM_EXPORT int usb_bulk_write(usb_dev_handle* handle, int ep, const char* bytes, int size, int /*timeout*/)
{
    auto& front = Front();
    std::lock_guard lock(front.mutex);
    if (!usbsim::Valid(front, handle) || size < 0 || (size > 0 && !bytes))
        return Failed(usbsim::kErrInvalid);
    return Failed(InProcessModel().BulkWrite(handle->id, ep, reinterpret_cast<const uint8_t*>(bytes), size));
}

USBSIM_EXPORT int usb_bulk_read(usb_dev_handle* handle, int ep, char* bytes, int size, int /*timeout*/)
{
    auto& front = Front();
    std::lock_guard lock(front.mutex);
    if (!usbsim::Valid(front, handle) || size < 0 || (size > 0 && !bytes))
        return Failed(usbsim::kErrInvalid);
    const auto reply = InProcessModel().BulkRead(handle->id, ep, size);
    if (!reply.data.empty())
        std::memcpy(bytes, reply.data.data(), reply.data.size());
    return Failed(reply.result);
}

USBSIM_EXPORT char* usb_strerror(void)
{
    return usbsim::lastError;
}
