#pragma once

#include "analyzer/core/AnalyzerSettings.h"
#include "analyzer/core/CaptureState.h"
#include "analyzer/view/ViewUpdate.h"
#include "analyzer/view/WaveformView.h"

#include <QObject>

class CWaveformPanel;
class QComboBox;
class QMouseEvent;

// Glue between the two painted panels, the zoom list and the view logic:
// turns widget events into calls on the WaveformView functions and carries
// out the repaints and tooltip changes they ask for.
class WaveformController : public QObject {
    Q_OBJECT
public:
    WaveformController(CaptureState& capture, AnalyzerSettings& settings);

    void AttachPanels(CWaveformPanel* mainPanel, CWaveformPanel* overviewPanel);
    void AttachZoomList(QComboBox* zoomList);

    void SelectZoomIndex(int index);
    void SpinStep(int delta);
    void ArrowKey(int direction); // -1 left, +1 right
    void RefreshView();
    void UpdateDataSpan();

    // Panel-relative mouse events; the controller works in client coordinates.
    void Press(CWaveformPanel* panel, QMouseEvent* event);
    void Move(CWaveformPanel* panel, QMouseEvent* event);
    void Release(CWaveformPanel* panel, QMouseEvent* event);

    const WaveformView& State() const { return view; }
    PanelGeometry Geometry() const;
    QImage RenderMain(int width, int height);
    QImage RenderOverview(int width, int height);

private:
    void Apply(const ViewUpdate& update);
    QPoint ToClient(CWaveformPanel* panel, QMouseEvent* event) const;

    CaptureState& capture;
    AnalyzerSettings& settings;
    WaveformView view;
    CWaveformPanel* mainPanel = nullptr;
    CWaveformPanel* overviewPanel = nullptr;
    QComboBox* zoomList = nullptr;
};
