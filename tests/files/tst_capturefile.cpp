#include "TestFiles.h"
#include "analyzer/files/CaptureFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <unistd.h>

namespace {

// One record whose entries all hold `fill` (entry 0 included).
QByteArray Record(quint32 index, qint32 fill)
{
    QByteArray record(kCaptureRecordSize, Qt::Uninitialized);
    qToLittleEndian<quint32>(index, record.data());
    for (int i = 0; i < PulseTrain::kEntries; ++i)
        qToLittleEndian<qint32>(fill, record.data() + 4 + 4 * i);
    return record;
}

ChannelTrains RandomChannels(quint32 seed)
{
    ChannelTrains channels;
    QRandomGenerator random(seed);
    for (PulseTrain& train : channels) {
        for (int32_t& entry : train.entries)
            entry = static_cast<int32_t>(random.generate());
        train[1000] = 0; // a terminator with entries after it
    }
    return channels;
}

} // namespace

class TestCaptureFile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;

private slots:
    void savesAndLoadsAllChannelsBitForBit()
    {
        const ChannelTrains saved = RandomChannels(7);
        const QString path = dir.filePath("all.lgc");
        QVERIFY(SaveCaptureFile(path, saved, {0, 1, 2, 3}).ok);

        const QByteArray bytes = ReadFile(path);
        QCOMPARE(bytes.size(), 4 * kCaptureRecordSize);
        // Little-endian whatever the host: index, then entry 0.
        QCOMPARE(bytes.mid(kCaptureRecordSize, 4), QByteArray("\x01\x00\x00\x00", 4));
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + kCaptureRecordSize + 4), saved[1][0]);

        ChannelTrains loaded{};
        std::vector<int> replaced;
        QVERIFY(LoadCaptureFile(path, loaded, &replaced));
        QCOMPARE(replaced, (std::vector<int>{0, 1, 2, 3}));
        QVERIFY(loaded == saved);
    }

    void singleChannelFileReplacesOnlyItsChannel()
    {
        const ChannelTrains saved = RandomChannels(11);
        const QString path = dir.filePath("ch4.lgc");
        QVERIFY(SaveCaptureFile(path, saved, {3}).ok);
        QCOMPARE(QFileInfo(path).size(), qint64(kCaptureRecordSize));

        ChannelTrains current = RandomChannels(12);
        const ChannelTrains before = current;
        QVERIFY(LoadCaptureFile(path, current));
        QVERIFY(current[3] == saved[3]);
        for (int c = 0; c < 3; ++c)
            QVERIFY(current[c] == before[c]);
    }

    void appliesRecords_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<std::vector<int>>("replaced");
        QTest::addColumn<std::vector<int>>("fills"); // per channel; 0 = untouched

        QTest::newRow("two records and 100 stray bytes")
            << Record(0, 10) + Record(2, 12) + QByteArray(100, '\x01') << std::vector<int>{0, 2}
            << std::vector<int>{10, 0, 12, 0};
        QTest::newRow("index 4 skipped") << Record(1, 11) + Record(4, 99) + Record(3, 13) << std::vector<int>{1, 3}
                                         << std::vector<int>{0, 11, 0, 13};
        QTest::newRow("index with all bits set skipped")
            << Record(0, 10) + Record(0xFFFFFFFFu, 99) + Record(1, 11) << std::vector<int>{0, 1}
            << std::vector<int>{10, 11, 0, 0};
        QTest::newRow("later record for a channel wins")
            << Record(0, 10) + Record(0, 20) << std::vector<int>{0, 0} << std::vector<int>{20, 0, 0, 0};
        QTest::newRow("empty file") << QByteArray() << std::vector<int>{} << std::vector<int>{0, 0, 0, 0};
        QTest::newRow("one byte short of a record")
            << Record(0, 10).left(kCaptureRecordSize - 1) << std::vector<int>{} << std::vector<int>{0, 0, 0, 0};
    }

    void appliesRecords()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(std::vector<int>, replaced);
        QFETCH(std::vector<int>, fills);

        ChannelTrains fromBytes{};
        QCOMPARE(ApplyCaptureRecords(bytes, fromBytes), replaced);

        // Reading the same bytes from a file gives the same result.
        const QString path = dir.filePath("records.lgc");
        QVERIFY(WriteFile(path, bytes));
        ChannelTrains fromFile{};
        std::vector<int> fileReplaced;
        QVERIFY(LoadCaptureFile(path, fromFile, &fileReplaced));
        QCOMPARE(fileReplaced, replaced);

        for (int c = 0; c < kChannelCount; ++c) {
            PulseTrain expected;
            expected.entries.fill(fills[static_cast<std::size_t>(c)]);
            QVERIFY2(fromBytes[c] == expected, qPrintable(QStringLiteral("channel %1").arg(c)));
            QVERIFY(fromFile[c] == expected);
        }
    }

    void survivesRandomBytes()
    {
        QByteArray bytes(kCaptureRecordSize * 40 + 77, Qt::Uninitialized);
        QRandomGenerator random(99);
        random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
        // Small indexes so that some records land.
        for (int r = 0; r < 40; r += 3)
            qToLittleEndian<quint32>(static_cast<quint32>(r % 4), bytes.data() + r * kCaptureRecordSize);
        ChannelTrains channels{};
        const std::vector<int> replaced = ApplyCaptureRecords(bytes, channels);
        QVERIFY(!replaced.empty());
        for (const int c : replaced)
            QVERIFY(c >= 0 && c < kChannelCount);
    }

    void leavesChannelsAloneWhenTheFileCannotBeRead()
    {
        const ChannelTrains before = RandomChannels(5);
        ChannelTrains channels = before;
        QVERIFY(!LoadCaptureFile(dir.filePath("missing.lgc"), channels));
        QVERIFY(!LoadCaptureFile(dir.path(), channels));
        QVERIFY(channels == before);
    }

    void skipsUnknownChannelsWhenSaving()
    {
        const ChannelTrains channels = RandomChannels(3);
        const QByteArray bytes = SerializeChannels(channels, {2, -1, 4, 0});
        QCOMPARE(bytes.size(), 2 * kCaptureRecordSize);
        QCOMPARE(qFromLittleEndian<quint32>(bytes.constData()), 2u);
        QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + kCaptureRecordSize), 0u);
    }

    void failedSaveNamesTheFileAndKeepsThePrevious()
    {
        const ChannelTrains channels = RandomChannels(21);

        // A plain file where a folder should be fails for every user.
        const QString notAFolder = dir.filePath("plain");
        QVERIFY(WriteFile(notAFolder, "x"));
        const QString below = notAFolder + "/below.lgc";
        SaveOutcome outcome = SaveCaptureFile(below, channels, {0, 1, 2, 3});
        QVERIFY(!outcome.ok);
        QVERIFY2(outcome.error.contains(below), qPrintable(outcome.error));

        if (geteuid() == 0)
            QSKIP("permissions do not stop the superuser");
        const QString folder = dir.filePath("locked");
        QVERIFY(QDir().mkdir(folder));
        const QString path = folder + "/previous.lgc";
        QVERIFY(SaveCaptureFile(path, channels, {1}).ok);
        const QByteArray previous = ReadFile(path);
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        outcome = SaveCaptureFile(path, channels, {0, 1, 2, 3});
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!outcome.ok);
        QCOMPARE(outcome.error, QStringLiteral("Access to %1 was denied.").arg(path));
        QCOMPARE(ReadFile(path), previous);
    }
};

QTEST_GUILESS_MAIN(TestCaptureFile)
#include "tst_capturefile.moc"
