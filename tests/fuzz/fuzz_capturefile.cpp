// A capture file as a user might be handed one: loaded, recognised, every
// protocol's layout tried on every channel and placed on the panel, the code
// text and the view span computed, as the analyzer does after Load Data; and
// each channel encoded for sending, as SEND CH1..4 would.

#include "analyzer/core/Transmit.h"
#include "analyzer/decode/Annotation.h"
#include "analyzer/decode/CodeText.h"
#include "analyzer/decode/ProtocolIdentify.h"
#include "analyzer/decode/ProtocolTable.h"
#include "analyzer/files/CaptureFile.h"
#include "analyzer/view/DecodeOverlay.h"
#include "analyzer/view/ViewNavigation.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ChannelTrains channels{};
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ApplyCaptureRecords(bytes, channels);

    std::array<int, kChannelCount> protocols{};
    IdentifyChannels(channels, protocols, -1);

    AnalyzerSettings settings;
    settings.format = QStringLiteral("[INDEX]:[LEVEL]%d");
    settings.columns = 7;
    const QRect client(0, 0, 800, 392);
    for (int c = 0; c < kChannelCount; ++c) {
        const PulseStartTimes startTimes(channels[c]);
        for (int p = -1; p <= kProtocolCount; ++p) {
            for (const LabelBox& box : AnnotateChannel(channels[c], p).boxes) {
                for (const TimeAxis axis : {TimeAxis{1, 0}, TimeAxis{1000, 123456}}) {
                    const std::optional<QRect> area = LabelBoxArea(box, c, startTimes, OverlayPaintParams{client, axis});
                    if (area && !client.contains(*area))
                        __builtin_trap();
                }
            }
        }
        FormatPulseText(channels[c], settings);

        // A duration is sent as its half in one 16-bit word: never wrapped
        // into a shorter one, the longest ones saturate.
        TransmitBuffer buffer;
        const int length = EncodeTrain(channels[c], buffer);
        for (int i = 1; 2 * i < length; ++i) {
            const int sentUs = 2 * (buffer[size_t(2 * i)] | buffer[size_t(2 * i + 1)] << 8);
            if (sentUs < std::min(channels[c][i] - 1, 2 * 0xFFFF))
                __builtin_trap();
        }
    }

    WaveformView view;
    PanelGeometry panels{QRect(0, 0, 800, 392), QRect(0, 400, 800, 40)};
    UpdateDataSpan(view, channels, panels);
    return 0;
}
