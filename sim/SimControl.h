#pragma once

// Control interface of the in-process simulated device. Tests link the
// library "usbsim", which exports the libusb-0.1 functions (usb_init,
// usb_find_busses, usb_open, usb_control_msg, usb_bulk_write, ...) backed by
// one simulated device, and drive that device through the functions below.
// Nothing here depends on the programs' own code: the model knows the wire
// protocol on its own, so it catches our mistakes.

#include "sim/model/DeviceTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace usbsim {

// Back to the power-on state: one device plugged in, normal firmware, the
// default identity, nothing queued, no faults, empty logs.
void Reset();

void Plug();
void Unplug();
// Gone and back at once, as a new enumeration (a new device number): open
// handles die, the programs must notice it without seeing an empty bus.
void Replug();
bool IsPlugged();

void SetIdentity(const Identity& identity);
Identity CurrentIdentity();

// A finished capture waiting to be fetched: the exact bytes the device will
// report (little-endian 16-bit words: start level, then durations in 2 us).
void QueueCaptureBytes(const std::vector<uint8_t>& bytes);
// Encodes a train (durations in us, halved into 2 us words) and queues it.
void QueueCapture(int startLevel, const std::vector<int>& durationsUs);
int PendingCaptures();

// Every bulk OUT write in the order the host issued it, frames and data
// phases alike, each exactly as it arrived on endpoint 0x02.
std::vector<std::vector<uint8_t>> BulkWrites();
// The decoded command frames only (header checked, XOR checked).
std::vector<Frame> Frames();
// Trains the host asked the device to transmit (the data phase bytes).
std::vector<std::vector<uint8_t>> TransmittedTrains();
// The recent control requests, with the wLength and timeout they came with.
std::vector<ControlRequest> ControlRequests();
// The last trigger configuration received: type, min and max in 2 us units.
Trigger LastTrigger();
int SignalCount();
void ClearLogs();

// Bookkeeping the tests check to prove the host never leaves the handle in a
// broken state. The logs above keep the recent part only (about the last
// thousand writes), as the daemon does.
int OpenHandles();  // usb_open minus usb_close
int ClaimedInterfaces(); // claims not yet released
int OpenCount();    // successful usb_open calls since Reset
int UnclaimedTransfers(); // bulk transfers made without interface 0 claimed

// count < 0: until cleared; otherwise the number of times the fault fires,
// after letting `after` chances pass (after 1: the second claim fails).
void InjectFault(Fault fault, int count = -1, int after = 0);
void ClearFaults();

// Firmware side: the bootloader state and the last image received.
bool InBootloader();
std::vector<uint8_t> ReceivedFirmware();
// The version the next flashed image carries; empty (after Reset): the
// running version stays.
void SetImageVersion(const std::string& version);
// The image file the host is expected to send: its name gives the version
// (unless one was set) and FirmwareReport says whether it arrived intact.
void ExpectFirmware(const std::string& fileName, const std::vector<uint8_t>& bytes);
// What "wavix-sim firmware" prints: the image received, its length and
// CRC-32, the expected one, the versions.
std::string FirmwareReport();
// How long the bootloader takes to program each 1024-byte chunk (a real one
// takes a few milliseconds); 0 after Reset.
void SetChunkWriteMs(int ms);

// IR loop-back: a train the host transmits is queued as a capture, as if the
// emitter shone into the receiver. Off after Reset.
void SetLoopback(bool on);
// How long the device stays off the bus when it restarts into or out of the
// bootloader; 0 (the default after Reset) re-enumerates at once.
void SetReenumerationDelayMs(int ms);
// How long every transfer takes, as on a real bus (a 1 KiB bulk transfer
// takes about a millisecond): other threads may go on meanwhile. 0 (the
// default after Reset) returns at once.
void SetTransferTimeUs(int us);
// The device's event log, one line per event, as "wavix-sim log" prints it
// ("seq=1 SetTrigger type=3 min=300 max=600", "SendTrain 6 bytes: 01 00 94 11 CA 08", ...).
std::vector<std::string> LogLines();

} // namespace usbsim
