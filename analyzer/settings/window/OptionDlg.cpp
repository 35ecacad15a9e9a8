#include "analyzer/settings/window/OptionDlg.h"

#include "analyzer/lang/MultiLanguage.h"
#include "analyzer/lang/window/ControlNumbers.h"
#include "analyzer/lang/window/WindowTexts.h"
#include "analyzer/settings/window/OptionIds.h"
#include "analyzer/settings/window/OptionPages.h"
#include "analyzer/settings/window/OptionsHost.h"
#include "analyzer/settings/window/PageControls.h"

#include <QPushButton>
#include <QVBoxLayout>

COptionDlg::COptionDlg(OptionsHost& host, QWidget* parent) : QDialog(parent)
{
    SetDialogNumber(this, optionids::kOptionDialog);
    setWindowTitle(QStringLiteral("Option"));
    setModal(true);

    const CMultiLanguage& language = host.Language();
    sheet = new CTabCtrlSheet(this);
    triggerPage = new COptionTriggerPage(host, sheet);
    formatPage = new COptionFormatPage(host, sheet);
    analyzePage = new COptionAnalyzePage(host, sheet);
    sheet->AddPage(triggerPage, language.LookupText(QStringLiteral("IDS_TRIGGER")));
    sheet->AddPage(formatPage, language.LookupText(QStringLiteral("IDS_FORMAT")));
    sheet->AddPage(analyzePage, language.LookupText(QStringLiteral("IDS_ANALYZE")));

    closeButton = PageButton(QStringLiteral("Close"), optionids::kClose, this);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sheet, 1);
    layout->addLayout(ButtonRow({closeButton}));
    setMinimumWidth(420);
    TranslateDialog(language, this, optionids::kOptionDialog);
}
