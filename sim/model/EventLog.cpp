#include "sim/model/EventLog.h"

namespace usbsim {

void EventLog::Append(std::string line)
{
    if (line.size() > kMaxLineBytes) {
        line.resize(kMaxLineBytes);
        line += " ...";
    }
    lines.push_back(std::move(line));
    while (lines.size() > capacity) {
        lines.pop_front();
        ++firstIndex;
    }
}

void EventLog::Clear()
{
    firstIndex += lines.size();
    lines.clear();
}

std::vector<std::string> EventLog::Since(uint64_t& cursor, size_t maxLines, size_t maxBytes) const
{
    if (cursor < firstIndex)
        cursor = firstIndex;
    std::vector<std::string> result;
    size_t bytes = 0;
    while (cursor < firstIndex + lines.size() && result.size() < maxLines) {
        const std::string& line = lines[static_cast<size_t>(cursor - firstIndex)];
        if (!result.empty() && bytes + line.size() > maxBytes)
            break;
        bytes += line.size();
        result.push_back(line);
        ++cursor;
    }
    return result;
}

} // namespace usbsim
