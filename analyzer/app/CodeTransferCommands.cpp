#include "analyzer/app/CodeTransferCommands.h"

#include "analyzer/app/WavixDlg.h"
#include "analyzer/interop/CodeFiles.h"
#include "analyzer/interop/window/CodeFileDialogs.h"
#include "analyzer/interop/window/ExportCodeDlg.h"

#include <QMessageBox>

namespace {

const QString kImportTitle = QStringLiteral("Import Code");
const QString kExportTitle = QStringLiteral("Export Code");

} // namespace

void ImportCodeCommand(CWavixDlg& window)
{
    const QString path = AskCodeFileToOpen(&window, kImportTitle);
    if (path.isEmpty())
        return;
    ReadRequest request;
    request.maxCodes = 1024;
    const ReadResult read = ReadCodeFile(path, request);
    if (read.error) {
        ShowCodeFileError(&window, kImportTitle, *read.error);
        return;
    }
    std::optional<int> chosen = 0;
    if (read.codesInFile > 1)
        chosen = ChooseCode(&window, kImportTitle, read);
    if (chosen)
        window.LoadTrainIntoChannel(window.Capture().selectedChannel, read.codes[std::size_t(*chosen)].train);
}

void ExportCodeCommand(CWavixDlg& window)
{
    const int channel = window.Capture().selectedChannel;
    const PulseTrain& train = window.Capture().channels[std::size_t(channel)];
    const QString name = QStringLiteral("CH%1").arg(channel + 1);
    if (train.PulseCount() == 0) {
        QMessageBox::information(&window, kExportTitle, QStringLiteral("%1 holds no code to export.").arg(name));
        return;
    }
    std::vector<CodeFormat> formats(std::begin(kAllCodeFormats), std::end(kAllCodeFormats));
    CExportCodeDlg dialog(formats, name, &window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const std::optional<CodeFileError> error =
            WriteCodeFile(dialog.path(), dialog.format(), {NamedCode{name, train}}, dialog.options()))
        ShowCodeFileError(&window, kExportTitle, *error);
}
