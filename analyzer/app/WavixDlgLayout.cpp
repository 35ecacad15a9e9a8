// Building the main window's controls and menus, and the resize layout.
#include "analyzer/app/CodeTextBox.h"
#include "analyzer/app/ControlIds.h"
#include "analyzer/app/WaveformController.h"
#include "analyzer/app/WaveformPanel.h"
#include "analyzer/app/WavixDlg.h"

#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QToolButton>

namespace {

// Client-area geometry at start-up. The main panel holds the four 98-pixel
// channel strips, the overview the mini traces and the cursor read-outs.
constexpr int kMargin = 8;
constexpr int kPanelWidth = 1024;
constexpr int kRowHeight = 28;
constexpr int kOverviewTop = kMargin + kRowHeight + 8;
constexpr int kOverviewHeight = 110;
constexpr int kMainTop = kOverviewTop + kOverviewHeight + 6;
constexpr int kMainHeight = 400;
constexpr int kOutputTop = kMainTop + kMainHeight + 6;
constexpr int kOutputHeight = 132;
constexpr int kBottomTop = kOutputTop + kOutputHeight + 6;
constexpr int kBottomHeight = 20;
constexpr int kClientWidth = kPanelWidth + 2 * kMargin;
constexpr int kClientHeight = kBottomTop + kBottomHeight + kMargin;

template <typename W>
W* Place(W* widget, int id, int x, int y, int w, int h)
{
    SetControlId(widget, id);
    widget->setGeometry(x, y, w, h);
    return widget;
}

} // namespace

void CWavixDlg::BuildControls()
{
    client = new QWidget(this);
    setCentralWidget(client);
    client->setMinimumSize(kClientWidth, kClientHeight);

    BuildTopRow();
    BuildPanels();
    BuildBottomRows();
    client->resize(kClientWidth, kClientHeight);
}

// START, the zoom list with its spin buttons, the trigger and SEND CH1..4.
void CWavixDlg::BuildTopRow()
{
    int x = kMargin;
    startButton = Place(new QPushButton(QStringLiteral("START"), client), ids::kStartStop, x, kMargin, 96, kRowHeight);
    startButton->setDefault(true);
    connect(startButton, &QPushButton::clicked, this, &CWavixDlg::ToggleCapture);
    x += 96 + 16;

    x = BuildZoomControls(x);

    triggerCaption = Place(new QLabel(QStringLiteral("Trigger:"), client), ids::kTriggerCaption, x, kMargin, 56, kRowHeight);
    x += 56;
    // The caption beside it names it; its own accessible name stays its text.
    triggerText = Place(new QLabel(client), ids::kTriggerText, x, kMargin, 200, kRowHeight);

    int sendX = kMargin + kPanelWidth - 4 * 104 + 4;
    for (int c = 0; c < kChannelCount; ++c) {
        sendButtons[c] = Place(new QPushButton(QStringLiteral("SEND CH%1").arg(c + 1), client), ids::kSendChannel1 + c,
                               sendX + c * 104, kMargin, 100, kRowHeight);
        sendButtons[c]->setAutoDefault(false);
        connect(sendButtons[c], &QPushButton::clicked, this, [this, c] { TransmitChannel(c); });
    }
}

// The caption, the list and its spin buttons from x on; returns the x after them.
int CWavixDlg::BuildZoomControls(int x)
{
    zoomCaption = Place(new QLabel(QStringLiteral("Zoom:"), client), ids::kZoomCaption, x, kMargin, 44, kRowHeight);
    x += 44;
    zoomList = Place(new QComboBox(client), ids::kZoomList, x, kMargin + 1, 76, kRowHeight - 2);
    zoomList->setAccessibleName(QStringLiteral("Zoom"));
    zoomCaption->setBuddy(zoomList);
    x += 76 + 2;

    // The spin buttons step the zoom list, which stays the only state.
    zoomSpin = Place(new QWidget(client), ids::kZoomSpin, x, kMargin + 1, 44, kRowHeight - 2);
    zoomDown = new QToolButton(zoomSpin);
    zoomDown->setArrowType(Qt::LeftArrow);
    zoomDown->setAccessibleName(QStringLiteral("Zoom in"));
    zoomDown->setGeometry(0, 0, 22, kRowHeight - 2);
    zoomUp = new QToolButton(zoomSpin);
    zoomUp->setArrowType(Qt::RightArrow);
    zoomUp->setAccessibleName(QStringLiteral("Zoom out"));
    zoomUp->setGeometry(22, 0, 22, kRowHeight - 2);
    for (QToolButton* button : {zoomDown, zoomUp}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
    }
    connect(zoomDown, &QToolButton::clicked, this, [this] { waveform->SpinStep(-1); });
    connect(zoomUp, &QToolButton::clicked, this, [this] { waveform->SpinStep(+1); });
    return x + 44 + 20;
}

