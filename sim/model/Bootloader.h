#pragma once

#include "sim/model/EventLog.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace usbsim {

// The device's bootloader as the host meets it after EnterBootloader: a
// begin frame announces the image's length, the image follows in bulk
// writes of exactly 1024 bytes and one shorter remainder, and an end frame
// closes it. Only a whole image, chunked that way, is flashed; anything else
// is logged and leaves the device in its bootloader, waiting for an image.
//
// The image is opaque to the device as to the host. The version the flashed
// firmware reports is the one the simulator was told: given on its command
// line, or taken from the name of the image file it was told to expect.
class Bootloader {
public:
    static constexpr size_t kChunkBytes = 1024;
    static constexpr size_t kFlashBytes = 1u << 20;

    // Forgets everything: images, expectations, the version to report.
    void Reset();
    // The device restarted: a half-received image is gone.
    void PowerOn();

    // The begin frame: `length` image bytes follow on `handle`.
    void Begin(uint32_t length, int handle, EventLog& log);
    // While image bytes are due every bulk write is image data, whatever
    // it looks like.
    bool ExpectsData() const { return receiving && received < expected; }
    // The size of the next chunk: 1024 bytes, or the remainder.
    size_t DueBytes() const { return ExpectsData() ? std::min(kChunkBytes, expected - received) : 0; }
    void Chunk(const uint8_t* bytes, size_t size, EventLog& log);
    // The end frame. True when the image was whole and is now flashed: the
    // device then restarts its normal firmware.
    bool End(EventLog& log);
    // A handle went away: when it was sending the image, the image is dropped.
    void HandleClosed(int handle, EventLog& log);

    // How long programming one chunk into the flash takes; the chunk's
    // bulk write completes only then. 0 (the default) is instant.
    void SetChunkWriteMs(int ms) { chunkWriteMs = ms < 0 ? 0 : ms; }
    int ChunkWriteMs() const { return chunkWriteMs; }

    // A begin frame erases the normal firmware: until a whole image is
    // flashed, the device powers up in its bootloader.
    bool FlashErased() const { return flashErased; }
    bool HasFlashed() const { return flashedOnce; }
    const std::vector<uint8_t>& Flashed() const { return flashed; }
    // The version the next flashed image carries; empty: the image says
    // nothing the simulator knows, the running version stays.
    void SetImageVersion(const std::string& version);
    const std::string& ImageVersion() const { return imageVersion; }
    // The image file the host is expected to send: its name gives the
    // version (unless one was set), its bytes tell whether what arrived is
    // intact.
    void Expect(const std::string& fileName, std::vector<uint8_t> bytes);

    // "firmware received: 2500 bytes, CRC-32 1A2B3C4D" and, when an image
    // was expected, whether it arrived intact.
    std::string Summary() const;
    // Summary and the state of an image being received.
    std::string Report(const std::string& runningVersion) const;

private:
    void Drop(const std::string& why, EventLog& log);
    std::string Describe(const std::vector<uint8_t>& image) const;

    // The image being received.
    bool receiving = false;
    int sendingHandle = 0;
    size_t expected = 0;
    size_t received = 0;
    int chunkCount = 0;
    std::string chunkProblem; // the first chunk that was not the size due
    std::vector<uint8_t> image;
    int chunkWriteMs = 0;

    // What was flashed and what the simulator was told.
    bool flashErased = false;
    bool flashedOnce = false;
    std::vector<uint8_t> flashed;
    std::string imageVersion;
    std::string versionSource;
    std::optional<std::vector<uint8_t>> expectedImage;
    std::string expectedName;
};

// The CRC-32 of zlib and PNG (polynomial 0xEDB88320), as `crc32` prints it.
uint32_t Crc32(const uint8_t* bytes, size_t size);

// The version a file name carries: the first four dot-separated groups of
// one to three digits; empty when it has none. "Wavix_1.0.2.0.UPF" gives
// "1.0.2.0".
std::string VersionInFileName(const std::string& fileName);

} // namespace usbsim
