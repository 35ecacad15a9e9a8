#include "analyzer/interop/FlipperIr.h"

#include "analyzer/interop/IrEncoder.h"
#include "analyzer/interop/TextTokens.h"
#include "analyzer/interop/TrainBuilder.h"

#include <map>

namespace {

// One key of a signal: its value and the line it stood on.
struct Field {
    QString value;
    int line = 0;
};

struct Signal {
    QString name;
    int line = 0;
    std::map<QString, Field> fields;
};

// "EE 87 00 00": four bytes, the first the least significant.
std::optional<uint32_t> ParseFourBytes(const QString& value)
{
    const std::vector<QStringView> bytes = SplitWords(value);
    if (bytes.size() != 4)
        return std::nullopt;
    uint32_t result = 0;
    for (int i = 3; i >= 0; --i) {
        bool ok = false;
        const uint byte = bytes[std::size_t(i)].toUInt(&ok, 16);
        if (!ok || bytes[std::size_t(i)].size() != 2 || byte > 0xFF)
            return std::nullopt;
        result = (result << 8) | byte;
    }
    return result;
}

bool IsSignalKey(const QString& key)
{
    for (const char* known : {"type", "protocol", "address", "command", "frequency", "duty_cycle", "data"})
        if (key == QLatin1String(known))
            return true;
    return false;
}

const Field* Require(const Signal& signal, const char* key, FormatProblem& problem)
{
    const auto found = signal.fields.find(QLatin1String(key));
    if (found != signal.fields.end())
        return &found->second;
    problem = FormatProblem{signal.line, QStringLiteral("signal \"%1\" has no %2").arg(signal.name, QLatin1String(key))};
    return nullptr;
}

std::optional<FormatProblem> RawTrain(const Signal& signal, PulseTrain& train)
{
    FormatProblem problem;
    const Field* frequency = Require(signal, "frequency", problem);
    const Field* duty = frequency ? Require(signal, "duty_cycle", problem) : nullptr;
    const Field* data = duty ? Require(signal, "data", problem) : nullptr;
    if (!data)
        return problem;
    const std::optional<int64_t> hz = ParseDecimal(frequency->value);
    if (!hz || *hz <= 0 || *hz > 0xFFFFFFFFLL)
        return FormatProblem{frequency->line, QStringLiteral("\"%1\" is not a frequency").arg(frequency->value.left(40))};
    bool ok = false;
    const double dutyCycle = duty->value.toDouble(&ok);
    if (!ok || !(dutyCycle > 0.0 && dutyCycle <= 1.0))
        return FormatProblem{duty->line, QStringLiteral("\"%1\" is not a duty cycle (0 to 1)").arg(duty->value.left(40))};
    TrainBuilder builder;
    bool mark = true;
    for (QStringView word : SplitWords(data->value)) {
        const std::optional<int64_t> us = ParseDecimal(word, true);
        if (!us)
            return FormatProblem{data->line, QStringLiteral("\"%1\" is not a timing").arg(word.left(40))};
        if (auto error = builder.Add(mark, *us))
            return FormatProblem{data->line, *error};
        mark = !mark;
    }
    if (auto error = builder.Finish(train))
        return FormatProblem{data->line, *error};
    return std::nullopt;
}

std::optional<FormatProblem> ParsedTrain(const Signal& signal, PulseTrain& train)
{
    FormatProblem problem;
    const Field* protocolField = Require(signal, "protocol", problem);
    const Field* addressField = protocolField ? Require(signal, "address", problem) : nullptr;
    const Field* commandField = addressField ? Require(signal, "command", problem) : nullptr;
    if (!commandField)
        return problem;
    const std::optional<ParsedProtocol> protocol = ParsedProtocolNamed(protocolField->value);
    if (!protocol)
        return FormatProblem{protocolField->line, QStringLiteral("protocol \"%1\" cannot be read (only %2)")
                                                      .arg(protocolField->value.left(40), ParsedProtocolNames())};
    const std::optional<uint32_t> address = ParseFourBytes(addressField->value);
    if (!address)
        return FormatProblem{addressField->line, QStringLiteral("address \"%1\" is not four hex bytes").arg(addressField->value.left(40))};
    const std::optional<uint32_t> command = ParseFourBytes(commandField->value);
    if (!command)
        return FormatProblem{commandField->line, QStringLiteral("command \"%1\" is not four hex bytes").arg(commandField->value.left(40))};
    std::vector<int64_t> durations;
    if (auto error = EncodeParsed(*protocol, *address, *command, durations))
        return FormatProblem{protocolField->line, *error};
    TrainBuilder builder;
    if (auto error = builder.AddAlternating(durations))
        return FormatProblem{protocolField->line, *error};
    if (auto error = builder.Finish(train))
        return FormatProblem{protocolField->line, *error};
    return std::nullopt;
}

std::optional<FormatProblem> FinishSignal(Signal& signal, CodeCollector& codes)
{
    if (signal.line == 0)
        return std::nullopt;
    FormatProblem problem;
    const Field* type = Require(signal, "type", problem);
    if (!type)
        return problem;
    PulseTrain train;
    std::optional<FormatProblem> failed;
    if (type->value == QLatin1String("raw"))
        failed = RawTrain(signal, train);
    else if (type->value == QLatin1String("parsed"))
        failed = ParsedTrain(signal, train);
    else
        failed = FormatProblem{type->line, QStringLiteral("type \"%1\" is neither raw nor parsed").arg(type->value.left(40))};
    if (failed)
        return failed;
    codes.Add(signal.name, train);
    signal = Signal();
    return std::nullopt;
}

} // namespace

