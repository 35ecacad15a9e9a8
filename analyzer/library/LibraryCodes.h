#pragma once

#include "analyzer/interop/NamedCode.h"

#include <QString>

#include <vector>

class CodeLibrary;

// The library's side of import and export in other tools' formats.

// The entries, in the order given, as codes to write.
std::vector<NamedCode> CodesOfEntries(const CodeLibrary& library, const std::vector<int>& entries);
std::vector<NamedCode> CodesOfLibrary(const CodeLibrary& library);

// How many more entries an import may add: like Add, it keeps the library's
// last place free, so a library it wrote holds at most 1023 entries.
int ImportRoom(const CodeLibrary& library);

struct LibraryImport {
    int added = 0;
    int leftOut = 0; // codes of the file that did not fit
};

// Appends the codes as new entries in file order, names kept, as far as the
// room goes. `codesInFile` counts the file's codes, kept or not.
LibraryImport AppendCodes(CodeLibrary& library, const std::vector<NamedCode>& codes, int codesInFile);

// "12 codes imported from remote.ir." and, when some did not fit, what the
// limit is.
QString ImportReport(const LibraryImport& import, const QString& fileName);