void CWavixDlg::BuildPanels()
{
    overviewPanel = Place(new CWaveformPanel(ids::kOverviewPanel, QStringLiteral("Overview of all channels"), client),
                          ids::kOverviewPanel, kMargin, kOverviewTop, kPanelWidth, kOverviewHeight);
    mainPanel = Place(new CWaveformPanel(ids::kMainPanel, QStringLiteral("Waveform of channels 1 to 4"), client),
                      ids::kMainPanel, kMargin, kMainTop, kPanelWidth, kMainHeight);
    waveform->AttachPanels(mainPanel, overviewPanel);
}

// The code text, the channel label and the status line.
void CWavixDlg::BuildBottomRows()
{
    outputBox = Place(new CCodeTextBox(client), ids::kOutputBox, kMargin, kOutputTop, kPanelWidth, kOutputHeight);
    outputBox->setAccessibleName(QStringLiteral("Code text"));
    outputBox->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    channelLabel = Place(new QLabel(QStringLiteral("Channel1"), client), ids::kChannelLabel, kMargin, kBottomTop, 120, kBottomHeight);
    statusLine = Place(new QLabel(QStringLiteral("Device is not connected!"), client), ids::kStatusLine,
                       kMargin + 128, kBottomTop, kPanelWidth - 128, kBottomHeight);
    statusLine->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

QAction* CWavixDlg::AddCommand(QMenu* menu, const QString& text, int commandId)
{
    QAction* action = menu->addAction(text);
    SetCommandId(action, commandId);
    commands.insert(commandId, action);
    connect(action, &QAction::triggered, this, [this, commandId] { RouteCommand(commandId); });
    return action;
}

void CWavixDlg::BuildMenus()
{
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu(QStringLiteral("File(&F)"));
    AddCommand(file, QStringLiteral("&Load Data"), ids::kCmdLoadData);
    AddCommand(file, QStringLiteral("Save &Data"), ids::kCmdSaveData);
    // Language packs name this popup by its position: entry 3 of File.
    file->addSeparator();
    QMenu* saveChannel = file->addMenu(QStringLiteral("Save &Channel Data"));
    for (int c = 0; c < kChannelCount; ++c)
        AddCommand(saveChannel, QStringLiteral("Channel&%1").arg(c + 1), ids::kCmdSaveChannel1 + c);
    AddCommand(file, QStringLiteral("&Import Code…"), ids::kCmdImportCode);
    file->addSeparator();
    AddCommand(file, QStringLiteral("E&xit"), ids::kCmdExit);

    channelMenu = bar->addMenu(QStringLiteral("Channel(&C)"));
    for (int c = 0; c < kChannelCount; ++c)
        AddCommand(channelMenu, QStringLiteral("Channel&%1").arg(c + 1), ids::kCmdChannel1 + c)->setCheckable(true);
    channelMenu->addSeparator();
    AddCommand(channelMenu, QStringLiteral("Clear(&C)"), ids::kCmdClear);
    AddCommand(channelMenu, QStringLiteral("&Export Code…"), ids::kCmdExportCode);

    QMenu* operation = bar->addMenu(QStringLiteral("Operation(&O)"));
    AddCommand(operation, QStringLiteral("Vendor(&V)"), ids::kCmdVendor);
    QMenu* setting = bar->addMenu(QStringLiteral("Setting(&S)"));
    AddCommand(setting, QStringLiteral("Option(&O)"), ids::kCmdOption);
    // The Language menu joins before Help once the packs are listed.

    QMenu* help = bar->addMenu(QStringLiteral("Help(&H)"));
    AddCommand(help, QStringLiteral("Contents\tF1"), ids::kCmdHelp);
    help->addSeparator();
    AddCommand(help, QStringLiteral("About(&A)"), ids::kCmdAbout);
    auto* f1 = new QAction(this);
    f1->setShortcut(QKeySequence::HelpContents);
    f1->setShortcutContext(Qt::WindowShortcut);
    connect(f1, &QAction::triggered, this, [this] { RouteCommand(ids::kCmdHelp); });
    addAction(f1);

    for (QMenu* menu : {file, saveChannel, channelMenu, operation, setting, help})
        connect(menu, &QMenu::aboutToShow, this, &CWavixDlg::RefreshMenuChecks);
}

void CWavixDlg::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (!startLayout.recorded || !client)
        return;
    const int dw = client->width() - startLayout.client.width();
    const int dh = client->height() - startLayout.client.height();
    overviewPanel->setGeometry(startLayout.overview.adjusted(0, 0, dw, 0));
    mainPanel->setGeometry(startLayout.main.adjusted(0, 0, dw, 0));
    outputBox->setGeometry(startLayout.output.adjusted(0, 0, dw, dh));
    channelLabel->setGeometry(startLayout.channelLabel.translated(0, dh));
    statusLine->setGeometry(startLayout.status.translated(0, dh).adjusted(0, 0, dw, 0));
    waveform->RefreshView();
}
