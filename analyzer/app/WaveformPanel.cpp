#include "analyzer/app/WaveformPanel.h"

#include "analyzer/app/ControlIds.h"

#include <QMouseEvent>
#include <QPainter>

CWaveformPanel::CWaveformPanel(int controlId, const QString& accessibleName, QWidget* parent) : QFrame(parent)
{
    SetControlId(this, controlId);
    setAccessibleName(accessibleName);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void CWaveformPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (painter)
        p.drawImage(0, 0, painter(width(), height()));
    else
        p.fillRect(rect(), Qt::black);
}

void CWaveformPanel::mousePressEvent(QMouseEvent* event)
{
    emit MousePressed(event);
}

void CWaveformPanel::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMoved(event);
}

void CWaveformPanel::mouseReleaseEvent(QMouseEvent* event)
{
    emit MouseReleased(event);
}
