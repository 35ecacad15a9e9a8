// Device arrival and removal: the path test and the rescan that announces changes.
#include "device/DeviceChangeWatcher.h"

#include <QSignalSpy>
#include <QtTest>

class TestDeviceChange : public QObject {
    Q_OBJECT
private slots:
    void recognisesOurInterfacePath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("ours");
        QTest::newRow("ours") << QStringLiteral("\\\\?\\USB#Vid_16c0&Pid_1012#0001#{A5DCBF10-6530-11D2-901F-00C04FB951ED}") << true;
        QTest::newRow("capitals") << QStringLiteral("\\\\?\\USB#VID_16C0&PID_1012#0001#{guid}") << true;
        QTest::newRow("no trailing part") << QStringLiteral("\\\\?\\USB#vid_16c0&pid_1012") << true;
        QTest::newRow("other product") << QStringLiteral("\\\\?\\USB#Vid_16c0&Pid_1013#0001#{guid}") << false;
        QTest::newRow("other vendor") << QStringLiteral("\\\\?\\USB#Vid_046d&Pid_c52b#0001#{guid}") << false;
        QTest::newRow("longer text") << QStringLiteral("\\\\?\\USB#Vid_16c0&Pid_10120#x") << false;
        QTest::newRow("nothing before the first mark") << QStringLiteral("#Vid_16c0&Pid_1012#x") << false;
        QTest::newRow("no marks") << QStringLiteral("Vid_16c0&Pid_1012") << false;
        QTest::newRow("empty") << QString() << false;
    }
    void recognisesOurInterfacePath()
    {
        QFETCH(QString, path);
        QFETCH(bool, ours);
        QCOMPARE(IsOurDevicePath(path), ours);
    }

    void rescanAnnouncesArrivalAndRemoval()
    {
        QStringList present = {QStringLiteral("a")};
        DeviceChangeWatcher watcher([&] { return present; });
        QSignalSpy spy(&watcher, &DeviceChangeWatcher::DeviceChange);
        watcher.Start(0);
        watcher.Rescan();
        QCOMPARE(spy.count(), 0); // present at start: a baseline, not an arrival

        present = {QStringLiteral("a"), QStringLiteral("b")};
        watcher.Rescan();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), DeviceChangeWatcher::kArrival);
        QCOMPARE(spy.at(0).at(1).toInt(), DeviceChangeWatcher::kDeviceInterface);
        QCOMPARE(spy.at(0).at(2).toString(), QStringLiteral("b"));

        present = {QStringLiteral("b")};
        watcher.Rescan();
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toInt(), DeviceChangeWatcher::kRemoveComplete);
        QCOMPARE(spy.at(1).at(2).toString(), QStringLiteral("a"));
    }
};

QTEST_GUILESS_MAIN(TestDeviceChange)
#include "tst_devicechange.moc"
