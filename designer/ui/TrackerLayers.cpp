#include "designer/ui/TrackerLayers.h"

#include "designer/EditorModel.h"
#include "designer/TrackerGeometry.h"

#include <QPainter>
#include <QPaintEvent>

CTrackerLayer::CTrackerLayer(const EditorModel& editorModel, QWidget* area) : QWidget(area), model(editorModel)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(area->rect());
    lower();
    show();
}

void CTrackerLayer::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect dirty = event->rect();
    for (const DesignRect& r : model.SelectedRects()) {
        if (!dirty.intersects(r.Grown(tracker::kHandleSize).ToQRect()))
            continue;
        const QRect frame = r.Grown(1).ToQRect();
        painter.fillRect(frame.left(), frame.top(), frame.width(), 1, Qt::black);
        painter.fillRect(frame.left(), frame.bottom(), frame.width(), 1, Qt::black);
        painter.fillRect(frame.left(), frame.top(), 1, frame.height(), Qt::black);
        painter.fillRect(frame.right(), frame.top(), 1, frame.height(), Qt::black);
        for (int hit = tracker::kHitTopLeft; hit <= tracker::kHitLeft; ++hit)
            painter.fillRect(tracker::HandleRect(r, hit).ToQRect(), Qt::black);
    }
}

CTrackingOutline::CTrackingOutline(QWidget* window) : QWidget(window)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void CTrackingOutline::ShowOutline(const QWidget* area, const DesignRect& rect)
{
    if (geometry() != area->geometry())
        setGeometry(area->geometry());
    if (!isVisible()) {
        raise();
        show();
    }
    const QRect shown = rect.Normalized().ToQRect();
    if (shown != outline) {
        update(outline.adjusted(-1, -1, 1, 1));
        outline = shown;
        update(outline.adjusted(-1, -1, 1, 1));
    }
}

void CTrackingOutline::paintEvent(QPaintEvent*)
{
    if (outline.isNull())
        return;
    QPainter painter(this);
    const QRect edge = outline.adjusted(0, 0, -1, -1);
    painter.setPen(QPen(Qt::white, 0));
    painter.drawRect(edge);
    painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
    painter.drawRect(edge);
}
