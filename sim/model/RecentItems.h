#pragma once

#include "sim/model/DeviceTypes.h"

#include <cstddef>
#include <deque>
#include <vector>

namespace usbsim {

// The last few things a client did (writes, frames, trains), kept for the
// tests and the tool to look at. A daemon runs for days and any local program
// may write to it, so the record is bounded in count and in bytes: the oldest
// entries go first. The newest entry always stays, whatever its size.
template <typename T>
class RecentItems {
public:
    RecentItems(size_t maxItems, size_t maxBytes) : maxItems(maxItems), maxBytes(maxBytes) {}

    void Push(T item)
    {
        bytes += SizeOf(item);
        items.push_back(std::move(item));
        while (items.size() > 1 && (items.size() > maxItems || bytes > maxBytes)) {
            bytes -= SizeOf(items.front());
            items.pop_front();
        }
    }
    void Clear()
    {
        items.clear();
        bytes = 0;
    }
    std::vector<T> All() const { return {items.begin(), items.end()}; }
    size_t Count() const { return items.size(); }
    size_t Bytes() const { return bytes; }

private:
    static size_t SizeOf(const std::vector<uint8_t>& item) { return item.size(); }
    static size_t SizeOf(const Frame& item) { return sizeof item + item.payload.size(); }
    static size_t SizeOf(const ControlRequest& item) { return sizeof item; }

    size_t maxItems;
    size_t maxBytes;
    size_t bytes = 0;
    std::deque<T> items;
};

} // namespace usbsim
