#include "analyzer/library/CodeLibrary.h"

#include <utility>

bool CodeLibrary::Append(const QString& name, const PulseTrain& train)
{
    if (IsFull())
        return false;
    entries.push_back(CodeEntry{CleanEntryName(name), train});
    return true;
}

void CodeLibrary::RemoveAt(int index)
{
    if (index >= 0 && index < Count())
        entries.erase(entries.begin() + index);
}

void CodeLibrary::Swap(int a, int b)
{
    if (a >= 0 && b >= 0 && a < Count() && b < Count())
        std::swap(entries[size_t(a)], entries[size_t(b)]);
}

QString CleanEntryName(const QString& typed)
{
    QString name = typed;
    name.remove(QLatin1Char('\r'));
    name.remove(QLatin1Char('\n'));
    name.truncate(CodeLibrary::kMaxNameLength);
    return name;
}
