#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace usbsim {

// The human-readable record of what the programs sent, kept bounded so a
// daemon left running for days does not grow. Cursors count every line ever
// appended, so a follower never sees a line twice.
class EventLog {
public:
    // Longer lines are cut, so the log stays within capacity x kMaxLineBytes.
    static constexpr size_t kMaxLineBytes = 1024;

    explicit EventLog(size_t capacity = 5000) : capacity(capacity) {}

    void Append(std::string line);
    void Clear();
    // Lines from cursor on (older lines already dropped are skipped), at most
    // maxLines of them and no more than maxBytes of text unless the first
    // line alone is longer; cursor moves past the last line returned.
    std::vector<std::string> Since(uint64_t& cursor, size_t maxLines = 1000, size_t maxBytes = SIZE_MAX) const;
    std::vector<std::string> All() const { return {lines.begin(), lines.end()}; }

private:
    size_t capacity;
    std::deque<std::string> lines;
    uint64_t firstIndex = 0;
};

} // namespace usbsim
