#include "analyzer/decode/CodeText.h"

#include <QLatin1String>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// Width and precision beyond this are pointless in a text box and would let
// a template such as "%99999d" allocate megabytes per value.
constexpr int kMaxFieldWidth = 1000;

// Both placeholders have the same length.
constexpr QLatin1String kIndexTag("[INDEX]");
constexpr QLatin1String kLevelTag("[LEVEL]");

struct IntegerConversion {
    bool leftAlign = false;
    bool plusSign = false;
    bool spaceSign = false;
    bool alternate = false;
    bool zeroPad = false;
    int width = 0;
    int precision = -1; // -1: none given
    int shortLength = 0; // 1 for "h", 2 for "hh": printf narrows the int
    char conversion = 'd';
};

bool IsIntegerConversion(QChar c)
{
    return c == u'd' || c == u'i' || c == u'u' || c == u'x' || c == u'X' || c == u'o';
}

// Reads decimal digits at `i`, saturating at kMaxFieldWidth.
int ReadFieldNumber(const QString& text, qsizetype& i)
{
    int number = 0;
    while (i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9') {
        number = std::min(kMaxFieldWidth, number * 10 + (text.at(i).unicode() - u'0'));
        ++i;
    }
    return number;
}

// Reads the flags of a conversion at `i` ("-+ #0", any order and number).
void ReadFlags(const QString& text, qsizetype& i, IntegerConversion& field)
{
    for (; i < text.size(); ++i) {
        const QChar flag = text.at(i);
        if (flag == u'-')
            field.leftAlign = true;
        else if (flag == u'+')
            field.plusSign = true;
        else if (flag == u' ')
            field.spaceSign = true;
        else if (flag == u'#')
            field.alternate = true;
        else if (flag == u'0')
            field.zeroPad = true;
        else
            return;
    }
}

// Reads a length modifier at `i`: "h" and "hh" narrow the value as printf
// would; wider lengths would read a wider argument than the one int we have,
// so they are accepted and ignored.
void ReadLength(const QString& text, qsizetype& i, IntegerConversion& field)
{
    if (i < text.size() && text.at(i) == u'h') {
        field.shortLength = 1;
        ++i;
        if (i < text.size() && text.at(i) == u'h') {
            field.shortLength = 2;
            ++i;
        }
        return;
    }
    while (i < text.size() && QStringView(u"lLqjzt").contains(text.at(i)))
        ++i;
}

// Reads everything between a '%' and its conversion letter, leaving `i` on
// the letter (or at the end of the text).
IntegerConversion ReadConversionSpec(const QString& text, qsizetype& i)
{
    IntegerConversion field;
    ReadFlags(text, i, field);
    field.width = ReadFieldNumber(text, i);
    if (i < text.size() && text.at(i) == u'.') {
        ++i;
        field.precision = ReadFieldNumber(text, i);
    }
    ReadLength(text, i, field);
    return field;
}

// A user-typed template split once into the literal text around its first
// integer conversion, so that formatting a value is a few appends.
class IntegerTemplate {
public:
    explicit IntegerTemplate(const QString& text)
    {
        QString* literal = &before;
        qsizetype i = 0;
        while (i < text.size()) {
            const QChar c = text.at(i);
            if (c != u'%') {
                literal->append(c);
                ++i;
                continue;
            }
            if (i + 1 < text.size() && text.at(i + 1) == u'%') {
                literal->append(u'%');
                i += 2;
                continue;
            }
            const qsizetype specStart = i;
            qsizetype letter = i + 1;
            IntegerConversion field = ReadConversionSpec(text, letter);
            if (letter < text.size() && IsIntegerConversion(text.at(letter)) && !conversion) {
                field.conversion = static_cast<char>(text.at(letter).unicode());
                conversion = field;
                literal = &after;
                i = letter + 1;
                continue;
            }
            // Anything else ("%s", "%n", a second conversion, a lone "%")
            // is shown as typed.
            const qsizetype specEnd = std::min(letter + 1, text.size());
            literal->append(QStringView(text).mid(specStart, specEnd - specStart));
            i = specEnd;
        }
    }

    void Append(QString& out, int32_t value) const
    {
        out.append(before);
        AppendNumber(out, value);
        out.append(after);
    }

    const QString& Before() const { return before; }
    const QString& After() const { return after; }

    void AppendNumber(QString& out, int32_t value) const
    {
        if (conversion)
            AppendNumber(out, *conversion, value);
    }

