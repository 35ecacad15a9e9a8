#pragma once

#include <QString>

// The names a device reports while its bootloader runs.
bool IsBootloaderName(const QString& deviceName);

enum class HandshakeStep {
    EnterBootloader, // normal firmware still there: ask it (again) to restart
    StartTransfer,   // the bootloader is there: stop ticking, send the image
    Wait,            // no identified device yet
    GiveUp,          // no identified device on too many ticks: stop, release the image
};

// The bootloader handshake, one call per 100 ms tick of timer 0. Ticks
// without an identified device are counted over the whole handshake; seeing
// the device in between does not reset the count.
struct BootloaderHandshake {
    static constexpr int kGiveUpTicks = 50; // 5 s of 100 ms ticks

    int bootloaderWaitTicks = 0;

    void Start() { bootloaderWaitTicks = 0; }
    HandshakeStep Tick(bool identified, const QString& deviceName);
};
