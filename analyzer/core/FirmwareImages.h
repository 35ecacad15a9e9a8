#pragma once

#include "device/USBDevice.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The firmware images (*.UPF) in the program folder: which one the device
// should get, and reading it.

// The device as the firmware search sees it. The UI thread hands over a
// copy, so the flag and the texts always belong to one moment.
struct DeviceSnapshot {
    bool identified = false;
    DeviceIdentity identity;
};

// The search starts looking once an identified device's type ends in "IR".
bool ReadyForFirmwareSearch(const DeviceSnapshot& device);

// True for names ending in ".UPF" in any case.
bool IsFirmwareImageName(const QString& fileName);

// The image in `folders` whose name carries the newest version newer than
// the device's firmware, as a full path; empty when there is none. A device
// not running its normal firmware (no "Logic Analyzer" in its name) counts as
// version 0.0.0.0, so any versioned image is newer. Among equal versions the
// first folder, then the first name in it, wins.
QString FindNewerFirmware(const QStringList& folders, const DeviceIdentity& device);

// No real image comes near this; a larger file is refused rather than read
// whole into memory.
constexpr qint64 kMaxFirmwareImageBytes = 16 * 1024 * 1024;

// The whole file, unchanged; nothing when it cannot be opened or read in
// full, or is larger than kMaxFirmwareImageBytes.
std::optional<QByteArray> ReadFirmwareImage(const QString& path);
