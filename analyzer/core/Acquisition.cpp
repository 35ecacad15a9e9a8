#include "analyzer/core/Acquisition.h"

#include "device/USBDevice.h"

namespace {
constexpr int kHoldOffTicks = 5;
constexpr int kMaxCaptureBytes = 4096;
} // namespace

bool ToggleCapture(CaptureState& state)
{
    state.capturing = !state.capturing;
    return state.capturing;
}

bool SendTriggerSettings(CEPDevice& device, const AnalyzerSettings& settings)
{
    if (!device.identified)
        return false;
    const auto units = [](int us) { return static_cast<uint16_t>((us / 2) & 0xFFFF); };
    return device.SetTrigger(static_cast<int>(settings.triggerMode), units(settings.minPulseWidth),
                             units(settings.maxPulseWidth));
}

PulseTrain TrainFromCapture(const ReceiveBuffer& buffer)
{
    const auto word = [&](int i) { return int32_t(buffer[size_t(2 * i)]) + 256 * int32_t(buffer[size_t(2 * i + 1)]); };
    PulseTrain train;
    train[0] = word(0);
    for (int i = 1; i < PulseTrain::kEntries; ++i)
        train[i] = 2 * word(i);
    return train;
}

void StoreReceiveBuffer(CaptureState& state, int channel)
{
    if (channel < 0 || channel >= kChannelCount)
        return;
    state.channels[static_cast<size_t>(channel)] = TrainFromCapture(state.receiveBuffer);
}

FetchOutcome FetchCapture(CEPDevice& device, ReceiveBuffer& buffer)
{
    int count = 0;
    if (!device.ReadStatus(count) || count <= 0 || count > kMaxCaptureBytes)
        return FetchOutcome::NothingWaiting;
    if (!device.ReadTrain(buffer.data(), count))
        return FetchOutcome::ReadFailed;
    return FetchOutcome::Fetched;
}

PollOutcome PollCapture(CaptureState& state, const AnalyzerSettings& settings, CEPDevice& device,
                        CaptureEvents* events)
{
    if (state.holdOffTicks > 0)
        --state.holdOffTicks;
    if (!state.capturing || !device.identified)
        return PollOutcome::NotPolling;

    switch (FetchCapture(device, state.receiveBuffer)) {
    case FetchOutcome::NothingWaiting: return PollOutcome::NothingWaiting;
    case FetchOutcome::ReadFailed: return PollOutcome::ReadFailed;
    case FetchOutcome::Fetched: break;
    }

    switch (settings.captureMode) {
    case CaptureMode::Once:
        state.capturing = false;
        if (events)
            events->CapturingChanged(false);
        break;
    case CaptureMode::Normal:
        if (state.holdOffTicks != 0)
            return PollOutcome::HeldOff;
        state.holdOffTicks = kHoldOffTicks;
        break;
    default:
        break;
    }

    const int channel = state.selectedChannel;
    StoreReceiveBuffer(state, channel);
    if (events)
        events->CaptureStored(channel);
    return PollOutcome::Stored;
}
