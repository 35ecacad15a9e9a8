#include "analyzer/core/DeviceMonitor.h"

#include "analyzer/core/Acquisition.h"
#include "device/USBDevice.h"

namespace {

template <typename OnIdentified>
ConnectionChange Tick(CEPDevice& device, bool& lastShownConnected, OnIdentified onIdentified)
{
    bool connected = false;
    if (device.IsOpen()) {
        if (!device.identified) {
            device.identified = device.Identify();
            if (device.identified)
                onIdentified();
        }
        connected = device.identified;
    } else {
        device.ForgetNameAndVersion();
        device.identified = false;
    }
    if (connected == lastShownConnected)
        return ConnectionChange::None;
    lastShownConnected = connected;
    return connected ? ConnectionChange::Connected : ConnectionChange::Disconnected;
}

} // namespace

ConnectionChange DeviceMonitorTick(CEPDevice& device, const AnalyzerSettings& settings, bool& lastShownConnected)
{
    return Tick(device, lastShownConnected, [&] { SendTriggerSettings(device, settings); });
}

ConnectionChange DeviceMonitorTick(CEPDevice& device, bool& lastShownConnected)
{
    return Tick(device, lastShownConnected, [] {});
}
