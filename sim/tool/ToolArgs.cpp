#include "sim/tool/ToolArgs.h"

#include <cerrno>
#include <cstdlib>

namespace usbsim {

namespace {

const std::set<std::string> kValueOptions = {"--socket", "--hold",   "--interval", "--channel", "--name",
                                             "--version", "--serial", "--type",     "--toggle",  "--seed",
                                             "--jitter",  "--reenumerate-ms", "--after", "--expect",
                                             "--firmware", "--firmware-version", "--flash-ms"};

} // namespace

std::optional<long long> ParseNumber(const std::string& text, long long min, long long max)
{
    if (text.empty())
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<std::string> ToolArgs::Option(const std::string& name) const
{
    auto it = options.find(name);
    if (it == options.end())
        return std::nullopt;
    return it->second;
}

std::optional<long long> ToolArgs::Number(const std::string& name, long long fallback, long long min, long long max)
{
    const auto text = Option(name);
    if (!text)
        return fallback;
    const auto value = ParseNumber(*text, min, max);
    if (!value)
        error = name + " needs a whole number from " + std::to_string(min) + " to " + std::to_string(max);
    return value;
}

ToolArgs ParseToolArgs(int argc, char** argv)
{
    ToolArgs args;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
            const size_t equals = word.find('=');
            if (equals != std::string::npos) {
                args.options[word.substr(0, equals)] = word.substr(equals + 1);
            } else if (kValueOptions.count(word)) {
                if (i + 1 >= argc) {
                    args.error = word + " needs a value";
                    return args;
                }
                args.options[word] = argv[++i];
            } else {
                args.flags.insert(word);
            }
        } else {
            args.positional.push_back(word);
        }
    }
    return args;
}

} // namespace usbsim
