#pragma once

#include "designer/EditorModel.h"

#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>

class QMouseEvent;
class QWidget;
class CTrackerLayer;
class CTrackingOutline;

// The design-area editor: makes the registered controls selectable, movable,
// resizable and alignable with the mouse and the keyboard. It watches the
// events of the design area and of every registered control, turns them
// into calls on its EditorModel, and moves the controls the model names.
class CCtrlEdit : public QObject {
    Q_OBJECT
public:
    // Moves a control to a rectangle in its parent's coordinates.
    using Placer = std::function<void(QWidget* control, const QRect& rect)>;

    explicit CCtrlEdit(QObject* parent = nullptr);
    ~CCtrlEdit() override;

    bool Attach(QWidget* area);
    bool Detach(QWidget* area);
    bool IsAttached() const { return model.IsAttached(); }
    QWidget* Area() const { return area; }

    void SetBound(int left, int top, int right, int bottom);
    bool AddControl(QWidget* control, bool reparent);
    bool RemoveControl(QWidget* control, bool repaint);
    void SetPlacer(Placer placer);

    bool Select(QWidget* control, bool repaint);
    bool Deselect(QWidget* control, bool repaint);
    bool Toggle(QWidget* control, bool repaint);
    void ClearSelection(bool repaint);
    bool IsSelected(QWidget* control) const;
    // The selected controls in the order they were selected.
    QList<QWidget*> Selection() const;

    void Nudge(int dx, int dy, bool clamp);
    void AlignLeft() { AlignSelection(arrange::Align::Left); }
    void AlignCentreX() { AlignSelection(arrange::Align::CentreX); }
    void AlignRight() { AlignSelection(arrange::Align::Right); }
    void AlignTop() { AlignSelection(arrange::Align::Top); }
    void AlignCentreY() { AlignSelection(arrange::Align::CentreY); }
    void AlignBottom() { AlignSelection(arrange::Align::Bottom); }
    void SpaceAcross() { SpaceSelection(arrange::Axis::Across); }
    void SpaceDown() { SpaceSelection(arrange::Axis::Down); }

    // Repaints the frames of the selection, and where they were before.
    void Refresh(bool discardPrevious);

    const EditorModel& Model() const { return model; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Registration {
        QPointer<QWidget> parentAtRegistration;
        bool hadMouseTracking = false;
    };

    void AlignSelection(arrange::Align how);
    void SpaceSelection(arrange::Axis axis);
    void PlaceControl(QWidget* control, const DesignRect& inArea);
    void MoveControls(const std::vector<ControlKey>& moved);
    void Forget(ControlKey key);
    QRect AreaRectOf(const QWidget* control) const;
    QPoint AreaPoint(const QMouseEvent* event) const;
    bool OnPress(QWidget* receiver, QMouseEvent* event);
    bool OnTrackingEvent(QEvent* event);
    void FinishTracking(bool cancelled, QPoint point, qint64 timeMs);
    void UpdateCursor(QWidget* receiver, QMouseEvent* event);

    EditorModel model;
    QPointer<QWidget> area;
    QHash<ControlKey, QWidget*> controls;
    QHash<ControlKey, Registration> registrations;
    QPointer<CTrackerLayer> layer;
    QPointer<CTrackingOutline> outline;
    Placer placer;
    bool areaHadMouseTracking = false;
};
