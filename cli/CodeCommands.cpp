#include "cli/CodeCommands.h"

#include "cli/CodeArguments.h"
#include "cli/LibraryCommands.h"

#include "analyzer/decode/Annotation.h"
#include "analyzer/decode/ProtocolIdentify.h"
#include "analyzer/files/CaptureFile.h"
#include "analyzer/interop/CodeFiles.h"
#include "analyzer/interop/ReadableFile.h"

#include <QFileInfo>

#include <algorithm>

namespace {

CliOutput Export(const QStringList& rest)
{
    CodeArguments arguments;
    if (auto error = SplitCodeArguments(rest, QStringLiteral("export"),
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
    return DeliverCodes(*format, {NamedCode{name, channels[std::size_t(channel - 1)]}}, options, arguments.Option("out"));
}

// "CH1<TAB>NEC<TAB>Code: ..." as decode prints a channel.
QString DecodeLine(int channel, const PulseTrain& train)
{
    return QStringLiteral("CH%1\t%2\t%3\n")
        .arg(channel)
        .arg(RecognisedProtocolName(train), AnnotateChannel(train, IdentifyProtocol(train)).codeLine);
}

CliOutput Import(const QStringList& rest)
{
    CodeArguments arguments;
    if (auto error = SplitCodeArguments(rest, QStringLiteral("import"), {"--out", "--channel", "--name", "--from"}, arguments))
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
    return command == QLatin1String("export") || command == QLatin1String("import")
           || command == QLatin1String("library");
}

CliOutput RunCodeCommand(const QStringList& arguments)
{
    const QString command = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("export"))
        return Export(rest);
    if (command == QLatin1String("import"))
        return Import(rest);
    if (command == QLatin1String("library"))
        return RunLibraryCommand(rest);
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
        "      --from FORMAT       read as FORMAT instead of finding it\n"
        "\n"
        "The code library (Record.dat, beside the analyzer or, installed, in ~/.config/wavix):\n"
        "  library list Record.dat               number, name, protocol, pulse count, total us of each entry\n"
        "  library export Record.dat --to flipper|lirc|pronto|raw [--frequency HZ] [--out FILE]\n"
        "                                        every entry, names kept\n"
        "  library import Record.dat CODEFILE [--from FORMAT]\n"
        "                                        the file's codes as new entries, names kept, as far as the\n"
        "                                        library has room (it keeps the last of its 1024 places free)\n");
}
