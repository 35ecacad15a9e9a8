#pragma once

#include <QString>

// Sent to the device as is.
enum class TriggerMode : int {
    Auto = 0,
    RisingEdge = 1,
    FallingEdge = 2,
    Pulse = 3,
    PositivePulse = 4,
    NegativePulse = 5,
};
constexpr int kTriggerModeCount = 6;

// What the analyzer does after each accepted capture.
enum class CaptureMode : int {
    Once = 0,
    Normal = 1,
    Auto = 2,
};
constexpr int kCaptureModeCount = 3;

struct AnalyzerSettings {
    TriggerMode triggerMode = TriggerMode::Auto;
    int minPulseWidth = 0; // us
    int maxPulseWidth = 0; // us
    CaptureMode captureMode = CaptureMode::Auto;
    QString prefix;
    QString suffix;
    QString spaceCharacter = QStringLiteral(", ");
    QString format = QStringLiteral("%05X");
    int columns = 16;
    bool analyzeEnabled = true;
};
