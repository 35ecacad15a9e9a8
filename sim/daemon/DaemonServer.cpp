#include "sim/daemon/DaemonServer.h"

#include "sim/ipc/Message.h"
#include "sim/ipc/Socket.h"
#include "sim/model/DeviceModel.h"
#include "sim/model/FaultNames.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <set>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace usbsim {

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(signalPipe[1], &byte, 1);
}

// One connected program (or tool invocation). Each request handler reads
// its fields and writes its reply after the status byte; false refuses the
// request.
class Session {
public:
    Session(DeviceModel& model, int owner, uint64_t id) : model(model), owner(owner), id(id) {}

    std::vector<uint8_t> Handle(const std::vector<uint8_t>& request);

private:
    bool Owns(int handle) const { return handles.count(handle) != 0; }

    // The programs' libusb calls.
    bool Hello(MessageReader& in, MessageWriter& out);
    bool Bus(MessageWriter& out);
    bool Open(MessageReader& in, MessageWriter& out);
    bool Close(MessageReader& in, MessageWriter& out);
    bool ClaimOrRelease(Op op, MessageReader& in, MessageWriter& out);
    bool Control(MessageReader& in, MessageWriter& out);
    bool BulkWrite(MessageReader& in, MessageWriter& out);
    bool BulkRead(MessageReader& in, MessageWriter& out);
    // The tool's commands.
    bool Fault(MessageReader& in);
    bool QueueCapture(MessageReader& in, MessageWriter& out);
    bool Log(MessageReader& in, MessageWriter& out);
    bool Identity(MessageReader& in, MessageWriter& out);
    bool Loopback(MessageReader& in, MessageWriter& out);

    DeviceModel& model;
    int owner;
    uint64_t id;
    std::set<int> handles;
};

std::vector<uint8_t> Session::Handle(const std::vector<uint8_t>& request)
{
    MessageReader in(request);
    MessageWriter out;
    out.U8(kStatusOk);
    bool accepted = true;
    const auto op = static_cast<Op>(in.U8());
    switch (op) {
    case Op::Hello: accepted = Hello(in, out); break;
    case Op::Bus: accepted = Bus(out); break;
    case Op::Open: accepted = Open(in, out); break;
    case Op::Close: accepted = Close(in, out); break;
    case Op::Claim:
    case Op::Release: accepted = ClaimOrRelease(op, in, out); break;
    case Op::Control: accepted = Control(in, out); break;
    case Op::BulkWrite: accepted = BulkWrite(in, out); break;
    case Op::BulkRead: accepted = BulkRead(in, out); break;
    case Op::Plug: model.Plug(); break;
    case Op::Unplug: model.Unplug(); break;
    case Op::Status: out.Str(model.StatusText()); break;
    case Op::Fault: accepted = Fault(in); break;
    case Op::QueueCapture: accepted = QueueCapture(in, out); break;
    case Op::Log: accepted = Log(in, out); break;
    case Op::Identity: accepted = Identity(in, out); break;
    case Op::Loopback: accepted = Loopback(in, out); break;
    default: accepted = false; break;
    }
    if (!accepted || !in.Ok())
        return {kStatusBadRequest};
    return out.Data();
}

bool Session::Hello(MessageReader& in, MessageWriter& out)
{
    const std::string program = in.Str();
    const uint32_t pid = in.U32();
    model.SetOwnerName(owner, program + "[" + std::to_string(pid) + "]");
    out.U64(id);
    return true;
}

bool Session::Bus(MessageWriter& out)
{
    const auto entries = model.Bus();
    out.U32(static_cast<uint32_t>(entries.size()));
    for (const BusEntry& entry : entries)
        out.U8(entry.bus).U8(entry.deviceNumber).U16(entry.vendorId).U16(entry.productId).U64(entry.key);
    return true;
}

bool Session::Open(MessageReader& in, MessageWriter& out)
{
    const int handle = model.Open(in.U64(), owner);
    if (handle > 0)
        handles.insert(handle);
    out.I32(handle);
    return true;
}

bool Session::Close(MessageReader& in, MessageWriter& out)
{
    const int handle = in.I32();
    out.I32(Owns(handle) ? model.Close(handle) : kErrInvalid);
    handles.erase(handle);
    return true;
}

bool Session::ClaimOrRelease(Op op, MessageReader& in, MessageWriter& out)
{
    const int handle = in.I32();
    const int interface = in.I32();
    if (!Owns(handle))
        out.I32(kErrInvalid);
    else
        out.I32(op == Op::Claim ? model.Claim(handle, interface) : model.Release(handle, interface));
    return true;
}

bool Session::Control(MessageReader& in, MessageWriter& out)
{
    const int handle = in.I32();
    const int type = in.I32(), request = in.I32(), value = in.I32(), index = in.I32(), size = in.I32();
    TransferReply reply;
    reply.result = kErrInvalid;
    if (Owns(handle) && in.Ok())
        reply = model.Control(handle, type, request, value, index, size);
    out.I32(reply.result).Bytes(reply.data);
    return true;
}

