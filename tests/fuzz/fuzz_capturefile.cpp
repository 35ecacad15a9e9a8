// A capture file as a user might be handed one: loaded, recognised, every
// protocol's layout tried on every channel, the code text and the view span
// computed, as the analyzer does after Load Data.

#include "analyzer/decode/Annotation.h"
#include "analyzer/decode/CodeText.h"
#include "analyzer/decode/ProtocolIdentify.h"
#include "analyzer/decode/ProtocolTable.h"
#include "analyzer/files/CaptureFile.h"
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
    for (int c = 0; c < kChannelCount; ++c) {
        for (int p = -1; p <= kProtocolCount; ++p)
            AnnotateChannel(channels[c], p);
        FormatPulseText(channels[c], settings);
    }

    WaveformView view;
    PanelGeometry panels{QRect(0, 0, 800, 392), QRect(0, 400, 800, 40)};
    UpdateDataSpan(view, channels, panels);
    return 0;
}
