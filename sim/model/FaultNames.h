#pragma once

#include "sim/model/DeviceTypes.h"

#include <optional>
#include <string>
#include <vector>

namespace usbsim {

// Command-line names of the faults: "timeout", "short-reply", ...
std::string FaultName(Fault fault);
std::optional<Fault> FaultFromName(const std::string& name);
std::vector<Fault> AllFaults();
// The fault a number on the wire names, when it is one of AllFaults().
std::optional<Fault> FaultFromNumber(int number);

} // namespace usbsim
