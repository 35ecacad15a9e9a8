// Hostile code files: every reader answers with a clear message naming the
// file and the faulty line, keeps memory bounded, and never crashes or
// hangs. Writing never damages the file it replaces.

#include "analyzer/interop/CodeFiles.h"
#include "tests/interop/support/InteropTestSupport.h"
#include "tests/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(CodeFormat)

class TestHostileCodes : public QObject {
    Q_OBJECT

private slots:
    void refusedWithLine_data()
    {
        QTest::addColumn<CodeFormat>("format");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("where"); // "file:N: " or "file: "
        QTest::addColumn<QString>("says");

        const CodeFormat P = CodeFormat::Pronto;
        QTest::newRow("pronto: other format") << P << QByteArray("5000 0073 0000 0001 0020 0020") << "file:1: " << "format 5000";
        QTest::newRow("pronto: frequency 0") << P << QByteArray("Power\n0000 0000 0001 0000 0010 0010") << "file:2: " << "frequency word 0000";
        QTest::newRow("pronto: odd word count") << P << QByteArray("0000 006D 0002 0000 0010 0010 0010\n") << "file:1: " << "cut short: 7 of 8";
        QTest::newRow("pronto: more than announced") << P << QByteArray("0000 006D 0001 0000 0010 0010 0010") << "file:1: " << "more words";
        QTest::newRow("pronto: zero time") << P << QByteArray("\n0000 006D 0001 0000 0000 0010") << "file:2: " << "time of 0";
        QTest::newRow("pronto: no pairs") << P << QByteArray("0000 006D 0000 0000") << "file:1: " << "no burst pairs";
        QTest::newRow("pronto: cut by a name") << P << QByteArray("0000 006D 0002 0000\n0010 0010\nPower\n") << "file:1: " << "cut short";
        QTest::newRow("pronto: header alone at the end") << P << QByteArray("0000 006D") << "file:1: " << "header";
        QTest::newRow("pronto: too many pairs") << P << QByteArray("0000 006D 0401 0000 0010") << "file:1: " << "more than 2047";
        QTest::newRow("pronto: nothing") << P << QByteArray("# only a comment\nPower\n") << "file: " << "no Pronto Hex code";

        const CodeFormat L = CodeFormat::Lirc;
        QTest::newRow("lirc: wrong magic") << L << QByteArray("hello\nbegin remote\n") << "file:1: " << "\"begin remote\" expected";
        QTest::newRow("lirc: nested remote") << L << QByteArray("begin remote\n name a\nbegin remote\n") << "file:3: " << "begun at line 1";
        QTest::newRow("lirc: nested raw codes") << L << QByteArray("begin remote\nbegin raw_codes\nname a\n100\nbegin raw_codes\n") << "file:5: " << "begun at line 2";
        QTest::newRow("lirc: remote never ended") << L << QByteArray("\nbegin remote\n  name a\n") << "file:2: " << "never ended";
        QTest::newRow("lirc: raw codes never ended") << L << QByteArray("begin remote\n begin raw_codes\n  name a\n  100 200 100\n") << "file:2: " << "never ended";
        QTest::newRow("lirc: end remote inside codes") << L << QByteArray("begin remote\nbegin raw_codes\nname a\n100\nend remote\n") << "file:5: " << "before \"end raw_codes\"";
        QTest::newRow("lirc: decoded codes") << L << QByteArray("begin remote\n bits 16\n begin codes\n KEY_1 0x10EF\n") << "file:3: " << "only raw codes";
        QTest::newRow("lirc: durations before a name") << L << QByteArray("begin remote\nbegin raw_codes\n 100 200\n") << "file:3: " << "before the first \"name\"";
        QTest::newRow("lirc: not a number") << L << QByteArray("begin remote\nbegin raw_codes\nname a\n100 2x0\n") << "file:4: " << "\"2x0\" is not a duration";
        QTest::newRow("lirc: zero") << L << QByteArray("begin remote\nbegin raw_codes\nname a\n100 0 100\n") << "file:4: " << "0 is not allowed";
        QTest::newRow("lirc: negative") << L << QByteArray("begin remote\nbegin raw_codes\nname a\n100 -200 100\n") << "file:4: " << "negative duration -200";
        QTest::newRow("lirc: huge") << L << QByteArray("begin remote\nbegin raw_codes\nname a\n99999999999\n") << "file:4: " << "above 2147483647";
        QTest::newRow("lirc: name without button") << L << QByteArray("begin remote\nbegin raw_codes\nname\n") << "file:3: " << "without a button name";
        QTest::newRow("lirc: empty code") << L << QByteArray("begin remote\nbegin raw_codes\nname a\nname b\n1 1 1\nend raw_codes\nend remote\n") << "file:3: " << "button a: the code holds no burst";
        QTest::newRow("lirc: stray end") << L << QByteArray("begin remote\nend codes\n") << "file:2: " << "without a matching begin";

        const CodeFormat F = CodeFormat::Flipper;
        const QByteArray head = "Filetype: IR signals file\nVersion: 1\n";
        QTest::newRow("flipper: wrong magic") << F << QByteArray("Filetype: Flipper SubGhz Key File\nVersion: 1\n") << "file:1: " << "not a Flipper infrared file";
        QTest::newRow("flipper: version 2") << F << QByteArray("Filetype: IR signals file\nVersion: 2\n") << "file:2: " << "version 2";
        QTest::newRow("flipper: header only half") << F << QByteArray("Filetype: IR signals file\n") << "file:1: " << "header is missing";
        QTest::newRow("flipper: no data") << F << head + "#\nname: Power\ntype: raw\nfrequency: 38000\nduty_cycle: 0.33\n#\nname: Next\n" << "file:4: " << "\"Power\" has no data";
        QTest::newRow("flipper: no type") << F << head + "name: Power\nprotocol: NEC\n" << "file:3: " << "has no type";
        QTest::newRow("flipper: unknown protocol") << F << head + "name: P\ntype: parsed\nprotocol: Samsung32\naddress: 07 00 00 00\ncommand: 02 00 00 00\n" << "file:5: " << "\"Samsung32\" cannot be read";
        QTest::newRow("flipper: short address") << F << head + "name: P\ntype: parsed\nprotocol: NEC\naddress: EE 87\ncommand: 02 00 00 00\n" << "file:6: " << "not four hex bytes";
        QTest::newRow("flipper: address too large") << F << head + "name: P\ntype: parsed\nprotocol: NEC\naddress: 00 01 00 00\ncommand: 02 00 00 00\n" << "file:5: " << "address 0x100 is above 0xFF";
        QTest::newRow("flipper: RC5 command too large") << F << head + "name: P\ntype: parsed\nprotocol: RC5\naddress: 00 00 00 00\ncommand: 40 00 00 00\n" << "file:5: " << "command 0x40 is above 0x3F";
        QTest::newRow("flipper: key twice") << F << head + "name: P\ntype: raw\ntype: parsed\n" << "file:5: " << "given twice";
        QTest::newRow("flipper: key before name") << F << head + "type: raw\n" << "file:3: " << "before the first \"name\"";
        QTest::newRow("flipper: other type") << F << head + "name: P\ntype: cooked\n" << "file:4: " << "neither raw nor parsed";
        QTest::newRow("flipper: zero timing") << F << head + "name: P\ntype: raw\nfrequency: 38000\nduty_cycle: 0.33\ndata: 9000 0 560\n" << "file:7: " << "0 is not allowed";
        QTest::newRow("flipper: bad frequency") << F << head + "name: P\ntype: raw\nfrequency: -38000\nduty_cycle: 0.33\ndata: 9000\n" << "file:5: " << "not a frequency";
        QTest::newRow("flipper: bad duty cycle") << F << head + "name: P\ntype: raw\nfrequency: 38000\nduty_cycle: nan\ndata: 9000\n" << "file:6: " << "not a duty cycle";
        QTest::newRow("flipper: not key value") << F << head + "name: P\ngarbage\n" << "file:4: " << "\"key: value\" expected";
        QTest::newRow("flipper: no signal") << F << head << "file: " << "holds no signal";

        const CodeFormat M = CodeFormat::Mode2;
        QTest::newRow("mode2: other word") << M << QByteArray("pulse 100\nblip 100\n") << "file:2: " << "\"pulse N\" or \"space N\" expected";
        QTest::newRow("mode2: not a number") << M << QByteArray("pulse 1e3\n") << "file:1: " << "not a duration";
        QTest::newRow("mode2: zero") << M << QByteArray("pulse 100\nspace 0\n") << "file:2: " << "0 is not allowed";
        QTest::newRow("mode2: only silence") << M << QByteArray("space 100\nspace 200\n") << "file:2: " << "holds no burst";

        const CodeFormat R = CodeFormat::Raw;
        QTest::newRow("raw: zero") << R << QByteArray("Power\n+9000 -0 +560\n") << "file:2: " << "0 is not allowed";
        QTest::newRow("raw: huge") << R << QByteArray("+3000000000\n") << "file:1: " << "above 2147483647";
        QTest::newRow("raw: too many digits") << R << QByteArray("+9000 -4500\n+99999999999999999999\n") << "file:2: " << "above 2147483647";
        QTest::newRow("raw: only silence") << R << QByteArray("\nsilence\n-500 -600\n") << "file:3: " << "holds no burst";

        const CodeFormat C = CodeFormat::Csv;
        QTest::newRow("csv: bad level") << C << QByteArray("index,level,duration\n1,X,9000\n") << "file:2: " << "not a level";
        QTest::newRow("csv: two fields") << C << QByteArray("1,H,9000\n2,L\n") << "file:2: " << "three fields";
        QTest::newRow("csv: bad index") << C << QByteArray("1,H,9000\nx,L,500\n") << "file:2: " << "not an index";
        QTest::newRow("csv: negative") << C << QByteArray("1,H,9000\n2,L,-500\n") << "file:2: " << "negative duration";
    }
    void refusedWithLine()
    {
        QFETCH(CodeFormat, format);
        QFETCH(QByteArray, text);
        QFETCH(QString, where);
        QFETCH(QString, says);
        const ReadResult read = ReadText(text, format);
        QVERIFY2(read.error, "accepted");
        QCOMPARE(read.error->kind, CodeFileError::Kind::Format);
        QVERIFY2(read.error->text.startsWith(where) && read.error->text.contains(says), qPrintable(read.error->text));
        QVERIFY(read.codes.empty());
    }

