// Export and import of a full library (1023 entries, the most the library
// window lets a library hold) in each format: one real file for the formats
// that hold many codes; for mode2 and CSV, which hold one code a file, the
// 1023 codes formatted and read in memory (their cost without 1023 file
// creations, which the disk decides).

#include "analyzer/interop/CodeFiles.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// NEC key presses, every tenth a held key and every fiftieth a long air
// conditioner state: what a library of learned remotes holds.
std::vector<NamedCode> Library()
{
    std::vector<NamedCode> codes(1023);
    for (std::size_t n = 0; n < codes.size(); ++n) {
        NamedCode& code = codes[n];
        code.name = QStringLiteral("Remote %1 key %2").arg(n / 40).arg(n % 40);
        PulseTrain& train = code.train;
        train[0] = 1;
        int i = 1;
        auto put = [&](int32_t us) {
            if (i > PulseTrain::kMaxPulses)
                return;
            train[i] = us + int32_t((n * 7 + std::size_t(i)) % 40) * 2;
            ++i;
        };
        const int bits = n % 50 == 0 ? 88 : 32;
        put(9000);
        put(4500);
        for (int b = 0; b < bits; ++b) {
            put(560);
            put(((n >> (b % 10)) ^ std::size_t(b)) & 1U ? 1690 : 560);
        }
        put(560);
        if (n % 10 == 0)
            for (int r = 0; r < 3; ++r) {
                put(40000);
                put(9000);
                put(2250);
                put(560);
            }
    }
    return codes;
}

const std::vector<NamedCode>& TheLibrary()
{
    static const std::vector<NamedCode> codes = Library();
    return codes;
}

QString FileFor(const QTemporaryDir& dir, CodeFormat format)
{
    return dir.filePath(QStringLiteral("library") + CodeFormatSuffix(format));
}

void Export(benchmark::State& state, CodeFormat format)
{
    QTemporaryDir dir;
    const std::vector<NamedCode>& codes = TheLibrary();
    QByteArray bytes;
    for (auto _ : state) {
        if (HoldsManyCodes(format)) {
            if (WriteCodeFile(FileFor(dir, format), format, codes, ExportOptions()))
                state.SkipWithError("export refused");
        } else {
            for (const NamedCode& code : codes)
                if (FormatCodes(format, {code}, ExportOptions(), bytes))
                    state.SkipWithError("export refused");
        }
    }
}

void Import(benchmark::State& state, CodeFormat format)
{
    QTemporaryDir dir;
    const std::vector<NamedCode>& codes = TheLibrary();
    std::vector<QByteArray> texts;
    if (HoldsManyCodes(format)) {
        WriteCodeFile(FileFor(dir, format), format, codes, ExportOptions());
    } else {
        for (const NamedCode& code : codes) {
            texts.emplace_back();
            FormatCodes(format, {code}, ExportOptions(), texts.back());
        }
    }
    ReadRequest request;
    request.maxCodes = 1024;
    for (auto _ : state) {
        std::size_t read = 0;
        if (HoldsManyCodes(format)) {
            read = ReadCodeFile(FileFor(dir, format), request).codes.size();
        } else {
            for (QByteArray& text : texts) {
                QBuffer buffer(&text);
                buffer.open(QIODevice::ReadOnly);
                read += ReadCodeData(buffer, QStringLiteral("code"), QStringLiteral("code"), request).codes.size();
            }
        }
        if (read != codes.size())
            state.SkipWithError("import lost codes");
    }
}

} // namespace

BENCHMARK_CAPTURE(Export, pronto, CodeFormat::Pronto)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import, pronto, CodeFormat::Pronto)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, lirc, CodeFormat::Lirc)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import, lirc, CodeFormat::Lirc)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, flipper, CodeFormat::Flipper)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import, flipper, CodeFormat::Flipper)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, raw, CodeFormat::Raw)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import, raw, CodeFormat::Raw)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, mode2, CodeFormat::Mode2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import, mode2, CodeFormat::Mode2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, csv, CodeFormat::Csv)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import, csv, CodeFormat::Csv)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
