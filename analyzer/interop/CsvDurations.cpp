#include "analyzer/interop/CsvDurations.h"

#include "analyzer/interop/TextTokens.h"
#include "analyzer/interop/TrainBuilder.h"

namespace {

QStringView Unquoted(QStringView field)
{
    if (field.size() >= 2 && field.front() == QLatin1Char('"') && field.back() == QLatin1Char('"'))
        return field.mid(1, field.size() - 2).trimmed();
    return field;
}

std::optional<bool> LevelOf(QStringView field)
{
    for (const char* high : {"H", "1", "high", "mark", "pulse"})
        if (field.compare(QLatin1String(high), Qt::CaseInsensitive) == 0)
            return true;
    for (const char* low : {"L", "0", "low", "space"})
        if (field.compare(QLatin1String(low), Qt::CaseInsensitive) == 0)
            return false;
    return std::nullopt;
}

} // namespace

std::optional<FormatProblem> ReadCsvCode(CodeLineReader& lines, CodeCollector& codes)
{
    QString trimmed;
    TrainBuilder builder;
    bool first = true;
    int lastLine = 0;
    while (lines.NextContent(trimmed)) {
        const int n = lines.lineNumber();
        std::vector<QStringView> fields = SplitWords(trimmed, u",;");
        for (QStringView& field : fields)
            field = Unquoted(field);
        const bool header = first && !fields.empty() && !ParseDecimal(fields[0]);
        first = false;
        if (header)
            continue;
        if (fields.size() != 3)
            return FormatProblem{n, QStringLiteral("three fields expected (index, level, duration), found %1").arg(fields.size())};
        if (!ParseDecimal(fields[0]))
            return FormatProblem{n, QStringLiteral("\"%1\" is not an index").arg(fields[0].left(40))};
        const std::optional<bool> mark = LevelOf(fields[1]);
        if (!mark)
            return FormatProblem{n, QStringLiteral("\"%1\" is not a level (H or L)").arg(fields[1].left(40))};
        const std::optional<int64_t> duration = ParseDecimal(fields[2], true);
        if (!duration)
            return FormatProblem{n, QStringLiteral("\"%1\" is not a duration").arg(fields[2].left(40))};
        if (auto error = builder.Add(*mark, *duration))
            return FormatProblem{n, *error};
        lastLine = n;
    }
    if (lines.Problem())
        return lines.Problem();
    return codes.AddBuilt(QString(), builder, lastLine);
}

std::optional<QString> WriteCsvCode(const std::vector<NamedCode>& codes, QByteArray& out)
{
    std::vector<int32_t> signal;
    if (auto error = SignalOfOnlyCode(codes, CodeFormat::Csv, signal))
        return error;
    QByteArray text = "index,level,duration\n";
    for (std::size_t i = 0; i < signal.size(); ++i) {
        text += QByteArray::number(qulonglong(i + 1));
        text += i % 2 == 0 ? ",H," : ",L,";
        text += QByteArray::number(signal[i]);
        text += '\n';
    }
    out = text;
    return std::nullopt;
}
