#include "tests/support/HostileTrains.h"

#include "tests/support/FrameBuilder.h"

#include <climits>

namespace {

int32_t NearNominal(std::mt19937& random)
{
    static const int32_t kNominals[] = {560, 1690, 4500, 9000, 2250, 889, 1778, 600, 1200, 2400, 620,
                                        466, 1030, 3640, 1728, 450, 1230, 3400, 1700, 3040, 4400, 40000};
    const int32_t nominal = kNominals[random() % (sizeof(kNominals) / sizeof(kNominals[0]))];
    return int32_t(int64_t(nominal) * int64_t(55 + random() % 91) / 100); // 55..145 %
}

} // namespace

PulseTrain HostileTrain(std::mt19937& random, HostileShape shape)
{
    static const PulseTrain kFrames[] = {
        NecTrain({0x00, 0xFF, 0x40, 0xBF}), HeldNecKeyTrain({0x00, 0xFF, 0x40, 0xBF}), Rc5Train(0, 5, 53),
        Rc5Train(1, 31, 63), SonyTrain(std::vector<int>(15, 1)), QuendarTrain(std::vector<int>(40, 1), {24}),
        HitachiTrain(std::vector<int>(344, 0)), HaierTrain(std::vector<uint8_t>(11, 0x5A))};
    PulseTrain train;
    switch (shape) {
    case HostileShape::AnyValue:
        for (int32_t& entry : train.entries)
            entry = int32_t(random());
        break;
    case HostileShape::NearNominals:
        for (int32_t& entry : train.entries)
            entry = NearNominal(random);
        break;
    case HostileShape::Extremes: {
        static const int32_t kValues[] = {INT_MIN, INT_MAX, -1, 1, 889, -889, 560, 0x7FFFFF00};
        for (int32_t& entry : train.entries)
            entry = kValues[random() % 8];
        break;
    }
    case HostileShape::MutatedFrames:
        train = kFrames[random() % (sizeof(kFrames) / sizeof(kFrames[0]))];
        for (int edits = int(random() % 4); edits >= 0; --edits) {
            const int slot = int(random() % PulseTrain::kEntries);
            train[slot] = random() % 3 == 0 ? 0 : NearNominal(random);
        }
        break;
    }
    if (random() % 2)
        train[0] = int32_t(random() % 3 == 0 ? random() : 1);
    if (random() % 3 == 0)
        train[int(1 + random() % PulseTrain::kMaxPulses)] = 0;
    return train;
}


ChannelTrains HostileChannels(std::mt19937& random, HostileShape shape)
{
    ChannelTrains channels;
    for (PulseTrain& train : channels)
        train = HostileTrain(random, shape);
    return channels;
}
