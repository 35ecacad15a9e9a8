#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace usbsim {

struct DaemonOptions {
    std::string socketPath;
    bool unplugged = false;
    bool loopback = true;
    int reenumerationDelayMs = 1000;
    bool verbose = false; // print the device log as it grows
    int chunkWriteMs = 0;               // how long the bootloader programs each chunk
    std::string imageVersion;           // the version the next firmware image carries
    std::string expectedImageName;      // the image file the host should send...
    std::vector<uint8_t> expectedImage; // ...and its bytes
};

// Hosts one simulated device for every program that connects, until SIGINT
// or SIGTERM. Returns the process exit code.
int RunDaemon(const DaemonOptions& options);

} // namespace usbsim
