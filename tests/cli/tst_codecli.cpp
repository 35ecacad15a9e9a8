// wavix-cli export and import, run as a user runs them: codes go out of a
// capture file in every format and come back into a channel; every failure
// gives the status and message promised and leaves the --out file alone.

#include "analyzer/files/CaptureFile.h"
#include "analyzer/interop/CodeFormat.h"
#include "analyzer/library/CodeLibrary.h"
#include "analyzer/library/RecordFile.h"
#include "tests/TestFiles.h"
#include "tests/support/FrameBuilder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(CodeFormat)

namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

CliRun RunCli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(WAVIX_CLI_PATH), arguments);
    CliRun run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

ChannelTrains Load(const QString& path, std::vector<int>* which = nullptr)
{
    ChannelTrains channels{};
    LoadCaptureFile(path, channels, which);
    return channels;
}

} // namespace

class TestCodeCli : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    PulseTrain nec_ = NecTrain({0x04, 0xFB, 0x08, 0xF7}, 5);

    QString Path(const QString& name) const { return dir_.filePath(name); }

    // Channel 2 holds the NEC key, channel 4 an empty train.
    QString CaptureFile()
    {
        ChannelTrains channels{};
        channels[1] = nec_;
        const QString path = Path(QStringLiteral("key.lgc"));
        if (!SaveCaptureFile(path, channels, {1, 3}).ok)
            qFatal("cannot write the capture file");
        return path;
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void everyFormatRoundTrip_data()
    {
        QTest::addColumn<CodeFormat>("format");
        for (CodeFormat format : kAllCodeFormats)
            QTest::newRow(qPrintable(CodeFormatName(format))) << format;
    }
    void everyFormatRoundTrip()
    {
        QFETCH(CodeFormat, format);
        const QString name = CodeFormatName(format);
        const QString codeFile = Path(QStringLiteral("power") + CodeFormatSuffix(format));
        const CliRun exported = RunCli({"export", CaptureFile(), "--channel", "2", "--to", name, "--out", codeFile,
                                        "--name", "power"});
        QCOMPARE(exported.status, 0);
        QVERIFY(exported.out.isEmpty() && exported.err.isEmpty());
        // stdout carries the same bytes as the file.
        const CliRun printed = RunCli({"export", CaptureFile(), "--channel=2", "--to=" + name, "--name", "power"});
        QCOMPARE(printed.out.toUtf8(), ReadFile(codeFile));

        const QString back = Path(QStringLiteral("back-%1.lgc").arg(name));
        const CliRun imported = RunCli({"import", codeFile, "--out", back, "--channel", "3"});
        QCOMPARE(imported.status, 0);
        const QString decoded = RunCli({"decode", CaptureFile()}).out.section(QLatin1Char('\n'), 0, 0);
        QVERIFY(decoded.startsWith(QStringLiteral("CH2\tNEC\tCode: NEC")));
        QCOMPARE(imported.out, QString(decoded).replace(QStringLiteral("CH2"), QStringLiteral("CH3")) + QLatin1Char('\n'));
        std::vector<int> which;
        const ChannelTrains channels = Load(back, &which);
        QCOMPARE(which, std::vector<int>{2});
        // The key ends with a space, which a LIRC raw code gives to the gap.
        const bool lostTrailingSpace = format == CodeFormat::Lirc && !nec_.IsHigh(nec_.PulseCount());
        QCOMPARE(channels[2].PulseCount(), nec_.PulseCount() - (lostTrailingSpace ? 1 : 0));
        for (int i = 1; i <= channels[2].PulseCount(); ++i)
            QVERIFY(std::abs(channels[2][i] - nec_[i]) <= (format == CodeFormat::Pronto ? 14 : 0));
    }

    void importKeepsTheOtherChannels()
    {
        const QString target = Path(QStringLiteral("four.lgc"));
        QVERIFY(SaveCaptureFile(target, Load(CaptureFile()), {1, 3}).ok);
        const QString mode2 = Path(QStringLiteral("short.mode2"));
        QVERIFY(WriteFile(mode2, "pulse 900\nspace 450\npulse 900\n"));
        QCOMPARE(RunCli({"import", mode2, "--out", target, "--channel", "4"}).status, 0);
        std::vector<int> which;
        const ChannelTrains channels = Load(target, &which);
        QCOMPARE(which, (std::vector<int>{1, 3}));
        QVERIFY(channels[1] == nec_);
        QCOMPARE(channels[3].PulseCount(), 3);
    }

    void severalCodesTakeTheFirstUnlessNamed()
    {
        const QString flipper = Path(QStringLiteral("remote.ir"));
        QVERIFY(WriteFile(flipper, "Filetype: IR signals file\nVersion: 1\n"
                                   "#\nname: Power\ntype: parsed\nprotocol: NEC\naddress: 04 00 00 00\ncommand: 08 00 00 00\n"
                                   "#\nname: Mute\ntype: parsed\nprotocol: SIRC\naddress: 01 00 00 00\ncommand: 14 00 00 00\n"));
        const QString out = Path(QStringLiteral("several.lgc"));
        const CliRun first = RunCli({"import", flipper, "--out", out});
        QCOMPARE(first.status, 0);
        QVERIFY(first.out.startsWith(QStringLiteral("CH1\tNEC\t")));
        QCOMPARE(first.err, QStringLiteral("wavix-cli: %1: 2 codes, imported the first, \"Power\" (--name picks another)\n").arg(flipper));
        const CliRun named = RunCli({"import", flipper, "--out", out, "--name", "Mute"});
        QCOMPARE(named.status, 0);
        QVERIFY2(named.out.startsWith(QStringLiteral("CH1\tSony SIRC\t")), qPrintable(named.out));
        QVERIFY(named.err.isEmpty());
    }

    void failuresAndTheirStatus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::newRow("missing capture file") << QStringList{"export", "@/none.lgc", "--to", "raw"} << 1 << "@/none.lgc: no such file";
        QTest::newRow("directory") << QStringList{"export", "@", "--to", "raw"} << 1 << "is a directory";
        QTest::newRow("no --to") << QStringList{"export", "@/key.lgc"} << 2 << "--to needs one of";
        QTest::newRow("unknown format") << QStringList{"export", "@/key.lgc", "--to", "ccf"} << 2 << "--to needs one of";
        QTest::newRow("channel 5") << QStringList{"export", "@/key.lgc", "--to", "raw", "--channel", "5"} << 2 << "channel number from 1 to 4";
        QTest::newRow("frequency") << QStringList{"export", "@/key.lgc", "--to", "pronto", "--frequency", "38k"} << 2 << "--frequency needs";
        QTest::newRow("channel not in the file") << QStringList{"export", "@/key.lgc", "--to", "raw"} << 2 << "@/key.lgc: holds no record for channel 1";
        QTest::newRow("empty channel") << QStringList{"export", "@/key.lgc", "--to", "raw", "--channel", "4"} << 2 << "holds no burst";
        QTest::newRow("unknown option") << QStringList{"export", "@/key.lgc", "--to", "raw", "--loud"} << 2 << "unknown option \"--loud\" for export";
        QTest::newRow("two files") << QStringList{"import", "@/a.ir", "@/b.ir", "--out", "@/x.lgc"} << 2 << "more than one file";
        QTest::newRow("no --out") << QStringList{"import", "@/bad.ir"} << 2 << "--out FILE.lgc is needed";
        QTest::newRow("missing code file") << QStringList{"import", "@/none.ir", "--out", "@/kept.lgc"} << 1 << "@/none.ir: no such file";
        QTest::newRow("malformed code file") << QStringList{"import", "@/bad.ir", "--out", "@/kept.lgc"} << 2 << "@/bad.ir:8: \"x\" is not a timing";
        QTest::newRow("no code of that name") << QStringList{"import", "@/bad.ir", "--out", "@/kept.lgc", "--name", "x", "--from", "raw"} << 2 << "holds no signed durations";
        QTest::newRow("too long for a Flipper") << QStringList{"export", "@/long.lgc", "--to", "flipper", "--out", "@/kept.lgc"} << 2 << "at most 1024";
    }
    void failuresAndTheirStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, says);
        CaptureFile();
        QVERIFY(WriteFile(Path(QStringLiteral("bad.ir")), "Filetype: IR signals file\nVersion: 1\n#\n"
                                                          "name: P\ntype: raw\nfrequency: 38000\nduty_cycle: 0.33\ndata: 1 2 x\n"));
        ChannelTrains longCode{};
        longCode[0][0] = 1;
        for (int i = 1; i <= 1500; ++i)
            longCode[0][i] = 500;
        QVERIFY(SaveCaptureFile(Path(QStringLiteral("long.lgc")), longCode, {0}).ok);
        const QString kept = Path(QStringLiteral("kept.lgc"));
        QVERIFY(WriteFile(kept, "old"));

        for (QString& argument : arguments)
            argument.replace(QLatin1Char('@'), dir_.path());
        says.replace(QLatin1Char('@'), dir_.path());
        const CliRun run = RunCli(arguments);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.startsWith(QStringLiteral("wavix-cli: ")) && run.err.contains(says), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(ReadFile(kept), QByteArray("old"));
    }

    void libraryListExportImport()
    {
        CodeLibrary library;
        library.Append(QStringLiteral("TV power"), nec_);
        library.Append(QStringLiteral("short"), []{
            PulseTrain train;
            train[0] = 1;
            train[1] = 900;
            train[2] = 450;
            train[3] = 900;
            return train;
        }());
        const QString record = Path(QStringLiteral("Record.dat"));
        QVERIFY(SaveRecords(record, library));
        const CliRun list = RunCli({"library", "list", record});
        QCOMPARE(list.status, 0);
        QCOMPARE(list.out, QStringLiteral("1\tTV power\tNEC\t%1\t%2\n2\tshort\tnone\t3\t2250\n")
                               .arg(nec_.PulseCount())
                               .arg(nec_.TotalDurationUs()));

        const QString flipper = Path(QStringLiteral("library.ir"));
        QCOMPARE(RunCli({"library", "export", record, "--to", "flipper", "--out", flipper}).status, 0);
        const QString copy = Path(QStringLiteral("Copy.dat"));
        const CliRun imported = RunCli({"library", "import", copy, flipper});
        QCOMPARE(imported.status, 0);
        QCOMPARE(imported.out, QStringLiteral("2 codes imported from %1.\n").arg(flipper));
        QCOMPARE(ReadFile(copy), ReadFile(record));
        QVERIFY(RunCli({"library", "export", record, "--to", "pronto", "--frequency", "36000"})
                    .out.startsWith(QStringLiteral("TV power\n0000 0073 ")));
    }

    void libraryLimitsAndFailures()
    {
        CodeLibrary library;
        for (int i = 0; i < 1021; ++i)
            library.Append(QStringLiteral("k%1").arg(i), nec_);
        const QString record = Path(QStringLiteral("Full.dat"));
        QVERIFY(SaveRecords(record, library));
        const QString raw = Path(QStringLiteral("three.txt"));
        QVERIFY(WriteFile(raw, "a\n+100 -100 +100\nb\n+200\nc\n+300\n"));
        const CliRun partly = RunCli({"library", "import", record, raw});
        QCOMPARE(partly.status, 0);
        QVERIFY2(partly.out.startsWith(QStringLiteral("2 of 3 imported from %1; 1 left out").arg(raw)), qPrintable(partly.out));
        CodeLibrary after;
        QVERIFY(LoadRecords(record, after));
        QCOMPARE(after.Count(), 1023);
        QCOMPARE(after.Entry(1022).name, QStringLiteral("b"));

        const QByteArray full = ReadFile(record);
        const CliRun refused = RunCli({"library", "import", record, raw});
        QCOMPARE(refused.status, 2);
        QVERIFY(refused.err.contains(QStringLiteral("the library is full")));
        QCOMPARE(ReadFile(record), full);

        QCOMPARE(RunCli({"library", "list", Path(QStringLiteral("none.dat"))}).status, 1);
        QCOMPARE(RunCli({"library", "export", record, "--to", "csv"}).status, 2);
        QCOMPARE(RunCli({"library", "sort", record}).status, 2);
        const CliRun bad = RunCli({"library", "import", Path(QStringLiteral("new.dat")), Path(QStringLiteral("key.lgc"))});
        QCOMPARE(bad.status, 2);
        QVERIFY(!QFile::exists(Path(QStringLiteral("new.dat"))));
    }

    void helpNamesTheCommands()
    {
        const CliRun run = RunCli({"--help"});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.contains(QStringLiteral("export FILE.lgc --to FORMAT")));
        QVERIFY(run.out.contains(QStringLiteral("import CODEFILE --out FILE.lgc")));
        QVERIFY(run.out.contains(QStringLiteral("library import Record.dat CODEFILE")));
    }
};

QTEST_GUILESS_MAIN(TestCodeCli)
#include "tst_codecli.moc"
