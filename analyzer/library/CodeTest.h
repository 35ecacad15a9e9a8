#pragma once

#include "analyzer/core/PulseTrain.h"

#include <QString>

#include <vector>

class CodeLibrary;
class QDateTime;

// Whether a capture is the stored code within `marginPercent`: the start
// levels are equal as whole values, and every stored duration e, up to the
// stored train's end, is within e * margin / 100 (integer division) of the
// captured one. Pulses the capture has beyond the stored end do not count, so
// a capture with repeat frames still matches.
bool EntryMatches(const PulseTrain& stored, const PulseTrain& capture, int marginPercent);

// The first of `entries` (the list's rows, top to bottom) whose code the
// capture matches, as a position in `entries`; -1 when none does.
int FindMatchingRow(const CodeLibrary& library, const std::vector<int>& entries, const PulseTrain& capture,
                    int marginPercent);

// "2024-05-01 13:45:07: Power" followed by CR LF.
QString CodeTestLogLine(const QDateTime& localTime, const QString& name);
