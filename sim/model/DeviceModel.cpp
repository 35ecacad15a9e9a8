#include "sim/model/DeviceModel.h"

#include "sim/model/CaptureCodec.h"
#include "sim/model/FaultNames.h"
#include "sim/model/FrameCodec.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <sstream>
#include <thread>

namespace usbsim {

namespace {

constexpr int kVendorIn = 0xC0;
constexpr int kEndpointOut = 0x02;
constexpr int kEndpointIn = 0x81;
constexpr size_t kMaxIdentityReply = 64;
constexpr size_t kMaxQueuedCaptures = 64;
// A data phase beyond this is counted, not kept.
constexpr size_t kMaxFirmwareBytes = Bootloader::kFlashBytes;
constexpr const char* kBootloaderName = "Quendar BOOTLOADER";

// Devices that share the buses with ours and must not match the host's filter.
constexpr uint64_t kRootHub1Key = 1, kRootHub2Key = 2, kMouseKey = 3;

std::string Hex2(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value & 0xFF);
    return text;
}

std::vector<uint8_t> TextBytes(const std::string& text)
{
    const size_t size = std::min(text.size(), kMaxIdentityReply);
    return {text.begin(), text.begin() + static_cast<std::ptrdiff_t>(size)};
}

} // namespace

DeviceModel::DeviceModel(uint64_t firstDeviceKey) : nextKey(std::max<uint64_t>(firstDeviceKey, 1000))
{
    ResetLocked();
}

void DeviceModel::Reset()
{
    std::lock_guard lock(mutex);
    ResetLocked();
}

void DeviceModel::ResetLocked()
{
    handles.clear();
    ownerNames.clear();
    lastSequenceOf.clear();
    identity = Identity();
    faults.clear();
    loopback = false;
    reenumerationDelayMs = 0;
    transferTimeUs = 0;
    loader.Reset();
    openCount = 0;
    unclaimedTransfers = 0;
    PlugLocked(false);
    ClearLogsLocked();
}

void DeviceModel::PowerOnStateLocked()
{
    captures.clear();
    phase = Phase::Idle;
    phaseExpected = 0;
    phaseReceived = 0;
    phaseBytes.clear();
    armedReadLength.reset();
    loader.PowerOn();
    trigger = Trigger();
}

void DeviceModel::PlugLocked(bool asBootloader)
{
    plugged = true;
    bootloader = asBootloader;
    key = nextKey++;
    deviceNumber = deviceNumber >= 127 ? 2 : deviceNumber + 1;
    replugAt.reset();
    PowerOnStateLocked();
    char where[16];
    std::snprintf(where, sizeof where, "001/%03d", deviceNumber);
    log.Append(std::string("plugged in as ") + where + (bootloader ? " (bootloader)" : " (normal firmware)"));
}

void DeviceModel::UnplugLocked()
{
    replugAt.reset();
    if (!plugged)
        return;
    plugged = false;
    key = 0;
    PowerOnStateLocked();
    log.Append("unplugged");
}

void DeviceModel::ReenumerateLocked(bool asBootloader)
{
    UnplugLocked();
    if (reenumerationDelayMs <= 0) {
        PlugLocked(asBootloader);
        return;
    }
    replugAt = Clock::now() + std::chrono::milliseconds(reenumerationDelayMs);
    replugAsBootloader = asBootloader;
}

void DeviceModel::UpdateLocked()
{
    if (replugAt && Clock::now() >= *replugAt)
        PlugLocked(replugAsBootloader);
}

std::vector<BusEntry> DeviceModel::Bus()
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    std::vector<BusEntry> entries{{1, 1, 0x1D6B, 0x0002, kRootHub1Key}};
    if (plugged)
        entries.push_back({1, static_cast<uint8_t>(deviceNumber), kDeviceVendorId, kDeviceProductId, key});
    entries.push_back({2, 1, 0x1D6B, 0x0002, kRootHub2Key});
    entries.push_back({2, 2, 0x046D, 0xC077, kMouseKey});
    return entries;
}

