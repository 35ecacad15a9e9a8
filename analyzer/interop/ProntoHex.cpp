#include "analyzer/interop/ProntoHex.h"

#include "analyzer/interop/TextTokens.h"
#include "analyzer/interop/TrainBuilder.h"

#include <cmath>

namespace pronto {

int FrequencyWord(int carrierHz)
{
    if (carrierHz <= 0)
        return 0;
    const long long word = std::llround(1e6 / (carrierHz * kUnitUs));
    return word >= 1 && word <= 0xFFFF ? int(word) : 0;
}

bool IsHexWordLine(QStringView trimmedLine)
{
    const std::vector<QStringView> words = SplitWords(trimmedLine);
    if (words.empty())
        return false;
    for (QStringView word : words) {
        if (word.size() != 4)
            return false;
        for (QChar c : word) {
            const char16_t u = c.unicode();
            if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F')))
                return false;
        }
    }
    return true;
}

} // namespace pronto

namespace {

void AppendHexWord(QString& text, long long value)
{
    static const char digits[] = "0123456789ABCDEF";
    text += QLatin1Char(' ');
    for (int shift = 12; shift >= 0; shift -= 4)
        text += QLatin1Char(digits[(value >> shift) & 0xF]);
}

// A code being read: its words so far and the line it started on.
struct ProntoCode {
    std::vector<uint16_t> words;
    int firstLine = 0;
    int expectedWords = 0; // known once the four header words are in

    bool IsOpen() const { return !words.empty(); }
};

std::optional<QString> CheckHeader(ProntoCode& code)
{
    const uint16_t format = code.words[0];
    if (format != 0x0000 && format != 0x0100)
        return QStringLiteral("Pronto format %1 is not supported: only learned codes (0000, 0100)")
            .arg(QString::number(format, 16).toUpper().rightJustified(4, QLatin1Char('0')));
    if (code.words[1] == 0)
        return QStringLiteral("frequency word 0000");
    const int pairs = int(code.words[2]) + int(code.words[3]);
    if (pairs == 0)
        return QStringLiteral("the code holds no burst pairs");
    if (2 * pairs > PulseTrain::kEntries)
        return QStringLiteral("more than %1 durations").arg(PulseTrain::kMaxPulses);
    code.expectedWords = 4 + 2 * pairs;
    return std::nullopt;
}

// Adds a line's words; an error when the code's header is unusable or the line
// gives more words than the header announces.
std::optional<QString> AddWords(ProntoCode& code, QStringView trimmedLine)
{
    for (QStringView word : SplitWords(trimmedLine)) {
        if (code.expectedWords > 0 && int(code.words.size()) == code.expectedWords)
            return QStringLiteral("more words than the %1 burst pairs the code announces")
                .arg((code.expectedWords - 4) / 2);
        code.words.push_back(uint16_t(word.toUInt(nullptr, 16)));
        if (code.words.size() == 4) {
            if (auto error = CheckHeader(code))
                return error;
        }
    }
    return std::nullopt;
}

bool IsComplete(const ProntoCode& code)
{
    return code.expectedWords > 0 && int(code.words.size()) == code.expectedWords;
}

std::optional<QString> FinishCode(const ProntoCode& code, PulseTrain& train)
{
    // The once part and then the repeat part is simply every pair in order.
    const double periodUs = code.words[1] * pronto::kUnitUs;
    TrainBuilder builder;
    for (int i = 4; i < code.expectedWords; ++i) {
        const uint16_t periods = code.words[std::size_t(i)];
        if (periods == 0)
            return QStringLiteral("burst pair %1 has a time of 0").arg((i - 4) / 2 + 1);
        if (auto error = builder.Add(i % 2 == 0, std::llround(periods * periodUs)))
            return error;
    }
    return builder.Finish(train);
}

QString CutShort(const ProntoCode& code)
{
    if (code.expectedWords == 0)
        return QStringLiteral("the code ends inside its four header words");
    return QStringLiteral("the code is cut short: %1 of %2 words").arg(code.words.size()).arg(code.expectedWords);
}

} // namespace

std::optional<FormatProblem> ReadProntoCodes(CodeLineReader& lines, CodeCollector& codes)
{
    QString trimmed;
    QString pendingName;
    ProntoCode code;
    while (lines.NextTrimmed(trimmed)) {
        const bool hexLine = pronto::IsHexWordLine(trimmed);
        if (code.IsOpen() && !hexLine)
            return FormatProblem{code.firstLine, CutShort(code)};
        if (hexLine) {
            if (!code.IsOpen())
                code.firstLine = lines.lineNumber();
            if (auto error = AddWords(code, trimmed))
                return FormatProblem{code.firstLine, *error};
            if (IsComplete(code)) {
                PulseTrain train;
                if (auto error = FinishCode(code, train))
                    return FormatProblem{code.firstLine, *error};
                codes.Add(pendingName, train);
                pendingName.clear();
                code = ProntoCode();
            }
            continue;
        }
        if (IsBlankOrComment(trimmed))
            continue;
        if (auto error = CheckName(trimmed))
            return FormatProblem{lines.lineNumber(), *error};
        pendingName = trimmed;
    }
    if (lines.Problem())
        return lines.Problem();
    if (code.IsOpen())
        return FormatProblem{code.firstLine, CutShort(code)};
    if (codes.codesInFile() == 0)
        return FormatProblem{0, QStringLiteral("holds no Pronto Hex code")};
    return std::nullopt;
}

std::optional<QString> WriteProntoCodes(const std::vector<NamedCode>& codes, const ExportOptions& options,
                                        QByteArray& out)
{
    const int frequencyWord = pronto::FrequencyWord(options.carrierHz);
    if (frequencyWord == 0)
        return QStringLiteral("a carrier of %1 Hz has no Pronto frequency word").arg(options.carrierHz);
    const double periodUs = frequencyWord * pronto::kUnitUs;
    std::vector<int32_t> signal;
    QString text;
    for (std::size_t c = 0; c < codes.size(); ++c) {
        if (auto error = SignalOfTrain(codes[c].train, signal))
            return CodeLabel(codes[c], c) + QStringLiteral(": ") + *error;
        if (signal.size() % 2 != 0)
            signal.push_back(interop::kClosingSilenceUs);
        if (c > 0)
            text += QLatin1Char('\n');
        if (!codes[c].name.isEmpty())
            text += NameLine(codes[c].name, pronto::IsHexWordLine) + QLatin1Char('\n');
        text += QStringLiteral("0000");
        AppendHexWord(text, frequencyWord);
        AppendHexWord(text, (long long)(signal.size() / 2));
        AppendHexWord(text, 0);
        for (int32_t us : signal) {
            const long long periods = std::max(1LL, std::llround(us / periodUs));
            if (periods > 0xFFFF)
                return CodeLabel(codes[c], c)
                       + QStringLiteral(": %1 us is longer than a Pronto word holds at %2 Hz (%3 us)")
                             .arg(us)
                             .arg(options.carrierHz)
                             .arg(std::llround(0xFFFF * periodUs));
            AppendHexWord(text, periods);
        }
        text += QLatin1Char('\n');
    }
    out = text.toUtf8();
    return std::nullopt;
}
