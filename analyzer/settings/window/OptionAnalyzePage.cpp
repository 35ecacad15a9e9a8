#include "analyzer/core/AnalyzerSettings.h"
#include "analyzer/lang/window/ControlNumbers.h"
#include "analyzer/lang/window/WindowTexts.h"
#include "analyzer/settings/SettingsStore.h"
#include "analyzer/settings/window/OptionIds.h"
#include "analyzer/settings/window/OptionPages.h"
#include "analyzer/settings/window/OptionsHost.h"

#include <QCheckBox>
#include <QVBoxLayout>

COptionAnalyzePage::COptionAnalyzePage(OptionsHost& optionsHost, QWidget* parent)
    : CTabCtrlPage(optionids::kAnalyzePage, parent), host(optionsHost)
{
    enabled = new QCheckBox(QStringLiteral("Enabled"), this);
    SetControlId(enabled, optionids::kAnalyzeEnabled);
    enabled->setChecked(host.Settings().analyzeEnabled);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(enabled);
    layout->addStretch(1);
    connect(enabled, &QCheckBox::clicked, this, &COptionAnalyzePage::Apply);
    TranslateDialog(host.Language(), this, optionids::kAnalyzePage);
}

void COptionAnalyzePage::Apply(bool on)
{
    host.Settings().analyzeEnabled = on;
    WriteAnalyzeEnabled(host.SettingsPath(), on);
    host.RepaintWindow();
}
