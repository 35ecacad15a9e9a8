#include "sim/daemon/DaemonSession.h"

#include "sim/ipc/BusMessage.h"
#include "sim/ipc/Message.h"
#include "sim/ipc/Socket.h"
#include "sim/model/FaultNames.h"

#include <unistd.h>

namespace usbsim {

namespace {
// Program names only label log lines.
constexpr size_t kMaxProgramName = 64;
} // namespace

std::vector<uint8_t> DaemonSession::Handle(const std::vector<uint8_t>& request)
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
    case Op::Release: accepted = ClaimOrRelease(op == Op::Claim, in, out); break;
    case Op::Control: accepted = Control(in, out); break;
    case Op::BulkWrite: accepted = BulkWrite(in, out); break;
    case Op::BulkRead: accepted = BulkRead(in, out); break;
    case Op::Plug: model.Plug(); break;
    case Op::Unplug: model.Unplug(); break;
    case Op::Replug: model.Replug(); break;
    case Op::Status: out.Str(model.StatusText()); break;
    case Op::Fault: accepted = Fault(in); break;
    case Op::QueueCapture: accepted = QueueCapture(in, out); break;
    case Op::Log: accepted = Log(in, out); break;
    case Op::Identity: accepted = Identity(in, out); break;
    case Op::Loopback: accepted = Loopback(in, out); break;
    case Op::Firmware: accepted = Firmware(in, out); break;
    default: accepted = false; break;
    }
    if (!accepted || !in.Ok())
        return {kStatusBadRequest};
    return out.Data();
}

bool DaemonSession::Hello(MessageReader& in, MessageWriter& out)
{
    const std::string program = in.Str().substr(0, kMaxProgramName);
    const uint32_t pid = in.U32();
    model.SetOwnerName(owner, program + "[" + std::to_string(pid) + "]");
    out.U64(id);
    return true;
}

bool DaemonSession::Bus(MessageWriter& out)
{
    WriteBusEntries(out, model.Bus());
    return true;
}

bool DaemonSession::Open(MessageReader& in, MessageWriter& out)
{
    const int handle = model.Open(in.U64(), owner);
    if (handle > 0)
        handles.insert(handle);
    out.I32(handle);
    return true;
}

bool DaemonSession::Close(MessageReader& in, MessageWriter& out)
{
    const int handle = in.I32();
    out.I32(Owns(handle) ? model.Close(handle) : kErrInvalid);
    handles.erase(handle);
    return true;
}

bool DaemonSession::ClaimOrRelease(bool claim, MessageReader& in, MessageWriter& out)
{
    const int handle = in.I32();
    const int interface = in.I32();
    if (!Owns(handle))
        out.I32(kErrInvalid);
    else
        out.I32(claim ? model.Claim(handle, interface) : model.Release(handle, interface));
    return true;
}

bool DaemonSession::Control(MessageReader& in, MessageWriter& out)
{
    const int handle = in.I32();
    const int type = in.I32(), request = in.I32(), value = in.I32(), index = in.I32(), size = in.I32();
    const int timeoutMs = in.I32();
    TransferReply reply;
    reply.result = kErrInvalid;
    if (Owns(handle) && in.Ok())
        reply = model.Control(handle, type, request, value, index, size, timeoutMs);
    out.I32(reply.result).Bytes(reply.data);
    return true;
}

bool DaemonSession::BulkWrite(MessageReader& in, MessageWriter& out)
{
    const int handle = in.I32();
    const int endpoint = in.I32();
    const std::vector<uint8_t> bytes = in.Bytes();
    const int timeoutMs = in.I32();
    const bool valid = Owns(handle) && in.Ok();
    out.I32(valid ? model.BulkWrite(handle, endpoint, bytes.data(), static_cast<int>(bytes.size()), timeoutMs)
                  : kErrInvalid);
    return true;
}

bool DaemonSession::BulkRead(MessageReader& in, MessageWriter& out)
{
    const int handle = in.I32();
    const int endpoint = in.I32();
    const int size = in.I32();
    const int timeoutMs = in.I32();
    TransferReply reply;
    reply.result = kErrInvalid;
    if (Owns(handle) && in.Ok())
        reply = model.BulkRead(handle, endpoint, size, timeoutMs);
    out.I32(reply.result).Bytes(reply.data);
    return true;
}

// Fault number 0 clears them all.
bool DaemonSession::Fault(MessageReader& in)
{
    const int number = in.I32();
    const int count = in.I32();
    const int after = in.I32();
    if (!in.Ok())
        return false;
    if (number == 0) {
        model.ClearFaults();
        return true;
    }
    const std::optional<usbsim::Fault> fault = FaultFromNumber(number);
    if (!fault)
        return false;
    model.InjectFault(*fault, count, after);
    return true;
}

bool DaemonSession::QueueCapture(MessageReader& in, MessageWriter& out)
{
    const std::vector<uint8_t> bytes = in.Bytes();
    if (!in.Ok() || bytes.size() > 0xFFFF)
        return false;
    out.U8(model.QueueCaptureBytes(bytes) ? 1 : 0).I32(model.PendingCaptures());
    return true;
}

bool DaemonSession::Log(MessageReader& in, MessageWriter& out)
{
    uint64_t cursor = in.U64();
    const auto lines = model.LogSince(cursor, kMaxLogPageBytes);
    out.U64(cursor).U32(static_cast<uint32_t>(lines.size()));
    for (const std::string& line : lines)
        out.Str(line);
    return true;
}

// Changes the fields the mask names; replies with all four as they now stand.
bool DaemonSession::Identity(MessageReader& in, MessageWriter& out)
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

bool DaemonSession::Loopback(MessageReader& in, MessageWriter& out)
{
    const auto mode = static_cast<LoopbackMode>(in.U8());
    if (mode == LoopbackMode::Off || mode == LoopbackMode::On)
        model.SetLoopback(mode == LoopbackMode::On);
    out.U8(model.Loopback() ? 1 : 0);
    return true;
}

bool DaemonSession::Firmware(MessageReader& in, MessageWriter& out)
{
    const uint8_t mask = in.U8();
    const std::string version = in.Str(), fileName = in.Str();
    const std::vector<uint8_t> image = in.Bytes();
    if (!in.Ok())
        return false;
    if (mask & FirmwareField::kVersion)
        model.SetImageVersion(version);
    if (mask & FirmwareField::kExpected)
        model.ExpectFirmware(fileName, image);
    out.Str(model.FirmwareReport());
    return true;
}

void ServeClient(DeviceModel& model, int fd, int owner, uint64_t id)
{
    DaemonSession session(model, owner, id);
    std::vector<uint8_t> request;
    while (WaitReadable(fd, NoDeadline()) && ReceiveMessage(fd, request, DeadlineIn(kMessageDeadlineMs))) {
        if (!SendMessage(fd, session.Handle(request), DeadlineIn(kMessageDeadlineMs)))
            break;
    }
    close(fd);
    model.CloseAllOf(owner);
}

} // namespace usbsim
