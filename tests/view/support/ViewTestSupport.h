#pragma once

#include "analyzer/view/ViewNavigation.h"
#include "analyzer/view/WaveformView.h"

#include <QColor>
#include <QImage>

#include <initializer_list>

// A train from its start level followed by its pulses.
inline PulseTrain MakeTrain(std::initializer_list<int32_t> entries)
{
    PulseTrain train;
    int i = 0;
    for (int32_t value : entries)
        train[i++] = value;
    return train;
}

// The panels as the main window lays them out, away from the window origin so
// that a mix-up of window and panel coordinates shows.
inline PanelGeometry MakePanels(int mainWidth, int overviewWidth, int mainHeight = 400, int overviewHeight = 110)
{
    PanelGeometry panels;
    panels.overviewPanel = QRect(7, 11, overviewWidth, overviewHeight);
    panels.mainPanel = QRect(7, 11 + overviewHeight + 5, mainWidth, mainHeight);
    return panels;
}

inline QPoint InMain(const PanelGeometry& panels, int x, int y)
{
    return panels.mainPanel.topLeft() + QPoint(x, y);
}

inline QPoint InOverview(const PanelGeometry& panels, int x, int y)
{
    return panels.overviewPanel.topLeft() + QPoint(x, y);
}

// A view refreshed for the given panels with a data span, zoom and scroll.
inline WaveformView MakeView(const PanelGeometry& panels, uint32_t dataSpan, int zoom = 100, int scroll = 0)
{
    WaveformView view;
    view.dataSpan = dataSpan;
    view.zoom = zoom;
    view.scroll = scroll;
    RefreshView(view, panels);
    return view;
}

inline bool IsColour(const QImage& image, int x, int y, const QColor& colour)
{
    return image.pixelColor(x, y).rgb() == colour.rgb();
}

// Whether any pixel of the rectangle [x0, x1) x [y0, y1) has the colour.
inline bool AnyColour(const QImage& image, int x0, int x1, int y0, int y1, const QColor& colour)
{
    for (int y = std::max(y0, 0); y < std::min(y1, image.height()); ++y) {
        for (int x = std::max(x0, 0); x < std::min(x1, image.width()); ++x) {
            if (IsColour(image, x, y, colour))
                return true;
        }
    }
    return false;
}
