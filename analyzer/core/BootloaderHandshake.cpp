#include "analyzer/core/BootloaderHandshake.h"

bool IsBootloaderName(const QString& deviceName)
{
    return deviceName == QLatin1String("Quendar BOOTLOADER") || deviceName == QLatin1String("BOOTLOADER");
}

HandshakeStep BootloaderHandshake::Tick(bool identified, const QString& deviceName)
{
    if (identified)
        return IsBootloaderName(deviceName) ? HandshakeStep::StartTransfer : HandshakeStep::EnterBootloader;
    return ++bootloaderWaitTicks >= kGiveUpTicks ? HandshakeStep::GiveUp : HandshakeStep::Wait;
}
