#include "designer/ui/RemoteDlg.h"

#include "designer/KeyTypes.h"
#include "designer/RemoteLayout.h"
#include "designer/ui/AboutRemoteDlg.h"
#include "designer/ui/ControlId.h"
#include "designer/ui/DesignArea.h"
#include "designer/ui/KeyMenu.h"
#include "designer/ui/RemoteApp.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>

namespace {

QFont CaptionFont()
{
    QFont font(QStringLiteral("微软雅黑"));
    font.setPixelSize(18);
    font.setWeight(QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

CRemoteDlg::CRemoteDlg(const QString& programFile, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint),
      modulePath(programFile.isEmpty() ? QCoreApplication::applicationFilePath() : programFile)
{
    InstallFontSubstitutes();
    remote::SetControlId(this, remote::kMainDialog);
    setWindowTitle(QStringLiteral("Remote"));
    setFixedSize(remote::WindowSize());
    QFont dialogFont(QStringLiteral("宋体"));
    dialogFont.setPixelSize(12);
    setFont(dialogFont);
    BuildControls();
    ConnectCommands();
    editor.SetPlacer([](QWidget* control, const QRect& rect) {
        if (auto* button = qobject_cast<CCoButton*>(control))
            button->SetRect(rect);
        else
            control->setGeometry(rect);
    });
    qApp->installEventFilter(this);
    RunStartup();
}

CRemoteDlg::~CRemoteDlg()
{
    qApp->removeEventFilter(this);
}

QWidget* CRemoteDlg::Register(QWidget* control, int id)
{
    remote::SetControlId(control, id);
    controlsById.insert(id, control);
    return control;
}

void CRemoteDlg::BuildControls()
{
    for (const remote::ControlPlace& place : remote::Controls()) {
        QWidget* control = nullptr;
        switch (place.kind) {
        case remote::ControlKind::DesignArea:
            control = area = new CDesignArea(this);
            break;
        case remote::ControlKind::PushButton: {
            auto* button = new QPushButton(place.text, this);
            button->setAutoDefault(false);
            if (place.id == remote::kPreview)
                previewButton = button;
            else if (place.id == remote::kLearn)
                learnButton = button;
            control = button;
            break;
        }
        case remote::ControlKind::BodyList:
            bodyList = new QComboBox(this);
            for (int i = 0; i < keys::kBodyCount; ++i)
                bodyList->addItem(QString::fromLatin1(keys::BodyAt(i).text));
            control = bodyList;
            break;
        case remote::ControlKind::CaptionEdit:
            control = captionEdit = new QLineEdit(this);
            captionEdit->setAccessibleName(QStringLiteral("Caption"));
            break;
        case remote::ControlKind::PictureButton: {
            auto* button = new CButtonEx(*this, this);
            if (place.id == remote::kAddKey) {
                addKeyButton = button;
                button->setAccessibleName(QStringLiteral("Add key"));
            } else {
                deleteKeysButton = button;
                button->setAccessibleName(QStringLiteral("Delete selected keys"));
            }
            button->setFocusPolicy(Qt::NoFocus);
            control = button;
            break;
        }
        }
        control->setGeometry(place.rect);
        Register(control, place.id);
    }
    keyMenu = CreateKeyMenu(this);
    BuildSystemMenu();
}

void CRemoteDlg::BuildSystemMenu()
{
    systemMenu = new QMenu(this);
    systemMenu->addAction(QStringLiteral("Mi&nimize"), this, &QWidget::showMinimized);
    systemMenu->addAction(QStringLiteral("&Close\tAlt+F4"), this, &QWidget::close);
    systemMenu->addSeparator();
    QAction* about = systemMenu->addAction(QStringLiteral("About Remote(&A)..."), this, &CRemoteDlg::ShowAbout);
    about->setData(remote::kCmdAbout);
}

void CRemoteDlg::ConnectCommands()
{
    auto onClick = [this](int id, auto handler) {
        connect(static_cast<QAbstractButton*>(Control(id)), &QAbstractButton::clicked, this, handler);
    };
    onClick(remote::kAlignLeft, [this] { editor.AlignLeft(); });
    onClick(remote::kAlignCentreX, [this] { editor.AlignCentreX(); });
    onClick(remote::kAlignRight, [this] { editor.AlignRight(); });
    onClick(remote::kAlignTop, [this] { editor.AlignTop(); });
    onClick(remote::kAlignCentreY, [this] { editor.AlignCentreY(); });
    onClick(remote::kAlignBottom, [this] { editor.AlignBottom(); });
    onClick(remote::kSpaceAcross, [this] { editor.SpaceAcross(); });
    onClick(remote::kSpaceDown, [this] { editor.SpaceDown(); });
    onClick(remote::kSetCaption, [this] { SetCaption(); });
    onClick(remote::kAddKey, [this] { ShowKeyMenu(QCursor::pos()); });
    onClick(remote::kDeleteKeys, [this] { DeleteSelected(); });
    onClick(remote::kPreview, [this] { TogglePreview(); });
    onClick(remote::kLearn, [this] { ToggleLearning(); });
    onClick(remote::kBuild, [this] { BuildCommand(); });
    connect(captionEdit, &QLineEdit::textChanged, this, [this](const QString& text) { captionText = text; });
    connect(bodyList, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        bodyIndex = index;
        // Design mode only notes the choice for the next play mode and "Build".
        if (!designMode)
            LoadBodyPicture();
    });
    connect(keyMenu, &QMenu::triggered, this, [this](QAction* action) {
        if (const auto type = keys::KeyTypeForCommand(action->data().toInt()))
            AddKey(*type);
    });
}

void CRemoteDlg::RunStartup()
{
    setWindowIcon(QIcon(QStringLiteral(":/designer/icon/%1.png").arg(remote::kIcon)));
    StartDevice();

    designBackground = palette().color(QPalette::Dark);
    SetBackground(designBackground);
    setAutoFillBackground(true);

    addKeyButton->LoadPictures(0x3F, remote::kAddKeyNormal, CCoButton::Source::Bitmap);
    addKeyButton->LoadPictures(1u << compose::kPressed, remote::kAddKeyPressed, CCoButton::Source::Bitmap);
    addKeyButton->LoadPictures(1u << compose::kHover, remote::kAddKeyHover, CCoButton::Source::Bitmap);
    deleteKeysButton->LoadPictures(0x3F, remote::kDeleteKeysNormal, CCoButton::Source::Bitmap);
    deleteKeysButton->LoadPictures(1u << compose::kPressed, remote::kDeleteKeysPressed, CCoButton::Source::Bitmap);
    deleteKeysButton->LoadPictures(1u << compose::kHover, remote::kDeleteKeysHover, CCoButton::Source::Bitmap);
    for (CCoButton* small : {addKeyButton, deleteKeysButton})
        small->SetTransparentColor(remote::kMagenta);

    if (LoadEmbeddedDesign()) {
        SetMode(false);
        previewButton->hide();
    } else {
        bodyList->setCurrentIndex(0);
        SetMode(true);
    }
    StartTimers();
}

CButtonEx* CRemoteDlg::CreateButton(int keyType, int left, int top, int right, int bottom, const QString& caption)
{
    DesignRect place{left, top, right, bottom};
    if (left == 0 && top == 0 && right == 0 && bottom == 0)
        place = remote::DefaultButtonPlace(area->geometry());

    auto button = std::make_unique<CButtonEx>(*this, this);
    CButtonEx* created = button.get();
    remote::SetControlId(created, remote::kFirstButtonId + static_cast<int>(buttons.size()));
    created->SetCaption(caption);
    created->setGeometry(place.ToQRect());
    created->SetKeyType(keyType);
    created->setFont(CaptionFont());
    // Entry 0 lies on top: every new button goes under the ones before it.
    if (!buttons.empty())
        created->stackUnder(buttons.back().button.get());
    created->show();
    // The id at the moment of the click: deleting renumbers the buttons.
    connect(created, &QAbstractButton::clicked, this, [this, created] { SendCode(remote::ControlId(created)); });
    connect(created, &CCoButton::DrawStateChanged, this, qOverload<>(&QWidget::update));
    buttons.push_back({std::move(button), PulseTrain{}});
    editor.AddControl(created, false);
    return created;
}

void CRemoteDlg::AddKey(int keyType)
{
    CButtonEx* button = CreateButton(keyType, 0, 0, 0, 0, QString());
    editor.ClearSelection(false);
    editor.Select(button, true);
}

void CRemoteDlg::DeleteSelected()
{
    std::vector<size_t> doomed;
    for (size_t i = buttons.size(); i-- > 0;)
        if (editor.IsSelected(buttons[i].button.get()))
            doomed.push_back(i);
    // Every selected button goes, so the selection empties in one step.
    editor.ClearSelection(false);
    for (size_t i : doomed)
        buttons[i].button.reset(); // its window goes, and with it its registration
    buttons.erase(std::remove_if(buttons.begin(), buttons.end(), [](const tagIRDATA& e) { return !e.button; }),
                  buttons.end());
    Renumber();
    editor.Refresh(false);
}

void CRemoteDlg::Renumber()
{
    for (size_t i = 0; i < buttons.size(); ++i)
        remote::SetControlId(buttons[i].button.get(), remote::kFirstButtonId + static_cast<int>(i));
}

void CRemoteDlg::SetCaption()
{
    captionText = captionEdit->text();
    for (tagIRDATA& entry : buttons)
        if (editor.IsSelected(entry.button.get()))
            entry.button->SetCaption(captionText);
}

void CRemoteDlg::ShowKeyMenu(QPoint globalPos)
{
    keyMenu->popup(globalPos);
}

void CRemoteDlg::ShowSystemMenu(QPoint globalPos)
{
    systemMenu->popup(globalPos);
}

void CRemoteDlg::ShowAbout()
{
    CAboutRemoteDlg(this).exec();
}

bool CRemoteDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    return HandleKey(static_cast<QKeyEvent*>(event));
}

bool CRemoteDlg::HandleKey(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (key == Qt::Key_Escape) {
        close();
        return true;
    }
    if (key == Qt::Key_Space && (modifiers & Qt::AltModifier)) {
        ShowSystemMenu(mapToGlobal(QPoint(0, 0)));
        return true;
    }
    if (remote::IsModeChord(key, modifiers)) {
        SwitchModeByChord();
        return true;
    }
    if (!designMode || !editor.IsAttached())
        return false;
    if (!(modifiers & Qt::ControlModifier)) {
        switch (key) {
        case Qt::Key_Left: editor.Nudge(-1, 0, true); return true;
        case Qt::Key_Up: editor.Nudge(0, -1, true); return true;
        case Qt::Key_Right: editor.Nudge(1, 0, true); return true;
        case Qt::Key_Down: editor.Nudge(0, 1, true); return true;
        default: return false;
        }
    }
    if (const auto type = keys::ShortcutKeyType(key, modifiers)) {
        AddKey(*type);
        return true;
    }
    return false;
}

void CRemoteDlg::mousePressEvent(QMouseEvent* event)
{
    const bool moving = event->button() == Qt::LeftButton || event->button() == Qt::RightButton;
    if (!moving || childAt(event->position().toPoint()) || moveButton != Qt::NoButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    moveButton = event->button();
    moveOffset = event->globalPosition().toPoint() - pos();
    moved = false;
}

void CRemoteDlg::mouseMoveEvent(QMouseEvent* event)
{
    if (moveButton == Qt::NoButton || !(event->buttons() & moveButton))
        return;
    const QPoint target = event->globalPosition().toPoint() - moveOffset;
    if (target != pos()) {
        moved = true;
        move(target);
    }
}

void CRemoteDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != moveButton)
        return;
    // A right click that did not move the window opens the system menu.
    if (moveButton == Qt::RightButton && !moved)
        ShowSystemMenu(event->globalPosition().toPoint());
    moveButton = Qt::NoButton;
}
