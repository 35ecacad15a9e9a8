#include "analyzer/app/WaveformController.h"

#include "analyzer/app/WaveformPanel.h"
#include "analyzer/view/DecodeOverlay.h"
#include "analyzer/view/MainPanelPainter.h"
#include "analyzer/view/MouseNavigation.h"
#include "analyzer/view/OverviewPainter.h"
#include "analyzer/view/ViewNavigation.h"
#include "analyzer/view/ZoomTable.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QPalette>
#include <QToolTip>

namespace {
constexpr int kTooltipHideMs = 3000;
}

WaveformController::WaveformController(CaptureState& capture, AnalyzerSettings& settings)
    : capture(capture), settings(settings)
{
}

void WaveformController::AttachPanels(CWaveformPanel* main, CWaveformPanel* overview)
{
    mainPanel = main;
    overviewPanel = overview;
    mainPanel->SetPainter([this](int w, int h) { return RenderMain(w, h); });
    overviewPanel->SetPainter([this](int w, int h) { return RenderOverview(w, h); });
    for (CWaveformPanel* panel : {mainPanel, overviewPanel}) {
        connect(panel, &CWaveformPanel::MousePressed, this, [this, panel](QMouseEvent* e) { Press(panel, e); });
        connect(panel, &CWaveformPanel::MouseMoved, this, [this, panel](QMouseEvent* e) { Move(panel, e); });
        connect(panel, &CWaveformPanel::MouseReleased, this, [this, panel](QMouseEvent* e) { Release(panel, e); });
    }
}

void WaveformController::AttachZoomList(QComboBox* list)
{
    zoomList = list;
    zoomList->addItems(ZoomTexts());
    connect(zoomList, &QComboBox::currentIndexChanged, this, [this] {
        Apply(ApplyZoom(view, zoomList->currentText(), Geometry()));
    });
}

PanelGeometry WaveformController::Geometry() const
{
    PanelGeometry geometry;
    if (mainPanel)
        geometry.mainPanel = mainPanel->geometry();
    if (overviewPanel)
        geometry.overviewPanel = overviewPanel->geometry();
    return geometry;
}

QImage WaveformController::RenderMain(int width, int height)
{
    const QRect client(0, 0, width, height);
    return PaintMainPanel(view, capture.channels, settings.analyzeEnabled, QSize(width, height),
                          [this, client](QPainter& painter) {
                              DrawDecodeOverlay(painter, OverlayPaintParams{client, view.Axis()}, capture.channels,
                                                capture.channelProtocol);
                          });
}

QImage WaveformController::RenderOverview(int width, int height)
{
    return PaintOverviewPanel(view, capture.channels, QSize(width, height));
}

void WaveformController::SelectZoomIndex(int index)
{
    if (zoomList && zoomList->currentIndex() != index)
        zoomList->setCurrentIndex(index); // runs ApplyZoom through the selection change
}

void WaveformController::SpinStep(int delta)
{
    if (zoomList)
        SelectZoomIndex(SteppedZoomIndex(zoomList->currentIndex(), delta));
}

void WaveformController::ArrowKey(int direction)
{
    Apply(ScrollByArrow(view, direction < 0 ? ArrowKey::Left : ArrowKey::Right, capture.channels,
                        settings.analyzeEnabled, Geometry()));
}

void WaveformController::RefreshView()
{
    Apply(::RefreshView(view, Geometry()));
}

void WaveformController::UpdateDataSpan()
{
    Apply(::UpdateDataSpan(view, capture.channels, Geometry()));
}

QPoint WaveformController::ToClient(CWaveformPanel* panel, QMouseEvent* event) const
{
    return panel->mapToParent(event->position().toPoint());
}

void WaveformController::Press(CWaveformPanel* panel, QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Apply(LeftButtonPress(view, ToClient(panel, event), Geometry()));
}

void WaveformController::Move(CWaveformPanel* panel, QMouseEvent* event)
{
    Apply(MouseMove(view, ToClient(panel, event), capture.channels, settings.analyzeEnabled, Geometry()));
}

void WaveformController::Release(CWaveformPanel*, QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Apply(LeftButtonRelease(view));
}

void WaveformController::Apply(const ViewUpdate& update)
{
    if (update.repaintMain && mainPanel)
        mainPanel->update();
    if (update.repaintOverview && overviewPanel)
        overviewPanel->update();
    if (update.focusZoomList && zoomList)
        zoomList->setFocus(Qt::MouseFocusReason);
    switch (update.tooltip) {
    case TooltipAction::Show:
        if (mainPanel) {
            QPalette palette = QToolTip::palette();
            palette.setColor(QPalette::ToolTipBase, Qt::white);
            palette.setColor(QPalette::ToolTipText, Qt::black);
            QToolTip::setPalette(palette);
            const QPoint global = mainPanel->parentWidget()->mapToGlobal(view.lastTipPos);
            QToolTip::showText(global + QPoint(12, 16), update.tooltipText, mainPanel, QRect(), kTooltipHideMs);
        }
        break;
    case TooltipAction::Hide:
        QToolTip::hideText();
        break;
    case TooltipAction::LeaveAlone:
        break;
    }
}