std::string DeviceModel::OwnerName(int owner) const
{
    auto it = ownerNames.find(owner);
    return it == ownerNames.end() ? std::string("the host") : it->second;
}

void DeviceModel::SetOwnerName(int owner, const std::string& name)
{
    std::lock_guard lock(mutex);
    ownerNames[owner] = name;
}

bool DeviceModel::TakeFault(Fault fault)
{
    auto it = faults.find(fault);
    if (it == faults.end())
        return false;
    if (it->second.after > 0) {
        --it->second.after;
        return false;
    }
    if (it->second.count > 0 && --it->second.count == 0)
        faults.erase(it);
    log.Append("fault: " + FaultName(fault));
    return true;
}

DeviceModel::HandleState* DeviceModel::FindHandle(int handle)
{
    auto it = handles.find(handle);
    return it == handles.end() ? nullptr : &it->second;
}

int DeviceModel::Open(uint64_t deviceKey, int owner)
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    if (!plugged || deviceKey != key)
        return deviceKey == kRootHub1Key || deviceKey == kRootHub2Key || deviceKey == kMouseKey ? kErrAccess
                                                                                                 : kErrNoDevice;
    if (TakeFault(Fault::OpenFails))
        return kErrAccess;
    const int handle = nextHandle++;
    handles[handle] = HandleState{key, owner, false};
    ++openCount;
    log.Append("open by " + OwnerName(owner) + ": handle " + std::to_string(handle));
    return handle;
}

int DeviceModel::Close(int handle)
{
    std::lock_guard lock(mutex);
    if (!handles.erase(handle))
        return kErrInvalid;
    loader.HandleClosed(handle, log);
    log.Append("close: handle " + std::to_string(handle));
    return 0;
}

void DeviceModel::CloseAllOf(int owner)
{
    std::lock_guard lock(mutex);
    for (auto it = handles.begin(); it != handles.end();) {
        if (it->second.owner == owner) {
            log.Append("close: handle " + std::to_string(it->first) + " (" + OwnerName(owner) + " went away)");
            loader.HandleClosed(it->first, log);
            it = handles.erase(it);
        } else {
            ++it;
        }
    }
    ownerNames.erase(owner);
    lastSequenceOf.erase(owner);
}

int DeviceModel::Claim(int handle, int interface)
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    HandleState* state = FindHandle(handle);
    if (!state || interface != 0)
        return kErrInvalid;
    if (!plugged || state->key != key)
        return kErrNoDevice;
    if (TakeFault(Fault::ClaimFails))
        return kErrBusy;
    for (const auto& [id, other] : handles)
        if (id != handle && other.claimed && other.key == key)
            return kErrBusy;
    state->claimed = true;
    return 0;
}

int DeviceModel::Release(int handle, int interface)
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    HandleState* state = FindHandle(handle);
    if (!state || interface != 0 || !state->claimed)
        return kErrInvalid;
    state->claimed = false;
    return plugged && state->key == key ? 0 : kErrNoDevice;
}

TransferReply DeviceModel::VendorReply(int request, int value)
{
    TransferReply reply;
    const bool needsZeroValue = request != 'Z';
    if (needsZeroValue && value != 0) {
        log.Append("control request " + Hex2(request) + " with wValue " + std::to_string(value) + " stalled");
        reply.result = kErrStall;
        return reply;
    }
    switch (request) {
    case 'T': reply.data = TextBytes(bootloader ? kBootloaderName : identity.name); break;
    case 'V': reply.data = TextBytes(identity.version); break;
    case 'S':
        reply.data = {static_cast<uint8_t>(identity.serial >> 24), static_cast<uint8_t>(identity.serial >> 16),
                      static_cast<uint8_t>(identity.serial >> 8), static_cast<uint8_t>(identity.serial)};
        break;
    case 'E': reply.data = TextBytes(identity.type); break;
    case 'X': {
        const bool waiting = !bootloader && !captures.empty();
        const size_t count = waiting ? std::min(captures.front().size(), static_cast<size_t>(0xFFFF)) : 0;
        reply.data = {0x58, static_cast<uint8_t>(waiting ? 1 : 0), static_cast<uint8_t>(count & 0xFF),
                      static_cast<uint8_t>(count >> 8)};
        break;
    }
    case 'Z':
        if (value != 0x6400) {
            log.Append("Signal with wValue " + std::to_string(value) + " stalled");
            reply.result = kErrStall;
            return reply;
        }
        ++signalCount;
        log.Append("Signal ZOK");
        reply.data = {'Z', 'O', 'K'};
        break;
    default:
        log.Append("unknown control request " + Hex2(request) + " stalled");
        reply.result = kErrStall;
        return reply;
    }
    reply.result = static_cast<int>(reply.data.size());
    return reply;
}

