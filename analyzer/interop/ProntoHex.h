#pragma once

#include "analyzer/interop/CodeCollector.h"
#include "analyzer/interop/CodeFormat.h"
#include "analyzer/interop/CodeLineReader.h"

// Pronto Hex learned codes. A word is four hex digits: the format (0000
// modulated, 0100 unmodulated), the frequency word (the carrier period in
// units of 0.241246 us), the once and the repeat burst-pair counts, then the
// on and off times of each pair in carrier periods.
//
// A file holds one code per line (a long code may go on over the next lines);
// a line of other text names the code after it; '#' starts a comment.
// Reading gives the once part followed by one copy of the repeat part.
std::optional<FormatProblem> ReadProntoCodes(CodeLineReader& lines, CodeCollector& codes);

// One name line (when the name is not empty) and one code line per code, all
// in the once part, at the carrier of the options. A train that ends with a
// burst is closed by the closing silence.
std::optional<QString> WriteProntoCodes(const std::vector<NamedCode>& codes, const ExportOptions& options,
                                        QByteArray& out);

namespace pronto {
constexpr double kUnitUs = 0.241246;
// The frequency word nearest to a carrier; 0 when none fits in a word.
int FrequencyWord(int carrierHz);
// A line of at least one word, every word four hex digits.
bool IsHexWordLine(QStringView trimmedLine);
} // namespace pronto
