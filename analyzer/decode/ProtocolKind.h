#pragma once

#include "analyzer/decode/TimingPattern.h"

// What decoding and display dispatch on: the descriptor's name.
enum class ProtocolKind {
    NecFamily, // "NEC" and "NEC1-X2"
    Haier,
    QuendarA,
    Hitachi,
    SonySirc,
    PhilipsRc5,
    Other,
};

ProtocolKind KindOf(const ProtocolDescriptor& descriptor);
