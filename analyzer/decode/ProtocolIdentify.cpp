#include "analyzer/decode/ProtocolIdentify.h"

#include "analyzer/decode/FrameDecoder.h"
#include "analyzer/decode/PatternMatch.h"
#include "analyzer/decode/ProtocolTable.h"

int IdentifyProtocol(const PulseTrain& train)
{
    const int level = StartLevelByte(train);
    for (int row = 0; ProtocolTable[row].name; ++row) {
        const ProtocolDescriptor& descriptor = ProtocolTable[row];
        if (MatchPattern(level, descriptor.lead, train, 0) == kNoMatch)
            continue;
        if (DecodeFrame(nullptr, descriptor, train, 0) != 0)
            return row;
    }
    return -1;
}

void IdentifyChannels(const ChannelTrains& channels,
                      std::array<int, kChannelCount>& channelProtocol, int channel)
{
    for (int c = 0; c < kChannelCount; ++c) {
        if (channel == -1 || channel == c)
            channelProtocol[static_cast<std::size_t>(c)] = IdentifyProtocol(channels[static_cast<std::size_t>(c)]);
    }
}

void IdentifyChannels(CaptureState& state, int channel)
{
    IdentifyChannels(state.channels, state.channelProtocol, channel);
}
