#pragma once

// Takes typed values off the front of a fuzz input; past its end every value
// is 0 or empty, so a target never reads beyond what the fuzzer gave.

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data(data), size(size) {}

    bool Empty() const { return position >= size; }
    size_t Left() const { return position < size ? size - position : 0; }

    uint8_t U8() { return position < size ? data[position++] : 0; }
    uint16_t U16() { return static_cast<uint16_t>(U8() | U8() << 8); }
    int32_t I32()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<uint32_t>(U8()) << (8 * i);
        return static_cast<int32_t>(value);
    }
    // Up to maxLength bytes, ended early by the byte `end` (not included).
    QByteArray Bytes(size_t maxLength, char end = '\0')
    {
        QByteArray bytes;
        while (position < size && static_cast<size_t>(bytes.size()) < maxLength) {
            const char c = static_cast<char>(data[position++]);
            if (c == end)
                break;
            bytes.append(c);
        }
        return bytes;
    }
    QString Utf8(size_t maxLength, char end = '\0') { return QString::fromUtf8(Bytes(maxLength, end)); }
    // The next `length` bytes, fewer at the end of the input.
    QByteArray Take(size_t length)
    {
        const size_t taken = std::min(length, Left());
        const QByteArray bytes(reinterpret_cast<const char*>(data) + position, static_cast<qsizetype>(taken));
        position += taken;
        return bytes;
    }
    QByteArray Rest() { return Take(Left()); }

private:
    const uint8_t* data;
    size_t size;
    size_t position = 0;
};

// A broken invariant aborts, which both libFuzzer and the replay report.
inline void FuzzAssert(bool holds)
{
    if (!holds)
        std::abort();
}
