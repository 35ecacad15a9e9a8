#pragma once

#include "analyzer/interop/NamedCode.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The formats of other IR tools that codes are read from and written to.
enum class CodeFormat {
    Pronto,  // Pronto Hex, learned codes
    Lirc,    // lircd.conf with RAW_CODES
    Mode2,   // LIRC mode2 text: pulse N / space N
    Flipper, // Flipper Zero .ir signal file
    Raw,     // signed durations: +9000 -4500 ...
    Csv,     // index, level, duration
};

inline constexpr CodeFormat kAllCodeFormats[] = {CodeFormat::Pronto, CodeFormat::Lirc,  CodeFormat::Mode2,
                                                 CodeFormat::Flipper, CodeFormat::Raw, CodeFormat::Csv};

// The name on the command line ("pronto", "lirc", "mode2", "flipper", "raw", "csv").
QString CodeFormatName(CodeFormat format);
std::optional<CodeFormat> CodeFormatNamed(const QString& name);
// What a user reads in a menu or dialog, e.g. "Flipper Zero (*.ir)".
QString CodeFormatFilter(CodeFormat format);
// The usual file name ending, with its dot.
QString CodeFormatSuffix(CodeFormat format);
// Whether a file of this format holds several named codes.
bool HoldsManyCodes(CodeFormat format);

// Settings of an export.
struct ExportOptions {
    int carrierHz = interop::kDefaultCarrierHz;
    QString remoteName = QStringLiteral("wavix"); // the LIRC remote's name
};

// "Power" in quotes, or "code 3" for an unnamed one, for messages.
QString CodeLabel(const NamedCode& code, std::size_t index);

// The marks and spaces of the one code a single-code format holds, or the
// message refusing several codes or a damaged one.
std::optional<QString> SignalOfOnlyCode(const std::vector<NamedCode>& codes, CodeFormat format,
                                        std::vector<int32_t>& signal);

// A name fit for a one-line field: what reads as a space becomes one.
QString NameOnOneLine(const QString& name);
// A name as a line of its own that reads back as a name, not as data, a
// comment or a blank line: such a name gets a leading '_'. Empty for an
// empty name (no line is written).
QString NameLine(const QString& name, bool (*readsAsData)(QStringView trimmedLine));
