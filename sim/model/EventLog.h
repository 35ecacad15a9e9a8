#pragma once

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
    explicit EventLog(size_t capacity = 5000) : capacity(capacity) {}

    void Append(std::string line);
    void Clear();
    // Lines from cursor on (older lines already dropped are skipped); cursor
    // moves past the last line returned.
    std::vector<std::string> Since(uint64_t& cursor, size_t maxLines = 1000) const;
    std::vector<std::string> All() const { return {lines.begin(), lines.end()}; }

private:
    size_t capacity;
    std::deque<std::string> lines;
    uint64_t firstIndex = 0;
};

} // namespace usbsim
