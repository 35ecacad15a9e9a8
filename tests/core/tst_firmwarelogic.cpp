// The firmware update's plain logic: versions, the choice of an image, reading
// it, and the bootloader handshake's count.
#include "analyzer/core/BootloaderHandshake.h"
#include "analyzer/core/FirmwareImages.h"
#include "analyzer/core/FirmwareVersion.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

DeviceIdentity Device(const QString& name, const QString& version)
{
    return DeviceIdentity{name, version, QStringLiteral("0020231108"), QStringLiteral("L4IR")};
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestFirmwareLogic : public QObject {
    Q_OBJECT

private slots:
    void normalizeVersion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("version");
        QTest::newRow("digits run into the first group") << "build12345.1.2.3" << "345.1.2.3";
        QTest::newRow("three groups") << "1.2.3" << "";
        QTest::newRow("file name") << "A_1.0.2.0" << "1.0.2.0";
        QTest::newRow("leftmost of two") << "1.2.3.4.5.6.7.8" << "1.2.3.4";
        QTest::newRow("leftmost, not the longest") << "X 1.0.9.9 then 10.100.200.300" << "1.0.9.9";
        QTest::newRow("long run before the dot") << "1234.5.6.7" << "234.5.6.7";
        QTest::newRow("last group cut at three") << "1.2.3.4567" << "1.2.3.456";
        QTest::newRow("a later match after a false start") << "1.2.x.3.4.5.6" << "3.4.5.6";
        QTest::newRow("double dot") << "1..2.3.4" << "";
        QTest::newRow("leading zeros kept") << "v01.002.3.4" << "01.002.3.4";
        QTest::newRow("only ASCII digits") << QStringLiteral("\u0661.\u0662.\u0663.\u0664") << "";
        QTest::newRow("no version") << "FIRMWARE" << "";
        QTest::newRow("empty") << "" << "";
    }
    void normalizeVersion()
    {
        QFETCH(QString, text);
        QFETCH(QString, version);
        QCOMPARE(NormalizeVersion(text), version);
    }

    void compareVersions_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("result");
        QTest::newRow("numbers, not text") << "1.0.10.0" << "1.0.9.9" << +1;
        QTest::newRow("numbers, not text, reversed") << "1.0.9.9" << "1.0.10.0" << -1;
        QTest::newRow("equal") << "A_1.0.1.1" << "1.0.1.1" << 0;
        QTest::newRow("leading zeros are the same number") << "01.0.0.0" << "1.000.0.0" << 0;
        QTest::newRow("last component decides") << "2.3.4.6" << "2.3.4.5" << +1;
        QTest::newRow("no version against a version") << "FIRMWARE" << "1.0.1.1" << -1;
        QTest::newRow("no version against zeros") << "FIRMWARE" << "0.0.0.0" << 0;
        QTest::newRow("version against no version") << "X_1.0.0.0" << "garbage" << +1;
        QTest::newRow("only the first component counts there") << "X_0.9.0.0" << "garbage" << 0;
        QTest::newRow("neither has one") << "a" << "b" << 0;
        QTest::newRow("above the bootloader's zero") << "X 0.0.0.1" << "0.0.0.0" << +1;
    }
    void compareVersions()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, result);
        QCOMPARE(CompareVersions(a, b), result);
    }

    void findNewerFirmware_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("deviceName");
        QTest::addColumn<QString>("chosen");
        const QString analyzer = QStringLiteral("IR Logic Analyzer");
        QTest::newRow("the newer one, name in any case")
            << QStringList{"A_1.0.1.1.UPF", "A_1.0.2.0.upf"} << analyzer << "A_1.0.2.0.upf";
        QTest::newRow("components as numbers")
            << QStringList{"X 1.0.9.9.UPF", "X 1.0.10.0.UPF"} << analyzer << "X 1.0.10.0.UPF";
        QTest::newRow("no version in the name") << QStringList{"FIRMWARE.UPF"} << analyzer << "";
        QTest::newRow("the same version") << QStringList{"A_1.0.1.1.UPF"} << analyzer << "";
        QTest::newRow("only older ones") << QStringList{"A_1.0.0.9.UPF", "A_0.9.9.9.UPF"} << analyzer << "";
        QTest::newRow("not an image")
            << QStringList{"A_2.0.0.0.UPF.bak", "A_2.0.0.0UPF", "A_2.0.0.0.bin"} << analyzer << "";
        QTest::newRow("bootloader takes any version, the newest winning")
            << QStringList{"A_0.0.0.5.UPF", "B_1.0.0.0.UPF", "C_0.9.0.0.UPF", "FIRMWARE.UPF"}
            << "Quendar BOOTLOADER" << "B_1.0.0.0.UPF";
        QTest::newRow("bootloader passes over zeros")
            << QStringList{"A_0.0.0.0.UPF"} << "BOOTLOADER" << "";
        QTest::newRow("equal versions: the first name wins")
            << QStringList{"b_1.0.3.0.UPF", "A_1.0.3.0.UPF"} << analyzer << "A_1.0.3.0.UPF";
    }
    void findNewerFirmware()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, deviceName);
        QFETCH(QString, chosen);
        QTemporaryDir folder;
        for (const QString& name : files)
            QVERIFY(WriteFile(folder.filePath(name), name.toUtf8()));
        const QString path = FindNewerFirmware({folder.path()}, Device(deviceName, QStringLiteral("1.0.1.1")));
        QCOMPARE(path, chosen.isEmpty() ? QString() : folder.filePath(chosen));
    }

    void foldersAreNeverImages()
    {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Z_9.9.9.9.UPF")));
        QVERIFY(WriteFile(folder.filePath(QStringLiteral("A_1.0.2.0.UPF")), "image"));
        QCOMPARE(FindNewerFirmware({folder.path()}, Device(QStringLiteral("IR Logic Analyzer"), QStringLiteral("1.0.1.1"))),
                 folder.filePath(QStringLiteral("A_1.0.2.0.UPF")));
    }

    // The newest across all folders; on a tie the earlier folder's image.
    void severalFolders()
    {
        QTemporaryDir first, second;
        QVERIFY(WriteFile(first.filePath(QStringLiteral("A_1.0.2.0.UPF")), "a"));
        QVERIFY(WriteFile(second.filePath(QStringLiteral("A_1.0.3.0.UPF")), "b"));
        QVERIFY(WriteFile(second.filePath(QStringLiteral("0_1.0.2.0.UPF")), "c"));
        const DeviceIdentity device = Device(QStringLiteral("IR Logic Analyzer"), QStringLiteral("1.0.1.1"));
        QCOMPARE(FindNewerFirmware({first.path(), second.path()}, device), second.filePath(QStringLiteral("A_1.0.3.0.UPF")));
        QVERIFY(QFile::remove(second.filePath(QStringLiteral("A_1.0.3.0.UPF"))));
        QCOMPARE(FindNewerFirmware({first.path(), second.path()}, device), first.filePath(QStringLiteral("A_1.0.2.0.UPF")));
        QCOMPARE(FindNewerFirmware({first.path() + QStringLiteral("/missing"), second.path()}, device),
                 second.filePath(QStringLiteral("0_1.0.2.0.UPF")));
    }

    void searchWaitsForAnIdentifiedInfraredDevice_data()
    {
        QTest::addColumn<bool>("identified");
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("ready");
        QTest::newRow("infrared") << true << "L4IR" << true;
        QTest::newRow("not identified") << false << "L4IR" << false;
        QTest::newRow("other type") << true << "L4RX" << false;
        QTest::newRow("case matters") << true << "L4ir" << false;
    }
    void searchWaitsForAnIdentifiedInfraredDevice()
    {
        QFETCH(bool, identified);
        QFETCH(QString, type);
        QFETCH(bool, ready);
        DeviceSnapshot snapshot{identified, Device(QStringLiteral("IR Logic Analyzer"), QStringLiteral("1.0.1.1"))};
        snapshot.identity.deviceType = type;
        QCOMPARE(ReadyForFirmwareSearch(snapshot), ready);
    }

    void readFirmwareImage()
    {
        QTemporaryDir folder;
        QByteArray bytes(2500, '\0');
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = char(i * 131 + (i >> 8));
        const QString image = folder.filePath(QStringLiteral("A_1.0.2.0.UPF"));
        QVERIFY(WriteFile(image, bytes));
        QCOMPARE(ReadFirmwareImage(image), std::optional<QByteArray>(bytes));

        const QString empty = folder.filePath(QStringLiteral("E_1.0.2.0.UPF"));
        QVERIFY(WriteFile(empty, QByteArray()));
        QCOMPARE(ReadFirmwareImage(empty), std::optional<QByteArray>(QByteArray()));

        QVERIFY(!ReadFirmwareImage(folder.filePath(QStringLiteral("missing.UPF"))));

        // Sparse: takes no disk space, but must not be read whole.
        QFile huge(folder.filePath(QStringLiteral("H_9.9.9.9.UPF")));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(kMaxFirmwareImageBytes + 1));
        huge.close();
        QVERIFY(!ReadFirmwareImage(huge.fileName()));
    }

    void handshakeSteps_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("step");
        QTest::newRow("normal firmware") << "IR Logic Analyzer" << int(HandshakeStep::EnterBootloader);
        QTest::newRow("Quendar bootloader") << "Quendar BOOTLOADER" << int(HandshakeStep::StartTransfer);
        QTest::newRow("plain bootloader") << "BOOTLOADER" << int(HandshakeStep::StartTransfer);
        QTest::newRow("exact names only") << "Quendar Bootloader" << int(HandshakeStep::EnterBootloader);
        QTest::newRow("no part of a name") << "BOOTLOADER 2" << int(HandshakeStep::EnterBootloader);
    }
    void handshakeSteps()
    {
        QFETCH(QString, name);
        QFETCH(int, step);
        BootloaderHandshake handshake;
        QCOMPARE(int(handshake.Tick(true, name)), step);
        QCOMPARE(handshake.bootloaderWaitTicks, 0);
    }

    // Fifty ticks without an identified device in all, also when the device
    // showed up in between; a new handshake starts counting from zero.
    void handshakeGivesUpAfterFiftyTicksInAll()
    {
        BootloaderHandshake handshake;
        handshake.Start();
        for (int i = 0; i < 30; ++i)
            QCOMPARE(handshake.Tick(false, QString()), HandshakeStep::Wait);
        QCOMPARE(handshake.Tick(true, QStringLiteral("IR Logic Analyzer")), HandshakeStep::EnterBootloader);
        for (int i = 0; i < 19; ++i)
            QCOMPARE(handshake.Tick(false, QString()), HandshakeStep::Wait);
        QCOMPARE(handshake.Tick(false, QString()), HandshakeStep::GiveUp);
        QCOMPARE(handshake.bootloaderWaitTicks, 50);

        handshake.Start();
        QCOMPARE(handshake.Tick(false, QString()), HandshakeStep::Wait);
        QCOMPARE(handshake.bootloaderWaitTicks, 1);
    }
};

QTEST_GUILESS_MAIN(TestFirmwareLogic)
#include "tst_firmwarelogic.moc"