bool DeviceModel::RefusedForTimeout(int timeoutMs, const std::string& what)
{
    if (timeoutMs > 0)
        return false;
    log.Append(what + " without a timeout refused: it would wait for ever on a device that does not answer");
    return true;
}

TransferReply DeviceModel::Control(int handle, int requestType, int request, int value, int index, int size,
                                   int timeoutMs)
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    TransferReply reply;
    HandleState* state = FindHandle(handle);
    if (!state || size < 0 || RefusedForTimeout(timeoutMs, "control request " + Hex2(request))) {
        reply.result = kErrInvalid;
        return reply;
    }
    controlRequests.Push(ControlRequest{requestType, request, value, index, size, timeoutMs});
    if (!plugged || state->key != key) {
        reply.result = kErrNoDevice;
        return reply;
    }
    if (TakeFault(Fault::Timeout)) {
        reply.result = kErrTimeout;
        return reply;
    }
    if (requestType != kVendorIn || index != 0) {
        log.Append("control request " + Hex2(request) + " with bmRequestType " + Hex2(requestType) + " wIndex " +
                   std::to_string(index) + " stalled");
        reply.result = kErrStall;
        return reply;
    }
    reply = VendorReply(request, value);
    if (reply.result < 0)
        return reply;

    if (request == 'X' && !reply.data.empty() && TakeFault(Fault::WrongStatusMarker))
        reply.data[0] = 0x00;
    bool oversized = false;
    if (TakeFault(Fault::EmptyReply))
        reply.data.clear();
    else if (!reply.data.empty() && TakeFault(Fault::ShortReply))
        reply.data.pop_back();
    else if (TakeFault(Fault::OversizedReply))
        oversized = true;

    // A device sends no more than wLength; the oversized fault only lies
    // about the count, it never writes past the caller's buffer.
    if (reply.data.size() > static_cast<size_t>(size))
        reply.data.resize(static_cast<size_t>(size));
    reply.result = oversized ? static_cast<int>(std::min<int64_t>(int64_t(size) + 8, INT32_MAX))
                             : static_cast<int>(reply.data.size());
    return reply;
}

int DeviceModel::CheckTransfer(int handle, HandleState*& state, int endpoint, int expectedEndpoint, int timeoutMs,
                               const char* what)
{
    state = FindHandle(handle);
    if (!state || RefusedForTimeout(timeoutMs, what))
        return kErrInvalid;
    if (!plugged || state->key != key)
        return kErrNoDevice;
    if (endpoint != expectedEndpoint) {
        log.Append(std::string(what) + " on endpoint " + Hex2(endpoint) + " refused");
        return kErrInvalid;
    }
    if (!state->claimed) {
        ++unclaimedTransfers;
        log.Append(std::string(what) + " without interface 0 claimed");
    }
    if (TakeFault(Fault::UnplugMidTransfer)) {
        UnplugLocked();
        return kErrNoDevice;
    }
    if (TakeFault(Fault::Timeout))
        return kErrTimeout;
    return 0;
}

int DeviceModel::BulkWrite(int handle, int endpoint, const uint8_t* bytes, int size, int timeoutMs)
{
    int flashMs = 0;
    const int result = BulkWriteLocked(handle, endpoint, bytes, size, timeoutMs, flashMs);
    // A chunk's write completes once it is in the flash; the device answers
    // its other requests meanwhile.
    if (flashMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(flashMs));
    return result;
}

