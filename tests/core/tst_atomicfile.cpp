#include "analyzer/core/AtomicFile.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

class TestAtomicFile : public QObject {
    Q_OBJECT

private slots:
    void replacesTheFileWhole();
    void fullDiskKeepsThePreviousFile_data();
    void fullDiskKeepsThePreviousFile();
    void missingFolderCreatesNothing();
};

void TestAtomicFile::replacesTheFileWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.bin");
    QVERIFY(WriteFile(path, QByteArray(5000, 'o')));
    const QByteArray bytes = "new\r\ncontent";
    QVERIFY(WriteFileAtomically(path, bytes).ok);
    QCOMPARE(ReadFile(path), bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1); // no temporary left behind
}

void TestAtomicFile::fullDiskKeepsThePreviousFile_data()
{
    QTest::addColumn<int>("size");
    // Small writes sit in a buffer until commit, large ones go straight out;
    // both must notice the disk filling up.
    QTest::newRow("small file") << 300;
    QTest::newRow("large file") << 200000;
}

void TestAtomicFile::fullDiskKeepsThePreviousFile()
{
    QFETCH(int, size);
    QTemporaryDir dir;
    const QString path = dir.filePath("Setting.ini");
    const QByteArray previous = "[Trigger]\r\nMode=\"Pulse\"\r\n";
    QVERIFY(WriteFile(path, previous));

    AtomicWriteResult result;
    {
        FileSizeLimit full(100);
        result = WriteFileAtomically(path, QByteArray(size, 'x'));
    }
    QVERIFY(!result.ok);
    QCOMPARE(result.systemError, EFBIG);
    QCOMPARE(ReadFile(path), previous);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

void TestAtomicFile::missingFolderCreatesNothing()
{
    QTemporaryDir dir;
    const AtomicWriteResult result = WriteFileAtomically(dir.filePath("no/such/folder/x"), "x");
    QVERIFY(!result.ok);
    QVERIFY(!result.errorText.isEmpty());
    QVERIFY(!QFile::exists(dir.filePath("no")));
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
