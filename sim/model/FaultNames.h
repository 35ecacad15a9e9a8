#pragma once

#include "sim/SimControl.h"

#include <optional>
#include <string>
#include <vector>

namespace usbsim {

// Command-line names of the faults: "timeout", "short-reply", ...
std::string FaultName(Fault fault);
std::optional<Fault> FaultFromName(const std::string& name);
std::vector<Fault> AllFaults();

} // namespace usbsim
