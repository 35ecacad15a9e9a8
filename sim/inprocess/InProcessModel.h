#pragma once

#include "sim/model/DeviceModel.h"

namespace usbsim {

// The one device behind the in-process libusb and the control functions.
DeviceModel& InProcessModel();

} // namespace usbsim
