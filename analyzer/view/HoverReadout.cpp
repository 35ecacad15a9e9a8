#include "analyzer/view/HoverReadout.h"

int ChannelAtRow(int y, bool analyzeEnabled)
{
    // The rows the trace spans, both levels included.
    for (int c = 0; c < kChannelCount; ++c) {
        if (y >= ViewGeometry::TraceHighY(c, analyzeEnabled) && y <= ViewGeometry::TraceLowY(c))
            return c;
    }
    return -1;
}

QString HoverText(const WaveformView& view, QPoint mainPanelPoint, const ChannelTrains& channels,
                  bool analyzeEnabled)
{
    const int channel = ChannelAtRow(mainPanelPoint.y(), analyzeEnabled);
    if (channel < 0)
        return {};

    const int64_t timeUs = view.XToTime(mainPanelPoint.x());
    const PulseTrain& train = channels[size_t(channel)];
    int64_t runningSum = 0;
    int i = 1;
    for (; i < PulseTrain::kEntries; ++i) {
        if (train[i] == 0)
            break;
        runningSum += train[i];
        if (runningSum >= timeUs)
            break;
    }
    if (i >= PulseTrain::kEntries || train[i] <= 0)
        return {};

    const char* format = train.IsHigh(i) ? "CH%d\n%dH:%dus" : "CH%d\n%dL:%dus";
    return QString::asprintf(format, channel + 1, i, int(train[i]));
}

ViewUpdate EvaluateHover(WaveformView& view, QPoint windowPoint, const ChannelTrains& channels,
                         bool analyzeEnabled, const PanelGeometry& panels)
{
    QString text;
    if (panels.mainPanel.contains(windowPoint))
        text = HoverText(view, windowPoint - panels.mainPanel.topLeft(), channels, analyzeEnabled);

    ViewUpdate update;
    if (text.isEmpty()) {
        update.tooltip = TooltipAction::Hide;
    } else if (windowPoint != view.lastTipPos) {
        view.lastTipPos = windowPoint;
        update.tooltip = TooltipAction::Show;
        update.tooltipText = text;
    }
    return update;
}
