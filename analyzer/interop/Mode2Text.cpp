#include "analyzer/interop/Mode2Text.h"

#include "analyzer/interop/TextTokens.h"
#include "analyzer/interop/TrainBuilder.h"

std::optional<FormatProblem> ReadMode2Code(CodeLineReader& lines, CodeCollector& codes)
{
    QString trimmed;
    TrainBuilder builder;
    int lastLine = 0;
    while (lines.NextContent(trimmed)) {
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
    if (lines.Problem())
        return lines.Problem();
    return codes.AddBuilt(QString(), builder, lastLine);
}

std::optional<QString> WriteMode2Code(const std::vector<NamedCode>& codes, QByteArray& out)
{
    std::vector<int32_t> signal;
    if (auto error = SignalOfOnlyCode(codes, CodeFormat::Mode2, signal))
        return error;
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
