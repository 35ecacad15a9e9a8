#pragma once

#include "analyzer/core/PulseTrain.h"
#include "designer/ui/ButtonEx.h"
#include "designer/ui/CtrlEdit.h"
#include "device/USBDevice.h"

#include <QHash>
#include <QImage>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

class CDesignArea;
class DeviceChangeWatcher;
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
// editor, the toolbar and the device. A copy of the program that carries a
// design comes up in play mode as the finished remote; otherwise the window
// starts in design mode.
class CRemoteDlg : public QWidget {
    Q_OBJECT
public:
    // `modulePath`: the program file that may carry a design; empty: the
    // running program.
    explicit CRemoteDlg(const QString& modulePath = QString(), QWidget* parent = nullptr);
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

    // The device: timer 2, timer 3 (once), timer 4 and the notifications.
    void StatusPoll();
    void FirstDeviceSearch();
    void LearnPoll();
    void OnDeviceChange(int kind, int broadcastType, const QString& path);
    // "Learn" / "Stop".
    void ToggleLearning();
    // Sends the code of the button with control id `id` (3001..4001).
    void SendCode(int id);

    // The design inside the program file, if there is one.
    bool LoadEmbeddedDesign();
    // The program part and the current design, written to `path`.
    bool BuildRemote(const QString& path);
    // "Build": asks where, builds, says "Success" or "Fail".
    void BuildCommand();
    void SetMode(bool design);
    // "Preview": design mode while the editor is attached, else play mode.
    void TogglePreview();
    // The mode chord: the only way back into design mode of a built remote.
    void SwitchModeByChord();

    const std::vector<tagIRDATA>& Buttons() const { return buttons; }
    std::vector<tagIRDATA>& Buttons() { return buttons; }
    CCtrlEdit& Editor() { return editor; }
    QWidget* Control(int id) const { return controlsById.value(id); }
    QMenu* KeyMenu() const { return keyMenu; }
    QMenu* SystemMenu() const { return systemMenu; }
    bool DesignMode() const { return designMode; }
    int BodyIndex() const { return bodyIndex; }
    QString CaptionText() const { return captionText; }
    QString ModulePath() const { return modulePath; }
    qint32 ProgramLength() const { return programLength; }
    bool Learning() const { return learning; }
    bool Connected() const { return connected; }
    const QImage& BodyPicture() const { return bodyPicture; }
    CEPDevice& Device() { return device; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void BuildControls();
    void BuildSystemMenu();
    void ConnectCommands();
    void RunStartup();
    void StartDevice();
    void StartTimers();
    void SetBackground(const QColor& colour);
    void ShowDesignControls(bool show);
    void LoadBodyPicture();
    void PaintPlayMode();
    void ReleaseDesign();
    bool HandleKey(QKeyEvent* event);
    void Renumber();
    QWidget* Register(QWidget* control, int id);

    // Declared before `buttons` so that the buttons are destroyed first and
    // leave the editor one by one.
    CCtrlEdit editor;
    std::vector<tagIRDATA> buttons;
    int bodyIndex = 0;
    bool designMode = true;
    qint32 programLength = 0;
    QString modulePath;
    QString captionText;
    bool learning = false;
    bool connected = false;
    CEPDevice device;

    QImage bodyPicture;
    QImage playBackground; // the body over the colour key, at the window's size
    QRegion shape;         // what play mode last asked the window to show
    QColor designBackground;
    bool playPainted = false;

    DeviceChangeWatcher* deviceWatcher = nullptr;
    QTimer statusTimer; // timer 2
    QTimer searchTimer; // timer 3
    QTimer learnTimer;  // timer 4

    QHash<int, QWidget*> controlsById;
    CDesignArea* area = nullptr;
    QComboBox* bodyList = nullptr;
    QLineEdit* captionEdit = nullptr;
    QPushButton* previewButton = nullptr;
    QPushButton* learnButton = nullptr;
    CButtonEx* addKeyButton = nullptr;
    CButtonEx* deleteKeysButton = nullptr;
    QMenu* keyMenu = nullptr;
    QMenu* systemMenu = nullptr;

    // Moving the window by its background.
    Qt::MouseButton moveButton = Qt::NoButton;
    QPoint moveOffset;
    bool moved = false;
};
