#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// Timings of the protocols a Flipper Zero names in its parsed signals, for
// the ones this analyzer recognises. The frame is followed by the protocol's
// idle time (the rest of its repeat period), so the code looks like a press
// on a real remote and the analyzer recognises it as it would a capture.
enum class ParsedProtocol { Nec, NecExt, Sirc, Sirc15, Sirc20, Rc5, Rc5X };

// By the Flipper's name: "NEC", "NECext", "SIRC", "SIRC15", "SIRC20", "RC5", "RC5X".
std::optional<ParsedProtocol> ParsedProtocolNamed(const QString& name);
QString ParsedProtocolNames(); // the list, for messages

// Marks and spaces, starting with a mark and ending with the idle space; an
// error when the address or command does not fit the protocol's fields.
std::optional<QString> EncodeParsed(ParsedProtocol protocol, uint32_t address, uint32_t command,
                                    std::vector<int64_t>& durationsUs);
