// The main window's side of the language packs and the options window.
#include "analyzer/app/ControlIds.h"
#include "analyzer/app/WaveformPanel.h"
#include "analyzer/app/WavixDlg.h"
#include "analyzer/core/Acquisition.h"
#include "analyzer/lang/window/WindowTexts.h"
#include "analyzer/library/window/VendorDlg.h"
#include "analyzer/settings/window/OptionDlg.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {
constexpr int kMainMenu = 131;
}

void CWavixDlg::BuildLanguageMenu(const QStringList& names)
{
    // A popup of its own just before Help, the last entry of the menu bar.
    QMenuBar* bar = menuBar();
    languageMenu = new QMenu(QStringLiteral("Language(&L)"), bar);
    bar->insertMenu(bar->actions().constLast(), languageMenu);
    const int count = std::min<qsizetype>(names.size(), ids::kCmdLanguageLast - ids::kCmdLanguageFirst + 1);
    for (int i = 0; i < count; ++i)
        AddCommand(languageMenu, names.at(i), ids::kCmdLanguageFirst + i)->setCheckable(true);
    connect(languageMenu, &QMenu::aboutToShow, this, &CWavixDlg::RefreshMenuChecks);
}

void CWavixDlg::ApplyLanguage(const QString& name)
{
    language.SelectLanguage(name);
    TranslateDialog(language, this, ids::kMainDialog);
    TranslateMenu(language, menuBar(), kMainMenu);
    if (!device.identified)
        statusLine->setText(language.LookupText(QStringLiteral("IDS_DEVICE_NC")));
    SetStartCaption();
    UpdateTriggerLabel();
    UpdateChannelLabel();
    if (vendorWindow)
        vendorWindow->Retranslate(); // its context menu too
}

void CWavixDlg::OpenOptions()
{
    COptionDlg options(*this, this);
    options.exec();
}

void CWavixDlg::SendTriggerSettings()
{
    // A device busy with a firmware image restarts afterwards and is sent
    // the trigger again when it is identified.
    if (!DeviceHeldByFirmware())
        ::SendTriggerSettings(device, settings);
}

void CWavixDlg::RepaintWindow()
{
    update();
    mainPanel->update();
    overviewPanel->update();
}
