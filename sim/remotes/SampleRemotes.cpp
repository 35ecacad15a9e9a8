#include "sim/remotes/SampleRemotes.h"

#include "sim/remotes/IrProtocols.h"

#include <functional>

namespace usbsim {

namespace {

using Code = std::vector<uint8_t>;
using Encoder = std::function<std::vector<int>(const Code& code, const PressSettings& settings)>;

struct KeyDef {
    std::string name;
    Code code;
};

struct RemoteDef {
    SampleRemote remote;
    Encoder encode;
    std::vector<KeyDef> keys;
};

// Haier state frame: header A5, then the settings a press carries, and the
// sum of the first ten bytes as a check byte.
Code HaierState(uint8_t temperature, uint8_t mode, uint8_t fan, uint8_t button)
{
    Code bytes{0xA5, static_cast<uint8_t>((temperature - 16) << 4), 0x00, 0x00, static_cast<uint8_t>(fan << 5),
               0x00, static_cast<uint8_t>(mode << 5), 0x00, 0x00, button};
    uint8_t sum = 0;
    for (uint8_t byte : bytes)
        sum = static_cast<uint8_t>(sum + byte);
    bytes.push_back(sum);
    return bytes;
}

Code QuendarKey(uint8_t key)
{
    return {0x51, 0x44, 0x01, key, static_cast<uint8_t>(~key)};
}

std::vector<RemoteDef> BuildRemotes()
{
    std::vector<RemoteDef> remotes;
    auto add = [&](std::string name, std::string protocol, std::string description, Encoder encode,
                   std::vector<KeyDef> keys) {
        SampleRemote remote{std::move(name), std::move(protocol), std::move(description), {}};
        for (const KeyDef& key : keys)
            remote.keys.push_back(key.name);
        remotes.push_back({std::move(remote), std::move(encode), std::move(keys)});
    };

    add("nec-tv", "NEC", "television, NEC address 0x04",
        [](const Code& c, const PressSettings& s) { return NecPress(0x04, c[0], s.hold); },
        {{"power", {0x08}}, {"vol+", {0x02}}, {"vol-", {0x03}}, {"ch+", {0x00}}, {"ch-", {0x01}},
         {"mute", {0x09}}, {"1", {0x11}}, {"2", {0x12}}, {"3", {0x13}}});
    add("nec-x2-box", "NEC1-X2", "set-top box, extended address 0xBD02",
        [](const Code& c, const PressSettings& s) { return NecX2Press(0xBD02, c[0], s.hold); },
        {{"power", {0x45}}, {"ok", {0x40}}, {"up", {0x46}}, {"down", {0x15}}, {"1", {0x16}}, {"2", {0x19}}});
    add("haier-ac", "Haier", "air conditioner, sends its whole state once per press",
        [](const Code& c, const PressSettings&) { return HaierPress(c); },
        {{"power", HaierState(24, 1, 2, 0x05)}, {"temp+", HaierState(25, 1, 2, 0x00)},
         {"temp-", HaierState(23, 1, 2, 0x01)}, {"mode", HaierState(24, 2, 2, 0x06)},
         {"fan", HaierState(24, 1, 3, 0x04)}});
    add("quendar", "Quendar-A", "the maker's own remote",
        [](const Code& c, const PressSettings& s) { return QuendarPress(c, s.hold); },
        {{"power", QuendarKey(0x0C)}, {"vol+", QuendarKey(0x10)}, {"vol-", QuendarKey(0x11)},
         {"1", QuendarKey(0x01)}, {"2", QuendarKey(0x02)}, {"3", QuendarKey(0x03)}});
    add("hitachi-tv", "HITACHI", "television; power and volume send 32 bits, the digits 48",
        [](const Code& c, const PressSettings& s) { return HitachiPress(c, s.hold); },
        {{"power", {0x50, 0xAF, 0x17, 0xE8}}, {"vol+", {0x50, 0xAF, 0x12, 0xED}},
         {"vol-", {0x50, 0xAF, 0x13, 0xEC}}, {"1", {0x01, 0x10, 0x40, 0xBF, 0x01, 0xFE}},
         {"2", {0x01, 0x10, 0x40, 0xBF, 0x02, 0xFD}}});
    add("sony-tv", "Sony SIRC 12-bit", "television, device 1",
        [](const Code& c, const PressSettings& s) { return SircPress(12, c[0], 1, 0, s.hold); },
        {{"power", {21}}, {"vol+", {18}}, {"vol-", {19}}, {"mute", {20}}, {"1", {0}}, {"2", {1}}, {"3", {2}}});
    add("sony-av", "Sony SIRC 15-bit", "audio receiver, device 0xA4",
        [](const Code& c, const PressSettings& s) { return SircPress(15, c[0], 0xA4, 0, s.hold); },
        {{"power", {0x15}}, {"vol+", {0x12}}, {"vol-", {0x13}}, {"mute", {0x14}}});
    add("sony-bd", "Sony SIRC 20-bit", "disc player, device 0x1A extended 0xE2",
        [](const Code& c, const PressSettings& s) { return SircPress(20, c[0], 0x1A, 0xE2, s.hold); },
        {{"power", {0x15}}, {"play", {0x1A}}, {"stop", {0x18}}, {"1", {0x00}}});
    add("philips-tv", "Philips RC-5", "television, address 0; --toggle 0 or 1",
        [](const Code& c, const PressSettings& s) { return Rc5Press(s.toggle, 0x00, c[0], s.hold); },
        {{"power", {12}}, {"vol+", {16}}, {"vol-", {17}}, {"mute", {13}}, {"1", {1}}, {"2", {2}}, {"3", {3}}});
    return remotes;
}

const std::vector<RemoteDef>& Definitions()
{
    static const std::vector<RemoteDef> remotes = BuildRemotes();
    return remotes;
}

} // namespace

const std::vector<SampleRemote>& SampleRemotes()
{
    static const std::vector<SampleRemote> remotes = [] {
        std::vector<SampleRemote> list;
        for (const RemoteDef& def : Definitions())
            list.push_back(def.remote);
        return list;
    }();
    return remotes;
}

std::optional<std::vector<int>> PressSampleKey(const std::string& remote, const std::string& key,
                                               const PressSettings& settings)
{
    for (const RemoteDef& def : Definitions()) {
        if (def.remote.name != remote)
            continue;
        for (const KeyDef& keyDef : def.keys)
            if (keyDef.name == key)
                return AddJitter(def.encode(keyDef.code, settings), settings.seed, settings.jitterPermille);
    }
    return std::nullopt;
}

} // namespace usbsim
