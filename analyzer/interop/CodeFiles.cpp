#include "analyzer/interop/CodeFiles.h"
#include "analyzer/core/AtomicFile.h"

#include "analyzer/interop/CodeCollector.h"
#include "analyzer/interop/CodeLineReader.h"
#include "analyzer/interop/CsvDurations.h"
#include "analyzer/interop/FlipperIr.h"
#include "analyzer/interop/LircConf.h"
#include "analyzer/interop/Mode2Text.h"
#include "analyzer/interop/ProntoHex.h"
#include "analyzer/interop/ReadableFile.h"
#include "analyzer/interop/SignedDurations.h"
#include "analyzer/interop/TextTokens.h"
#include "analyzer/interop/TrainBuilder.h"

#include <QFile>
#include <QFileInfo>

namespace {

CodeFileError FileError(const QString& shown, const QString& message)
{
    return CodeFileError{CodeFileError::Kind::File, QStringLiteral("%1: %2").arg(shown, message)};
}

CodeFileError FormatError(const QString& shown, const FormatProblem& problem)
{
    if (problem.line > 0)
        return CodeFileError{CodeFileError::Kind::Format, QStringLiteral("%1:%2: %3").arg(shown).arg(problem.line).arg(problem.message)};
    return CodeFileError{CodeFileError::Kind::Format, QStringLiteral("%1: %2").arg(shown, problem.message)};
}

bool IsCsvLine(QStringView trimmed)
{
    const std::vector<QStringView> fields = SplitWords(trimmed, u",;");
    if (fields.empty())
        return false;
    if (fields[0].compare(QLatin1String("index"), Qt::CaseInsensitive) == 0
        || fields[0].compare(QLatin1String("\"index\""), Qt::CaseInsensitive) == 0)
        return true;
    const bool separated = trimmed.contains(QLatin1Char(',')) || trimmed.contains(QLatin1Char(';'))
                           || trimmed.contains(QLatin1Char('\t'));
    return separated && fields.size() == 3 && ParseDecimal(fields[0]) && ParseDecimal(fields[2], true);
}

std::optional<CodeFormat> FormatOfLine(const QString& trimmed)
{
    if (trimmed.startsWith(QLatin1String("Filetype:")))
        return CodeFormat::Flipper;
    const std::vector<QStringView> words = SplitWords(trimmed);
    if (words.size() >= 2 && words[0] == QLatin1String("begin") && words[1] == QLatin1String("remote"))
        return CodeFormat::Lirc;
    if (words[0] == QLatin1String("pulse") || words[0] == QLatin1String("space") || words[0] == QLatin1String("timeout"))
        return CodeFormat::Mode2;
    if (words.size() >= 4 && pronto::IsHexWordLine(trimmed))
        return CodeFormat::Pronto;
    if (ReadSignedLine(trimmed, nullptr))
        return CodeFormat::Raw;
    if (IsCsvLine(trimmed))
        return CodeFormat::Csv;
    return std::nullopt;
}

std::optional<FormatProblem> ReadCodes(CodeFormat format, CodeLineReader& lines, CodeCollector& codes)
{
    switch (format) {
    case CodeFormat::Pronto:
        return ReadProntoCodes(lines, codes);
    case CodeFormat::Lirc:
        return ReadLircCodes(lines, codes);
    case CodeFormat::Mode2:
        return ReadMode2Code(lines, codes);
    case CodeFormat::Flipper:
        return ReadFlipperCodes(lines, codes);
    case CodeFormat::Raw:
        return ReadSignedCodes(lines, codes);
    case CodeFormat::Csv:
        return ReadCsvCode(lines, codes);
    }
    return FormatProblem{0, QStringLiteral("unknown format")};
}

} // namespace

std::optional<CodeFormat> DetectCodeFormat(QIODevice& device)
{
    constexpr int kLinesLookedAt = 64;
    device.seek(0);
    CodeLineReader lines(device);
    QString trimmed;
    std::optional<CodeFormat> found;
    // Past comments and names (a Pronto or signed-durations file may start with one).
    for (int looked = 0; !found && looked < kLinesLookedAt && lines.NextContent(trimmed); ++looked)
        found = FormatOfLine(trimmed);
    device.seek(0);
    return found;
}

ReadResult ReadCodeData(QIODevice& device, const QString& shownName, const QString& defaultName,
                        const ReadRequest& request)
{
    ReadResult result;
    const std::optional<CodeFormat> format = request.format ? request.format : DetectCodeFormat(device);
    if (!format) {
        result.error = FormatError(shownName, FormatProblem{0, QStringLiteral("not a code file of a known format "
                                                                              "(Pronto Hex, lircd.conf, mode2, Flipper .ir, "
                                                                              "signed durations, CSV)")});
        return result;
    }
    result.format = *format;
    device.seek(0);
    CodeLineReader lines(device);
    CodeCollector codes(request.maxCodes, request.name, defaultName);
    if (auto problem = ReadCodes(*format, lines, codes)) {
        result.error = FormatError(shownName, *problem);
        return result;
    }
    result.codesInFile = codes.codesInFile();
    result.codes = std::move(codes.kept());
    if (request.name && result.codes.empty())
        result.error = FormatError(shownName, FormatProblem{0, QStringLiteral("no code named \"%1\"").arg(*request.name)});
    return result;
}

ReadResult ReadCodeFile(const QString& path, const ReadRequest& request)
{
    ReadResult result;
    const QFileInfo info(path);
    if (const std::optional<QString> problem = UnreadableFileProblem(path))
        result.error = FileError(path, *problem);
    else if (info.size() > kMaxCodeFileBytes)
        result.error = FormatError(path, FormatProblem{0, QStringLiteral("larger than %1 MiB").arg(kMaxCodeFileBytes >> 20)});
    if (result.error)
        return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = FileError(path, QStringLiteral("cannot be opened for reading"));
        return result;
    }
    return ReadCodeData(file, path, info.baseName(), request);
}

std::optional<QString> FormatCodes(CodeFormat format, const std::vector<NamedCode>& codes,
                                   const ExportOptions& options, QByteArray& out)
{
    if (codes.empty())
        return QStringLiteral("no code to write");
    if (options.carrierHz < interop::kMinCarrierHz || options.carrierHz > interop::kMaxCarrierHz)
        return QStringLiteral("a carrier of %1 Hz is outside %2 to %3 Hz")
            .arg(options.carrierHz)
            .arg(interop::kMinCarrierHz)
            .arg(interop::kMaxCarrierHz);
    switch (format) {
    case CodeFormat::Pronto:
        return WriteProntoCodes(codes, options, out);
    case CodeFormat::Lirc:
        return WriteLircCodes(codes, options, out);
    case CodeFormat::Mode2:
        return WriteMode2Code(codes, out);
    case CodeFormat::Flipper:
        return WriteFlipperCodes(codes, options, out);
    case CodeFormat::Raw:
        return WriteSignedCodes(codes, out);
    case CodeFormat::Csv:
        return WriteCsvCode(codes, out);
    }
    return QStringLiteral("unknown format");
}

std::optional<CodeFileError> WriteCodeFile(const QString& path, CodeFormat format,
                                           const std::vector<NamedCode>& codes, const ExportOptions& options)
{
    QByteArray bytes;
    if (auto error = FormatCodes(format, codes, options, bytes))
        return CodeFileError{CodeFileError::Kind::Format, QStringLiteral("%1: %2").arg(path, *error)};
    const AtomicWriteResult written = WriteFileAtomically(path, bytes);
    if (!written.ok)
        return FileError(path, QStringLiteral("cannot be written: %1").arg(written.errorText));
    return std::nullopt;
}
