// The simulated device's daemon as any local program can reach it.
//
// Even first byte: the rest is the byte stream a client writes to the
// daemon's socket (length-prefixed requests, possibly cut short or lying
// about their length). The daemon's own session code answers it over a
// socket pair against a fresh device model; every reply must be a well-formed
// message and the model must stay within its bounds.
//
// Odd first byte: the rest is a series of bus listings as the preload
// library receives them (u16 length, then an Op::Bus reply); the bus lists it
// builds for the program must stay acyclic and hold each device once.

#include "fuzz/FuzzInput.h"
#include "sim/daemon/DaemonSession.h"
#include "sim/ipc/BusMessage.h"
#include "sim/ipc/Message.h"
#include "sim/usb/BusView.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace {

using namespace usbsim;

// Splits what came back into messages; each must start with a status byte.
void CheckReplies(const std::vector<uint8_t>& stream)
{
    size_t at = 0;
    while (at < stream.size()) {
        FuzzAssert(stream.size() - at >= 4);
        const uint32_t length = uint32_t(stream[at]) | uint32_t(stream[at + 1]) << 8 | uint32_t(stream[at + 2]) << 16
                                | uint32_t(stream[at + 3]) << 24;
        at += 4;
        FuzzAssert(length >= 1 && length <= kMaxMessageBytes && length <= stream.size() - at);
        FuzzAssert(stream[at] == kStatusOk || (stream[at] == kStatusBadRequest && length == 1));
        at += length;
    }
}

void ServeStream(const uint8_t* data, size_t size)
{
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
        return;
    DeviceModel model;
    std::thread server([&model, fd = fds[1]] { ServeClient(model, fd, 1, 42); });

    // Write the stream and read the replies at the same time, so that
    // neither side waits on a full socket buffer.
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    std::vector<uint8_t> replies;
    size_t written = 0;
    bool open = true;
    if (size == 0)
        shutdown(fds[0], SHUT_WR);
    uint8_t buffer[64 * 1024];
    while (open) {
        pollfd entry{fds[0], short(POLLIN | (written < size ? POLLOUT : 0)), 0};
        if (poll(&entry, 1, 10000) <= 0)
            break;
        if ((entry.revents & POLLOUT) && written < size) {
            const ssize_t sent = send(fds[0], data + written, size - written, MSG_NOSIGNAL);
            if (sent > 0)
                written += size_t(sent);
            else if (sent < 0 && errno != EAGAIN && errno != EINTR)
                written = size; // the daemon hung up
            if (written == size)
                shutdown(fds[0], SHUT_WR);
        }
        if (entry.revents & (POLLIN | POLLHUP | POLLERR)) {
            const ssize_t got = recv(fds[0], buffer, sizeof buffer, 0);
            if (got > 0)
                replies.insert(replies.end(), buffer, buffer + got);
            else if (got == 0 || (errno != EAGAIN && errno != EINTR))
                open = false;
        }
    }
    server.join();
    close(fds[0]);
    CheckReplies(replies);
    FuzzAssert(model.PendingCaptures() <= 64);
    FuzzAssert(model.OpenHandles() == 0); // the client left: its handles are closed
}

void BuildBuses(FuzzInput& in)
{
    BusView view;
    while (!in.Empty()) {
        const uint16_t length = in.U16();
        const QByteArray chunk = in.Take(length);
        const std::vector<uint8_t> reply(chunk.begin(), chunk.end());
        MessageReader reader(reply);
        const std::vector<BusEntry> entries = ReadBusEntries(reader);
        view.UpdateBuses();
        view.UpdateDevices(entries);
        size_t devices = 0;
        for (usb_bus* bus = view.Buses(); bus; bus = bus->next) {
            for (struct usb_device* device = bus->devices; device; device = device->next) {
                FuzzAssert(++devices <= entries.size());
                FuzzAssert(!device->next || device->next->prev == device);
                FuzzAssert(device->bus == bus);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    if (data[0] % 2 == 0) {
        ServeStream(data + 1, size - 1);
    } else {
        FuzzInput in(data + 1, size - 1);
        BuildBuses(in);
    }
    return 0;
}
