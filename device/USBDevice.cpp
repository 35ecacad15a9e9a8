#include "device/USBDevice.h"

#include <usb.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

// Vendor requests, answered on the control endpoint.
constexpr int kVendorIn = 0xC0; // device-to-host, vendor, device
constexpr int kRequestName = 0x54;
constexpr int kRequestVersion = 0x56;
constexpr int kRequestSerial = 0x53;
constexpr int kRequestType = 0x45;
constexpr int kRequestStatus = 0x58;
constexpr int kRequestSignal = 0x5A;
constexpr int kSignalValue = 0x6400;

// Bulk command frames: start byte, sequence, payload length, two fixed
// bytes, the payload, then the XOR of everything before it.
constexpr uint8_t kFrameStart = 0x1B;
constexpr uint8_t kFrameFixed1 = 0x00;
constexpr uint8_t kFrameFixed2 = 0x0E;
constexpr int kFrameHeaderBytes = 5;
constexpr int kFrameOverheadBytes = kFrameHeaderBytes + 1;

// A payload starts with a command byte and a tag byte: commands of the normal
// firmware carry kTagFirmware, those of the bootloader kTagBootloader.
constexpr uint8_t kTagFirmware = 0xBB;
constexpr uint8_t kTagBootloader = 0xAA;
constexpr uint8_t kCommandSetTrigger = 0x01;   // type, min, max (u16 each in 2 us units, low byte first)
constexpr uint8_t kCommandSendTrain = 0x02;    // u16 length; the train follows as a data phase
constexpr uint8_t kCommandReadTrain = 0x03;    // u16 length; the capture comes back as a data phase
constexpr uint8_t kCommandFirmwareBegin = 0x02; // 4 zero bytes, u32 length; the image follows in chunks
constexpr uint8_t kCommandFirmwareEnd = 0x04;
// Restarting into the bootloader is a command of its own kind.
constexpr uint8_t kCommandEnterBootloader = 0x10;
constexpr uint8_t kTagEnterBootloader = 0x55;

// A corrupt bus list must not hang discovery.
constexpr int kMaxDevicesWalked = 4096;

// Bytes up to the first zero or the end of the reply.
QString TextOfReply(const uint8_t* bytes, int length)
{
    const void* zero = std::memchr(bytes, 0, static_cast<size_t>(length));
    const int used = zero ? static_cast<int>(static_cast<const uint8_t*>(zero) - bytes) : length;
    return QString::fromLocal8Bit(reinterpret_cast<const char*>(bytes), used);
}

QString FixedText(const char* text, size_t capacity)
{
    return QString::fromLocal8Bit(text, int(qstrnlen(text, capacity)));
}

// Where a device sits: its bus and device file ("001-005"). A device that
// leaves and comes back gets a new device file.
QString LocationOf(const usb_bus* bus, const struct usb_device* dev)
{
    return FixedText(bus->dirname, sizeof bus->dirname) + QLatin1Char('-') + FixedText(dev->filename, sizeof dev->filename);
}

// Rescans the buses and calls visit(bus, device) for every device with our
// vendor and product id, in bus order.
template <typename Visit>
void ForEachMatchingDevice(Visit visit)
{
    usb_find_busses();
    usb_find_devices();
    int walked = 0;
    for (usb_bus* bus = usb_get_busses(); bus && walked < kMaxDevicesWalked; bus = bus->next) {
        for (struct usb_device* dev = bus->devices; dev && walked < kMaxDevicesWalked; dev = dev->next) {
            ++walked;
            if (dev->descriptor.idVendor == CEPDevice::kVendorId && dev->descriptor.idProduct == CEPDevice::kProductId)
                visit(bus, dev);
        }
    }
}

} // namespace

std::atomic<uint8_t> CEPDevice::frameSequence{0};

CUSBDevice::CUSBDevice()
{
    usb_init();
}

CUSBDevice::~CUSBDevice()
{
    std::lock_guard<std::recursive_mutex> lock(handleMutex);
    CloseLocked();
}

bool CUSBDevice::IsOpen() const
{
    std::lock_guard<std::recursive_mutex> lock(handleMutex);
    return handle != nullptr;
}

void CUSBDevice::CloseLocked()
{
    if (handle) {
        usb_close(handle);
        handle = nullptr;
    }
}

bool CEPDevice::FindDevice()
{
    std::lock_guard<std::recursive_mutex> lock(handleMutex);
    std::vector<std::pair<QString, struct usb_device*>> matches;
    ForEachMatchingDevice([&](usb_bus* bus, struct usb_device* dev) { matches.emplace_back(LocationOf(bus, dev), dev); });
    if (handle) {
        for (const auto& match : matches)
            if (match.first == openLocation)
                return true;
        identified = false;
        CloseLocked();
    }
    for (const auto& [location, dev] : matches) {
        handle = usb_open(dev);
        if (handle) {
            openLocation = location;
            break;
        }
    }
    return handle != nullptr;
}

