#include "analyzer/library/Wildcard.h"

bool MatchWildcard(QStringView pattern, QStringView name)
{
    qsizetype p = 0;
    qsizetype n = 0;
    QChar previous = QLatin1Char(' ');
    for (;;) {
        if (n == name.size()) {
            const QStringView rest = pattern.mid(p);
            return rest.isEmpty() || rest == QLatin1String("*");
        }
        if (p == pattern.size())
            return true;

        const QChar c = pattern[p];
        if (c == QLatin1Char('*')) {
            if (p == pattern.size() - 1)
                return true;
            ++p;
            previous = c;
        } else if (c == QLatin1Char('?')) {
            ++p;
            ++n;
            previous = c;
        } else {
            qsizetype runEnd = p;
            while (runEnd < pattern.size() && pattern[runEnd] != QLatin1Char('*') && pattern[runEnd] != QLatin1Char('?'))
                ++runEnd;
            if (name.mid(n).startsWith(pattern.mid(p, runEnd - p), Qt::CaseInsensitive)) {
                // Character by character the rest of the run would match
                // here anyway, so the whole run is stepped past at once.
                n += runEnd - p;
                p = runEnd;
                previous = pattern[p - 1];
            } else if (previous == QLatin1Char('*')) {
                ++n;
            } else {
                return false;
            }
        }
    }
}
