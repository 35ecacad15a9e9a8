#pragma once

#include "analyzer/interop/CodeFormat.h"

#include <QIODevice>
#include <QString>

#include <optional>
#include <vector>

// Reading and writing whole code files in every format: the entry point for
// the analyzer's windows and wavix-cli.

struct CodeFileError {
    enum class Kind {
        File,   // missing, unreadable or unwritable file
        Format, // malformed file, or codes the format cannot hold
    };
    Kind kind = Kind::Format;
    QString text; // "FILE:N: message" when one line is at fault, else "FILE: message"
};

struct ReadRequest {
    std::optional<CodeFormat> format; // found from the content when not given
    int maxCodes = 1;                 // codes kept, in file order
    std::optional<QString> name;      // keep only the first code of this name
};

struct ReadResult {
    CodeFormat format = CodeFormat::Pronto;
    std::vector<NamedCode> codes; // the kept codes
    int codesInFile = 0;          // all codes, kept or not
    std::optional<CodeFileError> error;
};

// Only plain files are read (a pipe or device could feed lines for ever), of
// at most kMaxCodeFileBytes. Codes without a name of their own are named
// after the file.
ReadResult ReadCodeFile(const QString& path, const ReadRequest& request);
// The same over any device: `shownName` prefixes messages, `defaultName`
// names unnamed codes.
ReadResult ReadCodeData(QIODevice& device, const QString& shownName, const QString& defaultName,
                        const ReadRequest& request);

// The format a text is in, from its first lines; the device is read from its
// start and left there.
std::optional<CodeFormat> DetectCodeFormat(QIODevice& device);

// The bytes of a file holding the codes; an error naming the code at fault
// when the format cannot hold one.
std::optional<QString> FormatCodes(CodeFormat format, const std::vector<NamedCode>& codes,
                                   const ExportOptions& options, QByteArray& out);

// Writes atomically: on any failure the file keeps its previous content.
std::optional<CodeFileError> WriteCodeFile(const QString& path, CodeFormat format,
                                           const std::vector<NamedCode>& codes, const ExportOptions& options);

constexpr qint64 kMaxCodeFileBytes = 64 * 1024 * 1024;
