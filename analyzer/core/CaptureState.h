#pragma once

#include "analyzer/core/PulseTrain.h"

#include <array>
#include <cstdint>

constexpr int kChannelCount = 4;

// The four channels' trains, wherever they are held or passed.
using ChannelTrains = std::array<PulseTrain, kChannelCount>;

// The capture memory and the runtime fields beside it, owned by the main window.
struct CaptureState {
    ChannelTrains channels{};
    int selectedChannel = 0;
    bool capturing = false;
    int holdOffTicks = 0;
    std::array<int, kChannelCount> channelProtocol{{-1, -1, -1, -1}};
    std::array<uint8_t, 4096> receiveBuffer{};

    // Zeroes all four trains; the recognised protocols stay as they were.
    void ClearChannels()
    {
        for (PulseTrain& train : channels)
            train.Clear();
    }
};
