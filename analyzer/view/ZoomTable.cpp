#include "analyzer/view/ZoomTable.h"

#include <algorithm>

QStringList ZoomTexts()
{
    QStringList texts;
    for (const ZoomEntry& entry : kZoomTable)
        texts << QString::fromLatin1(entry.text);
    return texts;
}

int ZoomIndexOfText(const QString& text)
{
    for (int i = 0; i < int(kZoomTable.size()); ++i) {
        if (text == QLatin1String(kZoomTable[size_t(i)].text))
            return i;
    }
    return -1;
}

int SteppedZoomIndex(int currentIndex, int delta)
{
    const int last = int(kZoomTable.size()) - 1;
    const int next = delta > 0 ? currentIndex + 1 : currentIndex - 1;
    return std::clamp(next, 0, last);
}
