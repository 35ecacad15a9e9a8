#pragma once

#include <optional>
#include <string>
#include <vector>

namespace usbsim {

// An image file the simulated bootloader is told to expect.
struct FirmwareFile {
    std::string name; // without its folder: the version is read from it
    std::vector<uint8_t> bytes;
};

// Reads the whole file; nothing (and `error` set) when it cannot be read or
// is larger than the device's flash.
std::optional<FirmwareFile> ReadFirmwareFile(const std::string& path, std::string& error);

} // namespace usbsim
