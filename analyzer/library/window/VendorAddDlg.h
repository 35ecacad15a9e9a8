#pragma once

#include "analyzer/library/AddEntries.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class VendorHost;

// "Add" (dialog 138): a tick and a name per channel; a name edit is usable
// only while its channel is ticked.
class CVendorAddDlg : public QDialog {
    Q_OBJECT
public:
    CVendorAddDlg(const AddChoice& choice, const VendorHost& host, QWidget* parent);

    AddChoice Choice() const;

    QCheckBox* Check(int channel) const { return checks[channel]; }
    QLineEdit* NameEdit(int channel) const { return names[channel]; }

private:
    QCheckBox* checks[kChannelCount] = {};
    QLineEdit* names[kChannelCount] = {};
};
