#include "analyzer/core/AnalyzerSettings.h"
#include "analyzer/lang/MultiLanguage.h"
#include "analyzer/lang/window/WindowTexts.h"
#include "analyzer/settings/SettingsStore.h"
#include "analyzer/settings/window/OptionIds.h"
#include "analyzer/settings/window/OptionPages.h"
#include "analyzer/settings/window/OptionsHost.h"
#include "analyzer/settings/window/PageControls.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// List entries in the order of the TriggerMode and CaptureMode values.
const char* const kTriggerKeys[kTriggerModeCount] = {
    "IDS_TRIGGER_AUTO",  "IDS_TRIGGER_RISING_EDGE",    "IDS_TRIGGER_FALLING_EDGE",
    "IDS_TRIGGER_PULSE", "IDS_TRIGGER_POSITIVE_PULSE", "IDS_TRIGGER_NEGATIVE_PULSE",
};
const char* const kCaptureKeys[kCaptureModeCount] = {"IDS_CAPTURE_ONCE", "IDS_CAPTURE_NORMAL", "IDS_CAPTURE_AUTO"};

} // namespace

COptionTriggerPage::COptionTriggerPage(OptionsHost& optionsHost, QWidget* parent)
    : CTabCtrlPage(optionids::kTriggerPage, parent), host(optionsHost)
{
    const CMultiLanguage& language = host.Language();
    const AnalyzerSettings& settings = host.Settings();

    modeList = new QComboBox(this);
    for (const char* key : kTriggerKeys)
        modeList->addItem(language.LookupText(QLatin1String(key)));
    modeList->setCurrentIndex(static_cast<int>(settings.triggerMode));
    minimumWidth = new QLineEdit(QString::number(settings.minPulseWidth), this);
    maximumWidth = new QLineEdit(QString::number(settings.maxPulseWidth), this);
    captureList = new QComboBox(this);
    for (const char* key : kCaptureKeys)
        captureList->addItem(language.LookupText(QLatin1String(key)));
    captureList->setCurrentIndex(static_cast<int>(settings.captureMode));
    okButton = PageButton(QStringLiteral("OK"), optionids::kOk, this);

    auto* form = new QFormLayout;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    AddCaptionedRow(form, QStringLiteral("Trigger Mode:"), optionids::kTriggerModeCaption, modeList);
    AddCaptionedRow(form, QStringLiteral("Minimum Pulse Width(us):"), optionids::kMinimumWidthCaption, minimumWidth);
    AddCaptionedRow(form, QStringLiteral("Maximum Pulse Width(us):"), optionids::kMaximumWidthCaption, maximumWidth);
    AddCaptionedRow(form, QStringLiteral("Capture:"), optionids::kCaptureCaption, captureList);
    layout->addStretch(1);
    layout->addLayout(ButtonRow({okButton}));

    EnableWidths();
    connect(modeList, &QComboBox::currentIndexChanged, this, &COptionTriggerPage::EnableWidths);
    connect(okButton, &QPushButton::clicked, this, &COptionTriggerPage::Apply);
    TranslateDialog(language, this, optionids::kTriggerPage);
}

void COptionTriggerPage::EnableWidths()
{
    const bool pulse = modeList->currentIndex() > static_cast<int>(TriggerMode::FallingEdge);
    minimumWidth->setEnabled(pulse);
    maximumWidth->setEnabled(pulse);
}

void COptionTriggerPage::Apply()
{
    // The widths are taken even from disabled fields, and never range-checked.
    AnalyzerSettings& settings = host.Settings();
    settings.triggerMode = static_cast<TriggerMode>(modeList->currentIndex());
    settings.minPulseWidth = ParseLeadingDecimal(minimumWidth->text());
    settings.maxPulseWidth = ParseLeadingDecimal(maximumWidth->text());
    settings.captureMode = static_cast<CaptureMode>(captureList->currentIndex());
    SaveTriggerSettings(host.SettingsPath(), settings);
    host.SendTriggerSettings();
    host.UpdateTriggerLabel();
}
