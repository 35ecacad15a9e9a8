#pragma once

#include "analyzer/interop/CodeCollector.h"
#include "analyzer/interop/CodeFormat.h"
#include "analyzer/interop/CodeLineReader.h"

// Flipper Zero infrared files (.ir): "Filetype: IR signals file" (or "IR
// library file"), "Version: 1", then signals of "key: value" lines, each
// starting with "name:". A raw signal gives frequency, duty_cycle and data
// (timings in microseconds, mark first); a parsed one gives protocol, address
// and command (4 bytes each, least significant first), turned into timings
// for NEC, NECext, SIRC, SIRC15, SIRC20, RC5 and RC5X.
std::optional<FormatProblem> ReadFlipperCodes(CodeLineReader& lines, CodeCollector& codes);

// Every code as a raw signal at the carrier of the options, duty cycle 0.33.
// A code of more timings than a Flipper holds is refused, never cut.
std::optional<QString> WriteFlipperCodes(const std::vector<NamedCode>& codes, const ExportOptions& options,
                                         QByteArray& out);

namespace flipper {
constexpr int kMaxTimings = 1024;
constexpr int kMinCarrierHz = 10000;
constexpr int kMaxCarrierHz = 56000;
} // namespace flipper
