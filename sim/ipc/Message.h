#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace usbsim {

// Operations between the preload library / tool and the daemon. Every
// request is one message; every reply starts with a status byte.
enum class Op : uint8_t {
    Hello = 1, // str program name, u32 pid -> u64 session
    Bus,       // -> u32 n, n x (u8 bus, u8 devnum, u16 vid, u16 pid, u64 key)
    Open,      // u64 key -> i32 handle or -errno
    Close,     // i32 handle -> i32
    Claim,     // i32 handle, i32 interface -> i32
    Release,   // i32 handle, i32 interface -> i32
    Control,   // i32 handle, type, request, value, index, size, timeout -> i32, bytes
    BulkWrite, // i32 handle, i32 ep, bytes, i32 timeout -> i32
    BulkRead,  // i32 handle, i32 ep, i32 size, i32 timeout -> i32, bytes
    Plug = 20,
    Unplug,
    Status,       // -> str
    Fault,        // i32 fault (0 clears all), i32 count, i32 after
    QueueCapture, // bytes -> u8 taken, i32 pending
    Log,          // u64 cursor -> u64 cursor, u32 n, n x str (one page; ask again from the new cursor)
    Identity,     // u8 mask, str name, str version, u32 serial, str type -> the same four fields
    Loopback,     // u8 0 off, 1 on, 2 ask -> u8
    Replug,       // gone and back at once, with a new device number
    Firmware,     // u8 FirmwareField mask, str version, str file name, bytes file -> str report
};

// Op::Identity: the fields a request changes, or'ed into its mask.
namespace IdentityField {
constexpr uint8_t kName = 1;
constexpr uint8_t kVersion = 2;
constexpr uint8_t kSerial = 4;
constexpr uint8_t kType = 8;
} // namespace IdentityField

// Op::Firmware: what a request sets; 0 only asks.
namespace FirmwareField {
constexpr uint8_t kVersion = 1;  // the version the next image carries
constexpr uint8_t kExpected = 2; // the image file the host should send
} // namespace FirmwareField

// Op::Loopback: switch it, or only ask how it stands.
enum class LoopbackMode : uint8_t { Off = 0, On = 1, Ask = 2 };

constexpr uint8_t kStatusOk = 0;
constexpr uint8_t kStatusBadRequest = 1;

// Largest message either side accepts; a capture is at most 64 KiB and a log
// page at most kMaxLogPageBytes.
constexpr uint32_t kMaxMessageBytes = 4u << 20;
constexpr uint32_t kMaxLogPageBytes = 256u << 10;
// A message that has begun must be whole within this time.
constexpr int kMessageDeadlineMs = 5000;

class MessageWriter {
public:
    MessageWriter& U8(uint8_t value);
    MessageWriter& U16(uint16_t value);
    MessageWriter& U32(uint32_t value);
    MessageWriter& I32(int32_t value) { return U32(static_cast<uint32_t>(value)); }
    MessageWriter& U64(uint64_t value);
    MessageWriter& Bytes(const uint8_t* data, size_t size);
    MessageWriter& Bytes(const std::vector<uint8_t>& data) { return Bytes(data.data(), data.size()); }
    MessageWriter& Str(const std::string& text);
    const std::vector<uint8_t>& Data() const { return data; }

private:
    std::vector<uint8_t> data;
};

// Reads untrusted bytes: any read past the end yields zeros and clears Ok().
class MessageReader {
public:
    explicit MessageReader(const std::vector<uint8_t>& message) : data(message) {}
    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    int32_t I32() { return static_cast<int32_t>(U32()); }
    uint64_t U64();
    std::vector<uint8_t> Bytes();
    std::string Str();
    bool Ok() const { return ok; }

private:
    bool Take(size_t size);

    const std::vector<uint8_t>& data;
    size_t position = 0;
    bool ok = true;
};

} // namespace usbsim
