#pragma once

#include <QDialog>

class CMultiLanguage;

// "About Wavix II": the icon, the version line and OK, in the current language.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(const CMultiLanguage& language, QWidget* parent = nullptr);
};
