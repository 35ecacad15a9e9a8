// File menu: capture files.
#include "analyzer/app/WavixDlg.h"

#include "analyzer/decode/ProtocolIdentify.h"
#include "analyzer/files/CaptureFile.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

const QString kFilters = QStringLiteral("Binary Files[*.lgc] (*.lgc);;All Files[*.*] (*)");

QFileDialog* MakeCaptureDialog(QWidget* parent, QFileDialog::AcceptMode mode)
{
    auto* dialog = new QFileDialog(parent);
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setNameFilters(kFilters.split(QStringLiteral(";;")));
    dialog->setOption(QFileDialog::HideNameFilterDetails, true);
    dialog->setOption(QFileDialog::ReadOnly, false);
    dialog->setDefaultSuffix(QStringLiteral("lgc"));
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    return dialog;
}

QString AskPath(QWidget* parent, QFileDialog::AcceptMode mode)
{
    std::unique_ptr<QFileDialog> dialog(MakeCaptureDialog(parent, mode));
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return QString();
    return dialog->selectedFiles().constFirst();
}

} // namespace

void CWavixDlg::LoadDataCommand()
{
    const QString path = AskPath(this, QFileDialog::AcceptOpen);
    if (!path.isEmpty())
        LoadDataFrom(path);
}

void CWavixDlg::SaveDataCommand(int channel)
{
    const QString path = AskPath(this, QFileDialog::AcceptSave);
    if (!path.isEmpty())
        SaveDataTo(path, channel);
}

void CWavixDlg::LoadDataFrom(const QString& path)
{
    std::vector<int> replaced;
    if (!LoadCaptureFile(path, capture.channels, &replaced))
        return;
    for (int channel : replaced)
        IdentifyChannels(capture, channel);
    UpdateDataSpan();
    FormatPulseText();
}

bool CWavixDlg::SaveDataTo(const QString& path, int channel)
{
    std::vector<int> which;
    if (channel >= 0 && channel < kChannelCount)
        which = {channel};
    else
        which = {0, 1, 2, 3};
    const SaveOutcome outcome = SaveCaptureFile(path, capture.channels, which);
    if (!outcome.ok)
        QMessageBox::warning(this, windowTitle(), outcome.error);
    return outcome.ok;
}
