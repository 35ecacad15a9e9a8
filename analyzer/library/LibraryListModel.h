#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <vector>

class CodeLibrary;

// The rows of the code library window's list: which entries the filter
// shows, with their Number texts, and the list commands on them. The names
// are read from the library, so a row always shows its entry's current name.
class LibraryListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kNumberColumn, kNameColumn, kColumnCount };
    static constexpr int kEntryRole = Qt::UserRole;

    struct Row {
        QString number;
        int entry = 0;
    };

    // Where the selection goes after a move, and whether the library must
    // be saved (it is saved also when nothing was selected).
    struct MoveOutcome {
        bool moved = false;
        bool save = false;
        std::vector<int> selection; // rows, ascending
        int current = -1;           // the row that takes the focus
    };

    explicit LibraryListModel(CodeLibrary& library, QObject* parent = nullptr);

    void SetColumnTitles(const QString& number, const QString& name);

    // Rebuilds the rows: every entry, in library order, whose name matches
    // "*" followed by the filter; numbered 1, 2, ... as they are shown.
    void Refresh(const QString& filter);

    const std::vector<Row>& Rows() const { return rows; }
    // The entry a row shows, or -1 for no such row.
    int EntryAt(int row) const;

    // Removes the selected rows and their entries. The remaining rows keep
    // their Number texts until the next Refresh.
    void DeleteRows(const std::vector<int>& selected);

    // Each selected row swaps its entry with the row above (below), so a
    // block moves as a block; with a filter the two entries need not be
    // neighbours in the library. Nothing moves when the block touches the
    // first (last) row. Rows keep their Number texts and entry indices.
    MoveOutcome MoveUp(const std::vector<int>& selected);
    MoveOutcome MoveDown(const std::vector<int>& selected);

    // The entry of `row` was renamed.
    void NameChanged(int row);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    MoveOutcome Move(const std::vector<int>& selected, int step);
    void SwapRowEntries(int upper, int lower);

    CodeLibrary& library;
    std::vector<Row> rows;
    QString titles[kColumnCount];
};
