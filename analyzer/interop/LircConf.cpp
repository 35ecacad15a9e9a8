#include "analyzer/interop/LircConf.h"

#include "analyzer/interop/TextTokens.h"
#include "analyzer/interop/TrainBuilder.h"

#include <QSet>

#include <algorithm>

namespace {

enum class Block { Outside, Remote, RawCodes };

bool Is(const std::vector<QStringView>& words, const char* first, const char* second)
{
    return words.size() >= 2 && words[0] == QLatin1String(first) && words[1] == QLatin1String(second);
}

// The raw code being read: its name, the line of that name, its durations.
struct RawCode {
    QString name;
    int line = 0;
    TrainBuilder builder;
    bool nextMark = true;
    bool open = false;
};

std::optional<FormatProblem> FinishCode(RawCode& code, CodeCollector& codes)
{
    if (!code.open)
        return std::nullopt;
    PulseTrain train;
    if (auto error = code.builder.Finish(train))
        return FormatProblem{code.line, QStringLiteral("button %1: %2").arg(code.name, *error)};
    codes.Add(code.name, train);
    code = RawCode();
    return std::nullopt;
}

} // namespace

std::optional<FormatProblem> ReadLircCodes(CodeLineReader& lines, CodeCollector& codes)
{
    QString trimmed;
    Block block = Block::Outside;
    int remoteLine = 0;
    int rawLine = 0;
    RawCode code;
    while (lines.NextContent(trimmed)) {
        const int n = lines.lineNumber();
        const std::vector<QStringView> words = SplitWords(trimmed);
        const bool begins = words[0] == QLatin1String("begin");
        const bool ends = words[0] == QLatin1String("end");
        switch (block) {
        case Block::Outside:
            if (!Is(words, "begin", "remote"))
                return FormatProblem{n, QStringLiteral("\"begin remote\" expected, found \"%1\"").arg(trimmed.left(40))};
            block = Block::Remote;
            remoteLine = n;
            break;
        case Block::Remote:
            if (Is(words, "end", "remote")) {
                block = Block::Outside;
            } else if (Is(words, "begin", "raw_codes")) {
                block = Block::RawCodes;
                rawLine = n;
            } else if (Is(words, "begin", "codes")) {
                return FormatProblem{n, QStringLiteral("decoded codes (\"begin codes\") cannot be read: only raw codes")};
            } else if (begins) {
                return FormatProblem{n, QStringLiteral("\"%1\" inside the remote begun at line %2").arg(trimmed.left(40)).arg(remoteLine)};
            } else if (ends) {
                return FormatProblem{n, QStringLiteral("\"%1\" without a matching begin").arg(trimmed.left(40))};
            }
            break; // a parameter of the remote
        case Block::RawCodes:
            if (Is(words, "end", "raw_codes")) {
                if (auto problem = FinishCode(code, codes))
                    return problem;
                block = Block::Remote;
            } else if (begins) {
                return FormatProblem{n, QStringLiteral("\"%1\" inside the raw codes begun at line %2").arg(trimmed.left(40)).arg(rawLine)};
            } else if (ends) {
                return FormatProblem{n, QStringLiteral("\"%1\" before \"end raw_codes\"").arg(trimmed.left(40))};
            } else if (words[0] == QLatin1String("name")) {
                if (auto problem = FinishCode(code, codes))
                    return problem;
                if (words.size() < 2)
                    return FormatProblem{n, QStringLiteral("\"name\" without a button name")};
                code.name = words[1].toString();
                if (auto error = CheckName(code.name))
                    return FormatProblem{n, *error};
                code.line = n;
                code.open = true;
            } else {
                if (!code.open)
                    return FormatProblem{n, QStringLiteral("durations before the first \"name\"")};
                for (QStringView word : words) {
                    const std::optional<int64_t> value = ParseDecimal(word, true);
                    if (!value)
                        return FormatProblem{n, QStringLiteral("\"%1\" is not a duration").arg(word.left(40))};
                    if (auto error = code.builder.Add(code.nextMark, *value))
                        return FormatProblem{n, *error};
                    code.nextMark = !code.nextMark;
                }
            }
            break;
        }
    }
    if (lines.Problem())
        return lines.Problem();
    if (block == Block::RawCodes)
        return FormatProblem{rawLine, QStringLiteral("\"begin raw_codes\" is never ended")};
    if (block == Block::Remote)
        return FormatProblem{remoteLine, QStringLiteral("\"begin remote\" is never ended")};
    if (codes.codesInFile() == 0)
        return FormatProblem{0, QStringLiteral("holds no raw code")};
    return std::nullopt;
}

namespace {

// LIRC names are single words.
QString OneWord(const QString& name, const QString& fallback)
{
    QString word = NameOnOneLine(name).simplified();
    word.replace(QLatin1Char(' '), QLatin1Char('_'));
    return word.isEmpty() ? fallback : word;
}

void AppendNumber(QString& text, int32_t value)
{
    const QString digits = QString::number(value);
    text += QString(std::max<qsizetype>(1, 9 - digits.size()), QLatin1Char(' '));
    text += digits;
}

} // namespace

std::optional<QString> WriteLircCodes(const std::vector<NamedCode>& codes, const ExportOptions& options,
                                      QByteArray& out)
{
    std::vector<std::vector<int32_t>> timings(codes.size());
    int32_t gap = 0;
    for (std::size_t c = 0; c < codes.size(); ++c) {
        std::vector<int32_t>& signal = timings[c];
        if (auto error = SignalOfTrain(codes[c].train, signal))
            return CodeLabel(codes[c], c) + QStringLiteral(": ") + *error;
        // Raw codes end on a pulse: the space after it is the remote's gap.
        if (signal.size() % 2 == 0) {
            gap = std::max(gap, signal.back());
            signal.pop_back();
        }
    }
    if (gap == 0)
        gap = interop::kClosingSilenceUs;

    QString text;
    text += QStringLiteral("#\n# %1 raw code%2, durations in microseconds, pulse first.\n#\n\n")
                .arg(codes.size())
                .arg(codes.size() == 1 ? QString() : QStringLiteral("s"));
    text += QStringLiteral("begin remote\n\n");
    text += QStringLiteral("  name  %1\n").arg(OneWord(options.remoteName, QStringLiteral("wavix")));
    text += QStringLiteral("  flags RAW_CODES\n  eps            30\n  aeps          100\n");
    text += QStringLiteral("  frequency  %1\n  gap        %2\n\n").arg(options.carrierHz).arg(gap);
    text += QStringLiteral("      begin raw_codes\n");
    QSet<QString> used;
    for (std::size_t c = 0; c < codes.size(); ++c) {
        const QString base = OneWord(codes[c].name, QStringLiteral("code_%1").arg(c + 1));
        QString name = base;
        for (int k = 2; used.contains(name); ++k)
            name = QStringLiteral("%1_%2").arg(base).arg(k);
        used.insert(name);
        text += QStringLiteral("\n          name %1\n").arg(name);
        const std::vector<int32_t>& signal = timings[c];
        for (std::size_t i = 0; i < signal.size(); ++i) {
            if (i % 6 == 0)
                text += QStringLiteral("    ");
            AppendNumber(text, signal[i]);
            if (i % 6 == 5 || i + 1 == signal.size())
                text += QLatin1Char('\n');
        }
    }
    text += QStringLiteral("\n      end raw_codes\n\nend remote\n");
    out = text.toUtf8();
    return std::nullopt;
}
