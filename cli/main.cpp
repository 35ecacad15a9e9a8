// wavix-cli: the analyzer's protocol recognition and code text for capture
// files (*.lgc), for scripts and terminals.
//
//   wavix-cli decode FILE.lgc [--boxes]
//   wavix-cli text FILE.lgc [--channel N] [--prefix T] [--suffix T]
//                           [--separator T] [--format T] [--columns N]
//   wavix-cli info FILE.lgc
//   wavix-cli export FILE.lgc --to FORMAT [--channel N] [--frequency HZ]
//                             [--name NAME] [--out FILE]
//   wavix-cli import CODEFILE --out FILE.lgc [--channel N] [--name NAME]
//                             [--from FORMAT]
//   wavix-cli --help
//
// Output (UTF-8, fields separated by one TAB, lines ended by LF, channels
// numbered 1-4 and listed in ascending order, each channel the file has a
// record for listed once with its last record's content):
//
//   decode   CH<n> TAB <protocol name | "none"> TAB <code line, may be empty>
//            With --boxes each channel line is followed by one line per box,
//            in drawing order:
//            CH<n> TAB "box" TAB <row 0|1|2> TAB <first pulse> TAB <last pulse>
//                  TAB <start shift us> TAB <end shift us> TAB <text>
//            Pulse k is the (k+1)-th duration of the channel; rows: 0 bits,
//            1 bytes/fields, 2 lead, stop, repeat.
//   info     CH<n> TAB <H|L start level> TAB <raw start entry> TAB <pulse count>
//                  TAB <total duration us>
//   text     The text of the analyzer's output box for one channel (default
//            channel 1), exactly, its line breaks being CR LF, followed by one
//            LF; nothing for an empty channel. Defaults come from the
//            analyzer's Setting.ini (DataFolder.h), or its built-in defaults
//            when there is none; the options override them.
//
//   export   The channel's code in FORMAT (pronto, lirc, mode2, flipper, raw,
//            csv) on stdout, or written atomically to --out.
//   import   A code file's first code (or the one --name names) into the
//            channel of the --out capture file, whose other channels stay;
//            prints the channel's decode line.
//
// Diagnostics go to stderr, prefixed "wavix-cli: ". A file without any whole
// channel record prints nothing and a note on stderr, with status 0.
// Exit status: 0 done, 1 missing or unreadable file, 2 bad arguments or a
// malformed code file (or a code the format cannot hold).

#include "analyzer/core/DataFolder.h"
#include "analyzer/settings/SettingsStore.h"
#include "cli/CliArguments.h"
#include "cli/CliCommands.h"
#include "cli/CodeCommands.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

void Write(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    CliOutput output;
    if (!arguments.isEmpty() && IsCodeCommand(arguments.first())) {
        output = RunCodeCommand(arguments);
    } else {
        const CliParseResult parsed = ParseCliArguments(arguments);
        if (!parsed.request) {
            Write(stderr, QStringLiteral("wavix-cli: %1\nTry 'wavix-cli --help'.\n").arg(parsed.error));
            return kExitUsage;
        }
        output = RunCliRequest(*parsed.request, SettingsFilePath(DataFolderPath(QCoreApplication::applicationDirPath())));
        if (parsed.request->command == CliCommand::Help)
            output.out += CodeCommandsUsageText();
    }
    Write(stdout, output.out);
    Write(stderr, output.err);
    std::fflush(stdout);
    return output.status;
}
