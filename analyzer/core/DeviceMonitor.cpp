#include "analyzer/core/DeviceMonitor.h"

#include "analyzer/core/Acquisition.h"
#include "device/USBDevice.h"

ConnectionChange DeviceMonitorTick(CEPDevice& device, const AnalyzerSettings& settings, bool& lastShownConnected)
{
    bool connected = false;
    if (device.IsOpen()) {
        if (!device.identified) {
            device.identified = device.Identify();
            if (device.identified)
                SendTriggerSettings(device, settings);
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
