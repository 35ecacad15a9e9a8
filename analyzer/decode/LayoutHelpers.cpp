#include "analyzer/decode/ProtocolLayouts.h"

#include "analyzer/decode/ProtocolTable.h"

namespace layout {

QString Hex2(int value) { return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper(); }

QString ByteText(int value) { return QStringLiteral("0x") + Hex2(value); }

QString BitText(int bit) { return bit ? QStringLiteral("1") : QStringLiteral("0"); }

QString CodePrefix(const ProtocolDescriptor& descriptor) { return QStringLiteral("Code: ") + ProtocolName(descriptor); }

QString HexBytesSuffix(const uint8_t* bytes, int count)
{
    QString text;
    for (int k = 0; k < count; ++k)
        text += QLatin1Char(' ') + Hex2(bytes[k]);
    return text;
}

void AddBox(ChannelAnnotation& out, int firstPulse, int lastPulse, int row, const QString& text,
            int64_t startShiftUs, int64_t endShiftUs)
{
    out.boxes.push_back(LabelBox{firstPulse, lastPulse, row, startShiftUs, endShiftUs, text});
}

} // namespace layout
