#pragma once

#include <QDialog>

class QLineEdit;
class VendorHost;

// "Rename" (dialog 140): the name, all of it selected, and "OK".
class CVendorRenameDlg : public QDialog {
    Q_OBJECT
public:
    CVendorRenameDlg(const QString& name, const VendorHost& host, QWidget* parent);

    // The typed name as the library stores it.
    QString Name() const;
    QLineEdit* NameEdit() const { return edit; }

private:
    QLineEdit* edit = nullptr;
};
