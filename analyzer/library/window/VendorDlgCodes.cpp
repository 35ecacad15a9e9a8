// The code library window's Export and Import: entries to and from the
// formats of other IR tools.
#include "analyzer/library/window/VendorDlg.h"

#include "analyzer/interop/CodeFiles.h"
#include "analyzer/interop/window/CodeFileDialogs.h"
#include "analyzer/interop/window/ExportCodeDlg.h"
#include "analyzer/library/LibraryCodes.h"

#include <QFileInfo>
#include <QMessageBox>

namespace {

const QString kExportTitle = QStringLiteral("Export Code");
const QString kImportTitle = QStringLiteral("Import Code");

// An entry's name as a file name: no folder separators, never empty.
QString FileNameOf(const QString& name)
{
    QString file = NameOnOneLine(name).trimmed();
    file.replace(QLatin1Char('/'), QLatin1Char('_'));
    return file.isEmpty() || file.startsWith(QLatin1Char('.')) ? QStringLiteral("code") : file;
}

} // namespace

void CVendorDlg::ExportEntries()
{
    // The selected entries, or every entry the list shows.
    std::vector<int> rows = SelectedRows();
    if (rows.empty())
        for (int row = 0; row < model->rowCount(); ++row)
            rows.push_back(row);
    std::vector<int> entries;
    for (int row : rows)
        entries.push_back(model->EntryAt(row));
    if (entries.empty()) {
        QMessageBox::information(this, kExportTitle, QStringLiteral("The list shows no code to export."));
        return;
    }
    std::vector<CodeFormat> formats;
    for (CodeFormat format : kAllCodeFormats)
        if (entries.size() == 1 || HoldsManyCodes(format))
            formats.push_back(format);
    const QString baseName = entries.size() == 1 ? FileNameOf(library.Entry(entries.front()).name) : QStringLiteral("library");
    CExportCodeDlg dialog(formats, baseName, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const std::optional<CodeFileError> error =
            WriteCodeFile(dialog.path(), dialog.format(), CodesOfEntries(library, entries), dialog.options()))
        ShowCodeFileError(this, kExportTitle, *error);
}

void CVendorDlg::ImportEntries()
{
    const int room = ImportRoom(library);
    if (room == 0) {
        QMessageBox::information(this, kImportTitle,
                                 QStringLiteral("The library is full: it holds at most %1 entries, and like Add an "
                                                "import keeps the last place free.")
                                     .arg(CodeLibrary::kCapacity));
        return;
    }
    const QString path = AskCodeFileToOpen(this, kImportTitle);
    if (path.isEmpty())
        return;
    ReadRequest request;
    request.maxCodes = room;
    const ReadResult read = ReadCodeFile(path, request);
    if (read.error) {
        ShowCodeFileError(this, kImportTitle, *read.error);
        return;
    }
    const int rowsBefore = model->rowCount();
    const LibraryImport import = AppendCodes(library, read.codes, read.codesInFile);
    RefreshList();
    SaveLibrary();
    SelectRowsFrom(rowsBefore);
    if (import.leftOut > 0)
        QMessageBox::information(this, kImportTitle, ImportReport(import, QFileInfo(path).fileName()));
}
