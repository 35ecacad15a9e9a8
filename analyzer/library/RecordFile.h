#pragma once

#include <QString>

class CodeLibrary;
class QIODevice;

// Record.dat: no header, no count; per entry, in library order, the name in
// UTF-16LE, CR LF as UTF-16LE (0D 00 0A 00), then the 8192-byte memory image
// of its PulseTrain (2048 little-endian int32).

QString RecordFilePath(const QString& appDirectory);

// Replaces the library's entries with the file's records. A missing file
// leaves the library empty and returns false. At most CodeLibrary::kCapacity
// records are read; a short last train is zero-filled.
bool LoadRecords(const QString& path, CodeLibrary& library);
// The same from any readable stream (the loader and the fuzz target).
void ReadRecords(QIODevice& in, CodeLibrary& library);

// Writes the whole library atomically: a failed or interrupted save leaves
// the previous file whole. Returns whether the new file is in place.
bool SaveRecords(const QString& path, const CodeLibrary& library);