int DeviceModel::BulkWriteLocked(int handle, int endpoint, const uint8_t* bytes, int size, int timeoutMs, int& flashMs)
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    if (size < 0 || (size > 0 && !bytes))
        return kErrInvalid;
    HandleState* state = nullptr;
    if (const int check = CheckTransfer(handle, state, endpoint, kEndpointOut, timeoutMs, "bulk write"); check != 0)
        return check;
    if (bootloader && loader.ExpectsData() && TakeFault(Fault::FailChunk))
        return kErrStall;
    int accepted = size;
    if (size > 0 && TakeFault(Fault::ShortBulk))
        accepted = size - 1;
    std::vector<uint8_t> arrived(bytes, bytes + accepted);
    writingHandle = handle;
    const bool chunk = bootloader && loader.ExpectsData() && !AbandonsImage(arrived);
    ReceiveBulk(state->owner, arrived);
    bulkWrites.Push(std::move(arrived));
    flashMs = chunk ? loader.ChunkWriteMs() : 0;
    return accepted;
}

TransferReply DeviceModel::BulkRead(int handle, int endpoint, int size, int timeoutMs)
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    TransferReply reply;
    HandleState* state = nullptr;
    if (size < 0) {
        reply.result = kErrInvalid;
        return reply;
    }
    if (const int check = CheckTransfer(handle, state, endpoint, kEndpointIn, timeoutMs, "bulk read"); check != 0) {
        reply.result = check;
        return reply;
    }
    if (!armedReadLength) {
        log.Append("bulk read without ReadTrain: nothing sent");
        reply.result = kErrTimeout;
        return reply;
    }
    const size_t asked = std::min(static_cast<size_t>(size), *armedReadLength);
    armedReadLength.reset();
    if (asked == 0)
        return reply;
    if (captures.empty()) {
        log.Append("ReadTrain: no capture waiting, nothing sent");
        reply.result = kErrTimeout;
        return reply;
    }
    std::vector<uint8_t> capture = std::move(captures.front());
    captures.pop_front();
    size_t sent = std::min(asked, capture.size());
    if (sent > 0 && TakeFault(Fault::ShortBulk))
        sent -= 1;
    reply.data.assign(capture.begin(), capture.begin() + static_cast<std::ptrdiff_t>(sent));
    reply.result = static_cast<int>(sent);
    log.Append("ReadTrain sent " + std::to_string(sent) + " bytes");
    return reply;
}

void DeviceModel::ReceiveBulk(int owner, const std::vector<uint8_t>& bytes)
{
    if (bootloader && loader.ExpectsData() && !AbandonsImage(bytes)) {
        loader.Chunk(bytes.data(), bytes.size(), log);
        return;
    }
    if (phase != Phase::Idle) {
        // A complete, valid command frame means the host gave up on the data
        // phase; anything else is data.
        const ParsedFrame parsed = ParseFrame(bytes.data(), bytes.size());
        if (parsed.check != FrameCheck::Ok || ParseCommand(parsed.payload).kind == CommandKind::Unknown) {
            ReceiveData(bytes);
            return;
        }
        log.Append("data phase abandoned after " + std::to_string(phaseReceived) + " of " +
                   std::to_string(phaseExpected) + " bytes");
        phase = Phase::Idle;
    }
    if (bytes.empty()) {
        log.Append("empty bulk write ignored");
        return;
    }
    ReceiveFrame(owner, bytes);
}

// A valid command frame where a chunk of another size is due means the host
// gave up on the image; a write of the size due is image data, whatever it
// looks like.
bool DeviceModel::AbandonsImage(const std::vector<uint8_t>& bytes) const
{
    if (bytes.size() == loader.DueBytes())
        return false;
    const ParsedFrame parsed = ParseFrame(bytes.data(), bytes.size());
    return parsed.check == FrameCheck::Ok && ParseCommand(parsed.payload).kind != CommandKind::Unknown;
}

