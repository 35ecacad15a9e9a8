#include "analyzer/app/WavixDlg.h"

#include "analyzer/app/AboutDlg.h"
#include "analyzer/app/AppIcon.h"
#include "analyzer/app/CodeTextBox.h"
#include "analyzer/app/CodeTransferCommands.h"
#include "analyzer/app/ControlIds.h"
#include "analyzer/app/WaveformController.h"
#include "analyzer/app/WaveformPanel.h"
#include "analyzer/core/DataFolder.h"
#include "analyzer/core/DeviceMonitor.h"
#include "analyzer/core/FirmwareUpdate.h"
#include "analyzer/core/Transmit.h"
#include "analyzer/decode/CodeText.h"
#include "analyzer/decode/ProtocolIdentify.h"
#include "analyzer/library/SuccessChime.h"
#include "analyzer/settings/SettingsStore.h"
#include "analyzer/view/ZoomTable.h"
#include "device/DeviceChangeWatcher.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QUrl>

namespace {

const char* const kGuideFile = "wavix-guide.html";

QString ProgramFolder(const QString& appDir)
{
    const QString folder = appDir.isEmpty() ? QCoreApplication::applicationDirPath() : appDir;
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

} // namespace

// The translator comes first: it creates Setting.ini before any setting is read.
CWavixDlg::CWavixDlg(const QString& appDir, QWidget* parent)
    : QMainWindow(parent),
      appDirectory(EnsureDataFolder(ProgramFolder(appDir))),
      programDirectory(ProgramFolder(appDir)),
      language(appDirectory)
{
    SetControlId(this, ids::kMainDialog);
    setWindowTitle(QStringLiteral("Wavix II"));

    waveform = std::make_unique<WaveformController>(capture, settings);
    BuildControls();
    BuildMenus();
    RunStartup();
}

CWavixDlg::~CWavixDlg()
{
    firmware->Shutdown();
    qApp->removeEventFilter(this);
}

QString CWavixDlg::SettingsPath() const
{
    return SettingsFilePath(appDirectory);
}

void CWavixDlg::RunStartup()
{
    setWindowIcon(WavixIcon());
    waveform->AttachZoomList(zoomList);

    StartFirmwareUpdates();
    deviceWatcher = new DeviceChangeWatcher([this] { return ListDevicesUnlessHeld(); }, this);
    connect(deviceWatcher, &DeviceChangeWatcher::DeviceChange, this, &CWavixDlg::OnDeviceChange);
    deviceWatcher->Start();

    startLayout.recorded = true;
    startLayout.client = client->size();
    startLayout.overview = overviewPanel->geometry();
    startLayout.main = mainPanel->geometry();
    startLayout.output = outputBox->geometry();
    startLayout.channelLabel = channelLabel->geometry();
    startLayout.status = statusLine->geometry();

    for (QTimer* timer : {&deviceMonitorTimer, &deviceSearchTimer, &capturePollTimer})
        timer->setInterval(100);
    connect(&deviceMonitorTimer, &QTimer::timeout, this, &CWavixDlg::DeviceMonitorTick);
    connect(&deviceSearchTimer, &QTimer::timeout, this, &CWavixDlg::FirstDeviceSearch);
    connect(&capturePollTimer, &QTimer::timeout, this, &CWavixDlg::CapturePollTick);
    deviceMonitorTimer.start();
    deviceSearchTimer.start();
    capturePollTimer.start();

    waveform->SelectZoomIndex(kStartZoomIndex);
    waveform->RefreshView();

    // The built-in chime goes where the user may replace it with their own.
    const QString chime = appDirectory + QStringLiteral("/success.wav");
    if (!QFileInfo::exists(chime))
        WriteSuccessChime(chime);

    const QString ini = SettingsPath();
    LoadTriggerSettings(ini, settings);
    UpdateTriggerLabel();
    LoadOtherSettings(ini, settings);

    BuildLanguageMenu(language.ListOrInstallLanguages());
    ApplyLanguage(QString());
    qApp->installEventFilter(this);
}

void CWavixDlg::ToggleCapture()
{
    ::ToggleCapture(capture);
    SetStartCaption();
}

void CWavixDlg::SetStartCaption()
{
    startButton->setText(language.LookupText(capture.capturing ? QStringLiteral("IDS_STOP") : QStringLiteral("IDS_START")));
}

void CWavixDlg::SelectChannel(int channel)
{
    if (channel < 0 || channel >= kChannelCount)
        return;
    capture.selectedChannel = channel;
    UpdateChannelLabel();
    FormatPulseText();
}

void CWavixDlg::UpdateChannelLabel()
{
    QString label = language.LookupText(QStringLiteral("IDS_CHANNEL"));
    label.replace(QStringLiteral("%d"), QString::number(capture.selectedChannel + 1));
    channelLabel->setText(label);
}

void CWavixDlg::ClearChannels()
{
    capture.ClearChannels();
    UpdateDataSpan();
    FormatPulseText();
}

void CWavixDlg::TransmitChannel(int channel)
{
    if (channel < 0 || channel >= kChannelCount || DeviceHeldByFirmware())
        return;
    TransmitTrain(device, capture.channels[size_t(channel)]);
}

void CWavixDlg::FormatPulseText()
{
    outputBox->setPlainText(::FormatPulseText(capture.channels[size_t(capture.selectedChannel)], settings));
}

void CWavixDlg::UpdateDataSpan()
{
    waveform->UpdateDataSpan();
}

void CWavixDlg::UpdateTriggerLabel()
{
    QString text;
    const auto pulseRange = [this](const char* key) {
        return language.LookupText(QLatin1String(key))
            + QStringLiteral(" [%1 - %2]").arg(settings.minPulseWidth).arg(settings.maxPulseWidth);
    };
    switch (settings.triggerMode) {
    case TriggerMode::RisingEdge: text = language.LookupText(QStringLiteral("IDS_TRIGGER_RISING_EDGE")); break;
    case TriggerMode::FallingEdge: text = language.LookupText(QStringLiteral("IDS_TRIGGER_FALLING_EDGE")); break;
    case TriggerMode::Pulse: text = pulseRange("IDS_TRIGGER_PULSE"); break;
    case TriggerMode::PositivePulse: text = pulseRange("IDS_TRIGGER_POSITIVE_PULSE"); break;
    case TriggerMode::NegativePulse: text = pulseRange("IDS_TRIGGER_NEGATIVE_PULSE"); break;
    default: text = language.LookupText(QStringLiteral("IDS_TRIGGER_AUTO")); break;
    }
    if (!text.isEmpty())
        triggerText->setText(text);
}

void CWavixDlg::OnDeviceChange(int kind, int broadcastType, const QString& path)
{
    if (IsOurDeviceChange(kind, broadcastType, path) && !DeviceHeldByFirmware())
        device.FindDevice();
}

void CWavixDlg::DeviceMonitorTick()
{
    if (DeviceHeldByFirmware())
        return;
    const ConnectionChange change = ::DeviceMonitorTick(device, settings, lastShownConnected);
    PublishDeviceToFirmware();
    switch (change) {
    case ConnectionChange::Connected: {
        const DeviceIdentity identity = device.Identity();
        statusLine->setText(identity.deviceName + QStringLiteral(" - Version ") + identity.deviceVersion);
        break;
    }
    case ConnectionChange::Disconnected:
        statusLine->setText(language.LookupText(QStringLiteral("IDS_DEVICE_NC")));
        break;
    case ConnectionChange::None:
        break;
    }
}

void CWavixDlg::FirstDeviceSearch()
{
    deviceSearchTimer.stop();
    if (!DeviceHeldByFirmware())
        device.FindDevice();
}

void CWavixDlg::CapturePollTick()
{
    if (DeviceHeldByFirmware())
        return;
    PollCapture(capture, settings, device, this);
}

void CWavixDlg::CapturingChanged(bool)
{
    SetStartCaption();
}

void CWavixDlg::CaptureStored(int channel)
{
    IdentifyChannels(capture, channel);
    UpdateDataSpan();
    FormatPulseText();
    RunVendorCodeTest(channel);
}

void CWavixDlg::RouteCommand(int commandId)
{
    if (commandId >= ids::kCmdLanguageFirst && commandId <= ids::kCmdLanguageLast) {
        if (QAction* action = commands.value(commandId))
            ApplyLanguage(action->text());
    } else if (commandId >= ids::kCmdChannel1 && commandId < ids::kCmdChannel1 + kChannelCount) {
        SelectChannel(commandId - ids::kCmdChannel1);
    } else if (commandId >= ids::kCmdSaveChannel1 && commandId < ids::kCmdSaveChannel1 + kChannelCount) {
        SaveDataCommand(commandId - ids::kCmdSaveChannel1);
    } else {
        switch (commandId) {
        case ids::kCmdClear: ClearChannels(); break;
        case ids::kCmdVendor: OpenVendor(); break;
        case ids::kCmdOption: OpenOptions(); break;
        case ids::kCmdAbout: ShowAbout(); break;
        case ids::kCmdHelp: ShowHelp(); break;
        case ids::kCmdExit: close(); break;
        case ids::kCmdLoadData: LoadDataCommand(); break;
        case ids::kCmdSaveData: SaveDataCommand(-1); break;
        case ids::kCmdImportCode: ImportCodeCommand(*this); break;
        case ids::kCmdExportCode: ExportCodeCommand(*this); break;
        default: break;
        }
    }
}

void CWavixDlg::RefreshMenuChecks()
{
    for (int c = 0; c < kChannelCount; ++c)
        if (QAction* action = commands.value(ids::kCmdChannel1 + c))
            action->setChecked(c == capture.selectedChannel);
    if (languageMenu)
        for (QAction* action : languageMenu->actions())
            action->setChecked(action->text() == language.CurrentLanguage());
}

void CWavixDlg::ShowAbout()
{
    CAboutDlg about(language, this);
    about.exec();
}

void CWavixDlg::ShowHelp()
{
    // A missing guide or viewer is not worth a message.
    QDesktopServices::openUrl(QUrl::fromLocalFile(SharedFilesFolder(programDirectory) + QLatin1Char('/') + QLatin1String(kGuideFile)));
}

void CWavixDlg::closeEvent(QCloseEvent* event)
{
    capturePollTimer.stop();
    deviceMonitorTimer.stop();
    deviceSearchTimer.stop();
    if (deviceWatcher)
        deviceWatcher->Stop();
    firmware->Shutdown();
    event->accept();
}

bool CWavixDlg::eventFilter(QObject* watched, QEvent* event)
{
    QWidget* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return QMainWindow::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right) {
            waveform->ArrowKey(key->key() == Qt::Key_Left ? -1 : +1);
            return true;
        }
        // The keypad's Enter carries the keypad modifier; it is Enter all the same.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            startButton->animateClick();
            return true;
        }
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            close();
            return true;
        }
        break;
    }
    case QEvent::ShortcutOverride: {
        // Claim the arrows before a focused text box can move its caret.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right) {
            event->accept();
            return false;
        }
        break;
    }
    case QEvent::Wheel:
        if (watched != zoomList && !zoomList->isAncestorOf(widget) && widget != static_cast<QWidget*>(zoomList->view())) {
            QCoreApplication::sendEvent(zoomList, event);
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && widget != zoomList)
            QTimer::singleShot(0, zoomList, [list = zoomList] { list->setFocus(Qt::MouseFocusReason); });
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}
