// Learning codes from the device into the selected keys and sending a key's
// code when it is clicked, through the real window and the device code
// against the in-process simulated device; the connection state through
// unplugging and plugging in again.
#include "designer/KeyTypes.h"
#include "device/DeviceChangeWatcher.h"
#include "support/RemoteWindow.h"

#include <QPushButton>

class TestLearnSend : public QObject {
    Q_OBJECT

    std::unique_ptr<CRemoteDlg> window;

    QPushButton* LearnButton() const { return ControlOf<QPushButton>(*window, remote::kLearn); }
    CButtonEx* Key(int index) const { return ButtonOf(*window, index); }
    const PulseTrain& Code(int index) const { return window->Buttons().at(size_t(index)).code; }
    // Keys side by side, nothing selected.
    void PlaceKeys(int count)
    {
        for (int i = 0; i < count; ++i)
            window->CreateButton(keys::kDigit0 + i, 30 + 60 * i, 40, 78 + 60 * i, 88, QString());
    }
    void SelectAll()
    {
        for (const tagIRDATA& entry : window->Buttons())
            window->Editor().Select(entry.button.get(), true);
    }

private slots:
    void init()
    {
        usbsim::Reset();
        window = std::make_unique<CRemoteDlg>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(ConnectDevice(*window));
    }
    void cleanup() { window.reset(); }

    void learnedWordsAreSentBack()
    {
        window->AddKey(keys::kPower); // the only selected key
        QTest::mouseClick(LearnButton(), Qt::LeftButton);
        QVERIFY(window->Learning());
        QCOMPARE(LearnButton()->text(), QStringLiteral("Stop"));
        usbsim::QueueCaptureBytes(CaptureWords({1, 300, 600, 0}));
        window->LearnPoll();
        QVERIFY(!window->Learning());
        QCOMPARE(LearnButton()->text(), QStringLiteral("Learn"));
        PulseTrain expected;
        expected[0] = 1;
        expected[1] = 600;
        expected[2] = 1200;
        QVERIFY(Code(0) == expected);

        // In design mode a click on a selected key belongs to the editor.
        usbsim::ClearLogs();
        QTest::mouseClick(Key(0), Qt::LeftButton);
        QVERIFY(usbsim::TransmittedTrains().empty());
        QTest::mouseClick(ControlOf(*window, remote::kPreview), Qt::LeftButton);
        QTest::mouseClick(Key(0), Qt::LeftButton);
        QCOMPARE(LastTransmitted(), QByteArray::fromHex("01002c015802"));
        // The keyboard clicks a focused key too.
        usbsim::ClearLogs();
        Key(0)->setFocus();
        QTest::keyClick(Key(0), Qt::Key_Space);
        QCOMPARE(LastTransmitted(), QByteArray::fromHex("01002c015802"));
    }

    void sendsTheWholeCodeUpToItsEnd_data()
    {
        QTest::addColumn<QVector<int>>("code");
        QTest::addColumn<int>("bytesSent");
        QTest::addColumn<QByteArray>("head");
        QTest::newRow("start word 0x1234") << QVector<int>{0x1234, 500} << 4 << QByteArray::fromHex("3412fa00");
        QTest::newRow("entry 3 = 1 stops") << QVector<int>{1, 600, 1200, 1, 800} << 6
                                           << QByteArray::fromHex("01002c015802");
        QVector<int> full(2048, 560);
        full[0] = 0;
        QTest::newRow("2047 durations") << full << 4096 << QByteArray::fromHex("00001801");
        QTest::newRow("a new key's code") << QVector<int>{} << 2 << QByteArray::fromHex("0000");
    }
    void sendsTheWholeCodeUpToItsEnd()
    {
        QFETCH(QVector<int>, code);
        QFETCH(int, bytesSent);
        QFETCH(QByteArray, head);
        PlaceKeys(2);
        for (int i = 0; i < code.size(); ++i)
            window->Buttons()[1].code[i] = code[i];
        usbsim::ClearLogs();
        window->SendCode(remote::kFirstButtonId + 1);
        const QByteArray sent = LastTransmitted();
        QCOMPARE(sent.size(), bytesSent);
        QCOMPARE(sent.left(head.size()), head);
    }

    void oneCodeGoesToEverySelectedKey()
    {
        PlaceKeys(4);
        window->Editor().Select(Key(0), false);
        window->Editor().Select(Key(2), false);
        window->Editor().Select(Key(3), true);
        window->ToggleLearning();
        usbsim::QueueCapture(1, {9000, 4500, 560, 560});
        window->LearnPoll();
        QCOMPARE(LearnButton()->text(), QStringLiteral("Learn"));
        QCOMPARE(Code(0)[1], 9000);
        QVERIFY(Code(0) == Code(2) && Code(0) == Code(3));
        QVERIFY(Code(1) == PulseTrain{});

        // Each read starts from a zeroed buffer: a shorter code keeps no tail.
        window->Editor().ClearSelection(false);
        window->Editor().Select(Key(1), true);
        window->ToggleLearning();
        usbsim::QueueCapture(0, {600});
        window->LearnPoll();
        QCOMPARE(Code(1)[1], 600);
        QCOMPARE(Code(1)[2], 0);
        QCOMPARE(Code(1)[3], 0);
    }

