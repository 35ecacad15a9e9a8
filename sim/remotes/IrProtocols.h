#pragma once

#include <cstdint>
#include <vector>

// Nominal timings (us) of what real remotes send for one key press, as a
// train starting with a mark and ending with the last mark. `hold` is the
// number of extra repeat frames a held key adds.
namespace usbsim {

// NEC: address, ~address, command, ~command, LSB first; a held key sends
// ditto frames every 108 ms.
std::vector<int> NecPress(uint8_t address, uint8_t command, int hold);
// NEC1-X2: a 16-bit address (low byte first on the air) whose second byte is
// not the inverse of the first; the full frame twice, plus one per hold.
std::vector<int> NecX2Press(uint16_t address, uint8_t command, int hold);
// Haier air conditioner: 11 state bytes, MSB first, sent once.
std::vector<int> HaierPress(const std::vector<uint8_t>& bytes);
// Quendar-A: 5 bytes MSB first, a separator after the 24th bit.
std::vector<int> QuendarPress(const std::vector<uint8_t>& bytes, int hold);
// HITACHI: any whole number of bytes, MSB first.
std::vector<int> HitachiPress(const std::vector<uint8_t>& bytes, int hold);
// Sony SIRC: 7 command bits then 5 (12-bit), 8 (15-bit) or 5 + 8 (20-bit)
// address bits, LSB first; at least three frames, 45 ms start to start.
// For 20 bits, address carries the 5 device bits and extended the 8 more.
std::vector<int> SircPress(int bits, uint8_t command, uint8_t address, uint8_t extended, int hold);
// Philips RC-5: biphase, 14 bits (two start bits, toggle, 5 address bits,
// 6 command bits), MSB first.
std::vector<int> Rc5Press(int toggle, uint8_t address, uint8_t command, int hold);

// Jitter of +-jitterPermille/1000 from a seeded generator, then rounded to the
// device's 2 us units and clamped to its 16-bit range: the train a real
// receiver would report. Same seed, same train.
std::vector<int> AddJitter(const std::vector<int>& nominalUs, uint32_t seed, int jitterPermille);

} // namespace usbsim
