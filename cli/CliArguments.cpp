#include "cli/CliArguments.h"

namespace {

std::optional<CliCommand> CommandNamed(const QString& name)
{
    if (name == QLatin1String("decode"))
        return CliCommand::Decode;
    if (name == QLatin1String("text"))
        return CliCommand::Text;
    if (name == QLatin1String("info"))
        return CliCommand::Info;
    return std::nullopt;
}

// Digits only, so that "12abc" or "-1" is refused rather than half-read.
std::optional<int> ParseCount(const QString& text, int maximum)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    const int value = text.toInt();
    return value <= maximum ? std::optional<int>(value) : std::nullopt;
}

CliParseResult Fail(const QString& error) { return CliParseResult{std::nullopt, error}; }

// A word that does not start with '-' (or is "-" alone) names the file.
bool IsFileArgument(const QString& argument)
{
    return !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-");
}

// "--name value" or "--name=value": the name, and the value when given inline.
struct OptionWord {
    QString name;
    std::optional<QString> inlineValue;
};

OptionWord SplitOption(const QString& argument)
{
    const int equals = argument.indexOf(QLatin1Char('='));
    if (equals <= 0)
        return {argument, std::nullopt};
    return {argument.left(equals), argument.mid(equals + 1)};
}

// The option's value: the inline one, or the next argument (moving past it).
std::optional<QString> TakeValue(const OptionWord& option, const QStringList& arguments, int& i)
{
    if (option.inlineValue)
        return option.inlineValue;
    if (i + 1 >= arguments.size())
        return std::nullopt;
    return arguments[++i];
}

// The text options that take any text, and where each goes.
std::optional<QString> CliRequest::*TextSettingNamed(const QString& name)
{
    if (name == QLatin1String("--prefix"))
        return &CliRequest::prefix;
    if (name == QLatin1String("--suffix"))
        return &CliRequest::suffix;
    if (name == QLatin1String("--separator"))
        return &CliRequest::separator;
    if (name == QLatin1String("--format"))
        return &CliRequest::format;
    return nullptr;
}

// Applies the option at arguments[i] to the request; what was wrong, for the
// user, when it does not fit the command.
QString ApplyOption(CliRequest& request, const QStringList& arguments, int& i)
{
    const OptionWord option = SplitOption(arguments[i]);
    const bool isText = request.command == CliCommand::Text;
    if (option.name == QLatin1String("--boxes") && request.command == CliCommand::Decode && !option.inlineValue) {
        request.boxes = true;
        return {};
    }
    if (const auto setting = isText ? TextSettingNamed(option.name) : nullptr) {
        const std::optional<QString> value = TakeValue(option, arguments, i);
        if (!value)
            return QStringLiteral("%1 needs a value").arg(option.name);
        request.*setting = value;
        return {};
    }
    if (isText && option.name == QLatin1String("--columns")) {
        const std::optional<QString> value = TakeValue(option, arguments, i);
        request.columns = value ? ParseCount(*value, 1000000) : std::nullopt;
        return request.columns ? QString() : QStringLiteral("--columns needs a whole number of 0 or more");
    }
    if (isText && option.name == QLatin1String("--channel")) {
        const std::optional<QString> value = TakeValue(option, arguments, i);
        const std::optional<int> channel = value ? ParseCount(*value, 4) : std::nullopt;
        if (!channel || *channel < 1)
            return QStringLiteral("--channel needs a channel number from 1 to 4");
        request.channel = *channel;
        return {};
    }
    return QStringLiteral("unknown option \"%1\" for %2").arg(arguments[i], arguments.first());
}

} // namespace

CliParseResult ParseCliArguments(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return CliParseResult{CliRequest{}, {}};
    }
    if (arguments.isEmpty())
        return Fail(QStringLiteral("no command given"));

    CliRequest request;
    const std::optional<CliCommand> command = CommandNamed(arguments.first());
    if (!command)
        return Fail(QStringLiteral("unknown command \"%1\"").arg(arguments.first()));
    request.command = *command;

    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (IsFileArgument(argument)) {
            if (!request.file.isEmpty())
                return Fail(QStringLiteral("more than one file given"));
            if (argument.isEmpty())
                return Fail(QStringLiteral("empty file name"));
            request.file = argument;
            continue;
        }
        const QString error = ApplyOption(request, arguments, i);
        if (!error.isEmpty())
            return Fail(error);
    }
    if (request.file.isEmpty())
        return Fail(QStringLiteral("no capture file given"));
    return CliParseResult{request, {}};
}

QString CliUsageText()
{
    return QStringLiteral(
        "usage: wavix-cli COMMAND FILE.lgc [OPTIONS]\n"
        "\n"
        "Commands:\n"
        "  decode FILE [--boxes]   recognised protocol and code line of each channel in the file;\n"
        "                          --boxes also lists every annotation box\n"
        "  text FILE [OPTIONS]     the durations of one channel as the analyzer's output box shows them\n"
        "      --channel N         channel 1-4 (default 1)\n"
        "      --prefix TEXT       text before the values\n"
        "      --suffix TEXT       text after the values\n"
        "      --separator TEXT    text between two values\n"
        "      --format TEMPLATE   per-value template, e.g. %05X or [INDEX]:[LEVEL]%d\n"
        "      --columns N         values per line, 0 for one line\n"
        "                          (defaults: the analyzer's Setting.ini, beside this program or, for an\n"
        "                          installed copy, in ~/.config/wavix; else the analyzer's defaults)\n"
        "  info FILE               start level, pulse count and total duration of each channel in the file\n"
        "\n"
        "  -h, --help              this text\n"
        "\n"
        "Exit status: 0 done, 1 the file is missing or unreadable, 2 bad arguments.\n");
}