std::optional<FormatProblem> ReadFlipperCodes(CodeLineReader& lines, CodeCollector& codes)
{
    QString trimmed;
    enum class Expect { Filetype, Version, Signals } expect = Expect::Filetype;
    Signal signal;
    while (lines.NextContent(trimmed)) {
        const int n = lines.lineNumber();
        const int colon = int(trimmed.indexOf(QLatin1Char(':')));
        const QString key = colon > 0 ? trimmed.left(colon).trimmed() : QString();
        const QString value = colon > 0 ? trimmed.mid(colon + 1).trimmed() : QString();
        if (expect == Expect::Filetype) {
            if (key != QLatin1String("Filetype")
                || (value != QLatin1String("IR signals file") && value != QLatin1String("IR library file")))
                return FormatProblem{n, QStringLiteral("not a Flipper infrared file: \"Filetype: IR signals file\" expected")};
            expect = Expect::Version;
            continue;
        }
        if (expect == Expect::Version) {
            if (key != QLatin1String("Version"))
                return FormatProblem{n, QStringLiteral("\"Version: 1\" expected")};
            if (value != QLatin1String("1"))
                return FormatProblem{n, QStringLiteral("version %1 cannot be read (only 1)").arg(value.left(40))};
            expect = Expect::Signals;
            continue;
        }
        if (key.isEmpty())
            return FormatProblem{n, QStringLiteral("\"key: value\" expected, found \"%1\"").arg(trimmed.left(40))};
        if (key == QLatin1String("name")) {
            if (auto problem = FinishSignal(signal, codes))
                return problem;
            if (auto error = CheckName(value))
                return FormatProblem{n, *error};
            signal.name = value;
            signal.line = n;
            continue;
        }
        if (signal.line == 0)
            return FormatProblem{n, QStringLiteral("\"%1\" before the first \"name\"").arg(key.left(40))};
        if (!IsSignalKey(key))
            continue; // keys of later versions carry nothing we use
        if (!signal.fields.emplace(key, Field{value, n}).second)
            return FormatProblem{n, QStringLiteral("\"%1\" given twice for signal \"%2\"").arg(key.left(40), signal.name)};
    }
    if (lines.Problem())
        return lines.Problem();
    if (expect != Expect::Signals)
        return FormatProblem{lines.lineNumber(), QStringLiteral("not a Flipper infrared file: the header is missing")};
    if (auto problem = FinishSignal(signal, codes))
        return problem;
    if (codes.codesInFile() == 0)
        return FormatProblem{0, QStringLiteral("holds no signal")};
    return std::nullopt;
}

std::optional<QString> WriteFlipperCodes(const std::vector<NamedCode>& codes, const ExportOptions& options,
                                         QByteArray& out)
{
    if (options.carrierHz < flipper::kMinCarrierHz || options.carrierHz > flipper::kMaxCarrierHz)
        return QStringLiteral("a Flipper file takes carriers of %1 to %2 Hz, not %3")
            .arg(flipper::kMinCarrierHz)
            .arg(flipper::kMaxCarrierHz)
            .arg(options.carrierHz);
    QByteArray text = "Filetype: IR signals file\nVersion: 1\n";
    const QByteArray carrier = QByteArray::number(options.carrierHz);
    std::vector<int32_t> signal;
    for (std::size_t c = 0; c < codes.size(); ++c) {
        if (auto error = SignalOfTrain(codes[c].train, signal))
            return CodeLabel(codes[c], c) + QStringLiteral(": ") + *error;
        if (signal.size() > std::size_t(flipper::kMaxTimings))
            return CodeLabel(codes[c], c)
                   + QStringLiteral(": %1 timings, a Flipper file holds at most %2").arg(signal.size()).arg(flipper::kMaxTimings);
        text += "#\nname: " + NameOnOneLine(codes[c].name).toUtf8() + "\ntype: raw\nfrequency: " + carrier
                + "\nduty_cycle: 0.330000\ndata:";
        for (int32_t us : signal) {
            text += ' ';
            text += QByteArray::number(us);
        }
        text += '\n';
    }
    out = text;
    return std::nullopt;
}
