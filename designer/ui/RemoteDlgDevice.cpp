// The designer's device handling: the timers, the arrival and removal
// notifications, learning a code into the selected buttons, sending a
// button's code, the connection state.
#include "designer/ui/RemoteDlg.h"

#include "analyzer/core/DeviceMonitor.h"
#include "analyzer/core/Transmit.h"
#include "designer/Learning.h"
#include "designer/PlayPicture.h"
#include "designer/RemoteLayout.h"
#include "device/DeviceChangeWatcher.h"

#include <QPushButton>

void CRemoteDlg::StartDevice()
{
    deviceWatcher = new DeviceChangeWatcher([this] { return device.ListMatchingDevices(); }, this);
    connect(deviceWatcher, &DeviceChangeWatcher::DeviceChange, this, &CRemoteDlg::OnDeviceChange);
    deviceWatcher->Start();
}

void CRemoteDlg::StartTimers()
{
    for (QTimer* timer : {&statusTimer, &searchTimer, &learnTimer})
        timer->setInterval(100);
    connect(&statusTimer, &QTimer::timeout, this, &CRemoteDlg::StatusPoll);
    connect(&searchTimer, &QTimer::timeout, this, &CRemoteDlg::FirstDeviceSearch);
    connect(&learnTimer, &QTimer::timeout, this, &CRemoteDlg::LearnPoll);
    statusTimer.start();
    searchTimer.start();
    learnTimer.start();
}

void CRemoteDlg::OnDeviceChange(int kind, int broadcastType, const QString& path)
{
    if (IsOurDeviceChange(kind, broadcastType, path))
        device.FindDevice();
}

void CRemoteDlg::FirstDeviceSearch()
{
    searchTimer.stop();
    device.FindDevice();
}

void CRemoteDlg::StatusPoll()
{
    if (DeviceMonitorTick(device, connected) != ConnectionChange::None)
        update(play::IndicatorRect(size()));
}

void CRemoteDlg::LearnPoll()
{
    const std::optional<PulseTrain> code = learn::ReadWaitingCode(device);
    if (!code || !learning)
        return;
    for (size_t i = buttons.size(); i-- > 0;)
        if (editor.IsSelected(buttons[i].button.get()))
            buttons[i].code = *code;
    ToggleLearning();
}

void CRemoteDlg::ToggleLearning()
{
    learning = !learning;
    learnButton->setText(learning ? QStringLiteral("Stop") : QStringLiteral("Learn"));
}

void CRemoteDlg::SendCode(int id)
{
    if (id < remote::kFirstButtonId || id > remote::kLastSendingId)
        return;
    const size_t index = static_cast<size_t>(id - remote::kFirstButtonId);
    if (index < buttons.size())
        TransmitTrain(device, buttons[index].code);
}
