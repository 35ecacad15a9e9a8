#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class VendorHost;

// "Test Setting" (dialog 141): the margin, 1 % to 50 %, and "Play Sound".
class CVendorTestDlg : public QDialog {
    Q_OBJECT
public:
    CVendorTestDlg(int marginPercent, bool playSound, const VendorHost& host, QWidget* parent);

    int MarginPercent() const;
    bool PlaySound() const;

    QComboBox* MarginList() const { return marginList; }
    QCheckBox* PlaySoundCheck() const { return playSoundCheck; }

private:
    QComboBox* marginList = nullptr;
    QCheckBox* playSoundCheck = nullptr;
};
