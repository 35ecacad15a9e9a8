#include "designer/ui/CtrlEdit.h"

#include "designer/ui/TrackerLayers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {

ControlKey KeyOf(const QObject* object)
{
    return static_cast<ControlKey>(object);
}

bool IsMouseOrKey(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return true;
    default:
        return false;
    }
}

} // namespace

CCtrlEdit::CCtrlEdit(QObject* parent) : QObject(parent)
{
    placer = [](QWidget* control, const QRect& rect) { control->setGeometry(rect); };
}

CCtrlEdit::~CCtrlEdit()
{
    // Quiet teardown: the window may be half destroyed, so nothing repaints.
    if (model.CurrentTracking() != EditorModel::Tracking::None)
        qApp->removeEventFilter(this);
    for (auto it = controls.constBegin(); it != controls.constEnd(); ++it)
        it.value()->removeEventFilter(this);
    if (area)
        area->removeEventFilter(this);
    delete layer;
    delete outline;
}

void CCtrlEdit::SetPlacer(Placer newPlacer)
{
    placer = std::move(newPlacer);
}

bool CCtrlEdit::Attach(QWidget* newArea)
{
    if (!newArea || model.IsAttached())
        return false;
    area = newArea;
    area->installEventFilter(this);
    areaHadMouseTracking = area->hasMouseTracking();
    area->setMouseTracking(true);
    connect(area, &QObject::destroyed, this, [this] {
        for (auto it = controls.constBegin(); it != controls.constEnd(); ++it)
            it.value()->removeEventFilter(this);
        controls.clear();
        registrations.clear();
        model.Detach();
    });
    layer = new CTrackerLayer(model, area);
    outline = new CTrackingOutline(area->parentWidget() ? area->parentWidget() : area.data());
    model.Attach();
    return true;
}

bool CCtrlEdit::Detach(QWidget* oldArea)
{
    if (!model.IsAttached() || !oldArea || oldArea != area)
        return false;
    const std::vector<ControlKey> all = model.Controls();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        RemoveControl(controls.value(*it), false);
    Refresh(false);
    if (model.CurrentTracking() != EditorModel::Tracking::None)
        qApp->removeEventFilter(this);
    area->removeEventFilter(this);
    area->setMouseTracking(areaHadMouseTracking);
    disconnect(area, &QObject::destroyed, this, nullptr);
    delete layer;
    delete outline;
    area = nullptr;
    model.Detach();
    return true;
}

void CCtrlEdit::SetBound(int left, int top, int right, int bottom)
{
    model.SetBound({left, top, right, bottom});
}

bool CCtrlEdit::AddControl(QWidget* control, bool reparent)
{
    if (!control || !control->parentWidget() || !model.IsAttached() || control == area ||
        model.IsRegistered(KeyOf(control)))
        return false;
    Registration reg;
    reg.parentAtRegistration = control->parentWidget();
    reg.hadMouseTracking = control->hasMouseTracking();
    if (reparent && control->parentWidget() != area) {
        control->setParent(area);
        control->show();
    }
    const ControlKey key = KeyOf(control);
    model.AddControl(key, DesignRect::FromQRect(AreaRectOf(control)));
    controls.insert(key, control);
    registrations.insert(key, reg);
    control->installEventFilter(this);
    control->setMouseTracking(true);
    connect(control, &QObject::destroyed, this, [this, key] { Forget(key); });
    return true;
}

bool CCtrlEdit::RemoveControl(QWidget* control, bool repaint)
{
    const ControlKey key = KeyOf(control);
    model.Deselect(key);
    if (!control || control == area || !model.IsRegistered(key))
        return false;
    const Registration reg = registrations.value(key);
    control->removeEventFilter(this);
    control->setMouseTracking(reg.hadMouseTracking);
    disconnect(control, &QObject::destroyed, this, nullptr);
    if (reg.parentAtRegistration && control->parentWidget() != reg.parentAtRegistration) {
        control->setParent(reg.parentAtRegistration);
        control->show();
    }
    Forget(key);
    if (repaint)
        Refresh(true);
    return true;
}

void CCtrlEdit::Forget(ControlKey key)
{
    model.RemoveControl(key);
    controls.remove(key);
    registrations.remove(key);
}

bool CCtrlEdit::Select(QWidget* control, bool repaint)
{
    const bool done = model.Select(KeyOf(control));
    if (done && repaint)
        Refresh(false);
    return done;
}

bool CCtrlEdit::Deselect(QWidget* control, bool repaint)
{
    const bool done = model.Deselect(KeyOf(control));
    if (done && repaint)
        Refresh(false);
    return done;
}

bool CCtrlEdit::Toggle(QWidget* control, bool repaint)
{
    return IsSelected(control) ? Deselect(control, repaint) : Select(control, repaint);
}

void CCtrlEdit::ClearSelection(bool repaint)
{
    model.ClearSelection();
    if (repaint)
        Refresh(false);
}

bool CCtrlEdit::IsSelected(QWidget* control) const
{
    return model.IsSelected(KeyOf(control));
}

QList<QWidget*> CCtrlEdit::Selection() const
{
    QList<QWidget*> list;
    for (ControlKey key : model.Selection())
        list.append(controls.value(key));
    return list;
}

void CCtrlEdit::Nudge(int dx, int dy, bool clamp)
{
    const std::vector<ControlKey> moved = model.Nudge(dx, dy, clamp);
    if (moved.empty())
        return;
    MoveControls(moved);
    Refresh(false);
}

