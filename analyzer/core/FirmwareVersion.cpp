#include "analyzer/core/FirmwareVersion.h"

#include <QRegularExpression>
#include <QStringList>

QString NormalizeVersion(const QString& text)
{
    // Leftmost match, each group greedy with backtracking: "1234.5.6.7"
    // finds "234.5.6.7". [0-9] rather than \d: only ASCII digits count.
    static const QRegularExpression pattern(
        QStringLiteral("([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return QString();
    return match.captured(1) + QLatin1Char('.') + match.captured(2) + QLatin1Char('.') + match.captured(3)
        + QLatin1Char('.') + match.captured(4);
}

int CompareVersions(const QString& a, const QString& b)
{
    const auto components = [](const QString& text) {
        const QString version = NormalizeVersion(text);
        QList<int> values;
        if (!version.isEmpty())
            for (const QString& part : version.split(QLatin1Char('.')))
                values.append(part.toInt()); // at most three digits: never overflows
        return values;
    };
    const QList<int> left = components(a);
    const QList<int> right = components(b);
    const qsizetype longer = std::max(left.size(), right.size());
    for (qsizetype i = 0; i < longer; ++i) {
        if (i >= left.size())
            return right[i] > 0 ? -1 : 0;
        if (i >= right.size())
            return left[i] > 0 ? +1 : 0;
        if (left[i] != right[i])
            return left[i] > right[i] ? +1 : -1;
    }
    return 0;
}
