#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace usbsim {

// The command frame on bulk OUT 0x02: 1B seq n 00 0E payload(n) xor.
enum class FrameCheck { Ok, BadHeader, BadLength, BadChecksum };

struct ParsedFrame {
    FrameCheck check = FrameCheck::BadHeader;
    uint8_t sequence = 0;
    std::vector<uint8_t> payload;
    uint8_t checksumReceived = 0;
    uint8_t checksumExpected = 0;
};

ParsedFrame ParseFrame(const uint8_t* bytes, size_t size);
uint8_t XorOf(const uint8_t* bytes, size_t size);

// What the device understands in a payload.
enum class CommandKind { SetTrigger, SendTrain, ReadTrain, EnterBootloader, FirmwareBegin, FirmwareEnd, Unknown };

struct Command {
    CommandKind kind = CommandKind::Unknown;
    int type = 0;           // SetTrigger
    int minUnits = 0;       // SetTrigger
    int maxUnits = 0;       // SetTrigger
    uint32_t length = 0;    // SendTrain, ReadTrain, FirmwareBegin
    std::string problem;    // why an Unknown payload was not understood
};

Command ParseCommand(const std::vector<uint8_t>& payload);
// "SetTrigger type=3 min=300 max=600", "SendTrain len=6", ...
std::string DescribeCommand(const Command& command, const std::vector<uint8_t>& payload);

// "01 00 94 11"; past kMaxHexBytes bytes the rest is only counted.
constexpr size_t kMaxHexBytes = 64;
std::string HexBytes(const uint8_t* bytes, size_t size);
inline std::string HexBytes(const std::vector<uint8_t>& bytes) { return HexBytes(bytes.data(), bytes.size()); }

} // namespace usbsim
