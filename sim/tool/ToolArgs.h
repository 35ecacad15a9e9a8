#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace usbsim {

// The tool's command line: positional words, options with a value
// ("--hold 3") and flags ("--follow"), in any order.
struct ToolArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    std::set<std::string> flags;
    std::string error; // set when the line cannot be understood

    bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
    std::optional<std::string> Option(const std::string& name) const;
    // The option as a whole number in [min, max]; fallback when absent;
    // nothing (and error set) when present but not such a number.
    std::optional<long long> Number(const std::string& name, long long fallback, long long min, long long max);
};

ToolArgs ParseToolArgs(int argc, char** argv);
std::optional<long long> ParseNumber(const std::string& text, long long min, long long max);

} // namespace usbsim
