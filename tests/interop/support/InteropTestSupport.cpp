#include "tests/interop/support/InteropTestSupport.h"

#include <QBuffer>
#include <QTest>

PulseTrain TrainOf(int32_t startLevel, const std::vector<int32_t>& durations)
{
    PulseTrain train;
    train[0] = startLevel;
    for (std::size_t i = 0; i < durations.size() && i < std::size_t(PulseTrain::kMaxPulses); ++i)
        train[int(i) + 1] = durations[i];
    return train;
}

std::vector<int32_t> DurationsOf(const PulseTrain& train)
{
    std::vector<int32_t> durations;
    for (int i = 1; i <= train.PulseCount(); ++i)
        durations.push_back(train[i]);
    return durations;
}

std::vector<int32_t> MarkFirst(const PulseTrain& train)
{
    std::vector<int32_t> durations = DurationsOf(train);
    if (!train.StartsHigh() && !durations.empty())
        durations.erase(durations.begin());
    return durations;
}

ReadResult ReadText(const QByteArray& text, std::optional<CodeFormat> format, int maxCodes,
                    std::optional<QString> name)
{
    QByteArray copy = text;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    ReadRequest request;
    request.format = format;
    request.maxCodes = maxCodes;
    request.name = std::move(name);
    return ReadCodeData(buffer, QStringLiteral("file"), QStringLiteral("file"), request);
}

QByteArray WriteText(CodeFormat format, const std::vector<NamedCode>& codes, int carrierHz)
{
    ExportOptions options;
    options.carrierHz = carrierHz;
    QByteArray out;
    if (auto error = FormatCodes(format, codes, options, out)) {
        QTest::qFail(qPrintable(QStringLiteral("export refused: ") + *error), __FILE__, __LINE__);
        return {};
    }
    return out;
}

QByteArray HandWritten(CodeFormat format, const std::vector<int64_t>& durations)
{
    QByteArray text;
    auto number = [](int64_t value) { return QByteArray::number(qlonglong(value)); };
    switch (format) {
    case CodeFormat::Pronto: {
        const double periodUs = 0x6D * 0.241246;
        const std::size_t pairs = (durations.size() + 1) / 2;
        text = "0000 006D " + QByteArray::number(qulonglong(pairs), 16).rightJustified(4, '0') + " 0000";
        for (std::size_t i = 0; i < 2 * pairs; ++i) {
            const int64_t us = i < durations.size() ? durations[i] : 200000;
            text += ' ' + QByteArray::number(qlonglong(us / periodUs + 0.5), 16).rightJustified(4, '0');
        }
        return text + '\n';
    }
    case CodeFormat::Lirc:
        text = "begin remote\n  name test\n  flags RAW_CODES\n  begin raw_codes\n    name key\n";
        for (std::size_t i = 0; i < durations.size(); ++i)
            text += (i % 8 == 0 ? "     " : " ") + number(durations[i]) + (i % 8 == 7 ? "\n" : "");
        return text + "\n  end raw_codes\nend remote\n";
    case CodeFormat::Mode2:
        for (std::size_t i = 0; i < durations.size(); ++i)
            text += (i % 2 == 0 ? "pulse " : "space ") + number(durations[i]) + '\n';
        return text;
    case CodeFormat::Flipper:
        text = "Filetype: IR signals file\nVersion: 1\n#\nname: key\ntype: raw\nfrequency: 38000\n"
               "duty_cycle: 0.330000\ndata:";
        for (int64_t value : durations)
            text += ' ' + number(value);
        return text + '\n';
    case CodeFormat::Raw:
        for (std::size_t i = 0; i < durations.size(); ++i)
            text += (i % 2 == 0 ? "+" : "-") + number(durations[i]) + (i % 10 == 9 ? ",\n" : ", ");
        return text + '\n';
    case CodeFormat::Csv:
        text = "index,level,duration\n";
        for (std::size_t i = 0; i < durations.size(); ++i)
            text += number(int64_t(i) + 1) + (i % 2 == 0 ? ",H," : ",L,") + number(durations[i]) + '\n';
        return text;
    }
    return text;
}

PulseTrain NecKeyTrain()
{
    std::vector<int32_t> durations{9000, 4500};
    const uint32_t bits = 0x04u | (0xFBu << 8) | (0x08u << 16) | (0xF7u << 24);
    for (int i = 0; i < 32; ++i) {
        durations.push_back(560);
        durations.push_back((bits >> i) & 1U ? 1690 : 560);
    }
    durations.push_back(560);
    return TrainOf(1, durations);
}
