// The main window's side of the code library window.
#include "analyzer/app/WavixDlg.h"

#include "analyzer/decode/ProtocolIdentify.h"
#include "analyzer/library/window/VendorDlg.h"

void CWavixDlg::OpenVendor()
{
    if (vendorWindow) {
        vendorWindow->show();
        vendorWindow->raise();
        vendorWindow->activateWindow();
        return;
    }
    vendorWindow = new CVendorDlg(*this, this);
    vendorWindow->show();
}

CVendorDlg* CWavixDlg::VendorWindow() const
{
    return vendorWindow;
}

void CWavixDlg::RunVendorCodeTest(int channel)
{
    if (vendorWindow && channel >= 0 && channel < kChannelCount)
        vendorWindow->RunCodeTest(capture.channels[size_t(channel)]);
}

QString CWavixDlg::LibraryFolder() const
{
    return appDirectory;
}

const std::array<PulseTrain, kChannelCount>& CWavixDlg::ChannelTrains() const
{
    return capture.channels;
}

int CWavixDlg::SelectedChannel() const
{
    return capture.selectedChannel;
}

CEPDevice* CWavixDlg::LibraryDevice()
{
    return DeviceHeldByFirmware() ? nullptr : &device;
}

void CWavixDlg::LoadTrainIntoChannel(int channel, const PulseTrain& train)
{
    if (channel < 0 || channel >= kChannelCount)
        return;
    capture.channels[size_t(channel)] = train;
    IdentifyChannels(capture, channel);
    UpdateDataSpan();
    FormatPulseText();
}
