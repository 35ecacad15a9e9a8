#include "analyzer/interop/IrEncoder.h"

#include <QStringList>

namespace {

struct ProtocolInfo {
    ParsedProtocol protocol;
    const char* name;
    uint32_t maxAddress;
    uint32_t maxCommand;
};

constexpr ProtocolInfo kProtocols[] = {
    {ParsedProtocol::Nec, "NEC", 0xFF, 0xFF},          {ParsedProtocol::NecExt, "NECext", 0xFFFF, 0xFFFF},
    {ParsedProtocol::Sirc, "SIRC", 0x1F, 0x7F},        {ParsedProtocol::Sirc15, "SIRC15", 0xFF, 0x7F},
    {ParsedProtocol::Sirc20, "SIRC20", 0x1FFF, 0x7F},  {ParsedProtocol::Rc5, "RC5", 0x1F, 0x3F},
    {ParsedProtocol::Rc5X, "RC5X", 0x1F, 0x7F},
};

QString Hex(uint32_t value) { return QStringLiteral("0x") + QString::number(value, 16).toUpper(); }

const ProtocolInfo& InfoOf(ParsedProtocol protocol)
{
    for (const ProtocolInfo& info : kProtocols)
        if (info.protocol == protocol)
            return info;
    return kProtocols[0];
}

// Marks and spaces with neighbours of one level merged, as on the air.
class Timeline {
public:
    void Mark(int64_t us) { Add(true, us); }
    void Space(int64_t us) { Add(false, us); }
    // Silence up to `periodUs` after the frame's start.
    void IdleUntil(int64_t periodUs) { Space(periodUs - elapsed_); }
    // Bits of `value`, least significant first, as pulse-distance marks and spaces.
    void DistanceBits(uint32_t value, int count, int64_t mark, int64_t zeroSpace, int64_t oneSpace)
    {
        for (int i = 0; i < count; ++i) {
            Mark(mark);
            Space((value >> i) & 1U ? oneSpace : zeroSpace);
        }
    }
    std::vector<int64_t> durations;

private:
    void Add(bool mark, int64_t us)
    {
        elapsed_ += us;
        // The first half-bit of RC-5 is silence: the code starts at the first burst.
        if (durations.empty() && !mark)
            return;
        if (!durations.empty() && lastMark_ == mark)
            durations.back() += us;
        else
            durations.push_back(us);
        lastMark_ = mark;
    }
    int64_t elapsed_ = 0;
    bool lastMark_ = false;
};

void EncodeNec(Timeline& out, uint32_t bits)
{
    out.Mark(9000);
    out.Space(4500);
    out.DistanceBits(bits, 32, 560, 560, 1690);
    out.Mark(560);
    out.IdleUntil(108000);
}

// 7 command bits, then the address bits, least significant first; frames
// start every 45 ms.
void EncodeSirc(Timeline& out, uint32_t address, int addressBits, uint32_t command)
{
    out.Mark(2400);
    out.Space(600);
    for (int i = 0; i < 7 + addressBits; ++i) {
        const uint32_t bit = i < 7 ? (command >> i) & 1U : (address >> (i - 7)) & 1U;
        out.Mark(bit ? 1200 : 600);
        out.Space(600);
    }
    out.IdleUntil(45000);
}

// Biphase, most significant bit first: start bit, field bit (the inverted
// seventh command bit, 1 for plain RC-5), toggle (0), 5 address and 6 command
// bits. A 1 is silence then burst. Frames start every 64 bit times.
void EncodeRc5(Timeline& out, uint32_t address, uint32_t command)
{
    constexpr int64_t kHalfBitUs = 889;
    const uint32_t field = ((command >> 6) & 1U) ^ 1U;
    const uint32_t frame = (1U << 13) | (field << 12) | ((address & 0x1F) << 6) | (command & 0x3F);
    for (int bit = 13; bit >= 0; --bit) {
        if ((frame >> bit) & 1U) {
            out.Space(kHalfBitUs);
            out.Mark(kHalfBitUs);
        } else {
            out.Mark(kHalfBitUs);
            out.Space(kHalfBitUs);
        }
    }
    out.IdleUntil(64 * 2 * kHalfBitUs);
}

} // namespace

std::optional<ParsedProtocol> ParsedProtocolNamed(const QString& name)
{
    for (const ProtocolInfo& info : kProtocols)
        if (name == QLatin1String(info.name))
            return info.protocol;
    return std::nullopt;
}

QString ParsedProtocolNames()
{
    QStringList names;
    for (const ProtocolInfo& info : kProtocols)
        names << QLatin1String(info.name);
    return names.join(QStringLiteral(", "));
}

std::optional<QString> EncodeParsed(ParsedProtocol protocol, uint32_t address, uint32_t command,
                                    std::vector<int64_t>& durationsUs)
{
    const ProtocolInfo& info = InfoOf(protocol);
    if (address > info.maxAddress)
        return QStringLiteral("address %1 is above %2, the largest %3 address")
            .arg(Hex(address), Hex(info.maxAddress), QLatin1String(info.name));
    if (command > info.maxCommand)
        return QStringLiteral("command %1 is above %2, the largest %3 command")
            .arg(Hex(command), Hex(info.maxCommand), QLatin1String(info.name));
    Timeline out;
    switch (protocol) {
    case ParsedProtocol::Nec:
        EncodeNec(out, address | ((~address & 0xFFU) << 8) | (command << 16) | ((~command & 0xFFU) << 24));
        break;
    case ParsedProtocol::NecExt:
        EncodeNec(out, address | (command << 16));
        break;
    case ParsedProtocol::Sirc:
        EncodeSirc(out, address, 5, command);
        break;
    case ParsedProtocol::Sirc15:
        EncodeSirc(out, address, 8, command);
        break;
    case ParsedProtocol::Sirc20:
        EncodeSirc(out, address, 13, command);
        break;
    case ParsedProtocol::Rc5:
    case ParsedProtocol::Rc5X:
        EncodeRc5(out, address, command);
        break;
    }
    durationsUs = std::move(out.durations);
    return std::nullopt;
}
