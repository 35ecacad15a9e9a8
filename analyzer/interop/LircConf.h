#pragma once

#include "analyzer/interop/CodeCollector.h"
#include "analyzer/interop/CodeFormat.h"
#include "analyzer/interop/CodeLineReader.h"

// lircd.conf remotes with raw codes: "begin remote" ... "end remote" blocks
// holding a "begin raw_codes" ... "end raw_codes" section in which each
// "name KEY" line is followed by the durations of that button, pulse first.
// Every remote of the file is read; the remotes' parameters are skipped, and
// the gap is not added to the codes: it is the silence between two sends.
// Decoded codes ("begin codes") are refused.
std::optional<FormatProblem> ReadLircCodes(CodeLineReader& lines, CodeCollector& codes);

// One remote named after the options with every code in its raw_codes
// section. A code's trailing space becomes the remote's gap (the longest one
// when several codes have one, the closing silence when none has); button
// names become single words, unique within the remote.
std::optional<QString> WriteLircCodes(const std::vector<NamedCode>& codes, const ExportOptions& options,
                                      QByteArray& out);
