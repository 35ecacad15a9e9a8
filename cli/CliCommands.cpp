#include "cli/CliCommands.h"

#include "analyzer/core/AnalyzerSettings.h"
#include "analyzer/decode/Annotation.h"
#include "analyzer/decode/CodeText.h"
#include "analyzer/decode/ProtocolIdentify.h"
#include "analyzer/decode/ProtocolTable.h"
#include "analyzer/files/CaptureFile.h"
#include "analyzer/settings/SettingsStore.h"

#include <QFileInfo>

#include <algorithm>

namespace {

QString ChannelLabel(int channel) { return QStringLiteral("CH%1").arg(channel + 1); }

struct LoadedFile {
    ChannelTrains channels{};
    std::vector<int> named; // channels the file has records for, ascending, once each
};

std::optional<LoadedFile> LoadFile(const QString& path, CliOutput& output)
{
    const QFileInfo info(path);
    QString problem;
    if (!info.exists())
        problem = QStringLiteral("no such file");
    else if (info.isDir())
        problem = QStringLiteral("is a directory");
    else if (!info.isFile())
        problem = QStringLiteral("is not a regular file");

    LoadedFile loaded;
    if (problem.isEmpty() && !LoadCaptureFile(path, loaded.channels, &loaded.named))
        problem = QStringLiteral("cannot be opened for reading");
    if (!problem.isEmpty()) {
        output.status = kExitFileError;
        output.err += QStringLiteral("wavix-cli: %1: %2\n").arg(path, problem);
        return std::nullopt;
    }
    std::sort(loaded.named.begin(), loaded.named.end());
    loaded.named.erase(std::unique(loaded.named.begin(), loaded.named.end()), loaded.named.end());
    if (loaded.named.empty())
        output.err += QStringLiteral("wavix-cli: %1: holds no channel record\n").arg(path);
    return loaded;
}

void Decode(const CliRequest& request, const LoadedFile& file, CliOutput& output)
{
    for (int channel : file.named) {
        const PulseTrain& train = file.channels[std::size_t(channel)];
        const int protocol = IdentifyProtocol(train);
        const ChannelAnnotation annotation = AnnotateChannel(train, protocol);
        const QString name = protocol >= 0 ? ProtocolName(ProtocolTable[protocol]) : QStringLiteral("none");
        const QString label = ChannelLabel(channel);
        output.out += label + QLatin1Char('\t') + name + QLatin1Char('\t') + annotation.codeLine + QLatin1Char('\n');
        if (!request.boxes)
            continue;
        for (const LabelBox& box : annotation.boxes) {
            output.out += QStringLiteral("%1\tbox\t%2\t%3\t%4\t%5\t%6\t%7\n")
                              .arg(label)
                              .arg(box.row)
                              .arg(box.firstPulse)
                              .arg(box.lastPulse)
                              .arg(box.startShiftUs)
                              .arg(box.endShiftUs)
                              .arg(box.text);
        }
    }
}

void Info(const LoadedFile& file, CliOutput& output)
{
    for (int channel : file.named) {
        const PulseTrain& train = file.channels[std::size_t(channel)];
        output.out += QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                          .arg(ChannelLabel(channel))
                          .arg(train.StartsHigh() ? QLatin1Char('H') : QLatin1Char('L'))
                          .arg(train[0])
                          .arg(train.PulseCount())
                          .arg(train.TotalDurationUs());
    }
}

void Text(const CliRequest& request, const LoadedFile& file, const QString& settingsPath, CliOutput& output)
{
    AnalyzerSettings settings;
    LoadOtherSettings(settingsPath, settings);
    if (request.prefix)
        settings.prefix = *request.prefix;
    if (request.suffix)
        settings.suffix = *request.suffix;
    if (request.separator)
        settings.spaceCharacter = *request.separator;
    if (request.format)
        settings.format = *request.format;
    if (request.columns)
        settings.columns = *request.columns;
    const QString text = FormatPulseText(file.channels[std::size_t(request.channel - 1)], settings);
    if (!text.isEmpty())
        output.out += text + QLatin1Char('\n');
}

} // namespace

CliOutput RunCliRequest(const CliRequest& request, const QString& settingsPath)
{
    CliOutput output;
    if (request.command == CliCommand::Help) {
        output.out = CliUsageText();
        return output;
    }
    const std::optional<LoadedFile> file = LoadFile(request.file, output);
    if (!file)
        return output;
    switch (request.command) {
    case CliCommand::Decode:
        Decode(request, *file, output);
        break;
    case CliCommand::Text:
        Text(request, *file, settingsPath, output);
        break;
    case CliCommand::Info:
        Info(*file, output);
        break;
    case CliCommand::Help:
        break;
    }
    return output;
}
