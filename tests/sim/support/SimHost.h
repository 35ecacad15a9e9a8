#pragma once

#include <usb.h>

#include <cstdint>
#include <vector>

// A minimal host written from the wire protocol, for driving the simulated
// device in tests without the programs' own device code.
namespace simtest {

using Bytes = std::vector<uint8_t>;

// 1B seq n 00 0E payload xor
Bytes CommandFrame(uint8_t sequence, const Bytes& payload);

// The first device on the bus with vendor 16C0 and product 1012, or null.
struct usb_device* FindDevice();

class Host {
public:
    ~Host() { Close(); }
    bool Open();
    void Close();
    usb_dev_handle* Handle() const { return handle; }

    // Vendor request into a 64-byte buffer; reply holds the bytes the result
    // claims, capped at the buffer.
    int Control(int request, int value, Bytes& reply, int size = 64, int requestType = 0xC0, int index = 0);
    // Claim, one bulk transfer, release, as the programs do.
    int Write(const Bytes& bytes, int endpoint = 0x02);
    int Read(Bytes& bytes, int size, int endpoint = 0x81);
    int Command(const Bytes& payload) { return Write(CommandFrame(++sequence, payload)); }

private:
    usb_dev_handle* handle = nullptr;
    uint8_t sequence = 0;
};

} // namespace simtest
