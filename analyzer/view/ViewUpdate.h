#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

// The two panels' drawing areas in one common coordinate system (the main
// window's client coordinates). Mouse handlers take points in the same system;
// the panels' own sizes are the rectangles' sizes.
struct PanelGeometry {
    QRect mainPanel;
    QRect overviewPanel;

    int MainWidth() const { return mainPanel.width(); }
    int OverviewWidth() const { return overviewPanel.width(); }
};

enum class TooltipAction {
    LeaveAlone,
    Hide, // set the text to empty and deactivate
    Show, // set tooltipText and activate
};

// What the window has to do after a view state change. The view state itself
// (including a discarded overview cache) has already been updated.
struct ViewUpdate {
    bool repaintMain = false;
    bool repaintOverview = false;
    bool focusZoomList = false;
    TooltipAction tooltip = TooltipAction::LeaveAlone;
    QString tooltipText;

    void RepaintBoth()
    {
        repaintMain = true;
        repaintOverview = true;
    }
};
