#pragma once

namespace usbsim {

// Runs "wavix-sim <command> ..." and returns the exit code: 0 done,
// 1 bad command line, 2 daemon not running, 3 anything else failed.
int RunTool(int argc, char** argv);

} // namespace usbsim
