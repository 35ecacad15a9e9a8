#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

struct usb_dev_handle;

// The connection to the device: one libusb-0.1 handle. Every use of the handle
// is serialised by handleMutex, because the firmware transfer thread uses it
// while the UI thread keeps polling.
class CUSBDevice {
public:
    CUSBDevice();
    ~CUSBDevice();
    CUSBDevice(const CUSBDevice&) = delete;
    CUSBDevice& operator=(const CUSBDevice&) = delete;

    bool IsOpen() const;

protected:
    void CloseLocked();

    usb_dev_handle* handle = nullptr;
    mutable std::recursive_mutex handleMutex;
};

// What Identify read from the device.
struct DeviceIdentity {
    QString deviceName;
    QString deviceVersion;
    QString deviceSerial;
    QString deviceType;
};

// The device's identity and the protocol operations on top of the connection.
class CEPDevice : public CUSBDevice {
public:
    static constexpr int kVendorId = 0x16C0;
    static constexpr int kProductId = 0x1012;
    static constexpr int kTimeoutMs = 1000;
    static constexpr int kReplySize = 64;
    static constexpr int kMaxPayload = 250;
    static constexpr int kEndpointOut = 0x02;
    static constexpr int kEndpointIn = 0x81;
    static constexpr int kFirmwareChunk = 1024;

    // Discovery: opens the first matching device when no handle is open and
    // closes the handle when the device it was opened on is gone. A matching
    // device at another place on the bus is a new enumeration (a replug, a
    // hub reset): the old handle is dead, so it is closed and the new device
    // opened. Returns whether a handle is open afterwards.
    bool FindDevice();

    // Vendor reads into a caller buffer of kReplySize bytes. A reply outside
    // 1..64 bytes copies nothing; the libusb result is returned either way.
    int ReadName(uint8_t* out);
    int ReadVersion(uint8_t* out);
    int ReadSerial(uint8_t* out);
    int ReadType(uint8_t* out);

    // Non-zero when a capture is waiting; then waitingBytes holds its length.
    // Any reply but 4 bytes starting with 0x58 means nothing waiting and
    // leaves waitingBytes untouched.
    int ReadStatus(int& waitingBytes);

    bool Signal();

    // Reads the four identity texts; on failure they keep their old values.
    bool Identify();

    bool SendCommand(const uint8_t* payload, int payloadLength);
    bool SetTrigger(int type, uint16_t minUnits, uint16_t maxUnits);
    bool SendTrain(const uint8_t* bytes, int length);
    bool ReadTrain(uint8_t* buffer, int length);
    bool EnterBootloader();
    bool WriteFirmware(const uint8_t* image, size_t length);

    // Interface paths of every matching device on the buses, in the form the
    // device-change notifications carry ("\\?\USB#Vid_16c0&Pid_1012#...").
    QStringList ListMatchingDevices();

    // Closes the handle and forgets the identification (firmware update).
    void Close();

    DeviceIdentity Identity() const;
    // The device monitor's "no handle" step: name and version are emptied.
    void ForgetNameAndVersion();

    std::atomic<bool> identified{false};

    // The process-wide frame counter shared by every CEPDevice.
    static uint8_t FrameSequence();
    static void SetFrameSequence(uint8_t value);

private:
    int VendorRead(int request, int value, uint8_t* out);
    // A request that failed with -ENODEV means the device left: the handle
    // is closed and the buses scanned again at once. Returns result.
    int CheckGone(int result);
    bool BulkTransfer(int endpoint, uint8_t* bytes, int length, int& moved);
    bool TrainDataPhase(uint8_t command, int endpoint, uint8_t* bytes, int length);

    DeviceIdentity identity;
    QString openLocation; // bus and device file of the open handle
    static std::atomic<uint8_t> frameSequence;
};
