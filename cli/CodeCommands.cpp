#include "cli/CodeCommands.h"

#include "analyzer/decode/Annotation.h"
#include "analyzer/decode/ProtocolIdentify.h"
#include "analyzer/decode/ProtocolTable.h"
#include "analyzer/files/CaptureFile.h"
#include "analyzer/interop/CodeFiles.h"
#include "analyzer/interop/ReadableFile.h"

#include <QFileInfo>

#include <algorithm>
#include <map>

namespace {

// Positional arguments and "--option value" / "--option=value" pairs.
struct Arguments {
    QStringList files;
    std::map<QString, QString> options;

    std::optional<QString> Option(const char* name) const
    {
        const auto found = options.find(QLatin1String(name));
        return found == options.end() ? std::nullopt : std::optional<QString>(found->second);
    }
};

CliOutput UsageError(const QString& message)
{
    CliOutput output;
    output.status = kExitUsage;
    output.err = QStringLiteral("wavix-cli: %1\nTry 'wavix-cli --help'.\n").arg(message);
    return output;
}

std::optional<QString> Split(const QStringList& arguments, const QString& command, const QStringList& known,
                             Arguments& out)
{
    for (int i = 0; i < arguments.size(); ++i) {
        QString argument = arguments[i];
        if (!argument.startsWith(QLatin1String("--"))) {
            if (argument.isEmpty())
                return QStringLiteral("empty file name");
            out.files << argument;
            continue;
        }
        std::optional<QString> value;
        const int equals = int(argument.indexOf(QLatin1Char('=')));
        if (equals > 0) {
            value = argument.mid(equals + 1);
            argument.truncate(equals);
        }
        if (!known.contains(argument))
            return QStringLiteral("unknown option \"%1\" for %2").arg(arguments[i], command);
        if (!value) {
            if (i + 1 >= arguments.size())
                return QStringLiteral("%1 needs a value").arg(argument);
            value = arguments[++i];
        }
        out.options[argument.mid(2)] = *value;
    }
    return std::nullopt;
}

// Digits only, so that "12abc" or "-1" is refused rather than half-read.
std::optional<int> Number(const QString& text, int minimum, int maximum)
{
    if (text.isEmpty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
        return std::nullopt;
    const int value = text.toInt();
    return value >= minimum && value <= maximum ? std::optional<int>(value) : std::nullopt;
}

std::optional<QString> ChannelOption(const Arguments& arguments, int& channel)
{
    if (const std::optional<QString> text = arguments.Option("channel")) {
        const std::optional<int> value = Number(*text, 1, kChannelCount);
        if (!value)
            return QStringLiteral("--channel needs a channel number from 1 to 4");
        channel = *value;
    }
    return std::nullopt;
}

std::optional<QString> CarrierOption(const Arguments& arguments, ExportOptions& options)
{
    if (const std::optional<QString> text = arguments.Option("frequency")) {
        const std::optional<int> value = Number(*text, interop::kMinCarrierHz, interop::kMaxCarrierHz);
        if (!value)
            return QStringLiteral("--frequency needs a carrier in Hz from %1 to %2")
                .arg(interop::kMinCarrierHz)
                .arg(interop::kMaxCarrierHz);
        options.carrierHz = *value;
    }
    return std::nullopt;
}

std::optional<QString> FormatOption(const Arguments& arguments, const char* option, std::optional<CodeFormat>& format)
{
    if (const std::optional<QString> text = arguments.Option(option)) {
        format = CodeFormatNamed(*text);
        if (!format)
            return QStringLiteral("--%1 needs one of pronto, lirc, mode2, flipper, raw, csv").arg(QLatin1String(option));
    }
    return std::nullopt;
}

CliOutput Failed(const CodeFileError& error)
{
    CliOutput output;
    output.status = error.kind == CodeFileError::Kind::File ? kExitFileError : kExitUsage;
    output.err = QStringLiteral("wavix-cli: %1\n").arg(error.text);
    return output;
}

// The bytes on stdout, or the file written atomically.
CliOutput Deliver(CodeFormat format, const std::vector<NamedCode>& codes, const ExportOptions& options,
                  const std::optional<QString>& outPath)
{
    if (outPath) {
        if (std::optional<CodeFileError> error = WriteCodeFile(*outPath, format, codes, options))
            return Failed(*error);
        return CliOutput();
    }
    QByteArray bytes;
    if (std::optional<QString> error = FormatCodes(format, codes, options, bytes))
        return Failed(CodeFileError{CodeFileError::Kind::Format, *error});
    CliOutput output;
    output.out = QString::fromUtf8(bytes);
    return output;
}

CliOutput Export(const QStringList& rest)
{
    Arguments arguments;
    if (auto error = Split(rest, QStringLiteral("export"),
                           {"--channel", "--to", "--frequency", "--out", "--name"}, arguments))
        return UsageError(*error);
    if (arguments.files.size() != 1)
        return UsageError(arguments.files.isEmpty() ? QStringLiteral("no capture file given")
                                                    : QStringLiteral("more than one file given"));
    int channel = 1;
    ExportOptions options;
    std::optional<CodeFormat> format;
    if (auto error = ChannelOption(arguments, channel))
        return UsageError(*error);
    if (auto error = CarrierOption(arguments, options))
        return UsageError(*error);
    if (auto error = FormatOption(arguments, "to", format))
        return UsageError(*error);
    if (!format)
        return UsageError(QStringLiteral("--to needs one of pronto, lirc, mode2, flipper, raw, csv"));

    const QString path = arguments.files.first();
    ChannelTrains channels{};
    std::vector<int> found;
    if (const std::optional<QString> problem = UnreadableFileProblem(path))
        return Failed(CodeFileError{CodeFileError::Kind::File, QStringLiteral("%1: %2").arg(path, *problem)});
    if (!LoadCaptureFile(path, channels, &found))
        return Failed(CodeFileError{CodeFileError::Kind::File, QStringLiteral("%1: cannot be opened for reading").arg(path)});
    if (std::find(found.begin(), found.end(), channel - 1) == found.end())
        return Failed(CodeFileError{CodeFileError::Kind::Format,
                                    QStringLiteral("%1: holds no record for channel %2").arg(path).arg(channel)});
    // The LIRC remote is named after the capture file, wherever the code goes.
    options.remoteName = QFileInfo(path).baseName();
    const QString name = arguments.Option("name").value_or(options.remoteName);
    return Deliver(*format, {NamedCode{name, channels[std::size_t(channel - 1)]}}, options, arguments.Option("out"));
}

// "CH1<TAB>NEC<TAB>Code: ..." as decode prints a channel.
QString DecodeLine(int channel, const PulseTrain& train)
{
    const int protocol = IdentifyProtocol(train);
    const QString name = protocol >= 0 ? ProtocolName(ProtocolTable[protocol]) : QStringLiteral("none");
    return QStringLiteral("CH%1\t%2\t%3\n").arg(channel).arg(name, AnnotateChannel(train, protocol).codeLine);
}

CliOutput Import(const QStringList& rest)
{
    Arguments arguments;
    if (auto error = Split(rest, QStringLiteral("import"), {"--out", "--channel", "--name", "--from"}, arguments))
        return UsageError(*error);
    if (arguments.files.size() != 1)
        return UsageError(arguments.files.isEmpty() ? QStringLiteral("no code file given")
                                                    : QStringLiteral("more than one file given"));
    const std::optional<QString> outPath = arguments.Option("out");
    if (!outPath || outPath->isEmpty())
        return UsageError(QStringLiteral("--out FILE.lgc is needed"));
    int channel = 1;
    ReadRequest request;
    if (auto error = ChannelOption(arguments, channel))
        return UsageError(*error);
    if (auto error = FormatOption(arguments, "from", request.format))
        return UsageError(*error);
    request.name = arguments.Option("name");

    const QString codePath = arguments.files.first();
    const ReadResult read = ReadCodeFile(codePath, request);
    if (read.error)
        return Failed(*read.error);

    // An existing capture file keeps its other channels.
    ChannelTrains channels{};
    std::vector<int> which;
    if (QFileInfo::exists(*outPath)) {
        if (const std::optional<QString> problem = UnreadableFileProblem(*outPath))
            return Failed(CodeFileError{CodeFileError::Kind::File, QStringLiteral("%1: %2").arg(*outPath, *problem)});
        if (!LoadCaptureFile(*outPath, channels, &which))
            return Failed(CodeFileError{CodeFileError::Kind::File, QStringLiteral("%1: cannot be opened for reading").arg(*outPath)});
    }
    channels[std::size_t(channel - 1)] = read.codes.front().train;
    which.push_back(channel - 1);
    std::sort(which.begin(), which.end());
    which.erase(std::unique(which.begin(), which.end()), which.end());
    const SaveOutcome saved = SaveCaptureFile(*outPath, channels, which);
    if (!saved.ok)
        return Failed(CodeFileError{CodeFileError::Kind::File, QStringLiteral("%1: %2").arg(*outPath, saved.error)});

    CliOutput output;
    output.out = DecodeLine(channel, channels[std::size_t(channel - 1)]);
    if (read.codesInFile > 1 && !request.name)
        output.err = QStringLiteral("wavix-cli: %1: %2 codes, imported the first, \"%3\" (--name picks another)\n")
                         .arg(codePath)
                         .arg(read.codesInFile)
                         .arg(read.codes.front().name);
    return output;
}

} // namespace

bool IsCodeCommand(const QString& command)
{
    return command == QLatin1String("export") || command == QLatin1String("import");
}

CliOutput RunCodeCommand(const QStringList& arguments)
{
    const QString command = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("export"))
        return Export(rest);
    if (command == QLatin1String("import"))
        return Import(rest);
    return UsageError(QStringLiteral("unknown command \"%1\"").arg(command));
}

QString CodeCommandsUsageText()
{
    return QStringLiteral(
        "\n"
        "Codes in other tools' formats (FORMAT: pronto, lirc, mode2, flipper, raw, csv):\n"
        "  export FILE.lgc --to FORMAT [OPTIONS]   one channel's code, on stdout or into a file\n"
        "      --channel N         channel 1-4 (default 1)\n"
        "      --frequency HZ      carrier for Pronto, LIRC and Flipper (default 38000)\n"
        "      --name NAME         the code's name in the file (default: the capture file's name)\n"
        "      --out FILE          write FILE instead of stdout (replaced only when all went well)\n"
        "  import CODEFILE --out FILE.lgc [OPTIONS]   a code into a channel of a capture file;\n"
        "                          the file's other channels are kept, its format found from its content\n"
        "      --channel N         channel 1-4 (default 1)\n"
        "      --name NAME         the code of that name (default: the file's first code)\n"
        "      --from FORMAT       read as FORMAT instead of finding it\n");
}