void CCtrlEdit::AlignSelection(arrange::Align how)
{
    if (!model.IsAttached())
        return;
    MoveControls(model.Align(how));
    Refresh(false);
}

void CCtrlEdit::SpaceSelection(arrange::Axis axis)
{
    if (!model.IsAttached() || model.SelectedCount() <= 2)
        return;
    MoveControls(model.Space(axis));
    Refresh(false);
}

QRect CCtrlEdit::AreaRectOf(const QWidget* control) const
{
    const QRect r = control->geometry();
    const QWidget* parent = control->parentWidget();
    if (parent == area)
        return r;
    if (parent == area->parentWidget())
        return r.translated(-area->pos());
    return QRect(area->mapFromGlobal(parent->mapToGlobal(r.topLeft())), r.size());
}

void CCtrlEdit::PlaceControl(QWidget* control, const DesignRect& inArea)
{
    const QWidget* parent = control->parentWidget();
    QRect target = inArea.ToQRect();
    if (parent == area->parentWidget())
        target.translate(area->pos());
    else if (parent != area)
        target.moveTopLeft(parent->mapFromGlobal(area->mapToGlobal(target.topLeft())));
    placer(control, target);
}

void CCtrlEdit::MoveControls(const std::vector<ControlKey>& moved)
{
    for (ControlKey key : moved) {
        QWidget* control = controls.value(key);
        if (!control)
            continue;
        PlaceControl(control, model.RectOf(key));
        // A picture button keeps its size, centred on the rectangle it was
        // given; near the bound that can put it outside, so it goes back in.
        DesignRect placed = DesignRect::FromQRect(AreaRectOf(control));
        const DesignRect inside = tracker::ClampMove(placed, model.Bound());
        if (inside != placed) {
            PlaceControl(control, inside);
            placed = DesignRect::FromQRect(AreaRectOf(control));
        }
        model.UpdateRect(key, placed);
    }
}

void CCtrlEdit::Refresh(bool discardPrevious)
{
    if (!area)
        return;
    const EditorModel::RefreshArea dirty = model.Refresh(discardPrevious);
    QWidget* top = area->window();
    if (dirty.whole)
        top->repaint();
    else if (!dirty.region.isEmpty())
        top->repaint(dirty.region.translated(area->mapTo(top, QPoint(0, 0))));
}

QPoint CCtrlEdit::AreaPoint(const QMouseEvent* event) const
{
    return area->mapFromGlobal(event->globalPosition().toPoint());
}

bool CCtrlEdit::eventFilter(QObject* watched, QEvent* event)
{
    // While tracking, events are taken at the widgets they are meant for:
    // the window object must still see its own copy of each, or it loses
    // track of the mouse button and of which widget the pointer is over.
    if (model.CurrentTracking() != EditorModel::Tracking::None && IsMouseOrKey(event->type()))
        return watched->isWidgetType() && OnTrackingEvent(event);
    if (!model.IsAttached())
        return false;
    QWidget* widget = qobject_cast<QWidget*>(watched);
    const bool isArea = widget && widget == area;
    const bool isControl = controls.contains(KeyOf(watched));
    if (!isArea && !isControl)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return isArea; // the area is a control, not the window's background
        return OnPress(widget, mouse);
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->buttons() == Qt::NoButton)
            UpdateCursor(widget, mouse);
        return false;
    }
    case QEvent::Move:
    case QEvent::Resize:
        if (isControl)
            model.UpdateRect(KeyOf(watched), DesignRect::FromQRect(AreaRectOf(widget)));
        else if (layer)
            layer->setGeometry(area->rect());
        return false;
    default:
        return false;
    }
}

bool CCtrlEdit::OnPress(QWidget* receiver, QMouseEvent* event)
{
    const EditorModel::PressResult result =
        model.Press(AreaPoint(event), event->modifiers(), static_cast<qint64>(event->timestamp()));
    if (result.refresh)
        Refresh(false);
    if (result.tracking != EditorModel::Tracking::None) {
        qApp->installEventFilter(this);
        outline->ShowOutline(area, model.TrackingOutline());
        return true;
    }
    return receiver == area || model.IsSelected(KeyOf(receiver));
}

bool CCtrlEdit::OnTrackingEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        model.TrackTo(AreaPoint(static_cast<QMouseEvent*>(event)));
        outline->ShowOutline(area, model.TrackingOutline());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton)
            FinishTracking(false, AreaPoint(mouse), static_cast<qint64>(mouse->timestamp()));
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
            FinishTracking(true, {}, 0);
        return true;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            FinishTracking(true, {}, 0);
        return true;
    default:
        return true;
    }
}

void CCtrlEdit::FinishTracking(bool cancelled, QPoint point, qint64 timeMs)
{
    qApp->removeEventFilter(this);
    std::vector<ControlKey> moved;
    if (cancelled)
        model.CancelTracking();
    else
        moved = model.Release(point, timeMs);
    outline->hide();
    MoveControls(moved);
    Refresh(false);
}

void CCtrlEdit::UpdateCursor(QWidget* receiver, QMouseEvent* event)
{
    const Qt::CursorShape shape = tracker::CursorForHit(model.HitSelected(AreaPoint(event)));
    if (receiver->cursor().shape() != shape)
        receiver->setCursor(shape);
}
