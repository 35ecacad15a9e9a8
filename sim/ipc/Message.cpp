#include "sim/ipc/Message.h"

namespace usbsim {

MessageWriter& MessageWriter::U8(uint8_t value)
{
    data.push_back(value);
    return *this;
}

MessageWriter& MessageWriter::U16(uint16_t value)
{
    U8(static_cast<uint8_t>(value));
    return U8(static_cast<uint8_t>(value >> 8));
}

MessageWriter& MessageWriter::U32(uint32_t value)
{
    U16(static_cast<uint16_t>(value));
    return U16(static_cast<uint16_t>(value >> 16));
}

MessageWriter& MessageWriter::U64(uint64_t value)
{
    U32(static_cast<uint32_t>(value));
    return U32(static_cast<uint32_t>(value >> 32));
}

MessageWriter& MessageWriter::Bytes(const uint8_t* bytes, size_t size)
{
    U32(static_cast<uint32_t>(size));
    data.insert(data.end(), bytes, bytes + size);
    return *this;
}

MessageWriter& MessageWriter::Str(const std::string& text)
{
    return Bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

bool MessageReader::Take(size_t size)
{
    if (!ok || size > data.size() - position) {
        ok = false;
        return false;
    }
    position += size;
    return true;
}

uint8_t MessageReader::U8()
{
    return Take(1) ? data[position - 1] : 0;
}

uint16_t MessageReader::U16()
{
    const uint16_t low = U8();
    return static_cast<uint16_t>(low | U8() << 8);
}

uint32_t MessageReader::U32()
{
    const uint32_t low = U16();
    return low | static_cast<uint32_t>(U16()) << 16;
}

uint64_t MessageReader::U64()
{
    const uint64_t low = U32();
    return low | static_cast<uint64_t>(U32()) << 32;
}

std::vector<uint8_t> MessageReader::Bytes()
{
    const uint32_t size = U32();
    if (!Take(size))
        return {};
    return {data.begin() + static_cast<std::ptrdiff_t>(position - size),
            data.begin() + static_cast<std::ptrdiff_t>(position)};
}

std::string MessageReader::Str()
{
    const std::vector<uint8_t> bytes = Bytes();
    return {bytes.begin(), bytes.end()};
}

} // namespace usbsim
