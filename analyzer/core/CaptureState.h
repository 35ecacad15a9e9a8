#pragma once

#include "analyzer/core/PulseTrain.h"

#include <array>
#include <cstdint>

constexpr int kChannelCount = 4;

// What one capture read from the device can hold: 2048 16-bit words.
using ReceiveBuffer = std::array<uint8_t, 4096>;

// The four channels' trains, wherever they are held or passed.
using ChannelTrains = std::array<PulseTrain, kChannelCount>;

// The capture memory and the runtime fields beside it, owned by the main window.
struct CaptureState {
    ChannelTrains channels{};
    int selectedChannel = 0;
    bool capturing = false;
    int holdOffTicks = 0;
    std::array<int, kChannelCount> channelProtocol{{-1, -1, -1, -1}};
    ReceiveBuffer receiveBuffer{};

    // Zeroes all four trains; the recognised protocols stay as they were.
    void ClearChannels()
    {
        for (PulseTrain& train : channels)
            train.Clear();
    }
};