    // Whether the formatted number can take part in a "[INDEX]" or "[LEVEL]":
    // only upper-case hexadecimal shares letters with them ("D", "E", "X"),
    // and only precision 0 can print nothing and join the text around it.
    bool NumberMayFormPlaceholder() const
    {
        return conversion && (conversion->conversion == 'X' || conversion->precision == 0);
    }

private:
    static void AppendNumber(QString& out, const IntegerConversion& conversionField, int32_t value)
    {
        const bool isSigned = conversionField.conversion == 'd' || conversionField.conversion == 'i';
        bool negative = false;
        uint32_t magnitude = 0;
        if (isSigned) {
            int32_t v = value;
            if (conversionField.shortLength == 1)
                v = static_cast<int16_t>(v);
            else if (conversionField.shortLength == 2)
                v = static_cast<int8_t>(v);
            negative = v < 0;
            magnitude = negative ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
        } else {
            magnitude = static_cast<uint32_t>(value);
            if (conversionField.shortLength == 1)
                magnitude = static_cast<uint16_t>(magnitude);
            else if (conversionField.shortLength == 2)
                magnitude = static_cast<uint8_t>(magnitude);
        }

        const uint32_t base = conversionField.conversion == 'o' ? 8 : (conversionField.conversion == 'x' || conversionField.conversion == 'X') ? 16 : 10;
        const char* digitSet = conversionField.conversion == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
        char reversed[16];
        int digitCount = 0;
        // Precision 0 with the value 0 prints no digits at all.
        for (uint32_t rest = magnitude; rest != 0 || (digitCount == 0 && conversionField.precision != 0); rest /= base)
            reversed[digitCount++] = digitSet[rest % base];

        int zeros = std::max(0, conversionField.precision - digitCount);
        if (conversionField.conversion == 'o' && conversionField.alternate && zeros == 0 && (digitCount == 0 || reversed[digitCount - 1] != '0'))
            zeros = 1;

        char sign = 0;
        if (isSigned) {
            if (negative)
                sign = '-';
            else if (conversionField.plusSign)
                sign = '+';
            else if (conversionField.spaceSign)
                sign = ' ';
        }
        const char* hexPrefix = nullptr;
        if (conversionField.alternate && magnitude != 0 && base == 16)
            hexPrefix = conversionField.conversion == 'X' ? "0X" : "0x";

        const int length = (sign ? 1 : 0) + (hexPrefix ? 2 : 0) + zeros + digitCount;
        int padding = std::max(0, conversionField.width - length);
        if (!conversionField.leftAlign && conversionField.zeroPad && conversionField.precision < 0) {
            zeros += padding;
            padding = 0;
        }

        // sign + prefix + zeros + digits + padding, each part bounded above.
        char buffer[1 + 2 + 2 * kMaxFieldWidth + 16 + kMaxFieldWidth];
        int n = 0;
        if (!conversionField.leftAlign) {
            std::fill_n(buffer + n, padding, ' ');
            n += padding;
        }
        if (sign)
            buffer[n++] = sign;
        if (hexPrefix) {
            buffer[n++] = hexPrefix[0];
            buffer[n++] = hexPrefix[1];
        }
        std::fill_n(buffer + n, zeros, '0');
        n += zeros;
        for (int d = digitCount - 1; d >= 0; --d)
            buffer[n++] = reversed[d];
        if (conversionField.leftAlign) {
            std::fill_n(buffer + n, padding, ' ');
            n += padding;
        }
        out.append(QLatin1String(buffer, n));
    }

    QString before;
    QString after;
    std::optional<IntegerConversion> conversion;
};

