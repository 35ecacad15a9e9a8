#include "sim/tool/FirmwareFile.h"

#include "sim/model/Bootloader.h"

#include <cstdio>
#include <memory>

namespace usbsim {

std::optional<FirmwareFile> ReadFirmwareFile(const std::string& path, std::string& error)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    FirmwareFile image;
    const size_t slash = path.find_last_of('/');
    image.name = slash == std::string::npos ? path : path.substr(slash + 1);
    // One byte more than fits tells a file that is too large.
    image.bytes.resize(Bootloader::kFlashBytes + 1);
    const size_t read = std::fread(image.bytes.data(), 1, image.bytes.size(), file.get());
    if (std::ferror(file.get())) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    if (read > Bootloader::kFlashBytes) {
        error = path + " is larger than the device's " + std::to_string(Bootloader::kFlashBytes) + "-byte flash";
        return std::nullopt;
    }
    image.bytes.resize(read);
    return image;
}

} // namespace usbsim
