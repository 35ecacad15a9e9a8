#pragma once

#include "analyzer/interop/CodeCollector.h"
#include "analyzer/interop/CodeFormat.h"
#include "analyzer/interop/CodeLineReader.h"

// CSV for spreadsheets: a header line "index,level,duration", then one row
// per duration: its number from 1, its level (H or L; 1/0 and high/low are
// read too) and its length in microseconds. Commas, semicolons or tabs
// separate the fields. The whole file is one code, named after the file.
std::optional<FormatProblem> ReadCsvCode(CodeLineReader& lines, CodeCollector& codes);

// Exactly one code.
std::optional<QString> WriteCsvCode(const std::vector<NamedCode>& codes, QByteArray& out);