// A value's position, 1..2047, in decimal.
void AppendIndex(QString& out, int index)
{
    char digits[12];
    int start = sizeof digits;
    unsigned rest = static_cast<unsigned>(index);
    do {
        digits[--start] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    out.append(QLatin1String(digits + start, static_cast<qsizetype>(sizeof digits) - start));
}

QString Unescape(const QString& text)
{
    QString copy = text;
    copy.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
    copy.replace(QLatin1String("\\t"), QLatin1String("\t"));
    return copy;
}

void AppendLevel(QString& out, bool high) { out.append(high ? u'H' : u'L'); }

enum class Placeholder { Index, Level };

// The one scanner of "[INDEX]" and "[LEVEL]": calls literal(run) for the text
// between them and placeholder(which) for each, in order.
template <typename Literal, typename OnPlaceholder>
void ScanPlaceholders(QStringView text, Literal literal, OnPlaceholder placeholder)
{
    qsizetype copied = 0;
    for (qsizetype at = text.indexOf(u'['); at >= 0;) {
        const QStringView rest = text.mid(at);
        const bool isIndex = rest.startsWith(kIndexTag);
        if (isIndex || rest.startsWith(kLevelTag)) {
            if (at > copied)
                literal(text.mid(copied, at - copied));
            placeholder(isIndex ? Placeholder::Index : Placeholder::Level);
            copied = at + kIndexTag.size();
            at = text.indexOf(u'[', copied);
        } else {
            at = text.indexOf(u'[', at + 1);
        }
    }
    if (copied < text.size())
        literal(text.mid(copied));
}

// Replaces "[INDEX]" and "[LEVEL]" while copying the item. One pass gives the
// same text as replacing all of one and then all of the other, because the
// two placeholders cannot overlap and a number never forms either of them.
void AppendWithPlaceholders(QString& out, const QString& item, int index, bool high)
{
    ScanPlaceholders(
        item, [&out](QStringView run) { out.append(run); },
        [&](Placeholder which) {
            if (which == Placeholder::Index)
                AppendIndex(out, index);
            else
                AppendLevel(out, high);
        });
}

// Literal text cut at its placeholders, so that a template whose number
// cannot form a placeholder is resolved once instead of once per value.
struct TextPiece {
    enum Kind { Literal, Index, Level } kind = Literal;
    QString text;
};

std::vector<TextPiece> SplitAtPlaceholders(const QString& literal)
{
    std::vector<TextPiece> pieces;
    ScanPlaceholders(
        literal, [&pieces](QStringView run) { pieces.push_back({TextPiece::Literal, run.toString()}); },
        [&pieces](Placeholder which) {
            pieces.push_back({which == Placeholder::Index ? TextPiece::Index : TextPiece::Level, QString()});
        });
    return pieces;
}

void AppendPieces(QString& out, const std::vector<TextPiece>& pieces, int index, bool high)
{
    for (const TextPiece& piece : pieces) {
        if (piece.kind == TextPiece::Literal)
            out.append(piece.text);
        else if (piece.kind == TextPiece::Index)
            AppendIndex(out, index);
        else
            AppendLevel(out, high);
    }
}

} // namespace

QString FormatOneInteger(const QString& templateText, int32_t value)
{
    QString text;
    IntegerTemplate(templateText).Append(text, value);
    return text;
}

QString FormatPulseText(const PulseTrain& train, const AnalyzerSettings& settings)
{
    const QString prefix = Unescape(settings.prefix);
    const QString suffix = Unescape(settings.suffix);
    const QString separator = Unescape(settings.spaceCharacter);
    QString templateText = Unescape(settings.format);
    if (templateText.isEmpty())
        templateText = QStringLiteral("%d");
    const IntegerTemplate parsed(templateText);
    // The number itself never holds a "[", so without one in the template
    // no item can hold a placeholder.
    const bool hasPlaceholders = templateText.contains(u'[');

    const bool resolvePerValue = hasPlaceholders && parsed.NumberMayFormPlaceholder();
    std::vector<TextPiece> beforePieces;
    std::vector<TextPiece> afterPieces;
    if (hasPlaceholders && !resolvePerValue) {
        beforePieces = SplitAtPlaceholders(parsed.Before());
        afterPieces = SplitAtPlaceholders(parsed.After());
    }

    QString text;
    QString item;
    bool high = train.StartsHigh();
    for (int i = 1; i <= PulseTrain::kMaxPulses && train[i] != 0; ++i) {
        if (!hasPlaceholders) {
            parsed.Append(text, train[i]);
        } else if (!resolvePerValue) {
            AppendPieces(text, beforePieces, i, high);
            parsed.AppendNumber(text, train[i]);
            AppendPieces(text, afterPieces, i, high);
        } else {
            item.clear();
            parsed.Append(item, train[i]);
            AppendWithPlaceholders(text, item, i, high);
        }
        if (i + 1 <= PulseTrain::kMaxPulses && train[i + 1] != 0)
            text.append(separator);
        if (settings.columns != 0 && i % settings.columns == 0)
            text.append(QLatin1String("\r\n"));
        high = !high;
    }
    if (text.isEmpty())
        return text;
    return prefix + text + suffix;
}
