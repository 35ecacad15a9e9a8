// The main window's side of the firmware update: it starts the search, shows
// the result box and leaves the device alone while a transfer holds it.
#include "analyzer/app/WavixDlg.h"

#include "analyzer/core/DataFolder.h"
#include "analyzer/core/FirmwareUpdate.h"

#include <QMessageBox>

void CWavixDlg::StartFirmwareUpdates()
{
    firmware = std::make_unique<FirmwareUpdate>(device, FirmwareFolders(programDirectory));
    connect(firmware.get(), &FirmwareUpdate::ShowResult, this, &CWavixDlg::ShowFirmwareResult);
    connect(firmware.get(), &FirmwareUpdate::RediscoveryDue, this,
            [this](int delayMs) { deviceSearchTimer.start(delayMs); });
    // Once the event loop runs, as the start-up's last step.
    QMetaObject::invokeMethod(
        this,
        [this] {
            PublishDeviceToFirmware();
            firmware->StartSearch();
        },
        Qt::QueuedConnection);
}

// The texts are the device maker's own, never translated.
void CWavixDlg::ShowFirmwareResult(bool ok)
{
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Update"),
                                ok ? QStringLiteral("Update firmware successful!") : QStringLiteral("Update firmware fail!"),
                                QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("firmwareResult"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QDialog::finished, firmware.get(), &FirmwareUpdate::ResultClosed);
    box->open();
}

void CWavixDlg::PublishDeviceToFirmware()
{
    if (firmware)
        firmware->PublishDevice(DeviceSnapshot{device.identified, device.Identity()});
}

bool CWavixDlg::DeviceHeldByFirmware() const
{
    return firmware && firmware->DeviceHeld();
}

// Listing the devices needs the device's lock; while a transfer holds it the
// last list stands, so the watcher sees no change instead of waiting.
QStringList CWavixDlg::ListDevicesUnlessHeld()
{
    if (!DeviceHeldByFirmware())
        listedDevices = device.ListMatchingDevices();
    return listedDevices;
}
