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
        QString argument = arguments[i];
        if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            if (!request.file.isEmpty())
                return Fail(QStringLiteral("more than one file given"));
            if (argument.isEmpty())
                return Fail(QStringLiteral("empty file name"));
            request.file = argument;
            continue;
        }
        // "--name value" or "--name=value"
        std::optional<QString> inlineValue;
        const int equals = argument.indexOf(QLatin1Char('='));
        if (equals > 0) {
            inlineValue = argument.mid(equals + 1);
            argument.truncate(equals);
        }
        auto takeValue = [&]() -> std::optional<QString> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };

        const bool isText = request.command == CliCommand::Text;
        if (argument == QLatin1String("--boxes") && request.command == CliCommand::Decode && !inlineValue) {
            request.boxes = true;
        } else if (isText && (argument == QLatin1String("--prefix") || argument == QLatin1String("--suffix")
                              || argument == QLatin1String("--separator") || argument == QLatin1String("--format"))) {
            const std::optional<QString> value = takeValue();
            if (!value)
                return Fail(QStringLiteral("%1 needs a value").arg(argument));
            if (argument == QLatin1String("--prefix"))
                request.prefix = value;
            else if (argument == QLatin1String("--suffix"))
                request.suffix = value;
            else if (argument == QLatin1String("--separator"))
                request.separator = value;
            else
                request.format = value;
        } else if (isText && argument == QLatin1String("--columns")) {
            const std::optional<QString> value = takeValue();
            request.columns = value ? ParseCount(*value, 1000000) : std::nullopt;
            if (!request.columns)
                return Fail(QStringLiteral("--columns needs a whole number of 0 or more"));
        } else if (isText && argument == QLatin1String("--channel")) {
            const std::optional<QString> value = takeValue();
            const std::optional<int> channel = value ? ParseCount(*value, 4) : std::nullopt;
            if (!channel || *channel < 1)
                return Fail(QStringLiteral("--channel needs a channel number from 1 to 4"));
            request.channel = *channel;
        } else {
            return Fail(QStringLiteral("unknown option \"%1\" for %2").arg(arguments[i], arguments.first()));
        }
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
        "                          (defaults: Setting.ini beside this program, else the analyzer's defaults)\n"
        "  info FILE               start level, pulse count and total duration of each channel in the file\n"
        "\n"
        "  -h, --help              this text\n"
        "\n"
        "Exit status: 0 done, 1 the file is missing or unreadable, 2 bad arguments.\n");
}
