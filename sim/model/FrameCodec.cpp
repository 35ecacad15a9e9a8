#include "sim/model/FrameCodec.h"

#include <algorithm>

#include <cstdio>

namespace usbsim {

namespace {
constexpr uint8_t kEscape = 0x1B;
constexpr uint8_t kFrameMarker = 0x0E;
constexpr size_t kFrameOverhead = 6;
}

uint8_t XorOf(const uint8_t* bytes, size_t size)
{
    uint8_t value = 0;
    for (size_t i = 0; i < size; ++i)
        value ^= bytes[i];
    return value;
}

ParsedFrame ParseFrame(const uint8_t* bytes, size_t size)
{
    ParsedFrame frame;
    if (size < kFrameOverhead || bytes[0] != kEscape || bytes[3] != 0x00 || bytes[4] != kFrameMarker)
        return frame;
    frame.sequence = bytes[1];
    const size_t n = bytes[2];
    if (size != n + kFrameOverhead) {
        frame.check = FrameCheck::BadLength;
        return frame;
    }
    frame.payload.assign(bytes + 5, bytes + 5 + n);
    frame.checksumReceived = bytes[5 + n];
    frame.checksumExpected = XorOf(bytes, 5 + n);
    frame.check = frame.checksumReceived == frame.checksumExpected ? FrameCheck::Ok : FrameCheck::BadChecksum;
    return frame;
}

namespace {

int Le16(const std::vector<uint8_t>& p, size_t at) { return p[at] | (p[at + 1] << 8); }

Command Unknown(const char* problem)
{
    Command command;
    command.problem = problem;
    return command;
}

} // namespace

Command ParseCommand(const std::vector<uint8_t>& p)
{
    if (p.size() < 2)
        return Unknown("payload too short");
    Command command;
    const uint8_t op = p[0], tag = p[1];
    if (op == 0x01 && tag == 0xBB) {
        if (p.size() != 7)
            return Unknown("SetTrigger needs 7 payload bytes");
        command.kind = CommandKind::SetTrigger;
        command.type = p[2];
        command.minUnits = Le16(p, 3);
        command.maxUnits = Le16(p, 5);
    } else if ((op == 0x02 || op == 0x03) && tag == 0xBB) {
        if (p.size() != 4)
            return Unknown(op == 0x02 ? "SendTrain needs 4 payload bytes" : "ReadTrain needs 4 payload bytes");
        command.kind = op == 0x02 ? CommandKind::SendTrain : CommandKind::ReadTrain;
        command.length = static_cast<uint32_t>(Le16(p, 2));
    } else if (op == 0x10 && tag == 0x55) {
        if (p.size() != 2)
            return Unknown("EnterBootloader needs 2 payload bytes");
        command.kind = CommandKind::EnterBootloader;
    } else if (op == 0x02 && tag == 0xAA) {
        if (p.size() != 10)
            return Unknown("FirmwareBegin needs 10 payload bytes");
        if (p[2] || p[3] || p[4] || p[5])
            return Unknown("FirmwareBegin bytes 2-5 must be zero");
        command.kind = CommandKind::FirmwareBegin;
        command.length = static_cast<uint32_t>(p[6]) | static_cast<uint32_t>(p[7]) << 8 |
                         static_cast<uint32_t>(p[8]) << 16 | static_cast<uint32_t>(p[9]) << 24;
    } else if (op == 0x04 && tag == 0xAA) {
        if (p.size() != 2)
            return Unknown("FirmwareEnd needs 2 payload bytes");
        command.kind = CommandKind::FirmwareEnd;
    } else {
        return Unknown("unknown command");
    }
    return command;
}

std::string DescribeCommand(const Command& c, const std::vector<uint8_t>& payload)
{
    switch (c.kind) {
    case CommandKind::SetTrigger:
        return "SetTrigger type=" + std::to_string(c.type) + " min=" + std::to_string(c.minUnits) +
               " max=" + std::to_string(c.maxUnits);
    case CommandKind::SendTrain: return "SendTrain len=" + std::to_string(c.length);
    case CommandKind::ReadTrain: return "ReadTrain len=" + std::to_string(c.length);
    case CommandKind::EnterBootloader: return "EnterBootloader";
    case CommandKind::FirmwareBegin: return "FirmwareBegin len=" + std::to_string(c.length);
    case CommandKind::FirmwareEnd: return "FirmwareEnd";
    case CommandKind::Unknown: break;
    }
    return c.problem + ", ignored: " + HexBytes(payload);
}

std::string HexBytes(const uint8_t* bytes, size_t size)
{
    // A log line shows the start of a long write; a client sending megabytes
    // must not grow the log by megabytes.
    const size_t shown = std::min(size, kMaxHexBytes);
    std::string text;
    text.reserve(shown * 3 + 32);
    char cell[4];
    for (size_t i = 0; i < shown; ++i) {
        std::snprintf(cell, sizeof cell, "%02X", bytes[i]);
        if (i)
            text += ' ';
        text += cell;
    }
    if (shown < size)
        text += " ... (" + std::to_string(size) + " bytes)";
    return text;
}

} // namespace usbsim
