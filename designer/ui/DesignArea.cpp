#include "designer/ui/DesignArea.h"

#include <QPainter>
#include <QPaintEvent>

CDesignArea::CDesignArea(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Design area"));
}

void CDesignArea::paintEvent(QPaintEvent* event)
{
    QPainter(this).fillRect(event->rect(), Qt::white);
}
