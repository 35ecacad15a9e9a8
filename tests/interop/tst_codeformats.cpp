// Every format: export then import gives the same train within the format's
// quantisation, the formats' own worked examples read as published, and the
// choices each format leaves open are made as documented.

#include "analyzer/interop/CodeFiles.h"
#include "analyzer/interop/FlipperIr.h"
#include "tests/interop/support/InteropTestSupport.h"

#include <QtTest>

Q_DECLARE_METATYPE(CodeFormat)
Q_DECLARE_METATYPE(PulseTrain)

namespace {

constexpr int kProntoToleranceUs = 14; // half a carrier period at 38 kHz, plus rounding

std::vector<int32_t> Varied(int count)
{
    std::vector<int32_t> durations;
    for (int i = 0; i < count; ++i)
        durations.push_back(300 + (i * 7919) % 8700);
    return durations;
}

} // namespace

class TestCodeFormats : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<CodeFormat>("format");
        QTest::addColumn<PulseTrain>("train");
        const std::vector<std::pair<const char*, PulseTrain>> trains{
            {"NEC key", NecKeyTrain()},
            {"starts low", TrainOf(0, {30000, 9000, 4500, 560, 560, 560})},
            {"ends with a space", TrainOf(1, {2400, 600, 1200, 600, 600, 20000})},
            {"2047 durations", TrainOf(1, Varied(2047))},
            {"start level 0x0100", TrainOf(0x0100, {889, 889, 1778, 889})},
        };
        for (CodeFormat format : kAllCodeFormats)
            for (const auto& [name, train] : trains) {
                if (format == CodeFormat::Flipper && train.PulseCount() > flipper::kMaxTimings)
                    continue; // refused, see flipperRefusesLongCodes
                QTest::newRow(qPrintable(CodeFormatName(format) + QStringLiteral(": ") + QLatin1String(name)))
                    << format << train;
            }
    }
    void roundTrip()
    {
        QFETCH(CodeFormat, format);
        QFETCH(PulseTrain, train);
        const QByteArray text = WriteText(format, {NamedCode{QStringLiteral("key"), train}});
        const ReadResult read = ReadText(text, format);
        QVERIFY2(!read.error, qPrintable(read.error ? read.error->text : QString()));
        QCOMPARE(read.codes.size(), std::size_t(1));
        const PulseTrain& back = read.codes[0].train;
        QCOMPARE(back[0], 1);

        std::vector<int32_t> expected = MarkFirst(train);
        // A LIRC raw code ends on a pulse: its trailing space went to the gap.
        if (format == CodeFormat::Lirc && expected.size() % 2 == 0)
            expected.pop_back();
        const std::vector<int32_t> got = DurationsOf(back);
        QCOMPARE(got.size(), expected.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            const int tolerance = format == CodeFormat::Pronto ? kProntoToleranceUs : 0;
            if (std::abs(got[i] - expected[i]) > tolerance)
                QFAIL(qPrintable(QStringLiteral("duration %1: %2 read back as %3").arg(i + 1).arg(expected[i]).arg(got[i])));
        }
        if (HoldsManyCodes(format))
            QCOMPARE(read.codes[0].name, QStringLiteral("key"));
    }

    void manyCodesKeepNamesAndOrder_data()
    {
        QTest::addColumn<CodeFormat>("format");
        for (CodeFormat format : kAllCodeFormats)
            if (HoldsManyCodes(format))
                QTest::newRow(qPrintable(CodeFormatName(format))) << format;
    }
    void manyCodesKeepNamesAndOrder()
    {
        QFETCH(CodeFormat, format);
        std::vector<NamedCode> codes{{QStringLiteral("Power"), NecKeyTrain()},
                                     {QStringLiteral("1"), TrainOf(1, {2400, 600, 600})},
                                     {QStringLiteral("-"), TrainOf(1, {889, 889, 889})},
                                     {QStringLiteral("Power"), TrainOf(1, {500, 500, 700})}};
        const ReadResult read = ReadText(WriteText(format, codes), format);
        QVERIFY2(!read.error, qPrintable(read.error ? read.error->text : QString()));
        QCOMPARE(read.codesInFile, 4);
        QStringList names;
        for (const NamedCode& code : read.codes)
            names << code.name;
        // LIRC button names are unique within a remote.
        const QString lastName = format == CodeFormat::Lirc ? QStringLiteral("Power_2") : QStringLiteral("Power");
        QCOMPARE(names, (QStringList{"Power", "1", "-", lastName}));
        const std::vector<int32_t> third = DurationsOf(read.codes[2].train);
        QCOMPARE(third.size(), std::size_t(3));
        for (int32_t us : third)
            QVERIFY(std::abs(us - 889) <= (format == CodeFormat::Pronto ? kProntoToleranceUs : 0));
    }

    void namesThatLookLikeDataStayNames_data()
    {
        QTest::addColumn<CodeFormat>("format");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("pronto: a hex word") << CodeFormat::Pronto << "CAFE" << "_CAFE";
        QTest::newRow("pronto: a comment") << CodeFormat::Pronto << "# 1" << "_# 1";
        QTest::newRow("raw: a signed number") << CodeFormat::Raw << "+5" << "_+5";
        QTest::newRow("raw: a control character") << CodeFormat::Raw << "+9\x01-5" << "_+9 -5";
        QTest::newRow("raw: blanks") << CodeFormat::Raw << "   " << "_";
    }
    void namesThatLookLikeDataStayNames()
    {
        QFETCH(CodeFormat, format);
        QFETCH(QString, name);
        QFETCH(QString, readBack);
        const std::vector<NamedCode> codes{{name, TrainOf(1, {900, 450, 900})}, {QStringLiteral("next"), NecKeyTrain()}};
        const ReadResult read = ReadText(WriteText(format, codes), format);
        QVERIFY2(!read.error, qPrintable(read.error ? read.error->text : QString()));
        QCOMPARE(read.codes.size(), std::size_t(2));
        QCOMPARE(read.codes[0].name, readBack);
        QCOMPARE(read.codes[1].name, QStringLiteral("next"));
    }

    // A learned code with a once and a repeat part, as posted on Remote Central.
    void prontoPublishedExample()
    {
        const QByteArray text =
            "0000 006d 0022 0003 00a9 00a8 0015 003f 0015 003f 0015 003f 0015 0015 0015 0015 0015 0015 0015 0015 "
            "0015 0015 0015 003f 0015 003f 0015 003f 0015 0015 0015 0015 0015 0015 0015 0015 0015 0015 0015 0015 "
            "0015 003f 0015 0015 0015 0015 0015 0015 0015 0015 0015 0015 0015 0015 0015 0040 0015 0015 0015 003f "
            "0015 003f 0015 003f 0015 003f 0015 003f 0015 003f 0015 0702 00a9 00a8 0015 0015 0015 0e6e\n";
        const ReadResult read = ReadText(text);
        QVERIFY(!read.error);
        QCOMPARE(read.format, CodeFormat::Pronto);
        const std::vector<int32_t> got = DurationsOf(read.codes[0].train);
        // 34 once pairs then the 3 repeat pairs; a period is 109 x 0.241246 us.
        QCOMPARE(got.size(), std::size_t(74));
        QCOMPARE(got[0], 4444);   // 0x00a9 = 169 periods
        QCOMPARE(got[1], 4418);   // 168
        QCOMPARE(got[2], 552);    // 21
        QCOMPARE(got[3], 1657);   // 63
        QCOMPARE(got[67], 47175); // the once part's lead-out, 0x0702
        QCOMPARE(got[68], 4444);  // the repeat part begins again with the lead
        QCOMPARE(got[73], 97137); // 0x0e6e, short enough to be captured: kept
        QCOMPARE(read.codes[0].name, QStringLiteral("file"));
    }

    void prontoParts_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<std::vector<int32_t>>("expected");
        // 0x10 periods = 421 us, 0x20 = 841 us at 0x6D
        QTest::newRow("once and repeat") << QByteArray("0000 006D 0001 0001 0010 0020 0020 0010")
                                         << std::vector<int32_t>{421, 841, 841, 421};
        QTest::newRow("repeat alone") << QByteArray("0000 006D 0000 0002 0010 0020 0020 0010")
                                      << std::vector<int32_t>{421, 841, 841, 421};
        QTest::newRow("unmodulated, same time base") << QByteArray("0100 006D 0001 0000 0010 0020")
                                                     << std::vector<int32_t>{421, 841};
        QTest::newRow("uncapturable lead-out dropped") << QByteArray("0000 006D 0002 0000 0010 0020 0010 1648")
                                                       << std::vector<int32_t>{421, 841, 421};
        QTest::newRow("wrapped over lines, lower case") << QByteArray("0000 006d 0002 0000\n0010 0020\n0020 0010\n")
                                                        << std::vector<int32_t>{421, 841, 841, 421};
    }
    void prontoParts()
    {
        QFETCH(QByteArray, text);
        QFETCH(std::vector<int32_t>, expected);
        const ReadResult read = ReadText(text, CodeFormat::Pronto);
        QVERIFY2(!read.error, qPrintable(read.error ? read.error->text : QString()));
        QCOMPARE(DurationsOf(read.codes[0].train), expected);
    }

    void prontoExportAtEachCarrier_data()
    {
        QTest::addColumn<int>("carrierHz");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("closing");
        // 67 durations and the closing silence: 34 pairs. 150 ms is 5704 periods at 38 kHz.
        QTest::newRow("38 kHz") << 38000 << "0000 006D 0022 0000 0156 00AB" << "1648";
        QTest::newRow("36 kHz") << 36000 << "0000 0073 0022 0000 0144 00A2" << "151F";
        QTest::newRow("40 kHz") << 40000 << "0000 0068 0022 0000 0167 00B3" << "175B";
    }
    void prontoExportAtEachCarrier()
    {
        QFETCH(int, carrierHz);
        QFETCH(QString, header);
        QFETCH(QString, closing);
        const QString text = QString::fromUtf8(WriteText(CodeFormat::Pronto, {{QStringLiteral("Power"), NecKeyTrain()}}, carrierHz));
        const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("Power"));
        QVERIFY2(lines[1].startsWith(header), qPrintable(lines[1].left(40)));
        QVERIFY(lines[1].endsWith(QLatin1Char(' ') + closing));
        QCOMPARE(lines[1].split(QLatin1Char(' ')).size(), 4 + 68);
    }

    // The structure of the lircd.conf manual page, with comments and
    // parameters that carry nothing for raw codes.
    void lircManualExample()
    {
        const QByteArray text = "# this config file was written by hand\n"
                                "begin remote\n"
                                "  name  aircon\n"
                                "  flags RAW_CODES\n"
                                "  eps            30\n"
                                "  aeps          100\n"
                                "  gap         34606\n"
                                "\n"
                                "      begin raw_codes\n"
                                "          name 26degree\n"
                                "             3495    1697     474    1301     401\n"
                                "              421     485\n"
                                "#  a comment between the lines\n"
                                "          name off\n"
                                "              900     450     900\n"
                                "      end raw_codes\n"
                                "end remote\n";
        const ReadResult read = ReadText(text);
        QVERIFY2(!read.error, qPrintable(read.error ? read.error->text : QString()));
        QCOMPARE(read.format, CodeFormat::Lirc);
        QCOMPARE(read.codes.size(), std::size_t(2));
        QCOMPARE(read.codes[0].name, QStringLiteral("26degree"));
        QCOMPARE(DurationsOf(read.codes[0].train), (std::vector<int32_t>{3495, 1697, 474, 1301, 401, 421, 485}));
        QCOMPARE(read.codes[1].name, QStringLiteral("off"));
        QCOMPARE(DurationsOf(read.codes[1].train), (std::vector<int32_t>{900, 450, 900}));
    }

    void lircGapAndNames()
    {
        const std::vector<NamedCode> codes{{QStringLiteral("TV power"), TrainOf(1, {900, 450, 900, 40000})},
                                           {QString(), TrainOf(1, {900, 450, 900, 35000})}};
        const QString text = QString::fromUtf8(WriteText(CodeFormat::Lirc, codes));
        QVERIFY(text.contains(QStringLiteral("\n  gap        40000\n")));
        QVERIFY(text.contains(QStringLiteral("\n  frequency  38000\n")));
        QVERIFY(text.contains(QStringLiteral("name TV_power\n")));
        QVERIFY(text.contains(QStringLiteral("name code_2\n")));
        // No code ends with a space: the gap is the closing silence.
        const QString closed = QString::fromUtf8(WriteText(CodeFormat::Lirc, {{QStringLiteral("k"), NecKeyTrain()}}));
        QVERIFY(closed.contains(QStringLiteral("\n  gap        150000\n")));
    }

    // The example of the Flipper Zero's infrared file documentation.
    void flipperPublishedExample()
    {
        const QByteArray text = "Filetype: IR signals file\n"
                                "Version: 1\n"
                                "#\n"
                                "name: Button_1\n"
                                "type: parsed\n"
                                "protocol: NECext\n"
                                "address: EE 87 00 00\n"
                                "command: 5D A0 00 00\n"
                                "#\n"
                                "name: Button_2\n"
                                "type: raw\n"
                                "frequency: 38000\n"
                                "duty_cycle: 0.330000\n"
                                "data: 504 3432 502 483 500 484 510 502 502 482 501 485 509 1452 504 1458 509 1452 504 "
                                "481 501 474 509 3420 503\n"
                                "#\n"
                                "name: Button_3\n"
                                "type: parsed\n"
                                "protocol: SIRC\n"
                                "address: 01 00 00 00\n"
                                "command: 15 00 00 00\n";
        const ReadResult read = ReadText(text);
        QVERIFY2(!read.error, qPrintable(read.error ? read.error->text : QString()));
        QCOMPARE(read.format, CodeFormat::Flipper);
        QCOMPARE(read.codes.size(), std::size_t(3));
        QCOMPARE(read.codes[1].name, QStringLiteral("Button_2"));
        QCOMPARE(DurationsOf(read.codes[1].train),
                 (std::vector<int32_t>{504, 3432, 502, 483, 500, 484, 510, 502, 502, 482, 501, 485, 509,
                                       1452, 504, 1458, 509, 1452, 504, 481, 501, 474, 509, 3420, 503}));
        // NECext EE 87 / 5D A0: address bytes EE 87, command bytes 5D A0, each LSB first.
        const std::vector<int32_t> nec = DurationsOf(read.codes[0].train);
        QCOMPARE(nec.size(), std::size_t(68));
        QCOMPARE(nec[0], 9000);
        QCOMPARE(nec[1], 4500);
        const uint32_t expectedBits = 0xEEu | (0x87u << 8) | (0x5Du << 16) | (0xA0u << 24);
        for (int i = 0; i < 32; ++i)
            QCOMPARE(nec[std::size_t(3 + 2 * i)], (expectedBits >> i) & 1U ? 1690 : 560);
        // The frame and its idle time fill the 108 ms repeat period.
        int64_t total = 0;
        for (int32_t us : nec)
            total += us;
        QCOMPARE(total, int64_t(108000));
    }

    void flipperRefusesLongCodes()
    {
        QByteArray out;
        const NamedCode fits{QStringLiteral("fits"), TrainOf(1, Varied(flipper::kMaxTimings))};
        QVERIFY(!FormatCodes(CodeFormat::Flipper, {fits}, ExportOptions(), out));
        const NamedCode tooLong{QStringLiteral("long"), TrainOf(1, Varied(flipper::kMaxTimings + 1))};
        const std::optional<QString> error = FormatCodes(CodeFormat::Flipper, {fits, tooLong}, ExportOptions(), out);
        QVERIFY(error);
        QVERIFY2(error->contains(QStringLiteral("\"long\"")) && error->contains(QStringLiteral("1024")), qPrintable(*error));
        ExportOptions outside;
        outside.carrierHz = 60000;
        QVERIFY(FormatCodes(CodeFormat::Flipper, {fits}, outside, out));
    }

    void mode2AsLircPrintsIt()
    {
        // mode2 starts with the silence since the last signal and may end on a timeout.
        const QByteArray text = "space 16777215\npulse 9024\nspace 4512\npulse 564\nspace 1692\npulse 564\ntimeout 125000\n";
        const ReadResult read = ReadText(text);
        QVERIFY(!read.error);
        QCOMPARE(read.format, CodeFormat::Mode2);
        QCOMPARE(DurationsOf(read.codes[0].train), (std::vector<int32_t>{9024, 4512, 564, 1692, 564, 125000}));
        QCOMPARE(read.codes[0].name, QStringLiteral("file"));
    }

    void signedAndCsvAsPrinted_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<CodeFormat>("format");
        QTest::newRow("IRremote spacing") << QByteArray("+8950,-4450   + 600,- 550\n+ 600\n") << CodeFormat::Raw;
        QTest::newRow("space separated") << QByteArray("+8950 -4450 +600 -550 +600") << CodeFormat::Raw;
        QTest::newRow("neighbours of one level merge") << QByteArray("+8950 -4000 -450 +600 -550 +600") << CodeFormat::Raw;
        QTest::newRow("csv with header") << QByteArray("index,level,duration\n1,H,8950\n2,L,4450\n3,H,600\n4,L,550\n5,H,600\n")
                                         << CodeFormat::Csv;
        QTest::newRow("csv from a spreadsheet") << QByteArray("\"index\";\"level\";\"duration\"\r\n1;1;8950\r\n2;0;4450\r\n"
                                                              "3;high;600\r\n4;low;550\r\n5;H;600\r\n")
                                                << CodeFormat::Csv;
        QTest::newRow("csv leading space dropped") << QByteArray("1,L,5000\n2,H,8950\n3,L,4450\n4,H,600\n5,L,550\n6,H,600\n")
                                                   << CodeFormat::Csv;
    }
    void signedAndCsvAsPrinted()
    {
        QFETCH(QByteArray, text);
        QFETCH(CodeFormat, format);
        const ReadResult read = ReadText(text);
        QVERIFY2(!read.error, qPrintable(read.error ? read.error->text : QString()));
        QCOMPARE(read.format, format);
        QCOMPARE(DurationsOf(read.codes[0].train), (std::vector<int32_t>{8950, 4450, 600, 550, 600}));
    }

    void durationLimits_data()
    {
        QTest::addColumn<CodeFormat>("format");
        for (CodeFormat format : kAllCodeFormats)
            QTest::newRow(qPrintable(CodeFormatName(format))) << format;
    }
    void durationLimits()
    {
        QFETCH(CodeFormat, format);
        std::vector<int64_t> full(2047, 500);
        const ReadResult accepted = ReadText(HandWritten(format, full), format);
        QVERIFY2(!accepted.error, qPrintable(accepted.error ? accepted.error->text : QString()));
        QCOMPARE(accepted.codes[0].train.PulseCount(), 2047);

        full.push_back(500);
        const ReadResult refused = ReadText(HandWritten(format, full), format);
        QVERIFY(refused.error);
        QVERIFY2(refused.error->text.contains(QStringLiteral("more than 2047 durations")), qPrintable(refused.error->text));

        if (format != CodeFormat::Pronto) { // Pronto words cannot hold these
            for (int64_t bad : {int64_t(0), int64_t(-560), int64_t(2147483648LL)}) {
                const ReadResult read = ReadText(HandWritten(format, {9000, 4500, bad, 560}), format);
                QVERIFY2(read.error && read.error->kind == CodeFileError::Kind::Format, qPrintable(QString::number(bad)));
            }
            const ReadResult largest = ReadText(HandWritten(format, {2147483647LL, 4500, 560}), format);
            QVERIFY(!largest.error);
            QCOMPARE(largest.codes[0].train[1], 2147483647);
        }
    }

    void firstCodeUnlessNamed()
    {
        const std::vector<NamedCode> codes{{QStringLiteral("Power"), TrainOf(1, {100, 100, 100})},
                                           {QStringLiteral("Mute"), TrainOf(1, {200, 200, 200})},
                                           {QStringLiteral("Mute"), TrainOf(1, {300, 300, 300})}};
        const QByteArray text = WriteText(CodeFormat::Flipper, codes);
        const ReadResult first = ReadText(text, std::nullopt, 1);
        QCOMPARE(first.codes.size(), std::size_t(1));
        QCOMPARE(first.codes[0].name, QStringLiteral("Power"));
        QCOMPARE(first.codesInFile, 3);
        const ReadResult named = ReadText(text, std::nullopt, 1, QStringLiteral("Mute"));
        QCOMPARE(named.codes.size(), std::size_t(1));
        QCOMPARE(named.codes[0].train[1], 200);
        const ReadResult missing = ReadText(text, std::nullopt, 1, QStringLiteral("Play"));
        QVERIFY(missing.error);
        QCOMPARE(missing.error->text, QStringLiteral("file: no code named \"Play\""));
    }

    void singleCodeFormatsRefuseSeveral()
    {
        const std::vector<NamedCode> two{{QStringLiteral("a"), NecKeyTrain()}, {QStringLiteral("b"), NecKeyTrain()}};
        QByteArray out;
        for (CodeFormat format : {CodeFormat::Mode2, CodeFormat::Csv})
            QVERIFY(FormatCodes(format, two, ExportOptions(), out));
        QVERIFY(FormatCodes(CodeFormat::Raw, {}, ExportOptions(), out));
        // A damaged train with a negative duration is not written.
        const std::optional<QString> error =
            FormatCodes(CodeFormat::Raw, {{QStringLiteral("bad"), TrainOf(1, {900, -5, 900})}}, ExportOptions(), out);
        QVERIFY(error && error->contains(QStringLiteral("\"bad\"")));
    }
};

QTEST_GUILESS_MAIN(TestCodeFormats)
#include "tst_codeformats.moc"
