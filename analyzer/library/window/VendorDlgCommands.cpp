// The code library window's list commands.
#include "analyzer/library/window/VendorDlg.h"

#include "analyzer/core/Transmit.h"
#include "analyzer/library/AddEntries.h"
#include "analyzer/library/LibraryListModel.h"
#include "analyzer/library/RecordFile.h"
#include "analyzer/library/VendorHost.h"
#include "analyzer/library/window/VendorAddDlg.h"
#include "analyzer/library/window/VendorRenameDlg.h"

#include <QItemSelection>
#include <QLineEdit>
#include <QTableView>

#include <algorithm>

void CVendorDlg::RefreshList()
{
    model->Refresh(filterEdit->text());
}

void CVendorDlg::SaveLibrary()
{
    // A failed save is silent; the previous file stays whole and the
    // library in memory stays as the user left it.
    SaveRecords(RecordFilePath(host.LibraryFolder()), library);
}

std::vector<int> CVendorDlg::SelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : list->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CVendorDlg::FirstSelectedRow() const
{
    const std::vector<int> rows = SelectedRows();
    return rows.empty() ? -1 : rows.front();
}

void CVendorDlg::SelectRows(const std::vector<int>& rows, int current)
{
    QItemSelection selection;
    for (int row : rows)
        selection.select(model->index(row, 0), model->index(row, LibraryListModel::kColumnCount - 1));
    QItemSelectionModel* selectionModel = list->selectionModel();
    selectionModel->select(selection, QItemSelectionModel::ClearAndSelect);
    if (current >= 0) {
        selectionModel->setCurrentIndex(model->index(current, 0), QItemSelectionModel::NoUpdate);
        list->scrollTo(model->index(current, 0));
    }
}

void CVendorDlg::AddEntries()
{
    const int rowsBefore = model->rowCount();
    AddDialogMemory& memory = AddDialogMemory::Process();
    CVendorAddDlg dialog(memory.Open(host.SelectedChannel()), host, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const AddChoice choice = dialog.Choice();
    memory.Remember(choice);
    AddChannels(library, host.ChannelTrains(), choice);
    RefreshList();
    SaveLibrary();
    SelectRowsFrom(rowsBefore);
}

void CVendorDlg::SelectRowsFrom(int firstRow)
{
    std::vector<int> rows;
    for (int row = firstRow; row < model->rowCount(); ++row)
        rows.push_back(row);
    SelectRows(rows, rows.empty() ? -1 : rows.back());
}

void CVendorDlg::DeleteSelected()
{
    model->DeleteRows(SelectedRows());
    SaveLibrary();
}

void CVendorDlg::MoveSelectedUp()
{
    ApplyMove(model->MoveUp(SelectedRows()));
}

void CVendorDlg::MoveSelectedDown()
{
    ApplyMove(model->MoveDown(SelectedRows()));
}

void CVendorDlg::ApplyMove(const LibraryListModel::MoveOutcome& outcome)
{
    if (outcome.moved)
        SelectRows(outcome.selection, outcome.current);
    if (outcome.save)
        SaveLibrary();
}

void CVendorDlg::SendEntry(int row)
{
    const int entry = model->EntryAt(row);
    CEPDevice* device = host.LibraryDevice();
    if (entry >= 0 && device)
        TransmitTrain(*device, library.Entry(entry).train);
}

void CVendorDlg::LoadEntryToChannel(int channel)
{
    const int entry = model->EntryAt(FirstSelectedRow());
    if (entry >= 0 && channel >= 0 && channel < kChannelCount)
        host.LoadTrainIntoChannel(channel, library.Entry(entry).train);
}

void CVendorDlg::RenameEntry()
{
    const int row = FirstSelectedRow();
    const int entry = model->EntryAt(row);
    if (entry < 0)
        return;
    CVendorRenameDlg dialog(library.Entry(entry).name, host, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    library.Entry(entry).name = dialog.Name();
    model->NameChanged(row);
    SaveLibrary();
}