void DeviceModel::ReceiveFrame(int owner, const std::vector<uint8_t>& bytes)
{
    const ParsedFrame parsed = ParseFrame(bytes.data(), bytes.size());
    if (parsed.check == FrameCheck::BadHeader || parsed.check == FrameCheck::BadLength) {
        log.Append(std::string(parsed.check == FrameCheck::BadHeader ? "bad frame header" : "bad frame length") +
                   ", ignored: " + HexBytes(bytes));
        return;
    }
    frames.Push(Frame{parsed.sequence, parsed.payload, parsed.check == FrameCheck::Ok});

    std::string note;
    auto last = lastSequenceOf.find(owner);
    if (last != lastSequenceOf.end() && parsed.sequence != static_cast<uint8_t>(last->second + 1))
        note = " (expected seq=" + std::to_string(static_cast<uint8_t>(last->second + 1)) + ")";
    lastSequenceOf[owner] = parsed.sequence;

    const std::string prefix = "seq=" + std::to_string(parsed.sequence) + " ";
    if (parsed.check == FrameCheck::BadChecksum) {
        char detail[48];
        std::snprintf(detail, sizeof detail, "bad XOR (got %02X, expected %02X), ignored: ", parsed.checksumReceived,
                      parsed.checksumExpected);
        log.Append(prefix + detail + HexBytes(bytes) + note);
        return;
    }
    log.Append(prefix + DescribeCommand(ParseCommand(parsed.payload), parsed.payload) + note);
    ExecuteCommand(parsed.payload);
}

void DeviceModel::ExecuteCommand(const std::vector<uint8_t>& payload)
{
    const Command command = ParseCommand(payload);
    if (command.kind == CommandKind::Unknown)
        return;
    const bool bootloaderCommand =
        command.kind == CommandKind::FirmwareBegin || command.kind == CommandKind::FirmwareEnd;
    if (bootloaderCommand != bootloader) {
        log.Append(bootloader ? "ignored by the bootloader" : "ignored: not in the bootloader");
        return;
    }
    switch (command.kind) {
    case CommandKind::SetTrigger:
        trigger = Trigger{true, command.type, command.minUnits, command.maxUnits};
        break;
    case CommandKind::SendTrain:
        phase = Phase::TrainData;
        phaseExpected = command.length;
        phaseReceived = 0;
        phaseBytes.clear();
        if (phaseExpected == 0)
            FinishTrain();
        break;
    case CommandKind::ReadTrain: armedReadLength = command.length; break;
    case CommandKind::EnterBootloader:
        if (TakeFault(Fault::NoBootloader)) {
            log.Append("restarting into the bootloader, which never comes up");
            UnplugLocked();
            break;
        }
        log.Append("restarting into the bootloader");
        ReenumerateLocked(true);
        break;
    case CommandKind::FirmwareBegin: loader.Begin(command.length, writingHandle, log); break;
    case CommandKind::FirmwareEnd:
        if (loader.End(log)) {
            if (!loader.ImageVersion().empty())
                identity.version = loader.ImageVersion();
            ReenumerateLocked(false);
        }
        break;
    case CommandKind::Unknown: break;
    }
}

void DeviceModel::ReceiveData(const std::vector<uint8_t>& bytes)
{
    const size_t room = phaseExpected - phaseReceived;
    const size_t taken = std::min(room, bytes.size());
    const size_t kept = std::min(taken, kMaxFirmwareBytes - std::min(kMaxFirmwareBytes, phaseBytes.size()));
    phaseBytes.insert(phaseBytes.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(kept));
    phaseReceived += taken;
    if (taken < bytes.size())
        log.Append(std::to_string(bytes.size() - taken) + " bytes beyond the data phase ignored");
    if (phaseReceived < phaseExpected)
        return;
    FinishTrain();
}

