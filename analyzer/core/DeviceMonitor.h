#pragma once

#include "analyzer/core/AnalyzerSettings.h"

class CEPDevice;

enum class ConnectionChange { None, Connected, Disconnected };

// One tick of the device monitor: identifies a newly opened device and sends
// it the trigger settings; forgets the identity when no handle is open.
// Reports a change only when the connection state differs from the one last
// shown, so the status line is rewritten only then.
ConnectionChange DeviceMonitorTick(CEPDevice& device, const AnalyzerSettings& settings, bool& lastShownConnected);

// The same tick for a program that sends the device no set-up (the designer).
ConnectionChange DeviceMonitorTick(CEPDevice& device, bool& lastShownConnected);
