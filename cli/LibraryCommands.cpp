#include "cli/LibraryCommands.h"

#include "analyzer/interop/ReadableFile.h"
#include "analyzer/library/CodeLibrary.h"
#include "analyzer/library/LibraryCodes.h"
#include "analyzer/library/RecordFile.h"
#include "cli/CodeArguments.h"

#include <QFileInfo>

namespace {

// Loads an existing Record.dat; a missing one is an error unless `mayBeNew`
// (an import creates it, as the library window's first addition does).
std::optional<CliOutput> Load(const QString& path, bool mayBeNew, CodeLibrary& library)
{
    if (mayBeNew && !QFileInfo::exists(path))
        return std::nullopt;
    if (const std::optional<QString> problem = UnreadableFileProblem(path))
        return Failed(CodeFileError{CodeFileError::Kind::File, QStringLiteral("%1: %2").arg(path, *problem)});
    if (!LoadRecords(path, library))
        return Failed(CodeFileError{CodeFileError::Kind::File, QStringLiteral("%1: cannot be opened for reading").arg(path)});
    return std::nullopt;
}

CliOutput List(const QString& path)
{
    CodeLibrary library;
    if (std::optional<CliOutput> failed = Load(path, false, library))
        return *failed;
    CliOutput output;
    for (int i = 0; i < library.Count(); ++i) {
        const CodeEntry& entry = library.Entry(i);
        output.out += QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                          .arg(i + 1)
                          .arg(NameOnOneLine(entry.name), RecognisedProtocolName(entry.train))
                          .arg(entry.train.PulseCount())
                          .arg(entry.train.TotalDurationUs());
    }
    return output;
}

CliOutput Export(const QString& path, const CodeArguments& arguments)
{
    ExportOptions options;
    std::optional<CodeFormat> format;
    if (auto error = CarrierOption(arguments, options))
        return UsageError(*error);
    if (auto error = FormatOption(arguments, "to", format))
        return UsageError(*error);
    if (!format || !HoldsManyCodes(*format))
        return UsageError(QStringLiteral("--to needs one of flipper, lirc, pronto, raw"));
    CodeLibrary library;
    if (std::optional<CliOutput> failed = Load(path, false, library))
        return *failed;
    if (library.Count() == 0)
        return Failed(CodeFileError{CodeFileError::Kind::Format, QStringLiteral("%1: the library is empty").arg(path)});
    const std::optional<QString> out = arguments.Option("out");
    if (out)
        options.remoteName = QFileInfo(*out).baseName();
    return DeliverCodes(*format, CodesOfLibrary(library), options, out);
}

CliOutput Import(const QString& path, const QString& codePath, const CodeArguments& arguments)
{
    ReadRequest request;
    if (auto error = FormatOption(arguments, "from", request.format))
        return UsageError(*error);
    CodeLibrary library;
    if (std::optional<CliOutput> failed = Load(path, true, library))
        return *failed;
    if (ImportRoom(library) == 0)
        return Failed(CodeFileError{CodeFileError::Kind::Format,
                                    QStringLiteral("%1: the library is full: it holds at most %2 entries, and like Add "
                                                   "an import keeps the last place free")
                                        .arg(path)
                                        .arg(CodeLibrary::kCapacity)});
    request.maxCodes = ImportRoom(library);
    const ReadResult read = ReadCodeFile(codePath, request);
    if (read.error)
        return Failed(*read.error);
    const LibraryImport import = AppendCodes(library, read.codes, read.codesInFile);
    if (!SaveRecords(path, library))
        return Failed(CodeFileError{CodeFileError::Kind::File, QStringLiteral("%1: cannot be written").arg(path)});
    CliOutput output;
    output.out = ImportReport(import, codePath) + QLatin1Char('\n');
    return output;
}

} // namespace

CliOutput RunLibraryCommand(const QStringList& arguments)
{
    const QString action = arguments.value(0);
    CodeArguments parsed;
    QStringList known;
    int files = 1;
    if (action == QLatin1String("export")) {
        known = {"--to", "--frequency", "--out"};
    } else if (action == QLatin1String("import")) {
        known = {"--from"};
        files = 2;
    } else if (action != QLatin1String("list")) {
        return UsageError(action.isEmpty() ? QStringLiteral("library needs list, export or import")
                                           : QStringLiteral("unknown library command \"%1\"").arg(action));
    }
    if (auto error = SplitCodeArguments(arguments.mid(1), QStringLiteral("library ") + action, known, parsed))
        return UsageError(*error);
    if (parsed.files.size() != files)
        return UsageError(files == 2 ? QStringLiteral("library import needs Record.dat and a code file")
                                     : QStringLiteral("library %1 needs one Record.dat").arg(action));
    if (action == QLatin1String("list"))
        return List(parsed.files[0]);
    if (action == QLatin1String("export"))
        return Export(parsed.files[0], parsed);
    return Import(parsed.files[0], parsed.files[1], parsed);
}