    void unknownContentIsNamed()
    {
        const ReadResult read = ReadText("\x89PNG\r\n\x1a\n\0\0\0\rIHDR");
        QVERIFY(read.error);
        QVERIFY2(read.error->text.startsWith(QStringLiteral("file: not a code file")), qPrintable(read.error->text));
    }

    void longLinesStopReading_data()
    {
        QTest::addColumn<CodeFormat>("format");
        for (CodeFormat format : kAllCodeFormats)
            QTest::newRow(qPrintable(CodeFormatName(format))) << format;
    }
    void longLinesStopReading()
    {
        QFETCH(CodeFormat, format);
        // A valid first line, then a 10 MB line of what the format's data looks like.
        QByteArray text = HandWritten(format, {9000, 4500, 560}).split('\n').first() + '\n';
        text += QByteArray(10 * 1024 * 1024, format == CodeFormat::Pronto ? 'A' : '5');
        const ReadResult read = ReadText(text, format);
        QVERIFY(read.error);
        QVERIFY2(read.error->text.contains(QStringLiteral("line longer than 65536 bytes")), qPrintable(read.error->text));
        QVERIFY(read.error->text.startsWith(QStringLiteral("file:2: ")));
    }

    void hundredThousandCodesKeepOnlyWhatIsAsked()
    {
        QByteArray flipper = "Filetype: IR library file\nVersion: 1\n";
        QByteArray pronto;
        for (int i = 0; i < 100000; ++i) {
            flipper += "#\nname: k" + QByteArray::number(i) + "\ntype: raw\nfrequency: 38000\nduty_cycle: 0.33\ndata: 900 450 "
                       + QByteArray::number(100 + i % 1000) + '\n';
            pronto += "0000 006D 0001 0000 0010 0020\n";
        }
        const ReadResult fromFlipper = ReadText(flipper, std::nullopt, 1023);
        QVERIFY(!fromFlipper.error);
        QCOMPARE(fromFlipper.codesInFile, 100000);
        QCOMPARE(fromFlipper.codes.size(), std::size_t(1023));
        QCOMPARE(fromFlipper.codes.back().name, QStringLiteral("k1022"));
        const ReadResult named = ReadText(flipper, std::nullopt, 1, QStringLiteral("k99999"));
        QCOMPARE(named.codes.size(), std::size_t(1));
        QCOMPARE(named.codes[0].train[3], 100 + 99999 % 1000);
        const ReadResult fromPronto = ReadText(pronto, std::nullopt, 5);
        QCOMPARE(fromPronto.codesInFile, 100000);
        QCOMPARE(fromPronto.codes.size(), std::size_t(5));
    }

