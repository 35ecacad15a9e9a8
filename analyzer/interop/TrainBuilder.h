#pragma once

#include "analyzer/core/PulseTrain.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// Turns the marks and spaces a file lists into a train the analyzer keeps:
// a leading space is dropped (the train starts with the first burst),
// neighbours of the same level merge as they do on the air, and silence after
// the last burst that the device could never capture is dropped. Every
// reader goes through it, so all formats share the same limits and messages.
class TrainBuilder {
public:
    // Refuses zero, negative and too long durations, and a 2049th duration
    // (one more than a train plus the silence after it). The error is the
    // message for the line being read.
    std::optional<QString> Add(bool mark, int64_t durationUs);
    // Adds a whole list that alternates starting with a mark.
    std::optional<QString> AddAlternating(const std::vector<int64_t>& durationsUs);
    // The finished train; an error when nothing but silence was given or the
    // merged code is longer than a train holds.
    std::optional<QString> Finish(PulseTrain& train);

    bool IsEmpty() const { return count_ == 0; }

private:
    std::array<int64_t, PulseTrain::kEntries> durations_{};
    int count_ = 0;
    bool lastMark_ = false;
};

// The marks and spaces of a train as other tools list them: starting with a
// mark (a leading space is dropped), even indices marks. Empty with an error
// when a duration is negative (a damaged file) or the train holds no burst.
std::optional<QString> SignalOfTrain(const PulseTrain& train, std::vector<int32_t>& signal);

// Parses a decimal number, with an optional sign when `allowSign`; nothing
// when the text is anything else. Beyond 10^18 the value stays at 10^18.
std::optional<int64_t> ParseDecimal(QStringView text, bool allowSign = false);
