#include "analyzer/core/PulseTrain.h"
#include "tests/support/FrameBuilder.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <random>

namespace {

struct CliRun {
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    int status = -1;
    QString out;
    QString err;
};

CliRun RunCli(const QStringList& arguments, const QString& program = QStringLiteral(WAVIX_CLI_PATH))
{
    QProcess process;
    process.start(program, arguments);
    CliRun run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitStatus = process.exitStatus();
    run.status = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QByteArray Record(quint32 index, const PulseTrain& train)
{
    QByteArray bytes(4 + int(sizeof(PulseTrain)), '\0');
    qToLittleEndian<quint32>(index, bytes.data());
    qToLittleEndian<qint32>(train.entries.data(), PulseTrain::kEntries, bytes.data() + 4);
    return bytes;
}

PulseTrain ShortTrain()
{
    PulseTrain train;
    train[0] = 1;
    train[1] = 9000;
    train[2] = 4500;
    train[3] = 560;
    train[4] = 560;
    return train;
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;

    QString WriteFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // Channel 2 ends up with a NEC frame (a later record replaces an earlier
    // one), channel 1 with a short train; index 7 is skipped.
    QString NecFile()
    {
        return WriteFile(QStringLiteral("nec.lgc"), Record(1, ShortTrain()) + Record(7, ShortTrain())
                                                        + Record(1, NecTrain({0x00, 0xFF, 0x40, 0xBF}, 3))
                                                        + Record(0, ShortTrain()));
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void decodePrintsProtocolAndCodeLine()
    {
        const CliRun run = RunCli({QStringLiteral("decode"), NecFile()});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QStringLiteral("CH1\tnone\t\nCH2\tNEC\tCode: NEC Address:00 Command:40\n"));
        QVERIFY(run.err.isEmpty());
    }

    void decodeListsBoxes()
    {
        const QString file = WriteFile(QStringLiteral("rc5.lgc"), Record(3, Rc5Train(0, 5, 53, 2)));
        const CliRun run = RunCli({QStringLiteral("decode"), file, QStringLiteral("--boxes")});
        QCOMPARE(run.status, 0);
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + 17);
        QCOMPARE(lines[0], QStringLiteral("CH4\tPhilips RC-5\tCode: Philips RC-5 Address:05 Command:35"));
        QCOMPARE(lines[1], QStringLiteral("CH4\tbox\t2\t0\t2\t0\t-889\tLead code"));
        QVERIFY(lines[2].startsWith(QStringLiteral("CH4\tbox\t0\t2\t3\t")));

        const CliRun nec = RunCli({QStringLiteral("decode"), QStringLiteral("--boxes"), NecFile()});
        QVERIFY(nec.out.contains(QStringLiteral("\nCH2\tbox\t2\t66\t67\t0\t0\tStop\n")));
        QCOMPARE(nec.out.count(QStringLiteral("CH2\tbox\t")), 38);
    }

    void infoPrintsLevelCountAndDuration()
    {
        const CliRun run = RunCli({QStringLiteral("info"), NecFile()});
        QCOMPARE(run.status, 0);
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("CH1\tH\t1\t4\t14620"));
        QVERIFY(lines[1].startsWith(QStringLiteral("CH2\tH\t1\t68\t")));
    }

    void textUsesTheAnalyzersDefaultsAndOptions()
    {
        const QString file = NecFile();
        QCOMPARE(RunCli({QStringLiteral("text"), file}).out, QStringLiteral("02328, 01194, 00230, 00230\n"));
        const CliRun run = RunCli({QStringLiteral("text"), file, QStringLiteral("--format=[INDEX]:[LEVEL]%d"),
                                   QStringLiteral("--separator"), QStringLiteral(" "), QStringLiteral("--columns"),
                                   QStringLiteral("3")});
        QCOMPARE(run.out, QStringLiteral("1:H9000 2:L4500 3:H560 \r\n4:L560\n"));
        // Channel 4 is not in the file: nothing, successfully.
        const CliRun empty = RunCli({QStringLiteral("text"), file, QStringLiteral("--channel"), QStringLiteral("4")});
        QCOMPARE(empty.status, 0);
        QVERIFY(empty.out.isEmpty());
    }

