#pragma once

#include "designer/DesignRect.h"

#include <QWidget>

class EditorModel;

// Drawn on the design area, under the controls: the one-pixel black frame
// and the eight black handles of every selected control.
class CTrackerLayer : public QWidget {
    Q_OBJECT
public:
    CTrackerLayer(const EditorModel& model, QWidget* area);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const EditorModel& model;
};

// Drawn over everything while the mouse drags: the dotted outline of the
// band, of the group being moved, or of the control being resized.
class CTrackingOutline : public QWidget {
    Q_OBJECT
public:
    explicit CTrackingOutline(QWidget* window);

    // `rect` in the coordinates of `area`.
    void ShowOutline(const QWidget* area, const DesignRect& rect);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect outline;
};
