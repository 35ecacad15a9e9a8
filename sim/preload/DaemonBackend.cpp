// The daemon back-end, for LD_PRELOAD: every libusb-0.1 call goes to the
// daemon that hosts the simulated device, so unchanged programs see it on
// their bus. No daemon means no device, never a crash or a long wait.
#include "sim/ipc/BusMessage.h"
#include "sim/ipc/DaemonClient.h"
#include "sim/usb/UsbBackend.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

namespace usbsim {
namespace {

constexpr int kCallTimeoutMs = 1000;

MessageWriter Request(Op op)
{
    MessageWriter writer;
    writer.U8(static_cast<uint8_t>(op));
    return writer;
}

MessageWriter Request(Op op, const usb_dev_handle& handle)
{
    MessageWriter writer = Request(op);
    writer.I32(handle.id);
    return writer;
}

class DaemonBackend : public UsbBackend {
public:
    std::vector<BusEntry> Bus() override;
    int Open(uint64_t deviceKey, uint64_t& session) override;
    int Close(const usb_dev_handle& handle) override { return Call(handle, Request(Op::Close, handle)).result; }
    int Claim(const usb_dev_handle& handle, int interface) override
    {
        return Call(handle, Request(Op::Claim, handle).I32(interface)).result;
    }
    int Release(const usb_dev_handle& handle, int interface) override
    {
        return Call(handle, Request(Op::Release, handle).I32(interface)).result;
    }
    TransferReply Control(const usb_dev_handle& handle, int requestType, int request, int value, int index,
                          int size, int timeoutMs) override
    {
        return Call(handle,
                    Request(Op::Control, handle).I32(requestType).I32(request).I32(value).I32(index).I32(size).I32(timeoutMs),
                    true);
    }
    int BulkWrite(const usb_dev_handle& handle, int endpoint, const uint8_t* bytes, int size, int timeoutMs) override
    {
        return Call(handle, Request(Op::BulkWrite, handle).I32(endpoint).Bytes(bytes, static_cast<size_t>(size)).I32(timeoutMs))
            .result;
    }
    TransferReply BulkRead(const usb_dev_handle& handle, int endpoint, int size, int timeoutMs) override
    {
        return Call(handle, Request(Op::BulkRead, handle).I32(endpoint).I32(size).I32(timeoutMs), true);
    }
    // A simulated timeout takes as long as a real one would.
    void WaitOutTimeout(int timeoutMs) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(timeoutMs, kCallTimeoutMs)));
    }

private:
    // A request about an open handle: the daemon's result (and the bytes that
    // follow it), or "no device" when the daemon is gone or restarted since
    // the open.
    TransferReply Call(const usb_dev_handle& handle, const MessageWriter& request, bool withData = false);

    DaemonClient client{DefaultSocketPath(), program_invocation_short_name, kCallTimeoutMs};
};

std::vector<BusEntry> DaemonBackend::Bus()
{
    std::vector<uint8_t> reply;
    if (!client.Call(Request(Op::Bus).Data(), reply))
        return {};
    MessageReader in(reply);
    return ReadBusEntries(in);
}

int DaemonBackend::Open(uint64_t deviceKey, uint64_t& session)
{
    std::vector<uint8_t> reply;
    if (!client.Call(Request(Op::Open).U64(deviceKey).Data(), reply, &session))
        return kErrNoDevice;
    MessageReader in(reply);
    const int id = in.I32();
    return in.Ok() ? id : kErrNoDevice;
}

TransferReply DaemonBackend::Call(const usb_dev_handle& handle, const MessageWriter& request, bool withData)
{
    TransferReply answer;
    std::vector<uint8_t> reply;
    if (!client.CallInSession(handle.session, request.Data(), reply)) {
        answer.result = kErrNoDevice;
        return answer;
    }
    MessageReader in(reply);
    answer.result = in.I32();
    if (withData)
        answer.data = in.Bytes();
    if (!in.Ok())
        answer.result = kErrNoDevice;
    return answer;
}

} // namespace

UsbBackend& Backend()
{
    static DaemonBackend* backend = new DaemonBackend(); // outlives static destructors of the host program
    return *backend;
}

} // namespace usbsim