    // Defaults come from Setting.ini in the program's own folder.
    void textReadsSettingsBesideTheProgram()
    {
        QTemporaryDir programDir;
        const QString program = programDir.filePath(QStringLiteral("wavix-cli"));
        QVERIFY(QFile::copy(QStringLiteral(WAVIX_CLI_PATH), program));
        QFile ini(programDir.filePath(QStringLiteral("Setting.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Format]\r\nPrefix=\"<\"\r\nSuffix=\">\"\r\nSpace Character=\" \"\r\nFormat=\"%d\"\r\n"
                  "Columns=\"0\"\r\n");
        ini.close();

        const QString file = NecFile();
        QCOMPARE(RunCli({QStringLiteral("text"), file}, program).out, QStringLiteral("<9000 4500 560 560>\n"));
        QCOMPARE(RunCli({QStringLiteral("text"), file, QStringLiteral("--prefix"), QStringLiteral("[")}, program).out,
                 QStringLiteral("[9000 4500 560 560>\n"));
    }

    void fileProblemsExitWithOne_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing") << dir.filePath(QStringLiteral("no-such.lgc"));
        QTest::newRow("directory") << dir.path();
    }

    void fileProblemsExitWithOne()
    {
        QFETCH(QString, path);
        for (const char* command : {"decode", "text", "info"}) {
            const CliRun run = RunCli({QString::fromLatin1(command), path});
            QCOMPARE(run.exitStatus, QProcess::NormalExit);
            QCOMPARE(run.status, 1);
            QVERIFY(run.err.contains(path));
            QVERIFY(run.out.isEmpty());
        }
    }

    void badArgumentsExitWithTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        const QString file = QStringLiteral("x.lgc");
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("unknown command") << QStringList{QStringLiteral("frobnicate"), file};
        QTest::newRow("no file") << QStringList{QStringLiteral("decode")};
        QTest::newRow("two files") << QStringList{QStringLiteral("decode"), file, file};
        QTest::newRow("option of another command") << QStringList{QStringLiteral("decode"), file, QStringLiteral("--columns"), QStringLiteral("3")};
        QTest::newRow("boxes for text") << QStringList{QStringLiteral("text"), file, QStringLiteral("--boxes")};
        QTest::newRow("channel 0") << QStringList{QStringLiteral("text"), file, QStringLiteral("--channel"), QStringLiteral("0")};
        QTest::newRow("channel 5") << QStringList{QStringLiteral("text"), file, QStringLiteral("--channel=5")};
        QTest::newRow("negative columns") << QStringList{QStringLiteral("text"), file, QStringLiteral("--columns"), QStringLiteral("-1")};
        QTest::newRow("columns not a number") << QStringList{QStringLiteral("text"), file, QStringLiteral("--columns"), QStringLiteral("12abc")};
        QTest::newRow("value missing") << QStringList{QStringLiteral("text"), file, QStringLiteral("--format")};
        QTest::newRow("short option") << QStringList{QStringLiteral("info"), file, QStringLiteral("-v")};
    }

    void badArgumentsExitWithTwo()
    {
        QFETCH(QStringList, arguments);
        const CliRun run = RunCli(arguments);
        QCOMPARE(run.exitStatus, QProcess::NormalExit);
        QCOMPARE(run.status, 2);
        QVERIFY(run.err.startsWith(QStringLiteral("wavix-cli: ")));
        QVERIFY(run.out.isEmpty());
    }

    void helpSucceeds()
    {
        const CliRun run = RunCli({QStringLiteral("decode"), QStringLiteral("--help")});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.startsWith(QStringLiteral("usage: wavix-cli")));
    }

    // Garbage in whole records (indexes kept in range so that it loads),
    // torn records and empty files are decoded and printed without harm.
    void malformedFilesNeverCrash()
    {
        std::mt19937 random(99);
        QList<QByteArray> contents{QByteArray(), QByteArray(100, '\x7f'), QByteArray(8196 * 2 + 100, '\xff')};
        for (int n = 0; n < 4; ++n) {
            QByteArray bytes(8196 * 3, '\0');
            for (char& byte : bytes)
                byte = char(random());
            for (int r = 0; r < 3; ++r)
                qToLittleEndian<quint32>(quint32(random() % 4), bytes.data() + r * 8196);
            if (n == 1)
                qToLittleEndian<qint32>(1, bytes.data() + 4); // a start level the matcher takes as high
            contents.append(bytes);
        }
        for (int i = 0; i < contents.size(); ++i) {
            const QString file = WriteFile(QStringLiteral("garbage%1.lgc").arg(i), contents[i]);
            for (const QStringList& arguments :
                 {QStringList{QStringLiteral("decode"), file, QStringLiteral("--boxes")},
                  QStringList{QStringLiteral("text"), file}, QStringList{QStringLiteral("info"), file}}) {
                const CliRun run = RunCli(arguments);
                QCOMPARE(run.exitStatus, QProcess::NormalExit);
                QCOMPARE(run.status, 0);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
