#include "analyzer/interop/window/CodeFileDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QString& LastFolder()
{
    static QString folder;
    return folder;
}

} // namespace

QString AskCodeFileToOpen(QWidget* parent, const QString& title)
{
    QStringList filters{QStringLiteral("Code Files (*.ir *.conf *.txt *.mode2 *.raw *.pronto *.csv)")};
    for (CodeFormat format : kAllCodeFormats)
        filters << CodeFormatFilter(format);
    filters << QStringLiteral("All Files (*)");
    QFileDialog dialog(parent, title, LastFolder());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().constFirst();
    LastFolder() = QFileInfo(path).absolutePath();
    return path;
}

std::optional<int> ChooseCode(QWidget* parent, const QString& title, const ReadResult& read)
{
    QStringList items;
    for (std::size_t i = 0; i < read.codes.size(); ++i)
        items << QStringLiteral("%1: %2").arg(i + 1).arg(read.codes[i].name);
    QString label = QStringLiteral("The file holds %1 codes. Code:").arg(read.codesInFile);
    if (read.codesInFile > int(read.codes.size()))
        label = QStringLiteral("The file holds %1 codes; the first %2 are listed. Code:").arg(read.codesInFile).arg(read.codes.size());
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, title, label, items, 0, false, &ok);
    if (!ok)
        return std::nullopt;
    const int index = int(items.indexOf(chosen));
    return index >= 0 ? std::optional<int>(index) : std::nullopt;
}

void ShowCodeFileError(QWidget* parent, const QString& title, const CodeFileError& error)
{
    QMessageBox::warning(parent, title, error.text);
}
