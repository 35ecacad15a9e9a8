#pragma once

// The libusb-0.1 entry points are the only symbols the simulated libraries
// export; everything else stays inside.
#define USBSIM_EXPORT extern "C" __attribute__((visibility("default")))
#define USBSIM_EXPORT_VARIABLE __attribute__((visibility("default")))
