#include "sim/daemon/DaemonServer.h"

#include "sim/ipc/Message.h"
#include "sim/ipc/Socket.h"
#include "sim/model/DeviceModel.h"

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

// One connected program (or tool invocation).
class Session {
public:
    Session(DeviceModel& model, int owner, uint64_t id) : model(model), owner(owner), id(id) {}

    std::vector<uint8_t> Handle(const std::vector<uint8_t>& request);

private:
    bool Owns(int handle) const { return handles.count(handle) != 0; }

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
    const auto op = static_cast<Op>(in.U8());
    switch (op) {
    case Op::Hello: {
        const std::string program = in.Str();
        const uint32_t pid = in.U32();
        model.SetOwnerName(owner, program + "[" + std::to_string(pid) + "]");
        out.U64(id);
        break;
    }
    case Op::Bus: {
        const auto entries = model.Bus();
        out.U32(static_cast<uint32_t>(entries.size()));
        for (const BusEntry& entry : entries)
            out.U8(entry.bus).U8(entry.deviceNumber).U16(entry.vendorId).U16(entry.productId).U64(entry.key);
        break;
    }
    case Op::Open: {
        const int handle = model.Open(in.U64(), owner);
        if (handle > 0)
            handles.insert(handle);
        out.I32(handle);
        break;
    }
    case Op::Close: {
        const int handle = in.I32();
        out.I32(Owns(handle) ? model.Close(handle) : kErrInvalid);
        handles.erase(handle);
        break;
    }
    case Op::Claim:
    case Op::Release: {
        const int handle = in.I32();
        const int interface = in.I32();
        if (!Owns(handle))
            out.I32(kErrInvalid);
        else
            out.I32(op == Op::Claim ? model.Claim(handle, interface) : model.Release(handle, interface));
        break;
    }
    case Op::Control: {
        const int handle = in.I32();
        const int type = in.I32(), req = in.I32(), value = in.I32(), index = in.I32(), size = in.I32();
        DeviceModel::Reply reply;
        reply.result = kErrInvalid;
        if (Owns(handle) && in.Ok())
            reply = model.Control(handle, type, req, value, index, size);
        out.I32(reply.result).Bytes(reply.data);
        break;
    }
    case Op::BulkWrite: {
        const int handle = in.I32();
        const int endpoint = in.I32();
        const std::vector<uint8_t> bytes = in.Bytes();
        const bool valid = Owns(handle) && in.Ok();
        out.I32(valid ? model.BulkWrite(handle, endpoint, bytes.data(), static_cast<int>(bytes.size()))
                      : kErrInvalid);
        break;
    }
    case Op::BulkRead: {
        const int handle = in.I32();
        const int endpoint = in.I32();
        const int size = in.I32();
        DeviceModel::Reply reply;
        reply.result = kErrInvalid;
        if (Owns(handle) && in.Ok())
            reply = model.BulkRead(handle, endpoint, size);
        out.I32(reply.result).Bytes(reply.data);
        break;
    }
    case Op::Plug: model.Plug(); break;
    case Op::Unplug: model.Unplug(); break;
    case Op::Status: out.Str(model.StatusText()); break;
    case Op::Fault: {
        const int fault = in.I32();
        const int count = in.I32();
        if (fault == 0)
            model.ClearFaults();
        else if (fault > static_cast<int>(Fault::None) && fault <= static_cast<int>(Fault::UnplugMidTransfer))
            model.InjectFault(static_cast<Fault>(fault), count);
        else
            return {kStatusBadRequest};
        break;
    }
    case Op::QueueCapture: {
        const std::vector<uint8_t> bytes = in.Bytes();
        if (!in.Ok() || bytes.size() > 0xFFFF)
            return {kStatusBadRequest};
        out.U8(model.QueueCaptureBytes(bytes) ? 1 : 0).I32(model.PendingCaptures());
        break;
    }
    case Op::Log: {
        uint64_t cursor = in.U64();
        const auto lines = model.LogSince(cursor);
        out.U64(cursor).U32(static_cast<uint32_t>(lines.size()));
        for (const std::string& line : lines)
            out.Str(line);
        break;
    }
    case Op::Identity: {
        const uint8_t mask = in.U8();
        Identity identity = model.CurrentIdentity();
        const std::string name = in.Str(), version = in.Str();
        const uint32_t serial = in.U32();
        const std::string type = in.Str();
        if (!in.Ok())
            return {kStatusBadRequest};
        if (mask & 1)
            identity.name = name;
        if (mask & 2)
            identity.version = version;
        if (mask & 4)
            identity.serial = serial;
        if (mask & 8)
            identity.type = type;
        if (mask)
            model.SetIdentity(identity);
        out.Str(identity.name).Str(identity.version).U32(identity.serial).Str(identity.type);
        break;
    }
    case Op::Loopback: {
        const uint8_t mode = in.U8();
        if (mode <= 1)
            model.SetLoopback(mode == 1);
        out.U8(model.Loopback() ? 1 : 0);
        break;
    }
    default: return {kStatusBadRequest};
    }
    if (!in.Ok())
        return {kStatusBadRequest};
    return out.Data();
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
