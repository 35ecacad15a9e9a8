#include "analyzer/interop/Mode2Text.h"

#include "analyzer/interop/TextTokens.h"
#include "analyzer/interop/TrainBuilder.h"

std::optional<FormatProblem> ReadMode2Code(CodeLineReader& lines, CodeCollector& codes)
{
    QString line;
    TrainBuilder builder;
    int lastLine = 0;
    for (;;) {
        const CodeLineReader::Status status = lines.Next(line);
        if (status == CodeLineReader::Status::TooLong)
            return FormatProblem{lines.lineNumber(), QStringLiteral("line longer than %1 bytes").arg(CodeLineReader::kMaxLineBytes)};
        if (status == CodeLineReader::Status::End)
            break;
        const QString trimmed = line.trimmed();
        if (IsBlankOrComment(trimmed))
            continue;
        const int n = lines.lineNumber();
        const std::vector<QStringView> words = SplitWords(trimmed);
        const bool pulse = words[0] == QLatin1String("pulse");
        if (words.size() != 2
            || !(pulse || words[0] == QLatin1String("space") || words[0] == QLatin1String("timeout")))
            return FormatProblem{n, QStringLiteral("\"pulse N\" or \"space N\" expected, found \"%1\"").arg(trimmed.left(40))};
        const std::optional<int64_t> value = ParseDecimal(words[1], true);
        if (!value)
            return FormatProblem{n, QStringLiteral("\"%1\" is not a duration").arg(words[1].left(40))};
        if (auto error = builder.Add(pulse, *value))
            return FormatProblem{n, *error};
        lastLine = n;
    }
    PulseTrain train;
    if (auto error = builder.Finish(train))
        return FormatProblem{lastLine, *error};
    codes.Add(QString(), train);
    return std::nullopt;
}

std::optional<QString> WriteMode2Code(const std::vector<NamedCode>& codes, QByteArray& out)
{
    const NamedCode* code = nullptr;
    if (auto error = TheOnlyCode(codes, CodeFormat::Mode2, code))
        return error;
    std::vector<int32_t> signal;
    if (auto error = SignalOfTrain(code->train, signal))
        return CodeLabel(*code, 0) + QStringLiteral(": ") + *error;
    QByteArray text;
    text.reserve(qsizetype(signal.size()) * 13);
    for (std::size_t i = 0; i < signal.size(); ++i) {
        text += i % 2 == 0 ? "pulse " : "space ";
        text += QByteArray::number(signal[i]);
        text += '\n';
    }
    out = text;
    return std::nullopt;
}
