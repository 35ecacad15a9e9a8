#pragma once

// One code format's reader fed with anything: every code it accepts is
// written back in the same format and read again, and must come back as it
// went out within the format's limits. A violation aborts, so libFuzzer and
// the replay both report it.

#include "analyzer/interop/CodeFiles.h"
#include "analyzer/interop/FlipperIr.h"

#include <QBuffer>

#include <cstdlib>

inline void FuzzCheck(bool holds)
{
    if (!holds)
        std::abort();
}

inline void FuzzCodeFormat(CodeFormat format, const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    DetectCodeFormat(buffer);

    ReadRequest request;
    request.format = format;
    request.maxCodes = 1024;
    const ReadResult read = ReadCodeData(buffer, QStringLiteral("fuzz"), QStringLiteral("fuzz"), request);
    FuzzCheck(read.error.has_value() == read.codes.empty());
    for (const NamedCode& code : read.codes) {
        const int pulses = code.train.PulseCount();
        FuzzCheck(code.train[0] == 1 && pulses >= 1);
        for (int i = 1; i <= pulses; ++i)
            FuzzCheck(code.train[i] > 0);

        QByteArray written;
        if (FormatCodes(format, {code}, ExportOptions(), written)) {
            // A Flipper file holds fewer timings; a Pronto word at 38 kHz
            // holds less than a word at a lower carrier.
            FuzzCheck((format == CodeFormat::Flipper && pulses > flipper::kMaxTimings) || format == CodeFormat::Pronto);
            continue;
        }
        QBuffer again(&written);
        again.open(QIODevice::ReadOnly);
        const ReadResult back = ReadCodeData(again, QStringLiteral("again"), QStringLiteral("again"), request);
        FuzzCheck(!back.error && back.codes.size() == 1);
        const PulseTrain& train = back.codes[0].train;
        switch (format) {
        case CodeFormat::Pronto:
            // Rounded to carrier periods, so a trailing space just below the
            // longest capturable one may round above it and be dropped.
            FuzzCheck(train.PulseCount() == pulses || (pulses % 2 == 0 && train.PulseCount() == pulses - 1));
            break;
        case CodeFormat::Lirc:
            // A trailing space goes to the remote's gap.
            FuzzCheck(train.PulseCount() == pulses - (pulses % 2 == 0 ? 1 : 0));
            for (int i = 1; i <= train.PulseCount(); ++i)
                FuzzCheck(train[i] == code.train[i]);
            break;
        default:
            FuzzCheck(train == code.train);
            break;
        }
    }
}
