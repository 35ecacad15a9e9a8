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

void StoreReceiveBuffer(CaptureState& state, int channel)
{
    if (channel < 0 || channel >= kChannelCount)
        return;
    PulseTrain& train = state.channels[static_cast<size_t>(channel)];
    train.Clear();
    const auto word = [&](int i) {
        return int32_t(state.receiveBuffer[size_t(2 * i)]) + 256 * int32_t(state.receiveBuffer[size_t(2 * i + 1)]);
    };
    train[0] = word(0);
    for (int i = 1; i < PulseTrain::kEntries; ++i)
        train[i] = 2 * word(i);
}

PollOutcome PollCapture(CaptureState& state, const AnalyzerSettings& settings, CEPDevice& device,
                        CaptureEvents* events)
{
    if (state.holdOffTicks > 0)
        --state.holdOffTicks;
    if (!state.capturing || !device.identified)
        return PollOutcome::NotPolling;

    int count = 0;
    if (!device.ReadStatus(count) || count <= 0 || count > kMaxCaptureBytes)
        return PollOutcome::NothingWaiting;
    if (!device.ReadTrain(state.receiveBuffer.data(), count))
        return PollOutcome::ReadFailed;

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
