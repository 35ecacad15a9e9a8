// Record.dat: the exact layout, round trips, and files that arrive hostile.
#include "TestFiles.h"
#include "analyzer/library/CodeLibrary.h"
#include "analyzer/library/RecordFile.h"
#include "library/support/Trains.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray Utf16(const QString& text)
{
    QByteArray bytes;
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

const QByteArray kLineEnd("\x0D\x00\x0A\x00", 4);

QByteArray TrainBytes(const PulseTrain& train)
{
    QByteArray bytes;
    for (int32_t value : train.entries)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.append(char((uint32_t(value) >> shift) & 0xFF));
    return bytes;
}

CodeLibrary Parse(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    CodeLibrary library;
    ReadRecords(buffer, library);
    return library;
}

} // namespace

class TestRecordFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString Path() const { return RecordFilePath(dir.path()); }

private slots:
    void init() { QFile::remove(Path()); }

    void writesTheLayoutByteForByte()
    {
        CodeLibrary library;
        const PulseTrain power = Train(1, {9000, 4500, 560, -7, INT32_MAX});
        library.Append(QStringLiteral("TV Power"), power);
        library.Append(QString(), Train(0, {}));
        library.Append(QStringLiteral("音量+"), Train(65535, {100}));
        QVERIFY(SaveRecords(Path(), library));

        const QByteArray expected = Utf16(QStringLiteral("TV Power")) + kLineEnd + TrainBytes(power) + kLineEnd
            + TrainBytes(Train(0, {})) + Utf16(QStringLiteral("音量+")) + kLineEnd + TrainBytes(Train(65535, {100}));
        QCOMPARE(ReadFile(Path()), expected);
        QCOMPARE(ReadFile(Path()).size(), qsizetype(2 * 8 + 4 + 8192 + 4 + 8192 + 2 * 3 + 4 + 8192));
    }

    void roundTripsEveryEntryInOrder_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("empty library, empty file") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("the most the window adds") << 1023;
        QTest::newRow("the most a file holds") << 1024;
    }
    void roundTripsEveryEntryInOrder()
    {
        QFETCH(int, count);
        CodeLibrary library;
        qint64 length = 0;
        for (int i = 0; i < count; ++i) {
            PulseTrain train;
            train[0] = i & 1;
            for (int j = 1; j < PulseTrain::kEntries; ++j)
                train[j] = (i * 7919 + j * 31) % 100000 + (j == 100 + i % 50 ? -1 : 1);
            const QString name = i % 10 == 3 ? QString() : QStringLiteral("key %1 %2").arg(i).arg(QString(i % 7, QChar(0x4E00 + i)));
            library.Append(name, train);
            length += 2 * name.size() + 4 + 8192;
        }
        QVERIFY(SaveRecords(Path(), library));
        QCOMPARE(QFileInfo(Path()).size(), length);

        CodeLibrary loaded;
        loaded.Append(QStringLiteral("stale"), PulseTrain());
        QVERIFY(LoadRecords(Path(), loaded));
        QCOMPARE(loaded.Count(), count);
        for (int i = 0; i < count; ++i) {
            QCOMPARE(loaded.Entry(i).name, library.Entry(i).name);
            QVERIFY2(loaded.Entry(i).train == library.Entry(i).train, qPrintable(QString::number(i)));
        }
    }

    void missingFileGivesAnEmptyLibrary()
    {
        CodeLibrary library;
        library.Append(QStringLiteral("stale"), PulseTrain());
        QVERIFY(!LoadRecords(Path(), library));
        QCOMPARE(library.Count(), 0);
    }

    void hostileFilesStayBounded_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("lastTrainSlot1"); // entry 1 of the last train, -1: no entries

        const QByteArray full = TrainBytes(Train(1, {9000, 4500}));
        QTest::newRow("empty file") << QByteArray() << QStringList() << -1;
        QTest::newRow("name line without a line feed") << Utf16(QStringLiteral("Power")) << QStringList() << -1;
        QTest::newRow("name and line end, no train") << Utf16(QStringLiteral("Power")) + kLineEnd << QStringList() << -1;
        QTest::newRow("short last train is zero-filled")
            << Utf16(QStringLiteral("A")) + kLineEnd + full + Utf16(QStringLiteral("B")) + kLineEnd + full.left(5)
            << QStringList{"A", "B"} << 0x28 /* only the low byte of 9000 arrived */;
        QTest::newRow("odd byte count in the train")
            << Utf16(QStringLiteral("A")) + kLineEnd + full.left(4097) << QStringList{"A"} << 9000;
        QTest::newRow("odd byte after the last record")
            << Utf16(QStringLiteral("A")) + kLineEnd + full + QByteArray(1, 'x') << QStringList{"A"} << 9000;
        QTest::newRow("line feed alone, CR inside the name")
            << QByteArray("\x0A\x00", 2) + full + Utf16(QStringLiteral("x\ry")) + kLineEnd + full
            << QStringList{"", "xy"} << 9000;
        QTest::newRow("0x0A byte inside a character is no line feed")
            << Utf16(QStringLiteral("\u0A41\u010A")) + kLineEnd + full << QStringList{"\u0A41\u010A"} << 9000;
    }
    void hostileFilesStayBounded()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, names);
        QFETCH(int, lastTrainSlot1);
        const CodeLibrary library = Parse(bytes);
        QCOMPARE(library.Count(), names.size());
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(library.Entry(i).name, names[i]);
        if (lastTrainSlot1 >= 0) {
            const PulseTrain& last = library.Entry(library.Count() - 1).train;
            QCOMPARE(last[1], lastTrainSlot1);
            QCOMPARE(last[PulseTrain::kMaxPulses], 0);
        }
    }

    void moreThan1024RecordsStopAt1024()
    {
        QByteArray bytes;
        for (int i = 0; i < 1100; ++i)
            bytes += Utf16(QString::number(i)) + kLineEnd + TrainBytes(Train(0, {i + 1}));
        const CodeLibrary library = Parse(bytes);
        QCOMPARE(library.Count(), CodeLibrary::kCapacity);
        QCOMPARE(library.Entry(1023).name, QStringLiteral("1023"));
        QVERIFY(library.IsFull());
    }

    void hugeNameLineKeepsABoundedName()
    {
        // 10 MB of name before the line end: read through, kept short.
        const QByteArray bytes = QByteArray(10 * 1024 * 1024, 'A') + kLineEnd + TrainBytes(Train(1, {560}));
        const CodeLibrary library = Parse(bytes);
        QCOMPARE(library.Count(), 1);
        QCOMPARE(library.Entry(0).name.size(), CodeLibrary::kMaxNameLength);
        QCOMPARE(library.Entry(0).name.at(0), QChar(0x4141));
        QCOMPARE(library.Entry(0).train[1], 560);
    }

    void garbageNeverFails()
    {
        QByteArray bytes(3 * 1024 * 1024 + 1, '\0');
        quint32 state = 12345;
        for (char& byte : bytes) {
            state = state * 1103515245u + 12345u;
            byte = char(state >> 24);
        }
        const CodeLibrary library = Parse(bytes);
        QVERIFY(library.Count() <= CodeLibrary::kCapacity);
        for (int i = 0; i < library.Count(); ++i)
            QVERIFY(library.Entry(i).name.size() <= CodeLibrary::kMaxNameLength);
    }

    void interruptedSaveKeepsThePreviousFile()
    {
        CodeLibrary small;
        small.Append(QStringLiteral("old"), Train(1, {100}));
        QVERIFY(SaveRecords(Path(), small));
        const QByteArray before = ReadFile(Path());

        CodeLibrary big;
        for (int i = 0; i < 40; ++i)
            big.Append(QStringLiteral("new %1").arg(i), Train(0, {i + 1}));

        // The disk "fills up" after 64 KiB: the write fails half-way.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited = saved;
        limited.rlim_cur = 64 * 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const bool saved_ok = SaveRecords(Path(), big);
        setrlimit(RLIMIT_FSIZE, &saved);

        QVERIFY(!saved_ok);
        QCOMPARE(ReadFile(Path()), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Record.dat"});
    }

    void saveIntoAMissingFolderFails()
    {
        CodeLibrary library;
        library.Append(QStringLiteral("x"), PulseTrain());
        QVERIFY(!SaveRecords(dir.filePath(QStringLiteral("no/such/Record.dat")), library));
    }
};

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
