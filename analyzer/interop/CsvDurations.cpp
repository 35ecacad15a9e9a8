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
    QString line;
    TrainBuilder builder;
    bool first = true;
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
    PulseTrain train;
    if (auto error = builder.Finish(train))
        return FormatProblem{lastLine, *error};
    codes.Add(QString(), train);
    return std::nullopt;
}

std::optional<QString> WriteCsvCode(const std::vector<NamedCode>& codes, QByteArray& out)
{
    const NamedCode* code = nullptr;
    if (auto error = TheOnlyCode(codes, CodeFormat::Csv, code))
        return error;
    std::vector<int32_t> signal;
    if (auto error = SignalOfTrain(code->train, signal))
        return CodeLabel(*code, 0) + QStringLiteral(": ") + *error;
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
