#pragma once

#include "analyzer/core/CaptureState.h"
#include "analyzer/library/CodeLibrary.h"
#include "analyzer/library/LibraryListModel.h"

#include <QDialog>

#include <vector>

class QAction;
class QCheckBox;
class QHBoxLayout;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class SoundPlayer;
class VendorHost;

// The code library window ("Vendor", dialog 137): the filtered list of the
// library with its commands, and the code test with its log. Modeless; it
// deletes itself when closed, and the main window checks that it is alive
// before every use. Every change to the library is saved at once.
class CVendorDlg : public QDialog {
    Q_OBJECT
public:
    CVendorDlg(VendorHost& host, QWidget* parent);
    ~CVendorDlg() override;

    // List commands; each works on the rows and the selection as they are.
    void RefreshList();
    void AddEntries();
    void DeleteSelected();
    void MoveSelectedUp();
    void MoveSelectedDown();
    void SendEntry(int row);
    void LoadEntryToChannel(int channel);
    void RenameEntry();
    // The selected entries (or all shown) to a file of another IR tool's
    // format; a file's codes as new entries, names kept, as far as the
    // library has room.
    void ExportEntries();
    void ImportEntries();

    // Called after every stored capture while the window is alive.
    void RunCodeTest(const PulseTrain& capture);
    bool SaveLogTo(const QString& path) const;

    // Column titles, dialog texts and the context menu, in the current language.
    void Retranslate();

    // Where further buttons join the row under the list.
    QHBoxLayout* ButtonRow() const { return buttonRow; }
    // The player of the success sound; the process-wide one unless a test says otherwise.
    void UseSoundPlayer(SoundPlayer& player) { soundPlayer = &player; }

    const CodeLibrary& Library() const { return library; }
    LibraryListModel& ListModel() const { return *model; }
    QTableView* List() const { return list; }
    QMenu* ContextMenu() const { return contextMenu; }
    bool TestEnabled() const { return testEnabled; }
    int TestMargin() const { return testMargin; }
    bool PlaySoundOn() const { return playSound; }

private:
    void BuildControls();
    void BuildContextMenu();
    void ShowContextMenu(const QPoint& position);
    void SetTestEnabled(bool on);
    void OpenTestSetting();
    void SaveLog();
    void AppendLog(const QString& line);
    void SaveLibrary();
    QString SettingsPath() const;
    std::vector<int> SelectedRows() const;
    int FirstSelectedRow() const;
    void SelectRows(const std::vector<int>& rows, int current);
    // Selects the rows from `firstRow` to the last, focusing the last.
    void SelectRowsFrom(int firstRow);
    void ApplyMove(const LibraryListModel::MoveOutcome& outcome);

    VendorHost& host;
    CodeLibrary library;
    LibraryListModel* model = nullptr;
    SoundPlayer* soundPlayer = nullptr;

    bool testEnabled = false;
    int testMargin = 20;
    bool playSound = true;

    QLineEdit* filterEdit = nullptr;
    QTableView* list = nullptr;
    QHBoxLayout* buttonRow = nullptr;
    QPushButton* addButton = nullptr;
    QPushButton* upButton = nullptr;
    QPushButton* downButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* exportButton = nullptr;
    QPushButton* importButton = nullptr;
    QCheckBox* testCheck = nullptr;
    QPlainTextEdit* logBox = nullptr;
    QPushButton* settingButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* clearButton = nullptr;

    QMenu* contextMenu = nullptr;
    QMenu* loadToMenu = nullptr;
    QAction* sendAction = nullptr;
    QAction* loadToActions[kChannelCount] = {};
    QAction* renameAction = nullptr;
};
