#pragma once

#include <string>

namespace usbsim {

struct DaemonOptions {
    std::string socketPath;
    bool unplugged = false;
    bool loopback = true;
    int reenumerationDelayMs = 1000;
    bool verbose = false; // print the device log as it grows
};

// Hosts one simulated device for every program that connects, until SIGINT
// or SIGTERM. Returns the process exit code.
int RunDaemon(const DaemonOptions& options);

} // namespace usbsim