QStringList CEPDevice::ListMatchingDevices()
{
    std::lock_guard<std::recursive_mutex> lock(handleMutex);
    QStringList paths;
    ForEachMatchingDevice([&](usb_bus* bus, struct usb_device* dev) {
        paths << QStringLiteral("\\\\?\\USB#Vid_16c0&Pid_1012#%1#{A5DCBF10-6530-11D2-901F-00C04FB951ED}")
                     .arg(LocationOf(bus, dev));
    });
    return paths;
}

int CEPDevice::VendorRead(int request, int value, uint8_t* out)
{
    std::lock_guard<std::recursive_mutex> lock(handleMutex);
    if (!handle)
        return -1;
    char reply[kReplySize] = {};
    const int result = CheckGone(usb_control_msg(handle, kVendorIn, request, value, 0, reply, kReplySize, kTimeoutMs));
    if (out && result >= 1 && result <= kReplySize)
        std::memcpy(out, reply, static_cast<size_t>(result));
    return result;
}

int CEPDevice::CheckGone(int result)
{
    if (result == -ENODEV) {
        std::lock_guard<std::recursive_mutex> lock(handleMutex);
        identified = false;
        CloseLocked();
        FindDevice();
    }
    return result;
}

int CEPDevice::ReadName(uint8_t* out) { return VendorRead(kRequestName, 0, out); }
int CEPDevice::ReadVersion(uint8_t* out) { return VendorRead(kRequestVersion, 0, out); }
int CEPDevice::ReadSerial(uint8_t* out) { return VendorRead(kRequestSerial, 0, out); }
int CEPDevice::ReadType(uint8_t* out) { return VendorRead(kRequestType, 0, out); }

int CEPDevice::ReadStatus(int& waitingBytes)
{
    uint8_t reply[kReplySize] = {};
    if (VendorRead(kRequestStatus, 0, reply) != 4 || reply[0] != kRequestStatus)
        return 0;
    if (reply[1] != 0)
        waitingBytes = reply[2] + 256 * reply[3];
    return reply[1];
}

bool CEPDevice::Signal()
{
    uint8_t reply[kReplySize] = {};
    return VendorRead(kRequestSignal, kSignalValue, reply) == 3 && reply[0] == 'Z' && reply[1] == 'O'
        && reply[2] == 'K';
}

bool CEPDevice::Identify()
{
    std::lock_guard<std::recursive_mutex> lock(handleMutex);
    uint8_t name[kReplySize] = {};
    uint8_t version[kReplySize] = {};
    uint8_t serial[kReplySize] = {};
    uint8_t type[kReplySize] = {};
    const int nameLength = ReadName(name);
    const int versionLength = ReadVersion(version);
    const int serialLength = ReadSerial(serial);
    const int typeLength = ReadType(type);
    if (nameLength < 1 || nameLength > kReplySize || versionLength < 1 || versionLength > kReplySize
        || serialLength != 4 || typeLength != 4)
        return false;

    identity.deviceName = TextOfReply(name, nameLength);
    identity.deviceVersion = TextOfReply(version, versionLength);
    const quint64 serialNumber = (quint64(serial[0]) << 24) | (quint64(serial[1]) << 16)
        | (quint64(serial[2]) << 8) | quint64(serial[3]);
    identity.deviceSerial = QString::asprintf("%010llu", static_cast<unsigned long long>(serialNumber));
    identity.deviceType.clear();
    for (uint8_t byte : type)
        if (identity.deviceType.size() < 4)
            identity.deviceType.append(QChar(static_cast<char16_t>(byte)));
    return true;
}

bool CEPDevice::SendCommand(const uint8_t* payload, int payloadLength)
{
    if (payloadLength < 0 || payloadLength > kMaxPayload || (payloadLength > 0 && !payload))
        return false;
    std::lock_guard<std::recursive_mutex> lock(handleMutex);
    uint8_t frame[kMaxPayload + kFrameOverheadBytes];
    frame[0] = kFrameStart;
    frame[1] = static_cast<uint8_t>(frameSequence.fetch_add(1) + 1);
    frame[2] = static_cast<uint8_t>(payloadLength);
    frame[3] = kFrameFixed1;
    frame[4] = kFrameFixed2;
    if (payloadLength > 0)
        std::memcpy(frame + kFrameHeaderBytes, payload, static_cast<size_t>(payloadLength));
    uint8_t check = 0;
    for (int i = 0; i < kFrameHeaderBytes + payloadLength; ++i)
        check ^= frame[i];
    frame[kFrameHeaderBytes + payloadLength] = check;

    const int frameLength = payloadLength + kFrameOverheadBytes;
    int written = 0;
    return BulkTransfer(kEndpointOut, frame, frameLength, written) && written == frameLength;
}

