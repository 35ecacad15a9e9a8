// Design mode and play mode: the switches between them, the body picture,
// the play-mode painting of the whole remote and the window's shape.
#include "designer/ui/RemoteDlg.h"

#include "designer/KeyTypes.h"
#include "designer/PlayPicture.h"
#include "designer/RemoteLayout.h"
#include "designer/ui/DesignArea.h"
#include "designer/ui/Pictures.h"
#include "device/DeviceChangeWatcher.h"

#include <QCloseEvent>
#include <QLoggingCategory>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

// Enabled with QT_LOGGING_RULES="wavix.remote.play.debug=true"; the start-up
// benchmark waits for the first play-mode paint through it.
Q_LOGGING_CATEGORY(lcPlay, "wavix.remote.play", QtWarningMsg)

void CRemoteDlg::SetBackground(const QColor& colour)
{
    QPalette background = palette();
    background.setColor(QPalette::Window, colour);
    setPalette(background);
}

void CRemoteDlg::ShowDesignControls(bool show)
{
    for (const remote::ControlPlace& place : remote::Controls())
        if (place.id != remote::kPreview)
            Control(place.id)->setVisible(show);
}

void CRemoteDlg::SetMode(bool design)
{
    if (!design) {
        // Releasing the editor repaints the selection frames away at once:
        // still as design mode, never as a half-made play picture.
        editor.Detach(area);
    }
    designMode = design;
    if (design) {
        bodyPicture = QImage();
        playBackground = QImage();
        shape = QRegion();
        clearMask();
        SetBackground(designBackground);
        ShowDesignControls(true);
        previewButton->show();
        editor.Attach(area);
        editor.SetBound(6, 6, area->width() - 6, area->height() - 6);
        for (tagIRDATA& entry : buttons) {
            editor.AddControl(entry.button.get(), false);
            entry.button->SetSelfDrawn(true);
        }
        update();
        return;
    }
    for (tagIRDATA& entry : buttons)
        entry.button->SetSelfDrawn(false);
    ShowDesignControls(false);
    SetBackground(QColor::fromRgb(play::kColourKey));
    LoadBodyPicture();
}

void CRemoteDlg::TogglePreview()
{
    SetMode(!editor.IsAttached());
}

void CRemoteDlg::SwitchModeByChord()
{
    SetMode(!designMode);
    previewButton->setVisible(designMode);
    update();
}

void CRemoteDlg::LoadBodyPicture()
{
    bodyPicture = keys::IsValidBody(bodyIndex) ? PngPicture(keys::BodyAt(bodyIndex).picture) : QImage();
    playBackground = play::Background(bodyPicture, size());
    update();
}

void CRemoteDlg::paintEvent(QPaintEvent* event)
{
    if (designMode) {
        QWidget::paintEvent(event);
        return;
    }
    PaintPlayMode();
}

void CRemoteDlg::PaintPlayMode()
{
    if (playBackground.size() != size())
        playBackground = play::Background(bodyPicture, size());
    std::vector<play::PlacedButton> placed;
    placed.reserve(buttons.size());
    for (const tagIRDATA& entry : buttons)
        if (!entry.button->SelfDrawn())
            placed.push_back({entry.button->geometry(), entry.button->Face()});
    const QImage picture = play::Compose(playBackground, placed, connected);
    QPainter(this).drawImage(0, 0, picture);

    // Only the body and the buttons are seen and take clicks; "Preview"
    // stays reachable wherever it lies.
    QRegion visible = play::VisibleRegion(picture);
    if (previewButton->isVisible())
        visible += previewButton->geometry();
    if (visible != shape) {
        shape = visible;
        QTimer::singleShot(0, this, [this] {
            if (designMode || shape == mask())
                return;
            setMask(shape);
            // What the old shape hid has never been painted.
            update();
        });
    }
    if (!playPainted) {
        playPainted = true;
        qCDebug(lcPlay) << "first play-mode paint";
    }
}

void CRemoteDlg::closeEvent(QCloseEvent* event)
{
    statusTimer.stop();
    searchTimer.stop();
    learnTimer.stop();
    if (deviceWatcher)
        deviceWatcher->Stop();
    // Escape may arrive through a button's own key event: the buttons go
    // once that event is over.
    QTimer::singleShot(0, this, &CRemoteDlg::ReleaseDesign);
    event->accept();
}

void CRemoteDlg::ReleaseDesign()
{
    buttons.clear();
    device.Close();
}
