#include "analyzer/interop/TextTokens.h"

std::vector<QStringView> SplitWords(QStringView line, QStringView extraSeparators)
{
    std::vector<QStringView> words;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        const bool separator = i == line.size() || line[i].isSpace() || extraSeparators.contains(line[i]);
        if (separator) {
            if (start >= 0)
                words.push_back(line.mid(start, i - start));
            start = -1;
        } else if (start < 0) {
            start = i;
        }
    }
    return words;
}