// One claimed bulk transfer. False when there is no handle or the claim fails.
bool CEPDevice::BulkTransfer(int endpoint, uint8_t* bytes, int length, int& moved)
{
    std::lock_guard<std::recursive_mutex> lock(handleMutex);
    moved = 0;
    if (!handle || CheckGone(usb_claim_interface(handle, 0)) < 0)
        return false;
    char* data = reinterpret_cast<char*>(bytes);
    const int result = (endpoint & USB_ENDPOINT_DIR_MASK) ? usb_bulk_read(handle, endpoint, data, length, kTimeoutMs)
                                         : usb_bulk_write(handle, endpoint, data, length, kTimeoutMs);
    usb_release_interface(handle, 0);
    moved = CheckGone(result);
    return true;
}

bool CEPDevice::SetTrigger(int type, uint16_t minUnits, uint16_t maxUnits)
{
    const uint8_t payload[7] = {kCommandSetTrigger,
                                kTagFirmware,
                                static_cast<uint8_t>(type),
                                static_cast<uint8_t>(minUnits & 0xFF),
                                static_cast<uint8_t>(minUnits >> 8),
                                static_cast<uint8_t>(maxUnits & 0xFF),
                                static_cast<uint8_t>(maxUnits >> 8)};
    return SendCommand(payload, 7);
}

bool CEPDevice::SendTrain(const uint8_t* bytes, int length)
{
    // libusb-0.1 takes a non-const buffer even for writes.
    return TrainDataPhase(kCommandSendTrain, kEndpointOut, const_cast<uint8_t*>(bytes), length);
}

bool CEPDevice::ReadTrain(uint8_t* buffer, int length)
{
    return TrainDataPhase(kCommandReadTrain, kEndpointIn, buffer, length);
}

// Announces a data phase of `length` bytes, then moves them on `endpoint`. An
// empty phase counts as done even when the transfer cannot be made.
bool CEPDevice::TrainDataPhase(uint8_t command, int endpoint, uint8_t* bytes, int length)
{
    if (length < 0 || length > 0xFFFF || (length > 0 && !bytes))
        return false;
    std::lock_guard<std::recursive_mutex> lock(handleMutex);
    const uint8_t payload[4] = {command, kTagFirmware, static_cast<uint8_t>(length & 0xFF),
                                static_cast<uint8_t>(length >> 8)};
    if (!SendCommand(payload, 4))
        return false;
    int moved = 0;
    if (!BulkTransfer(endpoint, bytes, length, moved))
        return length == 0;
    return moved == length;
}

bool CEPDevice::EnterBootloader()
{
    const uint8_t payload[2] = {kCommandEnterBootloader, kTagEnterBootloader};
    return SendCommand(payload, 2);
}

bool CEPDevice::WriteFirmware(const uint8_t* image, size_t length)
{
    if (length > 0xFFFFFFFFu || (length > 0 && !image))
        return false;
    std::lock_guard<std::recursive_mutex> lock(handleMutex);
    const uint32_t len = static_cast<uint32_t>(length);
    const uint8_t begin[10] = {kCommandFirmwareBegin, kTagBootloader, 0x00, 0x00, 0x00, 0x00,
                               static_cast<uint8_t>(len), static_cast<uint8_t>(len >> 8),
                               static_cast<uint8_t>(len >> 16), static_cast<uint8_t>(len >> 24)};
    if (!SendCommand(begin, 10))
        return false;

    std::vector<uint8_t> chunk(kFirmwareChunk);
    size_t sent = 0;
    int moved = 0;
    while (length >= kFirmwareChunk && sent <= length - kFirmwareChunk) {
        std::memcpy(chunk.data(), image + sent, kFirmwareChunk);
        if (!BulkTransfer(kEndpointOut, chunk.data(), kFirmwareChunk, moved) || moved < kFirmwareChunk)
            return false;
        sent += kFirmwareChunk;
    }
    const size_t rest = length - sent;
    if (rest > 0) {
        std::memcpy(chunk.data(), image + sent, rest);
        if (!BulkTransfer(kEndpointOut, chunk.data(), static_cast<int>(rest), moved))
            moved = 0;
        if (moved != static_cast<int>(rest))
            return false;
    }
    const uint8_t end[2] = {kCommandFirmwareEnd, kTagBootloader};
    SendCommand(end, 2);
    return true;
}

void CEPDevice::Close()
{
    std::lock_guard<std::recursive_mutex> lock(handleMutex);
    identified = false;
    CloseLocked();
}

DeviceIdentity CEPDevice::Identity() const
{
    std::lock_guard<std::recursive_mutex> lock(handleMutex);
    return identity;
}

void CEPDevice::ForgetNameAndVersion()
{
    std::lock_guard<std::recursive_mutex> lock(handleMutex);
    identity.deviceName.clear();
    identity.deviceVersion.clear();
}

uint8_t CEPDevice::FrameSequence()
{
    return frameSequence.load();
}

void CEPDevice::SetFrameSequence(uint8_t value)
{
    frameSequence.store(value);
}
