#pragma once

// The values the simulated device's model takes and reports. Both front-ends
// (the in-process control interface and the daemon) pass them on as they are.

#include <cstdint>
#include <string>
#include <vector>

namespace usbsim {

// libusb-0.1 style results: negative errno values.
constexpr int kErrAccess = -13;
constexpr int kErrBusy = -16;
constexpr int kErrNoDevice = -19;
constexpr int kErrInvalid = -22;
constexpr int kErrStall = -32;
constexpr int kErrTimeout = -110;

// What a control or bulk read brings back: the libusb result and the bytes,
// never more than were asked for.
struct TransferReply {
    int result = 0;
    std::vector<uint8_t> data;
};

struct Identity {
    std::string name = "IR Logic Analyzer";
    std::string version = "1.0.1.1";
    uint32_t serial = 20231108;
    std::string type = "L4IR"; // four characters, ending in "IR"
};

// A command frame as it arrived (header checked, XOR checked).
struct Frame {
    uint8_t sequence = 0;
    std::vector<uint8_t> payload;
    bool checksumOk = false;
};

// The last trigger configuration received: type, min and max in 2 us units.
struct Trigger {
    bool received = false;
    int type = 0;
    int minUnits = 0;
    int maxUnits = 0;
};

// A control request as the device received it.
struct ControlRequest {
    int requestType = 0;
    int request = 0;
    int value = 0;
    int index = 0;
    int length = 0;    // wLength
    int timeoutMs = 0; // what the host gave its controller
};

enum class Fault {
    None,
    OpenFails,        // usb_open returns NULL
    Timeout,          // control and bulk transfers return -110
    ShortReply,       // vendor replies lose their last byte
    OversizedReply,   // vendor replies report more bytes than were asked for
    EmptyReply,       // vendor replies return 0 bytes
    WrongStatusMarker,// status reply starts with another byte than 0x58
    ClaimFails,       // usb_claim_interface returns an error
    ShortBulk,        // bulk transfers move one byte less than asked
    UnplugMidTransfer, // the next bulk transfer unplugs the device and fails
    FailChunk,        // the bootloader refuses a chunk of the firmware image (stall)
    NoBootloader      // EnterBootloader: the device leaves the bus and its bootloader never comes up
};

} // namespace usbsim
