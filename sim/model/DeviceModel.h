#pragma once

#include "sim/model/Bootloader.h"
#include "sim/model/BusEntry.h"
#include "sim/model/DeviceTypes.h"
#include "sim/model/EventLog.h"
#include "sim/model/RecentItems.h"

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
    // A transfer without a timeout (0 waits for ever with libusb) is refused:
    // a device that stops answering would hold such a caller for good.
    TransferReply Control(int handle, int requestType, int request, int value, int index, int size, int timeoutMs);
    int BulkWrite(int handle, int endpoint, const uint8_t* bytes, int size, int timeoutMs);
    TransferReply BulkRead(int handle, int endpoint, int size, int timeoutMs);

    // Test and tool side.
    void Plug();
    void Unplug();
    // Leaves and comes back at once, with a new device number: faster than
    // any host rescans, as a quick replug or a hub reset can be.
    void Replug();
    bool IsPlugged();
    // Texts longer than a reply can carry (64 bytes) are cut.
    void SetIdentity(const Identity& identity);
    Identity CurrentIdentity();
    // False when the device cannot take it (unplugged, or in its bootloader).
    bool QueueCaptureBytes(const std::vector<uint8_t>& bytes);
    int PendingCaptures();
    std::vector<std::vector<uint8_t>> BulkWrites();
    std::vector<Frame> Frames();
    std::vector<std::vector<uint8_t>> TransmittedTrains();
    std::vector<ControlRequest> ControlRequests();
    Trigger LastTrigger();
    int SignalCount();
    void ClearLogs();
    int OpenHandles();
    int ClaimedInterfaces();
    int OpenCount();
    int UnclaimedTransfers();
    // The fault lets `after` chances pass, then fires `count` times (< 0:
    // until cleared); after 1, count 1 fails only the second claim.
    void InjectFault(Fault fault, int count, int after = 0);
    void ClearFaults();
    bool InBootloader();
    std::vector<uint8_t> ReceivedFirmware();
    // The version the next flashed image carries (empty: the running one
    // stays), and the image file the host is expected to send; its name
    // gives the version unless one was set.
    void SetImageVersion(const std::string& version);
    void ExpectFirmware(const std::string& fileName, const std::vector<uint8_t>& bytes);
    std::string FirmwareReport();
    // How long the bootloader takes to program each 1024-byte chunk.
    void SetChunkWriteMs(int ms);
    // A transmitted train comes back as a capture, as if the emitter shone
    // into the receiver.
    void SetLoopback(bool on);
    bool Loopback();
    // How long the device is gone from the bus when it restarts (into or out
    // of the bootloader). Real devices take about a second.
    void SetReenumerationDelayMs(int ms);
    // How long each transfer takes on the bus (in-process only; 0 after Reset).
    void SetTransferTimeUs(int us);
    int TransferTimeUs();

    std::string StatusText();
    // One page of the log from cursor on, at most maxBytes of text.
    std::vector<std::string> LogSince(uint64_t& cursor, size_t maxBytes = SIZE_MAX);
    std::vector<std::string> LogLines();

private:
    using Clock = std::chrono::steady_clock;

    struct HandleState {
        uint64_t key = 0;
        int owner = 0;
        bool claimed = false;
    };
    enum class Phase { Idle, TrainData };
    struct FaultPlan {
        int after = 0;
        int count = -1;
    };

    void ResetLocked();
    void ClearLogsLocked();
    void UpdateLocked();
    void PlugLocked(bool bootloader);
    void UnplugLocked();
    void ReenumerateLocked(bool bootloader);
    void PowerOnStateLocked();
    bool TakeFault(Fault fault);
    HandleState* FindHandle(int handle);
    int CheckTransfer(int handle, HandleState*& state, int endpoint, int expectedEndpoint, int timeoutMs,
                      const char* what);
    bool RefusedForTimeout(int timeoutMs, const std::string& what);
    bool QueueLocked(std::vector<uint8_t> capture);
    TransferReply VendorReply(int request, int value);
    int BulkWriteLocked(int handle, int endpoint, const uint8_t* bytes, int size, int timeoutMs, int& flashMs);
    bool AbandonsImage(const std::vector<uint8_t>& bytes) const;
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
    int transferTimeUs = 0;

    Identity identity;
    std::map<int, HandleState> handles;
    int nextHandle = 1;
    std::map<int, std::string> ownerNames;
    std::map<int, int> lastSequenceOf;

    // Device state (lost when it restarts).
    std::deque<std::vector<uint8_t>> captures;
    Phase phase = Phase::Idle;
    size_t phaseExpected = 0;
    size_t phaseReceived = 0;
    std::vector<uint8_t> phaseBytes; // the first kMaxFirmwareBytes of the phase
    std::optional<size_t> armedReadLength;

    // What the host did, the recent part of it.
    RecentItems<std::vector<uint8_t>> bulkWrites{1024, 8u << 20};
    RecentItems<Frame> frames{1024, 1u << 20};
    RecentItems<std::vector<uint8_t>> trains{64, 4u << 20};
    RecentItems<ControlRequest> controlRequests{256, 1u << 20};
    int trainCount = 0;
    Trigger trigger;
    int signalCount = 0;
    int openCount = 0;
    int writingHandle = 0; // the handle of the bulk write being received
    int unclaimedTransfers = 0;

    std::map<Fault, FaultPlan> faults;
    bool loopback = false;
    EventLog log;
    Bootloader loader; // what the bootloader received and flashed
};

} // namespace usbsim
