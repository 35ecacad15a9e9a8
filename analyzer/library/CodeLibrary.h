#pragma once

#include "analyzer/core/PulseTrain.h"

#include <QString>

#include <vector>

// One named code of the library.
struct CodeEntry {
    QString name;
    PulseTrain train;
};

// The named codes in library order. The window that shows them owns it, so
// it exists only while that window is open; Record.dat keeps it in between.
class CodeLibrary {
public:
    static constexpr int kCapacity = 1024;
    // Names longer than this are cut, on reading and in the edits alike,
    // so that a hostile file cannot make one name take unbounded memory.
    static constexpr int kMaxNameLength = 1024;

    // The whole capacity up front, as one block that is never moved: entries
    // are 8 KiB each, and untouched pages cost nothing.
    CodeLibrary() { entries.reserve(kCapacity); }

    int Count() const { return int(entries.size()); }
    bool IsFull() const { return Count() >= kCapacity; }
    const CodeEntry& Entry(int index) const { return entries[size_t(index)]; }
    CodeEntry& Entry(int index) { return entries[size_t(index)]; }

    // False, and nothing stored, once the library holds kCapacity entries.
    bool Append(const QString& name, const PulseTrain& train);
    // Entries after `index` move down one place.
    void RemoveAt(int index);
    void Swap(int a, int b);
    void Clear() { entries.clear(); }

private:
    std::vector<CodeEntry> entries;
};

// A name as the library stores it: carriage returns and line feeds would
// split its record in Record.dat, so they are dropped; at most kMaxNameLength.
QString CleanEntryName(const QString& typed);