    void filesThatCannotBeRead()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const ReadResult missing = ReadCodeFile(dir.filePath(QStringLiteral("none.ir")), ReadRequest());
        QCOMPARE(missing.error->kind, CodeFileError::Kind::File);
        QCOMPARE(missing.error->text, dir.filePath(QStringLiteral("none.ir")) + QStringLiteral(": no such file"));
        QCOMPARE(ReadCodeFile(dir.path(), ReadRequest()).error->kind, CodeFileError::Kind::File);

        const QString fifo = dir.filePath(QStringLiteral("pipe"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const ReadResult pipe = ReadCodeFile(fifo, ReadRequest());
        QVERIFY2(pipe.error && pipe.error->text.endsWith(QStringLiteral("is not a regular file")), "a pipe was read");

        QFile huge(dir.filePath(QStringLiteral("huge.txt")));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(kMaxCodeFileBytes + 1));
        huge.close();
        const ReadResult big = ReadCodeFile(huge.fileName(), ReadRequest());
        QCOMPARE(big.error->kind, CodeFileError::Kind::Format);

        // Unnamed codes take the file's name.
        const QString mode2 = dir.filePath(QStringLiteral("volume-up.mode2"));
        QVERIFY(WriteFile(mode2, "pulse 900\nspace 450\npulse 900\n"));
        const ReadResult read = ReadCodeFile(mode2, ReadRequest());
        QVERIFY(!read.error);
        QCOMPARE(read.codes[0].name, QStringLiteral("volume-up"));
    }

