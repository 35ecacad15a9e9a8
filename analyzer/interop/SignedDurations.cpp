#include "analyzer/interop/SignedDurations.h"

#include "analyzer/interop/TextTokens.h"
#include "analyzer/interop/TrainBuilder.h"

bool ReadSignedLine(QStringView trimmedLine, std::vector<SignedDuration>* values)
{
    const std::vector<QStringView> words = SplitWords(trimmedLine, u",");
    if (words.empty())
        return false;
    if (values)
        values->clear();
    QChar pendingSign;
    for (QStringView word : words) {
        if (word == u"+" || word == u"-") {
            if (!pendingSign.isNull())
                return false;
            pendingSign = word.front();
            continue;
        }
        const QChar sign = pendingSign.isNull() ? word.front() : pendingSign;
        if (sign != QLatin1Char('+') && sign != QLatin1Char('-'))
            return false;
        const std::optional<int64_t> magnitude = ParseDecimal(pendingSign.isNull() ? word.mid(1) : word);
        if (!magnitude)
            return false;
        if (values)
            values->push_back(SignedDuration{sign == QLatin1Char('+'), *magnitude});
        pendingSign = QChar();
    }
    return pendingSign.isNull();
}

namespace {

struct OpenCode {
    QString name;
    int firstLine = 0;
    TrainBuilder builder;
    bool open = false;
};

std::optional<FormatProblem> Finish(OpenCode& code, CodeCollector& codes)
{
    if (!code.open)
        return std::nullopt;
    auto problem = codes.AddBuilt(code.name, code.builder, code.firstLine);
    code = OpenCode();
    return problem;
}

} // namespace

std::optional<FormatProblem> ReadSignedCodes(CodeLineReader& lines, CodeCollector& codes)
{
    QString trimmed;
    QString pendingName;
    OpenCode code;
    std::vector<SignedDuration> values;
    while (lines.NextTrimmed(trimmed)) {
        const int n = lines.lineNumber();
        if (ReadSignedLine(trimmed, &values)) {
            if (!code.open) {
                code.open = true;
                code.firstLine = n;
                code.name = pendingName;
                pendingName.clear();
            }
            for (const SignedDuration& value : values) {
                if (auto error = code.builder.Add(value.mark, value.us))
                    return FormatProblem{n, *error};
            }
            continue;
        }
        if (auto problem = Finish(code, codes))
            return problem;
        if (IsBlankOrComment(trimmed))
            continue;
        if (auto error = CheckName(trimmed))
            return FormatProblem{n, *error};
        pendingName = trimmed;
    }
    if (lines.Problem())
        return lines.Problem();
    if (auto problem = Finish(code, codes))
        return problem;
    if (codes.codesInFile() == 0)
        return FormatProblem{0, QStringLiteral("holds no signed durations")};
    return std::nullopt;
}

std::optional<QString> WriteSignedCodes(const std::vector<NamedCode>& codes, QByteArray& out)
{
    QByteArray text;
    std::vector<int32_t> signal;
    for (std::size_t c = 0; c < codes.size(); ++c) {
        if (auto error = SignalOfTrain(codes[c].train, signal))
            return CodeLabel(codes[c], c) + QStringLiteral(": ") + *error;
        if (c > 0)
            text += '\n';
        if (!codes[c].name.isEmpty())
            text += NameLine(codes[c].name, [](QStringView line) { return ReadSignedLine(line, nullptr); }).toUtf8() + '\n';
        for (std::size_t i = 0; i < signal.size(); ++i) {
            if (i > 0)
                text += ' ';
            text += i % 2 == 0 ? '+' : '-';
            text += QByteArray::number(signal[i]);
        }
        text += '\n';
    }
    out = text;
    return std::nullopt;
}
