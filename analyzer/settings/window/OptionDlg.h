#pragma once

#include <QDialog>

class COptionAnalyzePage;
class COptionFormatPage;
class COptionTriggerPage;
class CTabCtrlSheet;
class OptionsHost;
class QPushButton;

// The options window ("Option", dialog 134): the three pages on a tab
// control and "Close". Each page applies and stores its own settings; Close
// undoes nothing. Built from the current settings at every opening.
class COptionDlg : public QDialog {
    Q_OBJECT
public:
    COptionDlg(OptionsHost& host, QWidget* parent);

    CTabCtrlSheet* Sheet() const { return sheet; }
    COptionTriggerPage* TriggerPage() const { return triggerPage; }
    COptionFormatPage* FormatPage() const { return formatPage; }
    COptionAnalyzePage* AnalyzePage() const { return analyzePage; }
    QPushButton* CloseButton() const { return closeButton; }

private:
    CTabCtrlSheet* sheet = nullptr;
    COptionTriggerPage* triggerPage = nullptr;
    COptionFormatPage* formatPage = nullptr;
    COptionAnalyzePage* analyzePage = nullptr;
    QPushButton* closeButton = nullptr;
};
