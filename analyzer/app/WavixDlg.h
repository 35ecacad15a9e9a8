#pragma once

#include "analyzer/core/Acquisition.h"
#include "analyzer/core/AnalyzerSettings.h"
#include "analyzer/core/CaptureState.h"
#include "analyzer/lang/MultiLanguage.h"
#include "analyzer/library/VendorHost.h"
#include "analyzer/settings/window/OptionsHost.h"
#include "device/USBDevice.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QTimer>

#include <memory>

class CCodeTextBox;
class CVendorDlg;
class CWaveformPanel;
class DeviceChangeWatcher;
class FirmwareUpdate;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;
class WaveformController;

// The analyzer's main window: owns the capture memory, the settings, the
// device connection and the view, and routes every command, timer and
// device notification.
class CWavixDlg : public QMainWindow, private CaptureEvents, private VendorHost, private OptionsHost {
    Q_OBJECT
public:
    // `appDirectory`: the program folder, empty for the folder of the program
    // file. The window keeps its files there, or in the user's folder when
    // the copy is installed (DataFolder.h).
    explicit CWavixDlg(const QString& appDirectory = QString(), QWidget* parent = nullptr);
    ~CWavixDlg() override;

    // Commands, also driven directly by the tests.
    void ToggleCapture();
    void SelectChannel(int channel);
    void ClearChannels();
    void TransmitChannel(int channel);
    void LoadDataFrom(const QString& path);
    // The train into the channel, recognised, drawn and printed as a load does.
    void LoadTrainIntoChannel(int channel, const PulseTrain& train) override;
    bool SaveDataTo(const QString& path, int channel = -1); // -1: all four
    void FormatPulseText() override;
    void UpdateDataSpan();
    void UpdateTriggerLabel() override;
    // Switches every open window to the language pack called `name`; empty:
    // the stored language.
    void ApplyLanguage(const QString& name);
    void OpenOptions();
    void OnDeviceChange(int kind, int broadcastType, const QString& path);

    // Timer duties.
    void DeviceMonitorTick();
    void FirstDeviceSearch();
    void CapturePollTick();

    QString AppDirectory() const { return appDirectory; }
    QString SettingsPath() const override;
    CaptureState& Capture() { return capture; }
    AnalyzerSettings& Settings() override { return settings; }
    const CMultiLanguage& Language() const override { return language; }
    CEPDevice& Device() { return device; }
    WaveformController& Waveform() { return *waveform; }
    FirmwareUpdate& Firmware() { return *firmware; }
    QAction* Command(int commandId) const { return commands.value(commandId); }

    // The code library window: shown again while it is open, else created.
    void OpenVendor();
    CVendorDlg* VendorWindow() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CapturingChanged(bool capturing) override;
    void CaptureStored(int channel) override;

    QString LibraryFolder() const override;
    const std::array<PulseTrain, kChannelCount>& ChannelTrains() const override;
    int SelectedChannel() const override;
    CEPDevice* LibraryDevice() override;

    void SendTriggerSettings() override;
    void RepaintWindow() override;

    void BuildControls();
    void BuildTopRow();
    int BuildZoomControls(int x);
    void BuildPanels();
    void BuildBottomRows();
    void BuildMenus();
    QAction* AddCommand(QMenu* menu, const QString& text, int commandId);
    void RouteCommand(int commandId);
    void RefreshMenuChecks();
    void BuildLanguageMenu(const QStringList& names);
    void RunStartup();
    void ShowAbout();
    void ShowHelp();
    void LoadDataCommand();
    void SaveDataCommand(int channel);
    void SetStartCaption();
    void UpdateChannelLabel();
    void RunVendorCodeTest(int channel);
    // Firmware update: the window's part (WavixDlgFirmware.cpp).
    void StartFirmwareUpdates();
    void ShowFirmwareResult(bool ok);
    void PublishDeviceToFirmware();
    bool DeviceHeldByFirmware() const;
    QStringList ListDevicesUnlessHeld();

    QString appDirectory;     // Setting.ini, Record.dat, Language/, success.wav
    QString programDirectory; // the program's own folder (DataFolder.h)
    CaptureState capture;
    AnalyzerSettings settings;
    CEPDevice device;
    CMultiLanguage language;
    bool lastShownConnected = false;
    QPointer<CVendorDlg> vendorWindow; // null once the window has closed

    std::unique_ptr<WaveformController> waveform; // the two panels and the zoom list
    std::unique_ptr<FirmwareUpdate> firmware;     // uses the device: destroyed before it
    QStringList listedDevices;                    // the last device list, kept while a transfer holds the device
    DeviceChangeWatcher* deviceWatcher = nullptr;

    QTimer deviceMonitorTimer; // timer 2
    QTimer deviceSearchTimer;  // timer 3
    QTimer capturePollTimer;   // timer 4

    QWidget* client = nullptr;
    CWaveformPanel* overviewPanel = nullptr;
    CWaveformPanel* mainPanel = nullptr;
    QPushButton* startButton = nullptr;
    QLabel* zoomCaption = nullptr;
    QComboBox* zoomList = nullptr;
    QToolButton* zoomDown = nullptr;
    QToolButton* zoomUp = nullptr;
    QWidget* zoomSpin = nullptr;
    QLabel* triggerCaption = nullptr;
    QLabel* triggerText = nullptr;
    QPushButton* sendButtons[kChannelCount] = {};
    CCodeTextBox* outputBox = nullptr;
    QLabel* channelLabel = nullptr;
    QLabel* statusLine = nullptr;
    QMenu* channelMenu = nullptr;
    QMenu* languageMenu = nullptr;
    QHash<int, QAction*> commands;

    // Layout recorded at start-up; every resize moves the controls by the change.
    struct StartLayout {
        bool recorded = false;
        QSize client;
        QRect overview, main, output, channelLabel, status;
    } startLayout;
};
