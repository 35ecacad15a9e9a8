#pragma once

#include "sim/model/BusEntry.h"
#include "sim/model/DeviceTypes.h"
#include "sim/model/EventLog.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace usbsim {

// The simulated IR device at the USB level, on its bus beside a few devices
// that are not ours. Both front-ends (the in-process libusb and the daemon)
// drive one of these; every public call takes the one lock, because the
// programs use a handle from a second thread during firmware updates.
class DeviceModel {
public:
    // Keys of our device count up from firstDeviceKey; a daemon picks a fresh
    // base so that a restarted daemon never reuses a key a client still holds.
    explicit DeviceModel(uint64_t firstDeviceKey = 1000);

    void Reset();

    // Host side, as libusb sees it. Handles are small positive numbers; owner
    // tags the client (the daemon closes a client's handles when it leaves).
    std::vector<BusEntry> Bus();
    int Open(uint64_t key, int owner = 0);
    int Close(int handle);
    void CloseAllOf(int owner);
    void SetOwnerName(int owner, const std::string& name);
    int Claim(int handle, int interface);
    int Release(int handle, int interface);
    TransferReply Control(int handle, int requestType, int request, int value, int index, int size);
    int BulkWrite(int handle, int endpoint, const uint8_t* bytes, int size);
    TransferReply BulkRead(int handle, int endpoint, int size);

    // Test and tool side.
    void Plug();
    void Unplug();
    bool IsPlugged();
    void SetIdentity(const Identity& identity);
    Identity CurrentIdentity();
    // False when the device cannot take it (unplugged, or in its bootloader).
    bool QueueCaptureBytes(const std::vector<uint8_t>& bytes);
    int PendingCaptures();
    std::vector<std::vector<uint8_t>> BulkWrites();
    std::vector<Frame> Frames();
    std::vector<std::vector<uint8_t>> TransmittedTrains();
    Trigger LastTrigger();
    int SignalCount();
    void ClearLogs();
    int OpenHandles();
    int ClaimedInterfaces();
    int OpenCount();
    int UnclaimedTransfers();
    void InjectFault(Fault fault, int count);
    void ClearFaults();
    bool InBootloader();
    std::vector<uint8_t> ReceivedFirmware();
    // A transmitted train comes back as a capture, as if the emitter shone
    // into the receiver.
    void SetLoopback(bool on);
    bool Loopback();
    // How long the device is gone from the bus when it restarts (into or out
    // of the bootloader). Real devices take about a second.
    void SetReenumerationDelayMs(int ms);

    std::string StatusText();
    std::vector<std::string> LogSince(uint64_t& cursor);
    std::vector<std::string> LogLines();

private:
    using Clock = std::chrono::steady_clock;

    struct HandleState {
        uint64_t key = 0;
        int owner = 0;
        bool claimed = false;
    };
    enum class Phase { Idle, TrainData, FirmwareData };

    void ResetLocked();
    void UpdateLocked();
    void PlugLocked(bool bootloader);
    void UnplugLocked();
    void ReenumerateLocked(bool bootloader);
    void PowerOnStateLocked();
    bool TakeFault(Fault fault);
    HandleState* FindHandle(int handle);
    int CheckTransfer(int handle, HandleState*& state, int endpoint, int expectedEndpoint, const char* what);
    TransferReply VendorReply(int request, int value);
    void ReceiveBulk(int owner, const std::vector<uint8_t>& bytes);
    void ReceiveFrame(int owner, const std::vector<uint8_t>& bytes);
    void ExecuteCommand(const std::vector<uint8_t>& payload);
    void ReceiveData(const std::vector<uint8_t>& bytes);
    void FinishTrain();
    std::string OwnerName(int owner) const;

    std::mutex mutex;

    // Presence.
    bool plugged = true;
    bool bootloader = false;
    uint64_t key = 0;
    uint64_t nextKey = 1000;
    int deviceNumber = 1;
    std::optional<Clock::time_point> replugAt;
    bool replugAsBootloader = false;
    int reenumerationDelayMs = 0;

    Identity identity;
    std::map<int, HandleState> handles;
    int nextHandle = 1;
    std::map<int, std::string> ownerNames;
    std::map<int, int> lastSequenceOf;

    // Device state (lost when it restarts).
    std::deque<std::vector<uint8_t>> captures;
    Phase phase = Phase::Idle;
    size_t phaseExpected = 0;
    std::vector<uint8_t> phaseBytes;
    std::optional<size_t> armedReadLength;
    bool firmwareOpen = false; // a begin frame arrived, the end frame not yet

    // What the host did.
    std::vector<std::vector<uint8_t>> bulkWrites;
    std::vector<Frame> frames;
    std::vector<std::vector<uint8_t>> trains;
    Trigger trigger;
    int signals = 0;
    std::vector<uint8_t> firmware;
    bool firmwareReceived = false;
    int openCount = 0;
    int unclaimedTransfers = 0;

    std::map<Fault, int> faults;
    bool loopback = false;
    EventLog log;
};

} // namespace usbsim