void DeviceModel::FinishTrain()
{
    phase = Phase::Idle;
    log.Append("SendTrain " + std::to_string(phaseBytes.size()) + " bytes: " + HexBytes(phaseBytes));
    if (loopback && phaseBytes.size() >= 4 && QueueLocked(CaptureFromTransmittedTrain(phaseBytes)))
        log.Append("loop-back: the train is queued as a capture");
    ++trainCount;
    trains.Push(std::move(phaseBytes));
    phaseBytes.clear();
    phaseReceived = 0;
}

// The one way into the capture queue, which holds the newest captures only.
bool DeviceModel::QueueLocked(std::vector<uint8_t> capture)
{
    if (captures.size() >= kMaxQueuedCaptures) {
        captures.pop_front();
        log.Append("capture queue full: the oldest capture is dropped");
    }
    captures.push_back(std::move(capture));
    return true;
}

void DeviceModel::Plug()
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    if (replugAt)
        PlugLocked(replugAsBootloader);
    else if (!plugged)
        PlugLocked(loader.FlashErased());
}

void DeviceModel::Unplug()
{
    std::lock_guard lock(mutex);
    UnplugLocked();
}

void DeviceModel::Replug()
{
    std::lock_guard lock(mutex);
    UnplugLocked();
    PlugLocked(false);
}

bool DeviceModel::IsPlugged()
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    return plugged;
}

void DeviceModel::SetIdentity(const Identity& newIdentity)
{
    std::lock_guard lock(mutex);
    identity = newIdentity;
    for (std::string* text : {&identity.name, &identity.version, &identity.type})
        text->resize(std::min(text->size(), kMaxIdentityReply));
}

Identity DeviceModel::CurrentIdentity()
{
    std::lock_guard lock(mutex);
    return identity;
}

bool DeviceModel::QueueCaptureBytes(const std::vector<uint8_t>& bytes)
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    if (!plugged || bootloader) {
        log.Append(std::string("capture dropped: ") + (plugged ? "the bootloader does not capture" : "the device is unplugged"));
        return false;
    }
    QueueLocked(bytes);
    log.Append("capture queued: " + std::to_string(bytes.size()) + " bytes");
    return true;
}

int DeviceModel::PendingCaptures()
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    return static_cast<int>(captures.size());
}

std::vector<std::vector<uint8_t>> DeviceModel::BulkWrites()
{
    std::lock_guard lock(mutex);
    return bulkWrites.All();
}

std::vector<Frame> DeviceModel::Frames()
{
    std::lock_guard lock(mutex);
    return frames.All();
}

std::vector<std::vector<uint8_t>> DeviceModel::TransmittedTrains()
{
    std::lock_guard lock(mutex);
    return trains.All();
}

std::vector<ControlRequest> DeviceModel::ControlRequests()
{
    std::lock_guard lock(mutex);
    return controlRequests.All();
}

Trigger DeviceModel::LastTrigger()
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    return trigger;
}

int DeviceModel::SignalCount()
{
    std::lock_guard lock(mutex);
    return signalCount;
}

void DeviceModel::ClearLogs()
{
    std::lock_guard lock(mutex);
    ClearLogsLocked();
}

void DeviceModel::ClearLogsLocked()
{
    bulkWrites.Clear();
    frames.Clear();
    trains.Clear();
    controlRequests.Clear();
    trainCount = 0;
    signalCount = 0;
    log.Clear();
}

int DeviceModel::OpenHandles()
{
    std::lock_guard lock(mutex);
    return static_cast<int>(handles.size());
}

int DeviceModel::ClaimedInterfaces()
{
    std::lock_guard lock(mutex);
    return static_cast<int>(std::count_if(handles.begin(), handles.end(),
                                          [](const auto& entry) { return entry.second.claimed; }));
}

int DeviceModel::OpenCount()
{
    std::lock_guard lock(mutex);
    return openCount;
}

int DeviceModel::UnclaimedTransfers()
{
    std::lock_guard lock(mutex);
    return unclaimedTransfers;
}

