#include "designer/Learning.h"

#include "analyzer/core/Acquisition.h"
#include "device/USBDevice.h"

namespace learn {

std::optional<PulseTrain> ReadWaitingCode(CEPDevice& device)
{
    if (!device.identified)
        return std::nullopt;
    ReceiveBuffer buffer{};
    if (FetchCapture(device, buffer) != FetchOutcome::Fetched)
        return std::nullopt;
    return TrainFromCapture(buffer);
}

} // namespace learn
