#include "tests/support/FrameBuilder.h"

#include "analyzer/decode/ProtocolTable.h"

#include <algorithm>

FrameBuilder::FrameBuilder(uint32_t seed, int jitterPercent) : random(seed), jitterPercent(jitterPercent) {}

FrameBuilder& FrameBuilder::StartLevel(int32_t level)
{
    startLevel = level;
    return *this;
}

FrameBuilder& FrameBuilder::Pulse(int nominalUs)
{
    std::uniform_int_distribution<int> percent(-jitterPercent, jitterPercent);
    const int64_t jittered = int64_t(nominalUs) * (100 + percent(random)) / 100;
    pulses.push_back(static_cast<int32_t>(std::max<int64_t>(jittered, 1)));
    return *this;
}

FrameBuilder& FrameBuilder::Exact(std::initializer_list<int> durationsUs)
{
    pulses.insert(pulses.end(), durationsUs.begin(), durationsUs.end());
    return *this;
}

FrameBuilder& FrameBuilder::Pattern(const TimingPattern& pattern, int anyUs)
{
    for (int i = 0; i < pattern.count; ++i) {
        const int nominal = pattern.durations[static_cast<std::size_t>(i)];
        Pulse(nominal != 0 ? nominal : anyUs);
    }
    return *this;
}

FrameBuilder& FrameBuilder::Bits(const std::vector<int>& bits, const ProtocolDescriptor& protocol)
{
    for (int bit : bits)
        Pattern(bit ? protocol.oneBit : protocol.zeroBit);
    return *this;
}

FrameBuilder& FrameBuilder::Bytes(const std::vector<uint8_t>& bytes, const ProtocolDescriptor& protocol)
{
    return Bits(BitsOfBytes(bytes), protocol);
}

PulseTrain FrameBuilder::Build() const
{
    PulseTrain train;
    train[0] = startLevel;
    const int count = std::min(PulseCount(), PulseTrain::kMaxPulses);
    for (int i = 0; i < count; ++i)
        train[i + 1] = pulses[static_cast<std::size_t>(i)];
    return train;
}

std::vector<int> BitsOfBytes(const std::vector<uint8_t>& bytes)
{
    std::vector<int> bits;
    for (uint8_t byte : bytes) {
        for (int b = 7; b >= 0; --b)
            bits.push_back((byte >> b) & 1);
    }
    return bits;
}

FrameBuilder& AppendNecFrame(FrameBuilder& builder, const std::vector<uint8_t>& bytes, int protocolRow)
{
    const ProtocolDescriptor& nec = ProtocolTable[protocolRow];
    return builder.Pattern(nec.lead).Bytes(bytes, nec).Pattern(nec.stop, 40000);
}

FrameBuilder& AppendNecRepeat(FrameBuilder& builder, int protocolRow)
{
    const ProtocolDescriptor& nec = ProtocolTable[protocolRow];
    return builder.Pattern(nec.repeat).Pattern(nec.stop, 96000);
}

PulseTrain NecTrain(const std::vector<uint8_t>& bytes, uint32_t seed, int protocolRow)
{
    FrameBuilder builder(seed);
    return AppendNecFrame(builder, bytes, protocolRow).Build();
}

PulseTrain NecBitsTrain(const std::vector<int>& bits, uint32_t seed)
{
    const ProtocolDescriptor& nec = ProtocolTable[0];
    return FrameBuilder(seed).Pattern(nec.lead).Bits(bits, nec).Pattern(nec.stop, 40000).Build();
}

PulseTrain HeldNecKeyTrain(const std::vector<uint8_t>& bytes, uint32_t seed)
{
    FrameBuilder builder(seed);
    AppendNecFrame(builder, bytes);
    while (builder.PulseCount() < PulseTrain::kMaxPulses)
        AppendNecRepeat(builder);
    return builder.Build();
}

PulseTrain HaierTrain(const std::vector<uint8_t>& bytes, uint32_t seed)
{
    const ProtocolDescriptor& haier = ProtocolTable[2];
    return FrameBuilder(seed).Pattern(haier.lead).Bytes(bytes, haier).Pulse(560).Pulse(30000).Build();
}

PulseTrain QuendarTrain(const std::vector<int>& bits, const std::vector<int>& separatorSlots, uint32_t seed)
{
    const ProtocolDescriptor& quendar = ProtocolTable[3];
    FrameBuilder builder(seed);
    builder.Pattern(quendar.lead);
    int slot = 0;
    for (std::size_t b = 0; b <= bits.size(); ++b) {
        while (std::count(separatorSlots.begin(), separatorSlots.end(), slot) > 0) {
            builder.Pattern(quendar.separator);
            ++slot;
        }
        if (b == bits.size())
            break;
        builder.Pattern(bits[b] ? quendar.oneBit : quendar.zeroBit);
        ++slot;
    }
    return builder.Pulse(620).Pulse(30000).Build();
}

PulseTrain HitachiTrain(const std::vector<int>& bits, uint32_t seed)
{
    const ProtocolDescriptor& hitachi = ProtocolTable[4];
    return FrameBuilder(seed).Pattern(hitachi.lead).Bits(bits, hitachi).Pulse(450).Pulse(30000).Build();
}

PulseTrain SonyTrain(const std::vector<int>& bits, uint32_t seed)
{
    FrameBuilder builder(seed);
    builder.Pulse(2400).Pulse(600);
    for (std::size_t b = 0; b < bits.size(); ++b) {
        builder.Pulse(bits[b] ? 1200 : 600);
        builder.Pulse(b + 1 < bits.size() ? 600 : 25000);
    }
    return builder.Build();
}

PulseTrain Rc5Train(int toggle, int address, int command, uint32_t seed, int bitCount)
{
    // Half-bits as levels (1 = burst): the start bits' visible halves, then
    // Manchester halves, a 1 being low-then-high.
    std::vector<int> halves{1, 0, 1};
    std::vector<int> bits{toggle & 1};
    for (int b = 4; b >= 0; --b)
        bits.push_back((address >> b) & 1);
    for (int b = 5; b >= 0; --b)
        bits.push_back((command >> b) & 1);
    bits.resize(static_cast<std::size_t>(bitCount));
    for (int bit : bits) {
        halves.push_back(bit ? 0 : 1);
        halves.push_back(bit ? 1 : 0);
    }
    FrameBuilder builder(seed);
    std::size_t i = 0;
    while (i < halves.size()) {
        std::size_t run = 1;
        while (i + run < halves.size() && halves[i + run] == halves[i])
            ++run;
        const bool lastLow = i + run == halves.size() && halves[i] == 0;
        builder.Pulse(lastLow ? 889 * int(run) + 20000 : 889 * int(run));
        i += run;
    }
    if (halves.back() == 1)
        builder.Pulse(20000);
    if (bitCount < 12)
        builder.Pulse(5000).Pulse(5000);
    return builder.Build();
}

std::vector<int> NecKeyDurations(uint8_t address, uint8_t command)
{
    std::vector<int> pulses = {9000, 4500};
    for (uint8_t byte : {address, uint8_t(~address), command, uint8_t(~command)})
        for (int bit = 0; bit < 8; ++bit)
            pulses.insert(pulses.end(), {560, (byte >> bit) & 1 ? 1690 : 560});
    pulses.push_back(560);
    return pulses;
}
