#include "analyzer/core/Transmit.h"

#include "device/USBDevice.h"

#include <algorithm>

int EncodeTrain(const PulseTrain& train, TransmitBuffer& buffer)
{
    buffer.fill(0);
    const auto put = [&](int word, int32_t value) {
        buffer[size_t(2 * word)] = static_cast<uint8_t>(value & 0xFF);
        buffer[size_t(2 * word + 1)] = static_cast<uint8_t>((value >> 8) & 0xFF);
    };
    put(0, train[0]);
    int i = 1;
    for (; i <= PulseTrain::kMaxPulses; ++i) {
        const int32_t half = train[i] / 2;
        if (half <= 0)
            break;
        // A word holds at most 131 070 us; a longer duration (an imported
        // code may carry one) goes out as the longest the device can emit
        // instead of wrapping into a short one.
        put(i, std::min<int32_t>(half, 0xFFFF));
    }
    return 2 * i;
}

bool TransmitTrain(CEPDevice& device, const PulseTrain& train)
{
    if (!device.identified)
        return false;
    TransmitBuffer buffer;
    const int length = EncodeTrain(train, buffer);
    return device.SendTrain(buffer.data(), length);
}
