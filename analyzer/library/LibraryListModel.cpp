#include "analyzer/library/LibraryListModel.h"

#include "analyzer/library/CodeLibrary.h"
#include "analyzer/library/Wildcard.h"

#include <algorithm>

namespace {

std::vector<int> SortedRows(std::vector<int> selected, int rowCount)
{
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    selected.erase(std::remove_if(selected.begin(), selected.end(), [rowCount](int r) { return r < 0 || r >= rowCount; }),
                   selected.end());
    return selected;
}

} // namespace

LibraryListModel::LibraryListModel(CodeLibrary& codeLibrary, QObject* parent)
    : QAbstractTableModel(parent), library(codeLibrary)
{
}

void LibraryListModel::SetColumnTitles(const QString& number, const QString& name)
{
    titles[kNumberColumn] = number;
    titles[kNameColumn] = name;
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

void LibraryListModel::Refresh(const QString& filter)
{
    const QString pattern = QLatin1Char('*') + filter;
    beginResetModel();
    rows.clear();
    for (int i = 0; i < library.Count(); ++i)
        if (MatchWildcard(pattern, library.Entry(i).name))
            rows.push_back(Row{QString::number(rows.size() + 1), i});
    endResetModel();
}

int LibraryListModel::EntryAt(int row) const
{
    return row >= 0 && row < int(rows.size()) ? rows[size_t(row)].entry : -1;
}

void LibraryListModel::DeleteRows(const std::vector<int>& selected)
{
    int removed = 0;
    for (int original : SortedRows(selected, int(rows.size()))) {
        const int row = original - removed++;
        library.RemoveAt(rows[size_t(row)].entry);
        for (size_t r = size_t(row) + 1; r < rows.size(); ++r)
            --rows[r].entry;
        beginRemoveRows(QModelIndex(), row, row);
        rows.erase(rows.begin() + row);
        endRemoveRows();
    }
}

LibraryListModel::MoveOutcome LibraryListModel::MoveUp(const std::vector<int>& selected)
{
    return Move(selected, -1);
}

LibraryListModel::MoveOutcome LibraryListModel::MoveDown(const std::vector<int>& selected)
{
    return Move(selected, +1);
}

LibraryListModel::MoveOutcome LibraryListModel::Move(const std::vector<int>& selected, int step)
{
    MoveOutcome outcome;
    std::vector<int> sorted = SortedRows(selected, int(rows.size()));
    if (sorted.empty()) {
        outcome.save = true;
        return outcome;
    }
    // The row nearest the edge it moves towards goes first.
    if (step > 0)
        std::reverse(sorted.begin(), sorted.end());
    const int edge = step < 0 ? 0 : int(rows.size()) - 1;
    if (sorted.front() == edge)
        return outcome;
    for (int row : sorted) {
        SwapRowEntries(std::min(row, row + step), std::max(row, row + step));
        outcome.selection.push_back(row + step);
    }
    std::sort(outcome.selection.begin(), outcome.selection.end());
    outcome.moved = outcome.save = true;
    outcome.current = sorted.back() + step;
    return outcome;
}

void LibraryListModel::SwapRowEntries(int upper, int lower)
{
    library.Swap(rows[size_t(upper)].entry, rows[size_t(lower)].entry);
    emit dataChanged(index(upper, kNameColumn), index(lower, kNameColumn));
}

void LibraryListModel::NameChanged(int row)
{
    if (row >= 0 && row < int(rows.size()))
        emit dataChanged(index(row, kNameColumn), index(row, kNameColumn));
}

int LibraryListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows.size());
}

int LibraryListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant LibraryListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(rows.size()))
        return QVariant();
    const Row& row = rows[size_t(index.row())];
    if (role == kEntryRole)
        return row.entry;
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QVariant();
    if (index.column() == kNumberColumn)
        return role == Qt::DisplayRole ? QVariant(row.number) : QVariant();
    return library.Entry(row.entry).name;
}

QVariant LibraryListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumnCount)
        return titles[section];
    return QVariant();
}