    void writingIsAtomic()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("remote.ir"));
        QVERIFY(WriteFile(path, "previous content\n"));
        const NamedCode tooLong{QStringLiteral("long"), TrainOf(1, std::vector<int32_t>(1500, 500))};
        const std::optional<CodeFileError> refused = WriteCodeFile(path, CodeFormat::Flipper, {tooLong}, ExportOptions());
        QVERIFY(refused && refused->kind == CodeFileError::Kind::Format);
        QCOMPARE(ReadFile(path), QByteArray("previous content\n"));

        // A folder that cannot be written to: the old file stays whole.
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const std::optional<CodeFileError> failed =
            WriteCodeFile(path, CodeFormat::Flipper, {{QStringLiteral("k"), NecKeyTrain()}}, ExportOptions());
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (geteuid() != 0) { // root writes anyway
            QVERIFY(failed && failed->kind == CodeFileError::Kind::File);
            QCOMPARE(ReadFile(path), QByteArray("previous content\n"));
        }
        QVERIFY(!WriteCodeFile(path, CodeFormat::Flipper, {{QStringLiteral("k"), NecKeyTrain()}}, ExportOptions()));
        QVERIFY(ReadFile(path).startsWith("Filetype: IR signals file\n"));
    }
};

QTEST_GUILESS_MAIN(TestHostileCodes)
#include "tst_hostilecodes.moc"
