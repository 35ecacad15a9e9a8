#pragma once

#include "analyzer/interop/CodeFormat.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// "Export Code": the format, the carrier and the file a code or a set of
// codes goes to. The file is typed or chosen with "Browse..." in a save
// dialog. The last format, carrier and folder are remembered while the
// program runs.
class CExportCodeDlg : public QDialog {
    Q_OBJECT
public:
    // `formats`: those offered, in this order; `baseName`: the file name
    // suggested, without its ending.
    CExportCodeDlg(const std::vector<CodeFormat>& formats, const QString& baseName, QWidget* parent = nullptr);

    CodeFormat format() const;
    ExportOptions options() const;
    QString path() const;

    // The save dialog of "Browse..."; public so the tests can reach it.
    void Browse();

    void accept() override;

private:
    void FormatChanged();
    void UpdateOk();

    std::vector<CodeFormat> formats_;
    QComboBox* formatList_ = nullptr;
    QLabel* carrierLabel_ = nullptr;
    QSpinBox* carrier_ = nullptr;
    QLineEdit* pathEdit_ = nullptr;
    QPushButton* okButton_ = nullptr;
    CodeFormat shownFormat_ = CodeFormat::Pronto;
};

// Whether the format carries the carrier frequency.
bool KeepsCarrier(CodeFormat format);
