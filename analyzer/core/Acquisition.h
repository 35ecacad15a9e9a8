#pragma once

#include "analyzer/core/AnalyzerSettings.h"
#include "analyzer/core/CaptureState.h"

class CEPDevice;

// What the capture path tells the window that owns it. The window updates the
// START/STOP caption, and after a stored capture it recognises the protocol,
// refreshes the view and the code text and runs the code test.
class CaptureEvents {
public:
    virtual ~CaptureEvents() = default;
    virtual void CapturingChanged(bool capturing) = 0;
    virtual void CaptureStored(int channel) = 0;
};

enum class PollOutcome {
    NotPolling,     // capturing off or no identified device
    NothingWaiting, // status said nothing, or an unusable count
    ReadFailed,     // the bulk read came back short
    HeldOff,        // Normal mode dropped the capture
    Stored,         // converted into the selected channel
};

// Flips capture polling; the caller shows "STOP" when it is now on.
bool ToggleCapture(CaptureState& state);

// Sends the trigger configuration when the device is identified; widths go
// out in 2 us units, halved toward zero, low 16 bits.
bool SendTriggerSettings(CEPDevice& device, const AnalyzerSettings& settings);

// One 100 ms tick of capture polling.
PollOutcome PollCapture(CaptureState& state, const AnalyzerSettings& settings, CEPDevice& device,
                        CaptureEvents* events);

// Converts all 4096 bytes of the receive buffer into one channel.
void StoreReceiveBuffer(CaptureState& state, int channel);

enum class FetchOutcome { NothingWaiting, ReadFailed, Fetched };

// Asks the device for a finished capture and reads it into `buffer`; a
// waiting count outside 1..4096 reads nothing. Bytes beyond the ones read
// keep what the buffer held.
FetchOutcome FetchCapture(CEPDevice& device, ReceiveBuffer& buffer);

// The capture conversion: word 0 is the start level, every later word a
// duration in 2 us units.
PulseTrain TrainFromCapture(const ReceiveBuffer& buffer);
