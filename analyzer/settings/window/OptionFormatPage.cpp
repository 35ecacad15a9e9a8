#include "analyzer/core/AnalyzerSettings.h"
#include "analyzer/lang/window/WindowTexts.h"
#include "analyzer/settings/SettingsStore.h"
#include "analyzer/settings/window/OptionIds.h"
#include "analyzer/settings/window/OptionPages.h"
#include "analyzer/settings/window/OptionsHost.h"
#include "analyzer/settings/window/PageControls.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

COptionFormatPage::COptionFormatPage(OptionsHost& optionsHost, QWidget* parent)
    : CTabCtrlPage(optionids::kFormatPage, parent), host(optionsHost)
{
    const AnalyzerSettings& settings = host.Settings();
    prefix = new QLineEdit(settings.prefix, this);
    suffix = new QLineEdit(settings.suffix, this);
    spaceCharacter = new QLineEdit(settings.spaceCharacter, this);
    format = new QLineEdit(settings.format, this);
    columns = new QLineEdit(QString::number(settings.columns), this);
    defaultsButton = PageButton(QStringLiteral("Default"), optionids::kDefault, this);
    okButton = PageButton(QStringLiteral("OK"), optionids::kOk, this);

    auto* form = new QFormLayout;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    AddCaptionedRow(form, QStringLiteral("Prefix"), optionids::kPrefixCaption, prefix);
    AddCaptionedRow(form, QStringLiteral("Suffix"), optionids::kSuffixCaption, suffix);
    AddCaptionedRow(form, QStringLiteral("Space Character:"), optionids::kSpaceCaption, spaceCharacter);
    AddCaptionedRow(form, QStringLiteral("Format:"), optionids::kFormatCaption, format);
    AddCaptionedRow(form, QStringLiteral("Columns:"), optionids::kColumnsCaption, columns);
    layout->addStretch(1);
    layout->addLayout(ButtonRow({defaultsButton, okButton}));

    connect(defaultsButton, &QPushButton::clicked, this, &COptionFormatPage::LoadDefaults);
    connect(okButton, &QPushButton::clicked, this, &COptionFormatPage::Apply);
    TranslateDialog(host.Language(), this, optionids::kFormatPage);
}

void COptionFormatPage::LoadDefaults()
{
    const AnalyzerSettings defaults;
    prefix->setText(defaults.prefix);
    suffix->setText(defaults.suffix);
    spaceCharacter->setText(defaults.spaceCharacter);
    format->setText(defaults.format);
    columns->setText(QString::number(defaults.columns));
}

void COptionFormatPage::Apply()
{
    AnalyzerSettings& settings = host.Settings();
    settings.prefix = prefix->text();
    settings.suffix = suffix->text();
    settings.spaceCharacter = spaceCharacter->text();
    settings.format = format->text();
    settings.columns = ParseLeadingDecimal(columns->text());
    SaveFormatSettings(host.SettingsPath(), settings, columns->text());
    host.FormatPulseText();
}
