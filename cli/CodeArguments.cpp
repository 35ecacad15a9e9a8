#include "cli/CodeArguments.h"

#include "analyzer/decode/ProtocolIdentify.h"
#include "analyzer/decode/ProtocolTable.h"

#include <algorithm>

namespace {

// Digits only, so that "12abc" or "-1" is refused rather than half-read.
std::optional<int> Number(const QString& text, int minimum, int maximum)
{
    if (text.isEmpty() || text.size() > 9
        || !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }))
        return std::nullopt;
    const int value = text.toInt();
    return value >= minimum && value <= maximum ? std::optional<int>(value) : std::nullopt;
}

} // namespace

std::optional<QString> CodeArguments::Option(const char* name) const
{
    const auto found = options.find(QLatin1String(name));
    return found == options.end() ? std::nullopt : std::optional<QString>(found->second);
}

std::optional<QString> SplitCodeArguments(const QStringList& arguments, const QString& command,
                                          const QStringList& known, CodeArguments& out)
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

std::optional<QString> ChannelOption(const CodeArguments& arguments, int& channel)
{
    if (const std::optional<QString> text = arguments.Option("channel")) {
        const std::optional<int> value = Number(*text, 1, kChannelCount);
        if (!value)
            return QStringLiteral("--channel needs a channel number from 1 to 4");
        channel = *value;
    }
    return std::nullopt;
}

std::optional<QString> CarrierOption(const CodeArguments& arguments, ExportOptions& options)
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

std::optional<QString> FormatOption(const CodeArguments& arguments, const char* option,
                                    std::optional<CodeFormat>& format)
{
    if (const std::optional<QString> text = arguments.Option(option)) {
        format = CodeFormatNamed(*text);
        if (!format)
            return QStringLiteral("--%1 needs one of pronto, lirc, mode2, flipper, raw, csv").arg(QLatin1String(option));
    }
    return std::nullopt;
}

CliOutput UsageError(const QString& message)
{
    CliOutput output;
    output.status = kExitUsage;
    output.err = QStringLiteral("wavix-cli: %1\nTry 'wavix-cli --help'.\n").arg(message);
    return output;
}

CliOutput Failed(const CodeFileError& error)
{
    CliOutput output;
    output.status = error.kind == CodeFileError::Kind::File ? kExitFileError : kExitUsage;
    output.err = QStringLiteral("wavix-cli: %1\n").arg(error.text);
    return output;
}

CliOutput DeliverCodes(CodeFormat format, const std::vector<NamedCode>& codes, const ExportOptions& options,
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

QString RecognisedProtocolName(const PulseTrain& train)
{
    const int protocol = IdentifyProtocol(train);
    return protocol >= 0 ? ProtocolName(ProtocolTable[protocol]) : QStringLiteral("none");
}
