#pragma once

// Trains and in-memory files for the code format tests.

#include "analyzer/interop/CodeFiles.h"

#include <QByteArray>

#include <vector>

// A train from its start level and durations.
PulseTrain TrainOf(int32_t startLevel, const std::vector<int32_t>& durations);
// The durations of a train, up to its end.
std::vector<int32_t> DurationsOf(const PulseTrain& train);
// The durations other tools list: the leading space dropped.
std::vector<int32_t> MarkFirst(const PulseTrain& train);

// Reads a file held in memory; unnamed codes are named "file".
ReadResult ReadText(const QByteArray& text, std::optional<CodeFormat> format = std::nullopt, int maxCodes = 1024,
                    std::optional<QString> name = std::nullopt);
// The bytes of the codes in a format; empty with a test failure message on refusal.
QByteArray WriteText(CodeFormat format, const std::vector<NamedCode>& codes, int carrierHz = 38000);

// A file of one code in the format written by hand, not by the writers, so
// that the readers are checked against the formats themselves. Durations
// alternate starting with a mark; Pronto counts are carrier periods at 38 kHz.
QByteArray HandWritten(CodeFormat format, const std::vector<int64_t>& durations);

// A captured-looking NEC key press: address 0x04, command 0x08, even durations.
PulseTrain NecKeyTrain();
