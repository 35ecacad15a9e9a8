#pragma once

#include "analyzer/core/CaptureState.h"

#include <random>

// Trains of any content, as a capture file may hold them: what decoding and
// drawing must survive without reading past slot 2047, overflowing or
// hanging.
enum class HostileShape { AnyValue, NearNominals, Extremes, MutatedFrames };

struct NamedHostileShape {
    HostileShape shape;
    const char* name;
};

constexpr NamedHostileShape kHostileShapes[] = {
    {HostileShape::AnyValue, "any value"},
    {HostileShape::NearNominals, "near nominals"},
    {HostileShape::Extremes, "extremes"},
    {HostileShape::MutatedFrames, "mutated frames"},
};

PulseTrain HostileTrain(std::mt19937& random, HostileShape shape);
ChannelTrains HostileChannels(std::mt19937& random, HostileShape shape);
