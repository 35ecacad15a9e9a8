#include "analyzer/interop/CodeFormat.h"

#include "analyzer/interop/CodeLineReader.h"
#include "analyzer/interop/TrainBuilder.h"

QString CodeFormatName(CodeFormat format)
{
    switch (format) {
    case CodeFormat::Pronto:
        return QStringLiteral("pronto");
    case CodeFormat::Lirc:
        return QStringLiteral("lirc");
    case CodeFormat::Mode2:
        return QStringLiteral("mode2");
    case CodeFormat::Flipper:
        return QStringLiteral("flipper");
    case CodeFormat::Raw:
        return QStringLiteral("raw");
    case CodeFormat::Csv:
        return QStringLiteral("csv");
    }
    return {};
}

std::optional<CodeFormat> CodeFormatNamed(const QString& name)
{
    for (CodeFormat format : kAllCodeFormats)
        if (CodeFormatName(format).compare(name, Qt::CaseInsensitive) == 0)
            return format;
    return std::nullopt;
}

QString CodeFormatFilter(CodeFormat format)
{
    switch (format) {
    case CodeFormat::Pronto:
        return QStringLiteral("Pronto Hex (*.txt *.pronto)");
    case CodeFormat::Lirc:
        return QStringLiteral("LIRC lircd.conf (*.conf *.lircd.conf)");
    case CodeFormat::Mode2:
        return QStringLiteral("LIRC mode2 (*.mode2 *.txt)");
    case CodeFormat::Flipper:
        return QStringLiteral("Flipper Zero (*.ir)");
    case CodeFormat::Raw:
        return QStringLiteral("Raw durations (*.txt *.raw)");
    case CodeFormat::Csv:
        return QStringLiteral("CSV (*.csv)");
    }
    return {};
}

QString CodeFormatSuffix(CodeFormat format)
{
    switch (format) {
    case CodeFormat::Pronto:
        return QStringLiteral(".txt");
    case CodeFormat::Lirc:
        return QStringLiteral(".lircd.conf");
    case CodeFormat::Mode2:
        return QStringLiteral(".mode2");
    case CodeFormat::Flipper:
        return QStringLiteral(".ir");
    case CodeFormat::Raw:
        return QStringLiteral(".txt");
    case CodeFormat::Csv:
        return QStringLiteral(".csv");
    }
    return {};
}

bool HoldsManyCodes(CodeFormat format)
{
    return format != CodeFormat::Mode2 && format != CodeFormat::Csv;
}

QString CodeLabel(const NamedCode& code, std::size_t index)
{
    if (code.name.isEmpty())
        return QStringLiteral("code %1").arg(index + 1);
    return QStringLiteral("\"%1\"").arg(code.name);
}

std::optional<QString> SignalOfOnlyCode(const std::vector<NamedCode>& codes, CodeFormat format,
                                        std::vector<int32_t>& signal)
{
    if (codes.size() != 1)
        return QStringLiteral("a %1 file holds exactly one code, not %2").arg(CodeFormatName(format)).arg(codes.size());
    if (auto error = SignalOfTrain(codes.front().train, signal))
        return CodeLabel(codes.front(), 0) + QStringLiteral(": ") + *error;
    return std::nullopt;
}

QString NameOnOneLine(const QString& name)
{
    QString line = name;
    for (QChar& c : line)
        if (ReadsAsSpace(c))
            c = QLatin1Char(' ');
    return line;
}

QString NameLine(const QString& name, bool (*readsAsData)(QStringView trimmedLine))
{
    if (name.isEmpty())
        return {};
    const QString line = NameOnOneLine(name);
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')) || readsAsData(trimmed))
        return QLatin1Char('_') + line;
    return line;
}
