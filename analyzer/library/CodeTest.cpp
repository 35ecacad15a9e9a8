#include "analyzer/library/CodeTest.h"

#include "analyzer/library/CodeLibrary.h"

#include <QDateTime>

#include <cstdint>

namespace {

// |e - c| > e * m / 100 with C++ division, in 64 bits so that no slot value
// can overflow it.
bool OutsideMargin(int64_t e, int64_t c, int64_t m)
{
    const int64_t difference = e > c ? e - c : c - e;
    if (e >= 0)
        // For e >= 0 the division truncates downwards, and an integer exceeds
        // floor(x) exactly when it exceeds x: no division in the hot loop.
        return 100 * difference > e * m;
    return difference > e * m / 100;
}

} // namespace

bool EntryMatches(const PulseTrain& stored, const PulseTrain& capture, int marginPercent)
{
    if (stored[0] != capture[0])
        return false;
    const int32_t* e = stored.entries.data();
    const int32_t* c = capture.entries.data();
    for (int j = 1; j <= PulseTrain::kMaxPulses; ++j) {
        if (e[j] == 0)
            return true;
        if (OutsideMargin(e[j], c[j], marginPercent))
            return false;
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
