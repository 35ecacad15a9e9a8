#pragma once

#include "analyzer/core/PulseTrain.h"

#include <random>

// Trains of any content, as a capture file may hold them: what decoding and
// drawing must survive without reading past slot 2047, overflowing or
// hanging.
enum class HostileShape { AnyValue, NearNominals, Extremes, MutatedFrames };

PulseTrain HostileTrain(std::mt19937& random, HostileShape shape);
