#include "sim/model/Bootloader.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace usbsim {

namespace {

std::string Hex8(uint32_t value)
{
    char text[12];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Groups `group`..3 of a version starting at `at`, each group as long as it
// can be while the rest still matches.
bool VersionFrom(const std::string& text, size_t at, int group, std::string& version)
{
    for (size_t length = 3; length >= 1; --length) {
        if (at + length > text.size() || !std::all_of(text.begin() + long(at), text.begin() + long(at + length), IsDigit))
            continue;
        const std::string digits = text.substr(at, length);
        if (group == 3) {
            version = digits;
            return true;
        }
        const size_t dot = at + length;
        std::string rest;
        if (dot < text.size() && text[dot] == '.' && VersionFrom(text, dot + 1, group + 1, rest)) {
            version = digits + "." + rest;
            return true;
        }
    }
    return false;
}

} // namespace

uint32_t Crc32(const uint8_t* bytes, size_t size)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> entries{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t value = i;
            for (int bit = 0; bit < 8; ++bit)
                value = value & 1 ? 0xEDB88320u ^ (value >> 1) : value >> 1;
            entries[i] = value;
        }
        return entries;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::string VersionInFileName(const std::string& fileName)
{
    std::string version;
    for (size_t at = 0; at < fileName.size(); ++at)
        if (VersionFrom(fileName, at, 0, version))
            return version;
    return std::string();
}

void Bootloader::Reset()
{
    *this = Bootloader();
}

void Bootloader::PowerOn()
{
    receiving = false;
    image.clear();
}

void Bootloader::Begin(uint32_t length, int handle, EventLog& log)
{
    if (receiving)
        log.Append("a new image begins after " + std::to_string(received) + " of " + std::to_string(expected) +
                   " bytes of the last one");
    receiving = false;
    image.clear();
    if (length > kFlashBytes) {
        log.Append("an image of " + std::to_string(length) + " bytes does not fit the " + std::to_string(kFlashBytes) +
                   "-byte flash: refused");
        return;
    }
    receiving = true;
    flashErased = true;
    sendingHandle = handle;
    expected = length;
    received = 0;
    chunkCount = 0;
    chunkProblem.clear();
    image.reserve(length);
}

void Bootloader::Chunk(const uint8_t* bytes, size_t size, EventLog& log)
{
    const size_t due = std::min(kChunkBytes, expected - received);
    ++chunkCount;
    if (size != due && chunkProblem.empty()) {
        chunkProblem = "chunk " + std::to_string(chunkCount) + " was " + std::to_string(size) + " bytes where " +
                       std::to_string(due) + " were due";
        log.Append("firmware " + chunkProblem);
    }
    const size_t taken = std::min(size, expected - received);
    image.insert(image.end(), bytes, bytes + taken);
    received += taken;
}

bool Bootloader::End(EventLog& log)
{
    if (!receiving) {
        log.Append("FirmwareEnd without FirmwareBegin, ignored");
        return false;
    }
    receiving = false;
    if (received < expected) {
        Drop("incomplete: " + std::to_string(received) + " of " + std::to_string(expected) + " bytes", log);
        return false;
    }
    if (!chunkProblem.empty()) {
        Drop("refused: " + chunkProblem, log);
        return false;
    }
    flashed = std::move(image);
    image.clear();
    flashErased = false;
    flashedOnce = true;
    log.Append("firmware image received: " + std::to_string(flashed.size()) + " of " + std::to_string(expected) +
               " bytes, CRC-32 " + Hex8(Crc32(flashed.data(), flashed.size())) + "; restarting the normal firmware" +
               (imageVersion.empty() ? std::string() : " as version " + imageVersion));
    return true;
}

void Bootloader::HandleClosed(int handle, EventLog& log)
{
    if (receiving && handle == sendingHandle) {
        receiving = false;
        Drop("abandoned: its sender closed the device after " + std::to_string(received) + " of " +
                 std::to_string(expected) + " bytes",
             log);
    }
}

void Bootloader::Drop(const std::string& why, EventLog& log)
{
    image.clear();
    log.Append("firmware image " + why + "; the bootloader waits for another");
}

void Bootloader::SetImageVersion(const std::string& version)
{
    imageVersion = version;
    versionSource = version.empty() ? "" : "given";
}

void Bootloader::Expect(const std::string& fileName, std::vector<uint8_t> bytes)
{
    expectedName = fileName;
    expectedImage = std::move(bytes);
    const std::string version = VersionInFileName(fileName);
    if (!version.empty() && versionSource != "given") {
        imageVersion = version;
        versionSource = "from " + fileName;
    }
}

std::string Bootloader::Describe(const std::vector<uint8_t>& bytes) const
{
    return std::to_string(bytes.size()) + " bytes, CRC-32 " + Hex8(Crc32(bytes.data(), bytes.size()));
}

std::string Bootloader::Summary() const
{
    std::string text = "firmware received: " + (flashedOnce ? Describe(flashed) : std::string("none"));
    if (!expectedImage)
        return text;
    text += "\nfirmware expected: " + expectedName + ", " + Describe(*expectedImage);
    if (!flashedOnce)
        return text + " (not received yet)";
    if (flashed == *expectedImage)
        return text + ": received intact";
    const auto differ = std::mismatch(flashed.begin(), flashed.end(), expectedImage->begin(), expectedImage->end());
    return text + ": NOT intact, the first difference is at byte " +
           std::to_string(differ.first - flashed.begin());
}

std::string Bootloader::Report(const std::string& runningVersion) const
{
    std::string text = Summary() + "\n";
    if (receiving)
        text += "receiving an image: " + std::to_string(received) + " of " + std::to_string(expected) + " bytes\n";
    text += "next image's version: " +
            (imageVersion.empty() ? std::string("not known (the running version stays)")
                                  : imageVersion + " (" + versionSource + ")") +
            "\nrunning version: " + runningVersion + "\n";
    return text;
}

} // namespace usbsim
