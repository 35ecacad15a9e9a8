#pragma once

#include <QDialog>

// "About Remote": the icon, "Remote Version 1.0" and OK.
class CAboutRemoteDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutRemoteDlg(QWidget* parent = nullptr);
};
