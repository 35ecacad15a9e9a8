// A Record.dat as a user might be handed one: loaded, listed with a filter
// taken from the file itself, and every entry tested against the first.
#include "analyzer/library/CodeLibrary.h"
#include "analyzer/library/CodeTest.h"
#include "analyzer/library/LibraryListModel.h"
#include "analyzer/library/RecordFile.h"

#include <QBuffer>
#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CodeLibrary library;
    ReadRecords(buffer, library);
    if (library.Count() > CodeLibrary::kCapacity)
        __builtin_trap();

    LibraryListModel model(library);
    const QString filter = library.Count() > 0 ? library.Entry(0).name.left(8) : QString();
    model.Refresh(filter);
    std::vector<int> entries;
    for (const auto& row : model.Rows())
        entries.push_back(row.entry);
    if (library.Count() > 0)
        for (int margin : {1, 20, 50})
            FindMatchingRow(library, entries, library.Entry(0).train, margin);
    model.MoveDown({0, 1});
    model.DeleteRows({0, 2});
    return 0;
}
