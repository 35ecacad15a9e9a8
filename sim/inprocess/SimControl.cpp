#include "sim/SimControl.h"

#include "sim/model/CaptureCodec.h"
#include "sim/inprocess/InProcessModel.h"

namespace usbsim {

void Reset() { InProcessModel().Reset(); }
void Plug() { InProcessModel().Plug(); }
void Unplug() { InProcessModel().Unplug(); }
void Replug() { InProcessModel().Replug(); }
bool IsPlugged() { return InProcessModel().IsPlugged(); }
void SetIdentity(const Identity& identity) { InProcessModel().SetIdentity(identity); }
Identity CurrentIdentity() { return InProcessModel().CurrentIdentity(); }
void QueueCaptureBytes(const std::vector<uint8_t>& bytes) { InProcessModel().QueueCaptureBytes(bytes); }
void QueueCapture(int startLevel, const std::vector<int>& durationsUs)
{
    InProcessModel().QueueCaptureBytes(EncodeCapture(startLevel, durationsUs));
}
int PendingCaptures() { return InProcessModel().PendingCaptures(); }
std::vector<std::vector<uint8_t>> BulkWrites() { return InProcessModel().BulkWrites(); }
std::vector<Frame> Frames() { return InProcessModel().Frames(); }
std::vector<std::vector<uint8_t>> TransmittedTrains() { return InProcessModel().TransmittedTrains(); }
std::vector<ControlRequest> ControlRequests() { return InProcessModel().ControlRequests(); }
Trigger LastTrigger() { return InProcessModel().LastTrigger(); }
int SignalCount() { return InProcessModel().SignalCount(); }
void ClearLogs() { InProcessModel().ClearLogs(); }
int OpenHandles() { return InProcessModel().OpenHandles(); }
int ClaimedInterfaces() { return InProcessModel().ClaimedInterfaces(); }
int OpenCount() { return InProcessModel().OpenCount(); }
int UnclaimedTransfers() { return InProcessModel().UnclaimedTransfers(); }
void InjectFault(Fault fault, int count, int after) { InProcessModel().InjectFault(fault, count, after); }
void ClearFaults() { InProcessModel().ClearFaults(); }
bool InBootloader() { return InProcessModel().InBootloader(); }
std::vector<uint8_t> ReceivedFirmware() { return InProcessModel().ReceivedFirmware(); }
void SetImageVersion(const std::string& version) { InProcessModel().SetImageVersion(version); }
void ExpectFirmware(const std::string& fileName, const std::vector<uint8_t>& bytes)
{
    InProcessModel().ExpectFirmware(fileName, bytes);
}
std::string FirmwareReport() { return InProcessModel().FirmwareReport(); }
void SetChunkWriteMs(int ms) { InProcessModel().SetChunkWriteMs(ms); }
void SetLoopback(bool on) { InProcessModel().SetLoopback(on); }
void SetReenumerationDelayMs(int ms) { InProcessModel().SetReenumerationDelayMs(ms); }
void SetTransferTimeUs(int us) { InProcessModel().SetTransferTimeUs(us); }
std::vector<std::string> LogLines() { return InProcessModel().LogLines(); }

} // namespace usbsim