bool Session::BulkWrite(MessageReader& in, MessageWriter& out)
{
    const int handle = in.I32();
    const int endpoint = in.I32();
    const std::vector<uint8_t> bytes = in.Bytes();
    const bool valid = Owns(handle) && in.Ok();
    out.I32(valid ? model.BulkWrite(handle, endpoint, bytes.data(), static_cast<int>(bytes.size())) : kErrInvalid);
    return true;
}

bool Session::BulkRead(MessageReader& in, MessageWriter& out)
{
    const int handle = in.I32();
    const int endpoint = in.I32();
    const int size = in.I32();
    TransferReply reply;
    reply.result = kErrInvalid;
    if (Owns(handle) && in.Ok())
        reply = model.BulkRead(handle, endpoint, size);
    out.I32(reply.result).Bytes(reply.data);
    return true;
}

// Fault number 0 clears them all.
bool Session::Fault(MessageReader& in)
{
    const int number = in.I32();
    const int count = in.I32();
    if (number == 0) {
        model.ClearFaults();
        return true;
    }
    const std::optional<usbsim::Fault> fault = FaultFromNumber(number);
    if (!fault)
        return false;
    model.InjectFault(*fault, count);
    return true;
}

bool Session::QueueCapture(MessageReader& in, MessageWriter& out)
{
    const std::vector<uint8_t> bytes = in.Bytes();
    if (!in.Ok() || bytes.size() > 0xFFFF)
        return false;
    out.U8(model.QueueCaptureBytes(bytes) ? 1 : 0).I32(model.PendingCaptures());
    return true;
}

bool Session::Log(MessageReader& in, MessageWriter& out)
{
    uint64_t cursor = in.U64();
    const auto lines = model.LogSince(cursor);
    out.U64(cursor).U32(static_cast<uint32_t>(lines.size()));
    for (const std::string& line : lines)
        out.Str(line);
    return true;
}

// Changes the fields the mask names; replies with all four as they now stand.
bool Session::Identity(MessageReader& in, MessageWriter& out)
{
    const uint8_t mask = in.U8();
    usbsim::Identity identity = model.CurrentIdentity();
    const std::string name = in.Str(), version = in.Str();
    const uint32_t serial = in.U32();
    const std::string type = in.Str();
    if (!in.Ok())
        return false;
    if (mask & IdentityField::kName)
        identity.name = name;
    if (mask & IdentityField::kVersion)
        identity.version = version;
    if (mask & IdentityField::kSerial)
        identity.serial = serial;
    if (mask & IdentityField::kType)
        identity.type = type;
    if (mask)
        model.SetIdentity(identity);
    out.Str(identity.name).Str(identity.version).U32(identity.serial).Str(identity.type);
    return true;
}

bool Session::Loopback(MessageReader& in, MessageWriter& out)
{
    const auto mode = static_cast<LoopbackMode>(in.U8());
    if (mode == LoopbackMode::Off || mode == LoopbackMode::On)
        model.SetLoopback(mode == LoopbackMode::On);
    out.U8(model.Loopback() ? 1 : 0);
    return true;
}

void Serve(DeviceModel& model, int fd, int owner, uint64_t id)
{
    Session session(model, owner, id);
    std::vector<uint8_t> request;
    while (ReceiveMessage(fd, request, NoDeadline())) {
        if (!SendMessage(fd, session.Handle(request), DeadlineIn(5000)))
            break;
    }
    close(fd);
    model.CloseAllOf(owner);
}

} // namespace

int RunDaemon(const DaemonOptions& options)
{
    // Never destroyed: client threads may still be running when we leave.
    std::random_device entropy;
    static DeviceModel* model = new DeviceModel(1000 + (static_cast<uint64_t>(entropy()) << 24));
    model->SetLoopback(options.loopback);
    model->SetReenumerationDelayMs(options.reenumerationDelayMs);
    if (options.unplugged)
        model->Unplug();

    std::string error;
    const int listener = ListenSocket(options.socketPath, error);
    if (listener < 0) {
        std::fprintf(stderr, "wavix-sim: %s\n", error.c_str());
        return 1;
    }
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("wavix-sim: pipe");
        return 1;
    }
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    std::printf("wavix-sim daemon listening on %s\n", options.socketPath.c_str());
    std::fflush(stdout);

    const uint64_t sessionBase = (static_cast<uint64_t>(entropy()) << 32) | 1;
    int nextOwner = 1;
    uint64_t logCursor = 0;
    for (;;) {
        pollfd entries[2] = {{listener, POLLIN, 0}, {signalPipe[0], POLLIN, 0}};
        const int ready = poll(entries, 2, 200);
        if (options.verbose) {
            for (const std::string& line : model->LogSince(logCursor))
                std::printf("%s\n", line.c_str());
            std::fflush(stdout);
        }
        if (ready < 0)
            continue;
        if (entries[1].revents)
            break;
        if (entries[0].revents & POLLIN) {
            const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            const int owner = nextOwner++;
            std::thread(Serve, std::ref(*model), client, owner, sessionBase + static_cast<uint64_t>(owner) * 2)
                .detach();
        }
    }
    close(listener);
    unlink(options.socketPath.c_str());
    std::printf("wavix-sim daemon stopped\n");
    return 0;
}

} // namespace usbsim
