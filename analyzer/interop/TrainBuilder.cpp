#include "analyzer/interop/TrainBuilder.h"

#include "analyzer/interop/NamedCode.h"

std::optional<QString> TrainBuilder::Add(bool mark, int64_t durationUs)
{
    if (durationUs == 0)
        return QStringLiteral("a duration of 0 is not allowed");
    if (durationUs < 0)
        return QStringLiteral("negative duration %1").arg(durationUs);
    if (durationUs > interop::kMaxDurationUs)
        return QStringLiteral("a duration above %1 us").arg(interop::kMaxDurationUs);
    if (count_ == 0 && !mark)
        return std::nullopt; // silence before the first burst
    if (count_ > 0 && mark == lastMark_) {
        // Sums stay below 2^62 whatever a file holds: every part is below 2^31
        // and a merge past the limit is refused at once.
        durations_[static_cast<std::size_t>(count_ - 1)] += durationUs;
        if (durations_[static_cast<std::size_t>(count_ - 1)] > interop::kMaxDurationUs)
            return QStringLiteral("merged duration is above %1 us").arg(interop::kMaxDurationUs);
        return std::nullopt;
    }
    if (count_ == PulseTrain::kEntries)
        return QStringLiteral("more than %1 durations").arg(PulseTrain::kMaxPulses);
    durations_[static_cast<std::size_t>(count_++)] = durationUs;
    lastMark_ = mark;
    return std::nullopt;
}

std::optional<QString> TrainBuilder::AddAlternating(const std::vector<int64_t>& durationsUs)
{
    bool mark = true;
    for (int64_t duration : durationsUs) {
        if (auto error = Add(mark, duration))
            return error;
        mark = !mark;
    }
    return std::nullopt;
}

std::optional<QString> TrainBuilder::Finish(PulseTrain& train)
{
    int count = count_;
    if (count > 0 && !lastMark_ && durations_[static_cast<std::size_t>(count - 1)] > interop::kLongestCapturableUs)
        --count;
    if (count == 0)
        return QStringLiteral("the code holds no burst");
    if (count > PulseTrain::kMaxPulses)
        return QStringLiteral("more than %1 durations").arg(PulseTrain::kMaxPulses);
    train.Clear();
    train[0] = 1;
    for (int i = 0; i < count; ++i)
        train[i + 1] = static_cast<int32_t>(durations_[static_cast<std::size_t>(i)]);
    return std::nullopt;
}

std::optional<QString> SignalOfTrain(const PulseTrain& train, std::vector<int32_t>& signal)
{
    signal.clear();
    const int count = train.PulseCount();
    for (int i = 1; i <= count; ++i) {
        if (train[i] < 0)
            return QStringLiteral("duration %1 is negative").arg(i);
        if (signal.empty() && !train.IsHigh(i))
            continue;
        signal.push_back(train[i]);
    }
    if (signal.empty())
        return QStringLiteral("the code holds no burst");
    return std::nullopt;
}

std::optional<int64_t> ParseDecimal(QStringView text, bool allowSign)
{
    bool negative = false;
    if (allowSign && !text.isEmpty() && (text.front() == QLatin1Char('+') || text.front() == QLatin1Char('-'))) {
        negative = text.front() == QLatin1Char('-');
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    // Saturates, so a number of any length reads as "too large" rather than
    // as no number at all.
    constexpr int64_t kCeiling = 1000000000000000000LL;
    int64_t value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value >= kCeiling / 10 ? kCeiling : value * 10 + (c.unicode() - '0');
    }
    return negative ? -value : value;
}
