#include "analyzer/library/CodeTest.h"

#include "analyzer/library/CodeLibrary.h"

#include <QDateTime>

#include <algorithm>
#include <cstdint>

namespace {

// |e - c| > e * m / 100 with C++ division, in 64 bits so that no slot value
// can overflow it.
bool OutsideMargin(int64_t e, int64_t c, int64_t m)
{
    const int64_t difference = e > c ? e - c : c - e;
    if (e >= 0)
        // For e >= 0 the division truncates downwards, and an integer exceeds
        // floor(x) exactly when it exceeds x.
        return 100 * difference > e * m;
    return difference > e * m / 100;
}

// Slots are screened in blocks, without branches, so the compiler can use
// vector instructions: a block is clean when every stored duration lies in
// 1 .. 2^26 - 1 us and is matched within the margin. In that range, with
// m <= 50, the test fits unsigned 32-bit arithmetic exactly: both 100 * d
// (d capped at 2^25, which already fails any e below 2^26) and e * m stay
// below 2^32. A block that is not clean (a terminator, a miss, an unusual
// value) is decided slot by slot with the exact test.
constexpr int kBlock = 16;
constexpr uint32_t kLargestScreened = (1u << 26) - 1;
constexpr uint32_t kDifferenceCap = 1u << 25;
constexpr int kLargestScreenedMargin = 50;

bool BlockIsClean(const int32_t* e, const int32_t* c, uint32_t m)
{
    uint32_t flagged = 0;
    // Kept as a loop: unrolled early at -O3, it would no longer be vectorized.
#pragma GCC unroll 1
    for (int k = 0; k < kBlock; ++k) {
        const uint32_t stored = uint32_t(e[k]);
        const uint32_t difference = e[k] >= c[k] ? stored - uint32_t(c[k]) : uint32_t(c[k]) - stored;
        const uint32_t capped = difference < kDifferenceCap ? difference : kDifferenceCap;
        flagged |= uint32_t(stored - 1 >= kLargestScreened) | uint32_t(100 * capped > stored * m);
    }
    return flagged == 0;
}

} // namespace

// Built twice, and chosen when the program loads: with AVX2 the block screen
// takes eight slots per instruction instead of four.
__attribute__((target_clones("avx2", "default")))
bool EntryMatches(const PulseTrain& stored, const PulseTrain& capture, int marginPercent)
{
    if (stored[0] != capture[0])
        return false;
    const int32_t* e = stored.entries.data();
    const int32_t* c = capture.entries.data();
    const bool screen = marginPercent >= 0 && marginPercent <= kLargestScreenedMargin;
    int j = 1;
    while (j <= PulseTrain::kMaxPulses) {
        const int end = std::min(j + kBlock, PulseTrain::kMaxPulses + 1);
        if (screen && end - j == kBlock && BlockIsClean(e + j, c + j, uint32_t(marginPercent))) {
            j = end;
            continue;
        }
        for (; j < end; ++j) {
            if (e[j] == 0)
                return true;
            if (OutsideMargin(e[j], c[j], marginPercent))
                return false;
        }
    }
    return true;
}

int FindMatchingRow(const CodeLibrary& library, const std::vector<int>& entries, const PulseTrain& capture,
                    int marginPercent)
{
    for (size_t row = 0; row < entries.size(); ++row) {
        const int entry = entries[row];
        if (entry >= 0 && entry < library.Count() && EntryMatches(library.Entry(entry).train, capture, marginPercent))
            return int(row);
    }
    return -1;
}

QString CodeTestLogLine(const QDateTime& localTime, const QString& name)
{
    QString line;
    if (localTime.isValid())
        line = localTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss: "));
    return line + name + QStringLiteral("\r\n");
}
