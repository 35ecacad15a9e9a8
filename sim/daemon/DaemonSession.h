#pragma once

#include "sim/model/DeviceModel.h"

#include <cstdint>
#include <set>
#include <vector>

namespace usbsim {

class MessageReader;
class MessageWriter;

// One connected program (or tool invocation). Any local program can talk to
// the socket, so every request is untrusted: each handler reads its fields
// and writes its reply after the status byte; false refuses the request.
class DaemonSession {
public:
    DaemonSession(DeviceModel& model, int owner, uint64_t id) : model(model), owner(owner), id(id) {}

    // The reply to one request message.
    std::vector<uint8_t> Handle(const std::vector<uint8_t>& request);

private:
    bool Owns(int handle) const { return handles.count(handle) != 0; }

    // The programs' libusb calls.
    bool Hello(MessageReader& in, MessageWriter& out);
    bool Bus(MessageWriter& out);
    bool Open(MessageReader& in, MessageWriter& out);
    bool Close(MessageReader& in, MessageWriter& out);
    bool ClaimOrRelease(bool claim, MessageReader& in, MessageWriter& out);
    bool Control(MessageReader& in, MessageWriter& out);
    bool BulkWrite(MessageReader& in, MessageWriter& out);
    bool BulkRead(MessageReader& in, MessageWriter& out);
    // The tool's commands.
    bool Fault(MessageReader& in);
    bool QueueCapture(MessageReader& in, MessageWriter& out);
    bool Log(MessageReader& in, MessageWriter& out);
    bool Identity(MessageReader& in, MessageWriter& out);
    bool Loopback(MessageReader& in, MessageWriter& out);
    bool Firmware(MessageReader& in, MessageWriter& out);

    DeviceModel& model;
    int owner;
    uint64_t id;
    std::set<int> handles;
};

// Answers the requests arriving on fd until the client leaves, then closes
// fd and the client's handles. A client may stay idle between requests as
// long as it likes, but a message once begun must arrive within
// kMessageDeadlineMs.
void ServeClient(DeviceModel& model, int fd, int owner, uint64_t id);

} // namespace usbsim
