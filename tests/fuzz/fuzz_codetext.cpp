// The code text from user-typed settings: the value template and its four
// companions (prefix, suffix, separator, columns).
//
// 1. FormatOneInteger never hands the template to printf, yet must print
//    what printf prints. The template is made safe for printf (its first
//    integer conversion kept as our formatter reads it, every other '%'
//    doubled) and both must give the same text for the same value.
// 2. FormatPulseText takes shortcuts around "[INDEX]" and "[LEVEL]"; it must
//    give exactly the text of the plain recipe: each value through the
//    template, then every "[INDEX]" and every "[LEVEL]" replaced, separators
//    between values, a line break after every `columns` values.
//
// Input: i32 value, template up to 0x01, prefix, suffix, separator (each up
// to 0x01), i32 columns, u8 start level, then i32 durations.

#include "analyzer/decode/CodeText.h"
#include "fuzz/FuzzInput.h"

#include <QByteArray>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>

namespace {

constexpr int kMaxField = 1000; // the formatter's cap on width and precision
constexpr int kMaxSetting = 999; // a Setting.ini value is cut to this

bool IsFlag(char c)
{
    return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0';
}

bool IsIntegerLetter(char c)
{
    return c == 'd' || c == 'i' || c == 'u' || c == 'x' || c == 'X' || c == 'o';
}

int ReadNumber(const QByteArray& text, qsizetype& i, bool& present)
{
    present = false;
    int number = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        number = std::min(kMaxField, number * 10 + (text[i] - '0'));
        present = true;
        ++i;
    }
    return number;
}

void AppendLiteral(std::string& out, const QByteArray& text, qsizetype from, qsizetype to)
{
    for (qsizetype i = from; i < to; ++i) {
        out += text[i];
        if (text[i] == '%')
            out += '%';
    }
}

std::string SafeTemplate(const QByteArray& text)
{
    std::string safe;
    bool converted = false;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] != '%') {
            safe += text[i++];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '%') {
            safe += "%%";
            i += 2;
            continue;
        }
        const qsizetype start = i;
        qsizetype at = i + 1;
        std::string conversion = "%";
        while (at < text.size() && IsFlag(text[at]))
            conversion += text[at++];
        bool present = false;
        const int width = ReadNumber(text, at, present);
        if (present)
            conversion += std::to_string(width);
        if (at < text.size() && text[at] == '.') {
            ++at;
            conversion += "." + std::to_string(ReadNumber(text, at, present));
        }
        if (at < text.size() && text[at] == 'h') {
            conversion += text[at++];
            if (at < text.size() && text[at] == 'h')
                conversion += text[at++];
        } else {
            while (at < text.size() && std::string("lLqjzt").find(text[at]) != std::string::npos)
                ++at; // a wider argument than our one int: dropped
        }
        if (at < text.size() && IsIntegerLetter(text[at]) && !converted) {
            safe += conversion + text[at];
            converted = true;
            i = at + 1;
            continue;
        }
        const qsizetype end = std::min(at + 1, text.size());
        AppendLiteral(safe, text, start, end);
        i = end;
    }
    return safe;
}

void CompareWithPrintf(const QByteArray& templateBytes, int32_t value)
{
    const std::string safe = SafeTemplate(templateBytes);
    std::string printed(4 * 1024 + safe.size() * 4, '\0');
    const int length = std::snprintf(printed.data(), printed.size(), safe.c_str(), value);
    FuzzAssert(length >= 0 && static_cast<size_t>(length) < printed.size());
    printed.resize(static_cast<size_t>(length));
    const QString ours = FormatOneInteger(QString::fromLatin1(safe.data(), qsizetype(safe.size())), value);
    FuzzAssert(ours == QString::fromLatin1(printed.data(), qsizetype(printed.size())));
}

QString Unescape(QString text)
{
    return text.replace(QLatin1String("\\n"), QLatin1String("\r\n")).replace(QLatin1String("\\t"), QLatin1String("\t"));
}

QString PlainRecipe(const PulseTrain& train, const AnalyzerSettings& settings)
{
    QString format = Unescape(settings.format);
    if (format.isEmpty())
        format = QStringLiteral("%d");
    const QString separator = Unescape(settings.spaceCharacter);
    QString text;
    bool high = train[0] != 0;
    for (int i = 1; i <= PulseTrain::kMaxPulses && train[i] != 0; ++i) {
        QString item = FormatOneInteger(format, train[i]);
        item.replace(QLatin1String("[INDEX]"), QString::number(i));
        item.replace(QLatin1String("[LEVEL]"), high ? QStringLiteral("H") : QStringLiteral("L"));
        text += item;
        if (i < PulseTrain::kMaxPulses && train[i + 1] != 0)
            text += separator;
        if (settings.columns != 0 && i % settings.columns == 0)
            text += QLatin1String("\r\n");
        high = !high;
    }
    return text.isEmpty() ? text : Unescape(settings.prefix) + text + Unescape(settings.suffix);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const int32_t value = in.I32();
    QByteArray templateBytes = in.Bytes(kMaxSetting, '\x01');
    templateBytes.replace('\0', ' '); // printf would stop at it; a QString would not

    for (int32_t v : {value, 0, -1, 1, 255, 65535, INT32_MIN, INT32_MAX})
        CompareWithPrintf(templateBytes, v);

    AnalyzerSettings settings;
    settings.format = QString::fromLatin1(templateBytes);
    settings.prefix = in.Utf8(kMaxSetting, '\x01');
    settings.suffix = in.Utf8(kMaxSetting, '\x01');
    settings.spaceCharacter = in.Utf8(kMaxSetting, '\x01');
    settings.columns = in.I32();
    PulseTrain train;
    train[0] = in.U8() & 1;
    for (int i = 1; i <= PulseTrain::kMaxPulses && in.Left() >= 4; ++i) {
        train[i] = in.I32();
        if (train[i] == 0)
            break;
    }
    FuzzAssert(FormatPulseText(train, settings) == PlainRecipe(train, settings));
    return 0;
}
