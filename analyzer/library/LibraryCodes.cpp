#include "analyzer/library/LibraryCodes.h"

#include "analyzer/library/CodeLibrary.h"

#include <algorithm>

std::vector<NamedCode> CodesOfEntries(const CodeLibrary& library, const std::vector<int>& entries)
{
    std::vector<NamedCode> codes;
    codes.reserve(entries.size());
    for (int entry : entries)
        if (entry >= 0 && entry < library.Count())
            codes.push_back(NamedCode{library.Entry(entry).name, library.Entry(entry).train});
    return codes;
}

std::vector<NamedCode> CodesOfLibrary(const CodeLibrary& library)
{
    std::vector<int> all(std::size_t(library.Count()));
    for (int i = 0; i < library.Count(); ++i)
        all[std::size_t(i)] = i;
    return CodesOfEntries(library, all);
}

int ImportRoom(const CodeLibrary& library)
{
    return std::max(0, CodeLibrary::kCapacity - 1 - library.Count());
}

LibraryImport AppendCodes(CodeLibrary& library, const std::vector<NamedCode>& codes, int codesInFile)
{
    LibraryImport import;
    for (const NamedCode& code : codes) {
        if (ImportRoom(library) == 0 || !library.Append(code.name, code.train))
            break;
        ++import.added;
    }
    import.leftOut = std::max(0, codesInFile - import.added);
    return import;
}

QString ImportReport(const LibraryImport& import, const QString& fileName)
{
    const QString codes = import.added == 1 ? QStringLiteral("1 code") : QStringLiteral("%1 codes").arg(import.added);
    if (import.leftOut == 0)
        return QStringLiteral("%1 imported from %2.").arg(codes, fileName);
    return QStringLiteral("%1 of %2 imported from %3; %4 left out: the library holds at most %5 entries, "
                          "and like Add an import keeps the last place free.")
        .arg(import.added)
        .arg(import.added + import.leftOut)
        .arg(fileName)
        .arg(import.leftOut)
        .arg(CodeLibrary::kCapacity);
}
