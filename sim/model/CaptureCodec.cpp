#include "sim/model/CaptureCodec.h"

#include <algorithm>

namespace usbsim {

namespace {

void PutWord(std::vector<uint8_t>& bytes, unsigned word)
{
    bytes.push_back(static_cast<uint8_t>(word & 0xFF));
    bytes.push_back(static_cast<uint8_t>((word >> 8) & 0xFF));
}

} // namespace

std::vector<uint8_t> EncodeCapture(int startLevel, const std::vector<int>& durationsUs)
{
    const size_t count = std::min(durationsUs.size(), static_cast<size_t>(kMaxCaptureDurations));
    std::vector<uint8_t> bytes;
    bytes.reserve(2 * (count + 2));
    PutWord(bytes, static_cast<unsigned>(startLevel) & 0xFFFF);
    for (size_t i = 0; i < count; ++i)
        PutWord(bytes, static_cast<unsigned>(std::clamp(durationsUs[i] / 2, 1, 65535)));
    if (count < static_cast<size_t>(kMaxCaptureDurations))
        PutWord(bytes, 0);
    return bytes;
}

std::vector<uint8_t> CaptureFromTransmittedTrain(const std::vector<uint8_t>& train)
{
    size_t size = std::min(train.size() & ~static_cast<size_t>(1), static_cast<size_t>(kMaxCaptureBytes));
    std::vector<uint8_t> bytes(train.begin(), train.begin() + static_cast<std::ptrdiff_t>(size));
    if (bytes.size() < static_cast<size_t>(kMaxCaptureBytes))
        PutWord(bytes, 0);
    return bytes;
}

} // namespace usbsim
