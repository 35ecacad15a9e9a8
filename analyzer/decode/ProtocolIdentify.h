#pragma once

#include "analyzer/core/CaptureState.h"
#include "analyzer/core/PulseTrain.h"

#include <array>

// The first row of the protocol table whose lead matches at pulse 0 and whose
// decoder accepts the frame, or -1. Only a frame that starts the train counts.
int IdentifyProtocol(const PulseTrain& train);

// channelProtocol[c] := IdentifyProtocol(channels[c]) for channel 0..3, or
// for all four when `channel` is -1. Any other value changes nothing.
void IdentifyChannels(const ChannelTrains& channels,
                      std::array<int, kChannelCount>& channelProtocol, int channel);
void IdentifyChannels(CaptureState& state, int channel);
