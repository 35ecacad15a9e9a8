#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace usbsim {

// The sample remotes the tool can press, one or more per protocol the
// analyzer recognises.
struct SampleRemote {
    std::string name;     // "nec-tv"
    std::string protocol; // "NEC"
    std::string description;
    std::vector<std::string> keys;
};

const std::vector<SampleRemote>& SampleRemotes();

struct PressSettings {
    int hold = 0;            // extra repeat frames of a held key
    int toggle = 0;          // RC-5 toggle bit
    uint32_t seed = 1;       // jitter generator
    int jitterPermille = 30; // +-3 %
};

// The durations (us, even, start level high) a real receiver reports for one
// press; nothing when the remote or key is unknown.
std::optional<std::vector<int>> PressSampleKey(const std::string& remote, const std::string& key,
                                               const PressSettings& settings);

} // namespace usbsim
