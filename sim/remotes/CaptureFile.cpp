#include "sim/remotes/CaptureFile.h"

#include <array>
#include <filesystem>
#include <fstream>

namespace usbsim {

namespace {

constexpr size_t kRecordBytes = 8196;
constexpr size_t kEntries = 2048;

uint32_t Le32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

} // namespace

std::optional<std::vector<CaptureChannel>> ReadCaptureFile(const std::string& path)
{
    // A pipe or a device (/dev/zero) could feed records for ever.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::vector<CaptureChannel> channels;
    std::array<uint8_t, kRecordBytes> record;
    while (file.read(reinterpret_cast<char*>(record.data()), record.size())) {
        CaptureChannel channel;
        channel.channel = Le32(record.data());
        if (channel.channel > 3)
            continue;
        channel.startLevel = static_cast<int32_t>(Le32(record.data() + 4));
        for (size_t i = 1; i < kEntries; ++i) {
            const int32_t duration = static_cast<int32_t>(Le32(record.data() + 4 + 4 * i));
            if (duration == 0)
                break;
            channel.durationsUs.push_back(duration);
        }
        bool replaced = false;
        for (CaptureChannel& existing : channels) {
            if (existing.channel == channel.channel) {
                existing = channel;
                replaced = true;
            }
        }
        if (!replaced)
            channels.push_back(std::move(channel));
    }
    if (file.bad())
        return std::nullopt;
    return channels;
}

} // namespace usbsim
