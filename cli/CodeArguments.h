#pragma once

// What export, import and library share: their arguments and how results
// reach the terminal.

#include "analyzer/interop/CodeFiles.h"
#include "cli/CliCommands.h"

#include <QStringList>

#include <map>
#include <optional>

// Positional arguments and "--option value" / "--option=value" pairs.
struct CodeArguments {
    QStringList files;
    std::map<QString, QString> options;

    std::optional<QString> Option(const char* name) const;
};

// Splits `arguments`; an error naming an option that `known` lacks for
// `command`, or one without its value.
std::optional<QString> SplitCodeArguments(const QStringList& arguments, const QString& command,
                                          const QStringList& known, CodeArguments& out);

// The options, checked; each leaves its value unchanged when not given.
std::optional<QString> ChannelOption(const CodeArguments& arguments, int& channel);
std::optional<QString> CarrierOption(const CodeArguments& arguments, ExportOptions& options);
std::optional<QString> FormatOption(const CodeArguments& arguments, const char* option,
                                    std::optional<CodeFormat>& format);

// A usage error as the other commands print it.
CliOutput UsageError(const QString& message);
// A file error (status 1) or a format error (status 2).
CliOutput Failed(const CodeFileError& error);
// The codes on stdout, or written atomically into `outPath`.
CliOutput DeliverCodes(CodeFormat format, const std::vector<NamedCode>& codes, const ExportOptions& options,
                       const std::optional<QString>& outPath);

// The name of the protocol the analyzer recognises in a train, or "none".
QString RecognisedProtocolName(const PulseTrain& train);
