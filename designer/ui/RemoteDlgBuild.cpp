// The standalone remote: loading the design a program file carries, and
// building a copy of the program with the current design.
#include "designer/ui/RemoteDlg.h"

#include "designer/BuiltRemote.h"
#include "designer/KeyTypes.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

bool CRemoteDlg::LoadEmbeddedDesign()
{
    QFile file(modulePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const std::optional<built::Design> design = built::ReadDesign(file);
    if (!design)
        return false;
    programLength = design->programLength;
    // A body the list does not have leaves it without selection: no body.
    bodyList->setCurrentIndex(keys::IsValidBody(design->bodyIndex) ? design->bodyIndex : -1);
    for (const built::ButtonRecord& record : design->buttons) {
        const DesignRect& r = record.rect;
        CreateButton(record.keyType, r.left, r.top, r.right, r.bottom, record.caption);
        buttons.back().code = record.code;
    }
    return true;
}

bool CRemoteDlg::BuildRemote(const QString& path)
{
    std::vector<built::ButtonRecord> records;
    records.reserve(buttons.size());
    for (const tagIRDATA& entry : buttons)
        records.push_back({entry.button->KeyType(), DesignRect::FromQRect(entry.button->geometry()), entry.code,
                           entry.button->text()});
    return built::WriteBuiltRemote(path, modulePath, programLength, records, bodyList->currentIndex());
}

void CRemoteDlg::BuildCommand()
{
    QFileDialog dialog(this, QStringLiteral("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("EXE File (*.exe)"), QStringLiteral("All File (*.*)")});
    dialog.setDefaultSuffix(QStringLiteral("exe"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const bool built = BuildRemote(dialog.selectedFiles().constFirst());
    QMessageBox result(QMessageBox::NoIcon, QStringLiteral("Remote"),
                       built ? QStringLiteral("Success") : QStringLiteral("Fail"), QMessageBox::Ok, this);
    result.exec();
}
