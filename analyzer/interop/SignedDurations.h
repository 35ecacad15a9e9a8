#pragma once

#include "analyzer/interop/CodeCollector.h"
#include "analyzer/interop/CodeFormat.h"
#include "analyzer/interop/CodeLineReader.h"

// Raw signed durations as analyzers and IRremote print them: "+9000 -4500
// +560 ...", + a burst, - a silence, separated by spaces or commas ("+ 560"
// with a space after the sign is read too). A code is a run of such lines;
// a line of other text names the next code, a blank line ends a code.
std::optional<FormatProblem> ReadSignedCodes(CodeLineReader& lines, CodeCollector& codes);

// A name line (when the name is not empty) and one line of durations per code.
std::optional<QString> WriteSignedCodes(const std::vector<NamedCode>& codes, QByteArray& out);

// One value of such a line: its level and its magnitude.
struct SignedDuration {
    bool mark = false;
    int64_t us = 0;
};
// Whether a line is a line of signed durations; its values when it is.
bool ReadSignedLine(QStringView trimmedLine, std::vector<SignedDuration>* values);
