#pragma once

#include <QTabWidget>

class QPushButton;

// One page of a CTabCtrlSheet: a dialog of its own (it translates itself by
// its number) shown below the tabs. Escape inside a page is swallowed, so it
// closes neither the page nor the window.
class CTabCtrlPage : public QWidget {
    Q_OBJECT
public:
    CTabCtrlPage(int dialogNumber, QWidget* parent);

    // The button Enter presses while the page is shown; none by default.
    virtual QPushButton* DefaultButton() const { return nullptr; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A tab control of at most 16 pages; clicking a tab shows its page.
class CTabCtrlSheet : public QTabWidget {
    Q_OBJECT
public:
    static constexpr int kMaxPages = 16;

    explicit CTabCtrlSheet(QWidget* parent);

    // False (and the page left alone) once the sheet is full.
    bool AddPage(CTabCtrlPage* page, const QString& title);

private:
    void ShowPage(int index);
};