void DeviceModel::InjectFault(Fault fault, int count, int after)
{
    std::lock_guard lock(mutex);
    if (fault == Fault::None)
        return;
    if (count == 0)
        faults.erase(fault);
    else
        faults[fault] = FaultPlan{std::max(0, after), count < 0 ? -1 : count};
}

void DeviceModel::ClearFaults()
{
    std::lock_guard lock(mutex);
    faults.clear();
}

bool DeviceModel::InBootloader()
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    return plugged ? bootloader : replugAt && replugAsBootloader;
}

std::vector<uint8_t> DeviceModel::ReceivedFirmware()
{
    std::lock_guard lock(mutex);
    return loader.Flashed();
}

void DeviceModel::SetImageVersion(const std::string& version)
{
    std::lock_guard lock(mutex);
    loader.SetImageVersion(version);
}

void DeviceModel::ExpectFirmware(const std::string& fileName, const std::vector<uint8_t>& bytes)
{
    std::lock_guard lock(mutex);
    loader.Expect(fileName, bytes);
}

void DeviceModel::SetChunkWriteMs(int ms)
{
    std::lock_guard lock(mutex);
    loader.SetChunkWriteMs(ms);
}

std::string DeviceModel::FirmwareReport()
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    return std::string("bootloader: ") + (plugged && bootloader ? "running" : "not running") + "\n" +
           loader.Report(identity.version);
}

void DeviceModel::SetLoopback(bool on)
{
    std::lock_guard lock(mutex);
    loopback = on;
}

bool DeviceModel::Loopback()
{
    std::lock_guard lock(mutex);
    return loopback;
}

void DeviceModel::SetReenumerationDelayMs(int ms)
{
    std::lock_guard lock(mutex);
    reenumerationDelayMs = std::max(0, ms);
}

void DeviceModel::SetTransferTimeUs(int us)
{
    std::lock_guard lock(mutex);
    transferTimeUs = std::clamp(us, 0, 1000000);
}

int DeviceModel::TransferTimeUs()
{
    std::lock_guard lock(mutex);
    return transferTimeUs;
}

std::vector<std::string> DeviceModel::LogSince(uint64_t& cursor, size_t maxBytes)
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    return log.Since(cursor, 1000, maxBytes);
}

std::vector<std::string> DeviceModel::LogLines()
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    return log.All();
}

std::string DeviceModel::StatusText()
{
    std::lock_guard lock(mutex);
    UpdateLocked();
    std::ostringstream out;
    char serial[16];
    std::snprintf(serial, sizeof serial, "%010u", identity.serial);
    if (plugged) {
        char where[16];
        std::snprintf(where, sizeof where, "001/%03d", deviceNumber);
        out << "device: plugged in as " << where << ", " << (bootloader ? "bootloader" : "normal firmware") << "\n";
    } else {
        out << "device: " << (replugAt ? "restarting" : "unplugged") << "\n";
    }
    out << "name: " << (bootloader ? kBootloaderName : identity.name) << "\n"
        << "version: " << identity.version << "\n"
        << "serial: " << serial << "\n"
        << "type: " << identity.type << "\n"
        << "captures waiting: " << captures.size();
    if (!captures.empty())
        out << " (next " << captures.front().size() << " bytes)";
    out << "\ntrigger: ";
    if (trigger.received)
        out << "type=" << trigger.type << " min=" << trigger.minUnits << " max=" << trigger.maxUnits;
    else
        out << "not set";
    out << "\ntransmitted trains: " << trainCount << "\nsignals: " << signalCount << "\n" << loader.Summary();
    out << "\nopen handles: " << handles.size() << "\nunclaimed transfers: " << unclaimedTransfers
        << "\nloop-back: " << (loopback ? "on" : "off") << "\nfaults:";
    if (faults.empty())
        out << " none";
    for (const auto& [fault, plan] : faults) {
        out << " " << FaultName(fault);
        if (plan.after > 0)
            out << " after " << plan.after;
        if (plan.count > 0)
            out << " x" << plan.count;
    }
    out << "\n";
    return out.str();
}

} // namespace usbsim
