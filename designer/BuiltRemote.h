#pragma once

#include "analyzer/core/PulseTrain.h"
#include "designer/DesignRect.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

class QIODevice;

// A built remote is the program file followed by the design: one record
// with its caption line per button, then a 12-byte trailer ("V1.0", the
// offset of the first record, the body index). Every copy of the program
// reads the trailer of its own file at start-up; files written by one build
// are read by every later copy, so the layout never changes.
namespace built {

constexpr int kRecordBytes = 8212;
constexpr int kTrailerBytes = 12;
// Only ids 3001..4001 can send, so a file never yields more buttons.
constexpr int kMaxButtons = 1001;
// A caption box holds at most 32767 characters; escaped line breaks double them.
constexpr int kMaxCaptionUnits = 2 * 32767;
// All captions of one file together, so that a hostile file costs bounded memory.
constexpr qint64 kMaxCaptionBytes = 8 * 1024 * 1024;
// Coordinates a window can hold; a file's larger ones are clamped to them.
constexpr int kMaxCoordinate = 32767;

struct ButtonRecord {
    int keyType = 0;
    DesignRect rect; // window client coordinates
    PulseTrain code;
    QString caption; // may hold CR and LF
};

struct Design {
    qint32 programLength = 0; // offset of the first record
    qint32 bodyIndex = -1;    // as stored: any value, -1 for none
    std::vector<ButtonRecord> buttons;
};

// CR becomes "\r", LF "\n"; backslashes stay as they are.
QString EscapeCaption(const QString& caption);
// CR and LF are dropped, then "\r" and "\n" become CR and LF.
QString UnescapeCaption(const QString& line);

// The records with their caption lines, then the trailer, as appended to a
// program part of `programLength` bytes.
QByteArray EncodeDesign(const std::vector<ButtonRecord>& buttons, qint32 programLength, qint32 bodyIndex);

// The design at the end of `file` (open for reading, random access), or
// nothing when the trailer is missing, foreign or points outside the file.
// A truncated record, a caption line without end and whatever follows them
// end the design early; records of an unknown key kind are left out.
std::optional<Design> ReadDesign(QIODevice& file);

// Writes program part + design to `outPath`, atomically and executable
// (0755). The program part is the first `programLength` bytes of
// `programPath`, or all of it when `programLength` is 0. Fails, leaving any
// file at `outPath` as it was, when the output cannot be written completely,
// when the program cannot be read, or when `outPath` is the program itself.
bool WriteBuiltRemote(const QString& outPath, const QString& programPath, qint64 programLength,
                      const std::vector<ButtonRecord>& buttons, qint32 bodyIndex);

} // namespace built
