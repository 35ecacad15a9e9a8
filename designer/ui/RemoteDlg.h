#pragma once

#include "analyzer/core/PulseTrain.h"
#include "designer/ui/ButtonEx.h"
#include "designer/ui/CtrlEdit.h"

#include <QHash>
#include <QWidget>

#include <memory>
#include <vector>

class CDesignArea;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;

// One placed button and the infrared code it carries. The entry owns the
// button; entry i is the button with control id 3001 + i.
struct tagIRDATA {
    std::unique_ptr<CButtonEx> button;
    PulseTrain code;
};

// The designer's main window: a frameless 360 x 720 window holding the
// design (the placed buttons and their codes), the design area with its
// editor, and the toolbar.
class CRemoteDlg : public QWidget {
    Q_OBJECT
public:
    explicit CRemoteDlg(QWidget* parent = nullptr);
    ~CRemoteDlg() override;

    // Creates a button of `keyType` in the rectangle given (window client
    // coordinates; all zero: the default place), appends it to the design
    // and registers it with the editor.
    CButtonEx* CreateButton(int keyType, int left, int top, int right, int bottom, const QString& caption);
    // A new button at the default place, as the only selected one.
    void AddKey(int keyType);
    void DeleteSelected();
    // Takes the caption box's text as the caption of every selected button.
    void SetCaption();
    void ShowKeyMenu(QPoint globalPos);
    void ShowSystemMenu(QPoint globalPos);
    void ShowAbout();

    const std::vector<tagIRDATA>& Buttons() const { return buttons; }
    CCtrlEdit& Editor() { return editor; }
    QWidget* Control(int id) const { return controlsById.value(id); }
    QMenu* KeyMenu() const { return keyMenu; }
    QMenu* SystemMenu() const { return systemMenu; }
    bool DesignMode() const { return designMode; }
    int BodyIndex() const { return bodyIndex; }
    QString CaptionText() const { return captionText; }
    QString ModulePath() const { return modulePath; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void BuildControls();
    void BuildSystemMenu();
    void ConnectCommands();
    void RunStartup();
    void EnterDesignMode();
    bool HandleKey(QKeyEvent* event);
    void Renumber();
    QWidget* Register(QWidget* control, int id);

    // Declared before `buttons` so that the buttons are destroyed first and
    // leave the editor one by one.
    CCtrlEdit editor;
    std::vector<tagIRDATA> buttons;
    int bodyIndex = 0;
    bool designMode = true;
    QString modulePath;
    QString captionText;

    QHash<int, QWidget*> controlsById;
    CDesignArea* area = nullptr;
    QComboBox* bodyList = nullptr;
    QLineEdit* captionEdit = nullptr;
    CButtonEx* addKeyButton = nullptr;
    CButtonEx* deleteKeysButton = nullptr;
    QMenu* keyMenu = nullptr;
    QMenu* systemMenu = nullptr;

    // Moving the window by its background.
    Qt::MouseButton moveButton = Qt::NoButton;
    QPoint moveOffset;
    bool moved = false;
};
