// Sending a 64 KiB firmware image to the bootloader of the in-process
// simulated device: begin frame, 64 chunks, end frame, and the device
// restarting after each image.
#include "device/USBDevice.h"
#include "sim/SimControl.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// Opens the device and, when asked, sends it into its bootloader first.
bool OpenInBootloader(CEPDevice& device)
{
    device.Close();
    device.FindDevice();
    if (!device.IsOpen())
        return false;
    if (!usbsim::InBootloader()) {
        device.EnterBootloader();
        device.Close();
        device.FindDevice();
    }
    return device.IsOpen() && usbsim::InBootloader();
}

} // namespace

static void WriteFirmware64KiB(benchmark::State& state)
{
    usbsim::Reset();
    std::vector<uint8_t> image(64 * 1024);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = uint8_t(i * 131 + (i >> 8));
    CEPDevice device;
    for (auto _ : state) {
        state.PauseTiming();
        if (!OpenInBootloader(device)) {
            state.SkipWithError("no bootloader");
            break;
        }
        state.ResumeTiming();
        if (!device.WriteFirmware(image.data(), image.size())) {
            state.SkipWithError("transfer failed");
            break;
        }
    }
    if (usbsim::ReceivedFirmware() != image)
        state.SkipWithError("the image did not arrive intact");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.size()));
}
BENCHMARK(WriteFirmware64KiB)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
