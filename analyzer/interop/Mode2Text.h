#pragma once

#include "analyzer/interop/CodeCollector.h"
#include "analyzer/interop/CodeFormat.h"
#include "analyzer/interop/CodeLineReader.h"

// LIRC mode2 text: one duration per line, "pulse N" or "space N" (a
// "timeout N" line reads as a space). The whole file is one code, named
// after the file.
std::optional<FormatProblem> ReadMode2Code(CodeLineReader& lines, CodeCollector& codes);

// Exactly one code.
std::optional<QString> WriteMode2Code(const std::vector<NamedCode>& codes, QByteArray& out);
