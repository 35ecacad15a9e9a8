// The code library window's code test: the switch, its settings and the log.
#include "analyzer/library/window/VendorDlg.h"
#include "analyzer/core/AtomicFile.h"

#include "analyzer/library/CodeTest.h"
#include "analyzer/library/LibraryListModel.h"
#include "analyzer/library/SoundPlayer.h"
#include "analyzer/library/VendorHost.h"
#include "analyzer/library/window/VendorTestDlg.h"
#include "analyzer/settings/CodeTestSettings.h"
#include "device/USBDevice.h"

#include <QDateTime>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include <memory>

void CVendorDlg::SetTestEnabled(bool on)
{
    testEnabled = on;
    for (QWidget* widget : {static_cast<QWidget*>(logBox), static_cast<QWidget*>(settingButton),
                            static_cast<QWidget*>(saveButton), static_cast<QWidget*>(clearButton)})
        widget->setEnabled(on);
}

void CVendorDlg::RunCodeTest(const PulseTrain& capture)
{
    if (!testEnabled)
        return;
    std::vector<int> entries;
    entries.reserve(model->Rows().size());
    for (const LibraryListModel::Row& row : model->Rows())
        entries.push_back(row.entry);
    const int row = FindMatchingRow(library, entries, capture, testMargin);
    if (row < 0)
        return;
    AppendLog(CodeTestLogLine(QDateTime::currentDateTime(), library.Entry(entries[size_t(row)]).name));
    if (playSound) {
        soundPlayer->Play(host.LibraryFolder() + QStringLiteral("/success.wav"));
        if (CEPDevice* device = host.LibraryDevice())
            device->Signal();
    }
}

void CVendorDlg::AppendLog(const QString& line)
{
    QTextCursor cursor = logBox->textCursor();
    cursor.movePosition(QTextCursor::End);
    // The line's CR LF becomes the box's own line break.
    cursor.insertText(QString(line).remove(QLatin1Char('\r')));
    logBox->setTextCursor(cursor);
    logBox->ensureCursorVisible();
}

void CVendorDlg::OpenTestSetting()
{
    CVendorTestDlg dialog(testMargin, playSound, host, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    testMargin = dialog.MarginPercent();
    playSound = dialog.PlaySound();
    WriteTestMarginsOfError(SettingsPath(), testMargin);
    WriteTestPlaySound(SettingsPath(), playSound);
}

void CVendorDlg::SaveLog()
{
    auto dialog = std::make_unique<QFileDialog>(this);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilters({QStringLiteral("Text Files[*.txt] (*.txt)"), QStringLiteral("All Files[*.*] (*)")});
    dialog->setOption(QFileDialog::HideNameFilterDetails, true);
    dialog->setDefaultSuffix(QStringLiteral("txt"));
    // Asking before overwriting is QFileDialog's own default.
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return;
    SaveLogTo(dialog->selectedFiles().constFirst());
}

bool CVendorDlg::SaveLogTo(const QString& path) const
{
    return WriteFileAtomically(path, logBox->toPlainText().toUtf8()).ok;
}
