#include "sim/remotes/IrProtocols.h"

#include "sim/remotes/PulseBuilder.h"

#include <algorithm>
#include <random>

namespace usbsim {

namespace {

struct DistanceTiming {
    std::vector<int> lead; // mark, space, mark, space ...
    int mark;
    int zeroSpace;
    int oneSpace;
    int stopMark; // 0: none
};

void AppendLead(PulseBuilder& out, const std::vector<int>& lead)
{
    for (size_t i = 0; i < lead.size(); ++i) {
        if (i % 2 == 0)
            out.Mark(lead[i]);
        else
            out.Space(lead[i]);
    }
}

// One pulse-distance frame; `separatorAfter` bits in, the separator pulses
// (mark, space) stand between two bits.
void AppendDistanceFrame(PulseBuilder& out, const DistanceTiming& timing, const std::vector<bool>& bits,
                         size_t separatorAfter = 0, const std::vector<int>& separator = {})
{
    AppendLead(out, timing.lead);
    for (size_t i = 0; i < bits.size(); ++i) {
        if (separatorAfter && i == separatorAfter)
            AppendLead(out, separator);
        out.Mark(timing.mark);
        out.Space(bits[i] ? timing.oneSpace : timing.zeroSpace);
    }
    out.Mark(timing.stopMark);
}

const DistanceTiming kNec{{9000, 4500}, 560, 560, 1690, 560};
const DistanceTiming kNecX2{{9024, 4512}, 564, 565, 1692, 564};
const DistanceTiming kHaier{{3040, 3040, 3020, 4400}, 560, 560, 1660, 560};
const DistanceTiming kQuendar{{3640, 1728}, 620, 466, 1030, 620};
const DistanceTiming kHitachi{{3400, 1700}, 450, 450, 1230, 450};
constexpr int kNecPeriodUs = 108000;
constexpr int kSircPeriodUs = 45000;
constexpr int kRc5HalfBitUs = 889;
constexpr int kRc5PeriodUs = 64 * 2 * kRc5HalfBitUs;
constexpr int kPlainRepeatPeriodUs = 100000;

std::vector<int> RepeatedFrames(const DistanceTiming& timing, const std::vector<bool>& bits, int frames,
                                int periodUs, size_t separatorAfter = 0, const std::vector<int>& separator = {})
{
    PulseBuilder out;
    for (int i = 0; i < frames; ++i) {
        const int64_t start = out.ElapsedUs();
        AppendDistanceFrame(out, timing, bits, separatorAfter, separator);
        if (i + 1 < frames)
            out.SpaceUntil(start, periodUs);
    }
    return out.Finish();
}

} // namespace

std::vector<int> NecPress(uint8_t address, uint8_t command, int hold)
{
    PulseBuilder out;
    const std::vector<bool> bits = BytesLsbFirst(
        {address, static_cast<uint8_t>(~address), command, static_cast<uint8_t>(~command)});
    int64_t start = out.ElapsedUs();
    AppendDistanceFrame(out, kNec, bits);
    for (int i = 0; i < hold; ++i) {
        out.SpaceUntil(start, kNecPeriodUs);
        start = out.ElapsedUs();
        out.Mark(9000);
        out.Space(2250);
        out.Mark(560);
    }
    return out.Finish();
}

std::vector<int> NecX2Press(uint16_t address, uint8_t command, int hold)
{
    const std::vector<bool> bits = BytesLsbFirst({static_cast<uint8_t>(address & 0xFF),
                                                  static_cast<uint8_t>(address >> 8), command,
                                                  static_cast<uint8_t>(~command)});
    return RepeatedFrames(kNecX2, bits, 2 + std::max(0, hold), kNecPeriodUs);
}

std::vector<int> HaierPress(const std::vector<uint8_t>& bytes)
{
    return RepeatedFrames(kHaier, BytesMsbFirst(bytes), 1, 0);
}

std::vector<int> QuendarPress(const std::vector<uint8_t>& bytes, int hold)
{
    return RepeatedFrames(kQuendar, BytesMsbFirst(bytes), 1 + std::max(0, hold), kPlainRepeatPeriodUs, 24,
                          {3640, 1728});
}

std::vector<int> HitachiPress(const std::vector<uint8_t>& bytes, int hold)
{
    return RepeatedFrames(kHitachi, BytesMsbFirst(bytes), 1 + std::max(0, hold), kPlainRepeatPeriodUs);
}

std::vector<int> SircPress(int bits, uint8_t command, uint8_t address, uint8_t extended, int hold)
{
    std::vector<bool> frame = BitsLsbFirst(command, 7);
    const std::vector<bool> addressBits = BitsLsbFirst(address, bits == 15 ? 8 : 5);
    frame.insert(frame.end(), addressBits.begin(), addressBits.end());
    if (bits == 20) {
        const std::vector<bool> extendedBits = BitsLsbFirst(extended, 8);
        frame.insert(frame.end(), extendedBits.begin(), extendedBits.end());
    }
    PulseBuilder out;
    const int frames = 3 + std::max(0, hold);
    for (int i = 0; i < frames; ++i) {
        const int64_t start = out.ElapsedUs();
        out.Mark(2400);
        out.Space(600);
        for (bool bit : frame) {
            out.Mark(bit ? 1200 : 600);
            out.Space(600);
        }
        // The last bit's space runs into the gap before the next frame.
        if (i + 1 < frames)
            out.SpaceUntil(start, kSircPeriodUs);
    }
    return out.Finish();
}

std::vector<int> Rc5Press(int toggle, uint8_t address, uint8_t command, int hold)
{
    std::vector<bool> frame{true, true, toggle != 0};
    for (int i = 4; i >= 0; --i)
        frame.push_back((address >> i) & 1U);
    for (int i = 5; i >= 0; --i)
        frame.push_back((command >> i) & 1U);

    PulseBuilder out;
    for (int i = 0; i < 1 + std::max(0, hold); ++i) {
        const int64_t start = out.ElapsedUs();
        for (bool bit : frame) {
            // A 1 is silence then burst, a 0 burst then silence; the builder
            // merges equal neighbouring halves into one long pulse.
            if (bit) {
                out.Space(kRc5HalfBitUs);
                out.Mark(kRc5HalfBitUs);
            } else {
                out.Mark(kRc5HalfBitUs);
                out.Space(kRc5HalfBitUs);
            }
        }
        out.SpaceUntil(start, kRc5PeriodUs);
    }
    return out.Finish();
}

std::vector<int> AddJitter(const std::vector<int>& nominalUs, uint32_t seed, int jitterPermille)
{
    std::mt19937 random(seed);
    const int spread = std::max(0, jitterPermille);
    std::vector<int> train;
    train.reserve(nominalUs.size());
    for (int nominal : nominalUs) {
        // mt19937's output sequence is fixed by the standard, so the same seed
        // gives the same train everywhere.
        const int64_t offset = spread ? static_cast<int64_t>(random() % (2 * spread + 1)) - spread : 0;
        const int64_t jittered = nominal + nominal * offset / 1000;
        const int64_t units = std::clamp<int64_t>((jittered + 1) / 2, 1, 65535);
        train.push_back(static_cast<int>(units * 2));
    }
    return train;
}

} // namespace usbsim