    void codesArrivingWhileNotLearningAreDropped()
    {
        PlaceKeys(2);
        SelectAll();
        // Learn, then Stop before any code: nothing stored.
        QTest::mouseClick(LearnButton(), Qt::LeftButton);
        QTest::mouseClick(LearnButton(), Qt::LeftButton);
        QVERIFY(!window->Learning());
        QCOMPARE(LearnButton()->text(), QStringLiteral("Learn"));
        usbsim::QueueCapture(1, {9000, 4500});
        window->LearnPoll();
        QCOMPARE(usbsim::PendingCaptures(), 0); // read and dropped
        QVERIFY(Code(0) == PulseTrain{} && Code(1) == PulseTrain{});

        // With nothing selected a code only ends learning.
        window->Editor().ClearSelection(true);
        window->ToggleLearning();
        usbsim::QueueCapture(1, {9000, 4500});
        window->LearnPoll();
        QVERIFY(!window->Learning());
        QVERIFY(Code(0) == PulseTrain{});

        // A count the device cannot hold is not read; learning stays armed.
        window->ToggleLearning();
        usbsim::QueueCaptureBytes(std::vector<uint8_t>(4098, 0x10));
        window->LearnPoll();
        QVERIFY(window->Learning());
        QCOMPARE(usbsim::PendingCaptures(), 1);
    }

    void indicatorFollowsUnplugAndReplug()
    {
        window->SetMode(false);
        const QPoint dot = play::IndicatorRect(window->size()).topLeft();
        QCOMPARE(dot, QPoint(178, 7));
        QTRY_COMPARE(Shot(*window).pixel(dot), play::kConnected);
        QCOMPARE(Shot(*window).pixel(dot + QPoint(3, 3)), play::kConnected);

        const QString path = window->Device().ListMatchingDevices().value(0);
        usbsim::Unplug();
        window->OnDeviceChange(DeviceChangeWatcher::kRemoveComplete, DeviceChangeWatcher::kDeviceInterface, path);
        window->StatusPoll();
        QVERIFY(!window->Connected());
        QTRY_COMPARE(Shot(*window).pixel(dot), play::kDisconnected);
        QCOMPARE(usbsim::OpenHandles(), 0);

        usbsim::Plug();
        const QString again = window->Device().ListMatchingDevices().value(0);
        window->OnDeviceChange(DeviceChangeWatcher::kArrival, DeviceChangeWatcher::kDeviceInterface, again);
        window->StatusPoll();
        QVERIFY(window->Connected());
        QTRY_COMPARE(Shot(*window).pixel(dot), play::kConnected);
    }

    void onlyOurDeviceStartsASearch()
    {
        window.reset();
        usbsim::Reset();
        window = std::make_unique<CRemoteDlg>();
        QString path = window->Device().ListMatchingDevices().value(0);
        QVERIFY(!path.isEmpty());
        QVERIFY(!window->Device().IsOpen());
        window->OnDeviceChange(DeviceChangeWatcher::kArrival, DeviceChangeWatcher::kDeviceInterface,
                               QString(path).replace("Pid_1012", "Pid_1013"));
        window->OnDeviceChange(DeviceChangeWatcher::kArrival, 3, path);
        QVERIFY(!window->Device().IsOpen());
        window->OnDeviceChange(DeviceChangeWatcher::kArrival, DeviceChangeWatcher::kDeviceInterface,
                               path.replace("Vid_16c0&Pid_1012", "VID_16C0&PID_1012"));
        QVERIFY(window->Device().IsOpen());
        // Timer 3 also finds it on its own, 100 ms after start.
        window.reset();
        window = std::make_unique<CRemoteDlg>();
        QTRY_VERIFY(window->Connected());
    }

    void nothingIsSentWithoutADevice()
    {
        PlaceKeys(1);
        usbsim::Unplug();
        window->FirstDeviceSearch(); // closes the handle of a device that went
        window->StatusPoll();
        usbsim::Plug();
        usbsim::ClearLogs();
        window->SendCode(remote::kFirstButtonId);
        window->SendCode(remote::kFirstButtonId + 1); // no such key
        window->SendCode(remote::kLastSendingId + 1);
        QVERIFY(usbsim::TransmittedTrains().empty());
    }
};

QTEST_MAIN(TestLearnSend)
#include "tst_learnsend.moc"
