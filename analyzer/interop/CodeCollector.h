#pragma once

#include "analyzer/interop/CodeLineReader.h"
#include "analyzer/interop/NamedCode.h"
#include "analyzer/interop/TrainBuilder.h"

#include <QString>

#include <optional>
#include <vector>

// Receives the codes a reader finds, in file order. Keeps the first
// `maxKept`, or only the first code named `wantedName`, and counts them all,
// so a file of 100 000 codes is read in bounded memory.
class CodeCollector {
public:
    CodeCollector(int maxKept, std::optional<QString> wantedName, QString defaultName);

    // A code without a name of its own gets the default name (the file's).
    void Add(const QString& name, const PulseTrain& train);
    // Adds the builder's train; the builder's refusal as the problem of `line`.
    std::optional<FormatProblem> AddBuilt(const QString& name, TrainBuilder& builder, int line);

    int codesInFile() const { return codesInFile_; }
    std::vector<NamedCode>& kept() { return kept_; }
    const QString& defaultName() const { return defaultName_; }

private:
    int maxKept_;
    std::optional<QString> wantedName_;
    QString defaultName_;
    int codesInFile_ = 0;
    std::vector<NamedCode> kept_;
};

// A name read from a file: trimmed, and refused when longer than the limit.
std::optional<QString> CheckName(const QString& name);
