#include "sim/model/EventLog.h"

namespace usbsim {

void EventLog::Append(std::string line)
{
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

std::vector<std::string> EventLog::Since(uint64_t& cursor, size_t maxLines) const
{
    if (cursor < firstIndex)
        cursor = firstIndex;
    std::vector<std::string> result;
    while (cursor < firstIndex + lines.size() && result.size() < maxLines) {
        result.push_back(lines[static_cast<size_t>(cursor - firstIndex)]);
        ++cursor;
    }
    return result;
}

} // namespace usbsim
