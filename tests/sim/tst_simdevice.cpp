#include "sim/SimControl.h"
#include "sim/support/SimHost.h"
#include "sim/usb/BusView.h"

#include <QtTest>

#include <climits>
#include <cstring>
#include <thread>

using simtest::Bytes;
using simtest::CommandFrame;
using simtest::Host;

Q_DECLARE_METATYPE(usbsim::Fault)

namespace {

Bytes B(std::initializer_list<int> values)
{
    Bytes bytes;
    for (int v : values)
        bytes.push_back(static_cast<uint8_t>(v));
    return bytes;
}

QByteArray Q(const Bytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()));
}

bool LogHas(const std::string& line)
{
    for (const std::string& entry : usbsim::LogLines())
        if (entry == line)
            return true;
    return false;
}

bool LogContains(const std::string& part)
{
    for (const std::string& entry : usbsim::LogLines())
        if (entry.find(part) != std::string::npos)
            return true;
    return false;
}

} // namespace

class TestSimDevice : public QObject {
    Q_OBJECT

private slots:
    void init() { usbsim::Reset(); }

    void busHoldsOtherDevicesAndReenumerates();
    void vendorRequests_data();
    void vendorRequests();
    void statusAndReadTrainServeTheHeadCapture();
    void captureLayout_data();
    void captureLayout();
    void framesAreValidated();
    void sendTrainDataPhase();
    void validFrameAbandonsDataPhase();
    void transfersOnWrongEndpointsOrUnclaimed();
    void firmwareUpdateThroughBootloader();
    void reenumerationDelay();
    void replyFaults_data();
    void replyFaults();
    void oversizedReplyNeverWritesPastBuffer();
    void handleAndBulkFaults();
    void faultCounts();
    void handleSurvivesUnplug();
    void concurrentUseOfOneHandle();
    void replugIsANewEnumerationAtOnce();
    void faultAfterSomeChances();
    void transfersNeedATimeout();
    void hostileClientsCannotBreakTheModel();
    void recordsAndQueuesStayBounded();
    void busListHoldsEachDeviceOnce();
};

void TestSimDevice::busHoldsOtherDevicesAndReenumerates()
{
    usb_find_busses();
    usb_find_devices();
    int ours = 0, others = 0;
    struct usb_device* other = nullptr;
    for (usb_bus* bus = usb_get_busses(); bus; bus = bus->next)
        for (struct usb_device* dev = bus->devices; dev; dev = dev->next) {
            if (dev->descriptor.idVendor == 0x16C0 && dev->descriptor.idProduct == 0x1012)
                ++ours;
            else
                ++others, other = dev;
        }
    QCOMPARE(ours, 1);
    QVERIFY(others >= 1);
    QVERIFY(usb_open(other) == nullptr);

    struct usb_device* first = simtest::FindDevice();
    QVERIFY(first);
    const std::string firstName = first->filename;
    usbsim::Unplug();
    QVERIFY(!simtest::FindDevice());
    usbsim::Plug();
    struct usb_device* second = simtest::FindDevice();
    QVERIFY(second && second != first);
    QVERIFY(firstName != second->filename);
    // The struct of the device that left is still readable.
    QCOMPARE(first->descriptor.idProduct, uint16_t(0x1012));
    QVERIFY(usb_open(first) == nullptr);
}

void TestSimDevice::vendorRequests_data()
{
    QTest::addColumn<int>("request");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("requestType");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("name") << int('T') << 0 << 0 << 0xC0 << 64 << 17 << QByteArray("IR Logic Analyzer");
    QTest::newRow("name cut to wLength") << int('T') << 0 << 0 << 0xC0 << 4 << 4 << QByteArray("IR L");
    QTest::newRow("version") << int('V') << 0 << 0 << 0xC0 << 64 << 7 << QByteArray("1.0.1.1");
    QTest::newRow("serial big-endian") << int('S') << 0 << 0 << 0xC0 << 64 << 4 << QByteArray("\x01\x34\xB3\xC4", 4);
    QTest::newRow("type") << int('E') << 0 << 0 << 0xC0 << 64 << 4 << QByteArray("L4IR");
    QTest::newRow("status idle") << int('X') << 0 << 0 << 0xC0 << 64 << 4 << QByteArray("\x58\0\0\0", 4);
    QTest::newRow("signal") << int('Z') << 0x6400 << 0 << 0xC0 << 64 << 3 << QByteArray("ZOK");
    QTest::newRow("signal without 0x6400") << int('Z') << 0 << 0 << 0xC0 << 64 << -32 << QByteArray();
    QTest::newRow("unknown request") << int('Q') << 0 << 0 << 0xC0 << 64 << -32 << QByteArray();
    QTest::newRow("host-to-device type") << int('T') << 0 << 0 << 0x40 << 64 << -32 << QByteArray();
    QTest::newRow("wIndex not 0") << int('T') << 0 << 1 << 0xC0 << 64 << -32 << QByteArray();
    QTest::newRow("wValue not 0") << int('V') << 1 << 0 << 0xC0 << 64 << -32 << QByteArray();
}

void TestSimDevice::vendorRequests()
{
    QFETCH(int, request);
    QFETCH(int, value);
    QFETCH(int, index);
    QFETCH(int, requestType);
    QFETCH(int, size);
    QFETCH(int, result);
    QFETCH(QByteArray, reply);
    Host host;
    QVERIFY(host.Open());
    Bytes got;
    QCOMPARE(host.Control(request, value, got, size, requestType, index), result);
    QCOMPARE(Q(got), reply);
    QCOMPARE(usbsim::SignalCount(), request == 'Z' && result > 0 ? 1 : 0);
}

void TestSimDevice::statusAndReadTrainServeTheHeadCapture()
{
    usbsim::QueueCapture(1, {9000, 4500, 561});
    usbsim::QueueCapture(0, {100});
    QCOMPARE(usbsim::PendingCaptures(), 2);
    Host host;
    QVERIFY(host.Open());
    Bytes status;
    QCOMPARE(host.Control('X', 0, status), 4);
    QCOMPARE(Q(status), Q(B({0x58, 1, 10, 0})));

    QCOMPARE(host.Command(B({0x03, 0xBB, 10, 0})), 10);
    Bytes capture;
    QCOMPARE(host.Read(capture, 10), 10);
    QCOMPARE(Q(capture), Q(B({0x01, 0x00, 0x94, 0x11, 0xCA, 0x08, 0x18, 0x01, 0x00, 0x00})));
    QCOMPARE(usbsim::PendingCaptures(), 1);
    QVERIFY(LogHas("seq=1 ReadTrain len=10"));
    QVERIFY(LogHas("ReadTrain sent 10 bytes"));

    // The next capture is shorter than asked for: a short read.
    QCOMPARE(host.Command(B({0x03, 0xBB, 0x00, 0x10})), 10);
    QCOMPARE(host.Read(capture, 4096), 6);
    QCOMPARE(Q(capture), Q(B({0x00, 0x00, 50, 0x00, 0x00, 0x00})));
    QCOMPARE(host.Control('X', 0, status), 4);
    QCOMPARE(Q(status), Q(B({0x58, 0, 0, 0})));
}

void TestSimDevice::captureLayout_data()
{
    QTest::addColumn<std::vector<int>>("durations");
    QTest::addColumn<int>("byteCount");
    QTest::addColumn<int>("firstWord");
    QTest::addColumn<int>("lastWord");

    QTest::newRow("halved, remainder dropped") << std::vector<int>{1001} << 6 << 500 << 0;
    QTest::newRow("1 us clamps to one unit") << std::vector<int>{1} << 6 << 1 << 0;
    QTest::newRow("0 and negative clamp to one unit") << std::vector<int>{0, -50} << 8 << 1 << 0;
    QTest::newRow("long gap clamps to 16 bits") << std::vector<int>{500000} << 6 << 65535 << 0;
    QTest::newRow("2046 durations keep the terminator") << std::vector<int>(2046, 200) << 4096 << 100 << 0;
    QTest::newRow("2047 durations fill 4096 bytes") << std::vector<int>(2047, 200) << 4096 << 100 << 100;
    QTest::newRow("longer trains are cut at 2047") << std::vector<int>(3000, 200) << 4096 << 100 << 100;
}

void TestSimDevice::captureLayout()
{
    QFETCH(std::vector<int>, durations);
    QFETCH(int, byteCount);
    QFETCH(int, firstWord);
    QFETCH(int, lastWord);
    usbsim::QueueCapture(1, durations);
    Host host;
    QVERIFY(host.Open());
    Bytes status;
    host.Control('X', 0, status);
    QCOMPARE(status[2] | status[3] << 8, byteCount);
    host.Command(B({0x03, 0xBB, byteCount & 0xFF, byteCount >> 8}));
    Bytes capture;
    QCOMPARE(host.Read(capture, byteCount), byteCount);
    QCOMPARE(capture[0] | capture[1] << 8, 1);
    QCOMPARE(capture[2] | capture[3] << 8, firstWord);
    QCOMPARE(capture[byteCount - 2] | capture[byteCount - 1] << 8, lastWord);
}

void TestSimDevice::framesAreValidated()
{
    Host host;
    QVERIFY(host.Open());
    const Bytes good = CommandFrame(1, B({0x01, 0xBB, 3, 0x2C, 0x01, 0x58, 0x02}));
    QCOMPARE(good.back(), uint8_t(0xDD));
    Bytes badXor = CommandFrame(2, B({0x01, 0xBB, 5, 0x10, 0x00, 0x20, 0x00}));
    badXor.back() ^= 0xFF;
    Bytes badHeader = CommandFrame(3, B({0x10, 0x55}));
    badHeader[0] = 0x1C;
    Bytes badLength = CommandFrame(4, B({0x10, 0x55}));
    badLength[2] = 3;

    for (const Bytes& frame : {good, badXor, badHeader, badLength})
        QCOMPARE(host.Write(frame), int(frame.size()));

    QCOMPARE(int(usbsim::BulkWrites().size()), 4);
    const auto frames = usbsim::Frames();
    QCOMPARE(int(frames.size()), 2);
    QCOMPARE(frames[0].sequence, uint8_t(1));
    QVERIFY(frames[0].checksumOk);
    QVERIFY(!frames[1].checksumOk);
    // The bad-XOR frame is ignored: the trigger is still the first one and the
    // bad-header frame did not start the bootloader.
    const usbsim::Trigger trigger = usbsim::LastTrigger();
    QVERIFY(trigger.received);
    QCOMPARE(trigger.type, 3);
    QCOMPARE(trigger.minUnits, 300);
    QCOMPARE(trigger.maxUnits, 600);
    QVERIFY(!usbsim::InBootloader());
    QVERIFY(LogHas("seq=1 SetTrigger type=3 min=300 max=600"));
    QVERIFY(LogContains("seq=2 bad XOR"));
    QVERIFY(LogContains("bad frame header, ignored: 1C 03"));
    QVERIFY(LogContains("bad frame length"));
}

void TestSimDevice::sendTrainDataPhase()
{
    usbsim::SetLoopback(true);
    Host host;
    QVERIFY(host.Open());
    QCOMPARE(host.Command(B({0x02, 0xBB, 6, 0})), 10);
    QCOMPARE(host.Write(B({0x01, 0x00, 0x94, 0x11})), 4); // the data may come in pieces
    QCOMPARE(host.Write(B({0xCA, 0x08})), 2);
    const auto trains = usbsim::TransmittedTrains();
    QCOMPARE(int(trains.size()), 1);
    QCOMPARE(Q(trains[0]), Q(B({0x01, 0x00, 0x94, 0x11, 0xCA, 0x08})));
    QVERIFY(LogHas("seq=1 SendTrain len=6"));
    QVERIFY(LogHas("SendTrain 6 bytes: 01 00 94 11 CA 08"));

    // Loop-back: the train comes back as a capture with its terminator.
    Bytes status;
    host.Control('X', 0, status);
    QCOMPARE(Q(status), Q(B({0x58, 1, 8, 0})));
    host.Command(B({0x03, 0xBB, 8, 0}));
    Bytes capture;
    QCOMPARE(host.Read(capture, 8), 8);
    QCOMPARE(Q(capture), Q(B({0x01, 0x00, 0x94, 0x11, 0xCA, 0x08, 0, 0})));
}

void TestSimDevice::validFrameAbandonsDataPhase()
{
    Host host;
    QVERIFY(host.Open());
    host.Command(B({0x02, 0xBB, 6, 0}));
    host.Write(B({0x01, 0x00}));
    host.Command(B({0x01, 0xBB, 1, 10, 0, 20, 0}));
    QVERIFY(usbsim::TransmittedTrains().empty());
    QVERIFY(usbsim::LastTrigger().received);
    QVERIFY(LogHas("data phase abandoned after 2 of 6 bytes"));
}

void TestSimDevice::transfersOnWrongEndpointsOrUnclaimed()
{
    Host host;
    QVERIFY(host.Open());
    const Bytes frame = CommandFrame(1, B({0x10, 0x55}));
    QVERIFY(host.Write(frame, 0x01) < 0);
    QVERIFY(host.Write(frame, 0x82) < 0);
    Bytes data;
    QVERIFY(host.Read(data, 4, 0x82) < 0);
    QVERIFY(host.Read(data, 4) < 0); // no ReadTrain asked for anything
    QCOMPARE(usbsim::UnclaimedTransfers(), 0);

    QCOMPARE(usb_claim_interface(host.Handle(), 0), 0);
    QCOMPARE(usbsim::ClaimedInterfaces(), 1);
    QCOMPARE(usb_release_interface(host.Handle(), 0), 0);
    QCOMPARE(usbsim::ClaimedInterfaces(), 0);
    QVERIFY(usb_claim_interface(host.Handle(), 1) < 0);
    const Bytes trigger = CommandFrame(1, B({0x01, 0xBB, 0, 0, 0, 0, 0}));
    QCOMPARE(usb_bulk_write(host.Handle(), 0x02, reinterpret_cast<const char*>(trigger.data()), int(trigger.size()), 1000),
             int(trigger.size()));
    QCOMPARE(usbsim::UnclaimedTransfers(), 1);
}

void TestSimDevice::firmwareUpdateThroughBootloader()
{
    Host host;
    QVERIFY(host.Open());
    // No image is taken outside the bootloader.
    host.Command(B({0x02, 0xAA, 0, 0, 0, 0, 1, 0, 0, 0}));
    QVERIFY(LogHas("ignored: not in the bootloader"));

    host.Command(B({0x10, 0x55}));
    QVERIFY(usbsim::InBootloader());
    Bytes reply;
    QCOMPARE(host.Control('T', 0, reply), -19); // the old handle is gone with the old device
    QVERIFY(host.Open());
    QCOMPARE(host.Control('T', 0, reply), 18);
    QCOMPARE(Q(reply), QByteArray("Quendar BOOTLOADER"));
    host.Control('E', 0, reply);
    QCOMPARE(Q(reply), QByteArray("L4IR"));

    Bytes image(1025);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i * 7);
    QCOMPARE(host.Command(B({0x02, 0xAA, 0, 0, 0, 0, 0x01, 0x04, 0, 0})), 16);
    QCOMPARE(host.Write(Bytes(image.begin(), image.begin() + 1024)), 1024);
    QCOMPARE(host.Write(Bytes(image.begin() + 1024, image.end())), 1);
    QVERIFY(usbsim::ReceivedFirmware().empty()); // only the end frame completes it
    host.Command(B({0x04, 0xAA}));
    QVERIFY(usbsim::ReceivedFirmware() == image);
    QVERIFY(!usbsim::InBootloader());
    QVERIFY(host.Open());
    host.Control('T', 0, reply);
    QCOMPARE(Q(reply), QByteArray("IR Logic Analyzer"));
}

void TestSimDevice::reenumerationDelay()
{
    usbsim::SetReenumerationDelayMs(40);
    Host host;
    QVERIFY(host.Open());
    host.Command(B({0x10, 0x55}));
    QVERIFY(!simtest::FindDevice());
    QVERIFY(usbsim::InBootloader());
    QTRY_VERIFY_WITH_TIMEOUT(simtest::FindDevice() != nullptr, 2000);
    QVERIFY(host.Open());
    Bytes reply;
    host.Control('T', 0, reply);
    QCOMPARE(Q(reply), QByteArray("Quendar BOOTLOADER"));
}

void TestSimDevice::replyFaults_data()
{
    QTest::addColumn<usbsim::Fault>("fault");
    QTest::addColumn<int>("request");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("timeout") << usbsim::Fault::Timeout << int('T') << -110 << QByteArray();
    QTest::newRow("short name") << usbsim::Fault::ShortReply << int('V') << 6 << QByteArray("1.0.1.");
    QTest::newRow("short status") << usbsim::Fault::ShortReply << int('X') << 3 << QByteArray("\x58\0\0", 3);
    QTest::newRow("empty") << usbsim::Fault::EmptyReply << int('S') << 0 << QByteArray();
    QTest::newRow("wrong marker") << usbsim::Fault::WrongStatusMarker << int('X') << 4 << QByteArray("\0\0\0\0", 4);
    QTest::newRow("wrong marker spares names") << usbsim::Fault::WrongStatusMarker << int('E') << 4 << QByteArray("L4IR");
}

void TestSimDevice::replyFaults()
{
    QFETCH(usbsim::Fault, fault);
    QFETCH(int, request);
    QFETCH(int, result);
    QFETCH(QByteArray, reply);
    Host host;
    QVERIFY(host.Open());
    usbsim::InjectFault(fault, 1);
    Bytes got;
    QCOMPARE(host.Control(request, 0, got), result);
    QCOMPARE(Q(got), reply);
}

void TestSimDevice::oversizedReplyNeverWritesPastBuffer()
{
    Host host;
    QVERIFY(host.Open());
    usbsim::InjectFault(usbsim::Fault::OversizedReply, 1);
    char buffer[16];
    std::memset(buffer, 0x7E, sizeof buffer);
    const int result = usb_control_msg(host.Handle(), 0xC0, 'T', 0, 0, buffer, 8, 1000);
    QVERIFY(result > 8);
    QCOMPARE(QByteArray(buffer, 8), QByteArray("IR Logic"));
    QCOMPARE(QByteArray(buffer + 8, 8), QByteArray(8, '\x7E'));
}

void TestSimDevice::handleAndBulkFaults()
{
    usbsim::InjectFault(usbsim::Fault::OpenFails, 1);
    Host host;
    QVERIFY(!host.Open());
    QVERIFY(host.Open());
    QCOMPARE(usbsim::OpenCount(), 1);

    usbsim::InjectFault(usbsim::Fault::ClaimFails, 1);
    QVERIFY(usb_claim_interface(host.Handle(), 0) < 0);
    QCOMPARE(usbsim::ClaimedInterfaces(), 0);

    // A frame one byte short arrives with a wrong length and is ignored.
    usbsim::InjectFault(usbsim::Fault::ShortBulk, 1);
    QCOMPARE(host.Command(B({0x01, 0xBB, 0, 0, 0, 0, 0})), 12);
    QVERIFY(usbsim::Frames().empty());
    QVERIFY(!usbsim::LastTrigger().received);

    usbsim::QueueCapture(1, {1000, 1000});
    host.Command(B({0x03, 0xBB, 8, 0}));
    usbsim::InjectFault(usbsim::Fault::ShortBulk, 1);
    Bytes capture;
    QCOMPARE(host.Read(capture, 8), 7);

    usbsim::InjectFault(usbsim::Fault::UnplugMidTransfer, 1);
    QCOMPARE(host.Command(B({0x10, 0x55})), -19);
    QVERIFY(!usbsim::IsPlugged());
    QVERIFY(!usbsim::InBootloader());
}

void TestSimDevice::faultCounts()
{
    Host host;
    QVERIFY(host.Open());
    Bytes reply;
    usbsim::InjectFault(usbsim::Fault::Timeout, 2);
    QCOMPARE(host.Control('T', 0, reply), -110);
    QCOMPARE(host.Command(B({0x10, 0x55})), -110); // bulk transfers time out too
    QCOMPARE(host.Control('T', 0, reply), 17);

    usbsim::InjectFault(usbsim::Fault::EmptyReply);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(host.Control('V', 0, reply), 0);
    usbsim::ClearFaults();
    QCOMPARE(host.Control('V', 0, reply), 7);
}

void TestSimDevice::handleSurvivesUnplug()
{
    Host host;
    QVERIFY(host.Open());
    QCOMPARE(usb_claim_interface(host.Handle(), 0), 0);
    usbsim::Unplug();
    Bytes reply;
    QCOMPARE(host.Control('T', 0, reply), -19);
    QCOMPARE(usb_bulk_write(host.Handle(), 0x02, "\x1B", 1, 1000), -19);
    QVERIFY(usb_device(host.Handle()) != nullptr);
    usb_release_interface(host.Handle(), 0);
    QCOMPARE(usb_close(host.Handle()), 0);
    QCOMPARE(usbsim::OpenHandles(), 0);
    QCOMPARE(usbsim::ClaimedInterfaces(), 0);
    QVERIFY(!host.Open());
    usbsim::Plug();
    QVERIFY(host.Open());
    QCOMPARE(usbsim::OpenCount(), 2);
    QCOMPARE(usbsim::OpenHandles(), 1);
}

void TestSimDevice::concurrentUseOfOneHandle()
{
    Host host;
    QVERIFY(host.Open());
    usb_dev_handle* handle = host.Handle();
    // The firmware thread writes while the UI thread polls the status.
    std::thread writer([handle] {
        const Bytes frame = CommandFrame(1, B({0x01, 0xBB, 0, 0, 0, 0, 0}));
        for (int i = 0; i < 200; ++i)
            usb_bulk_write(handle, 0x02, reinterpret_cast<const char*>(frame.data()), int(frame.size()), 1000);
    });
    char buffer[64];
    int good = 0;
    for (int i = 0; i < 200; ++i)
        good += usb_control_msg(handle, 0xC0, 'X', 0, 0, buffer, 64, 1000) == 4;
    writer.join();
    QCOMPARE(good, 200);
    QCOMPARE(int(usbsim::Frames().size()), 200);
}

// Faster than any rescan: the bus never shows an empty slot, but the device
// number changes and every handle to the old enumeration is dead.
void TestSimDevice::replugIsANewEnumerationAtOnce()
{
    Host host;
    QVERIFY(host.Open());
    const std::string before = simtest::FindDevice()->filename;
    usbsim::Replug();
    struct usb_device* after = simtest::FindDevice();
    QVERIFY(after);
    QVERIFY(before != after->filename);
    Bytes reply;
    QCOMPARE(host.Control('T', 0, reply), -19);
    QVERIFY(host.Open());
    QCOMPARE(host.Control('T', 0, reply), 17);
    QVERIFY(LogHas("unplugged"));
}

void TestSimDevice::faultAfterSomeChances()
{
    Host host;
    QVERIFY(host.Open());
    usbsim::InjectFault(usbsim::Fault::ClaimFails, 1, 2);
    QCOMPARE(usb_claim_interface(host.Handle(), 0), 0);
    QCOMPARE(usb_release_interface(host.Handle(), 0), 0);
    QCOMPARE(usb_claim_interface(host.Handle(), 0), 0);
    QCOMPARE(usb_release_interface(host.Handle(), 0), 0);
    QVERIFY(usb_claim_interface(host.Handle(), 0) < 0); // the third
    QCOMPARE(usb_claim_interface(host.Handle(), 0), 0);
    QCOMPARE(usb_release_interface(host.Handle(), 0), 0);
}

// With libusb a timeout of 0 waits for ever; a device that stops answering
// would hold such a caller for good, so the device refuses the transfer.
void TestSimDevice::transfersNeedATimeout()
{
    Host host;
    QVERIFY(host.Open());
    char buffer[64];
    QCOMPARE(usb_control_msg(host.Handle(), 0xC0, 'T', 0, 0, buffer, 64, 0), -22);
    const Bytes frame = CommandFrame(1, B({0x10, 0x55}));
    QCOMPARE(usb_claim_interface(host.Handle(), 0), 0);
    QCOMPARE(usb_bulk_write(host.Handle(), 0x02, reinterpret_cast<const char*>(frame.data()), int(frame.size()), 0), -22);
    QCOMPARE(usb_bulk_read(host.Handle(), 0x81, buffer, 4, -5), -22);
    QCOMPARE(usb_release_interface(host.Handle(), 0), 0);
    QVERIFY(usbsim::Frames().empty());
    QVERIFY(LogContains("without a timeout refused"));
    // The requests that came with a timeout are recorded with it and their wLength.
    QCOMPARE(usb_control_msg(host.Handle(), 0xC0, 'V', 0, 0, buffer, 5, 700), 5);
    QCOMPARE(QByteArray(buffer, 5), QByteArray("1.0.1"));
    const auto requests = usbsim::ControlRequests();
    QCOMPARE(int(requests.size()), 1);
    QCOMPARE(requests[0].request, int('V'));
    QCOMPARE(requests[0].length, 5);
    QCOMPARE(requests[0].timeoutMs, 700);
}

// What a client program can ask of the device must never crash it.
void TestSimDevice::hostileClientsCannotBreakTheModel()
{
    Host host;
    QVERIFY(host.Open());
    // An empty queued capture read short: nothing to take a byte from.
    usbsim::QueueCaptureBytes({});
    host.Command(B({0x03, 0xBB, 4, 0}));
    usbsim::InjectFault(usbsim::Fault::ShortBulk, 1);
    Bytes data;
    QCOMPARE(host.Read(data, 4), 0);

    // An oversized reply to the largest wLength there is.
    usbsim::InjectFault(usbsim::Fault::OversizedReply, 1);
    std::vector<char> big(64);
    QCOMPARE(usb_control_msg(host.Handle(), 0xC0, 'T', 0, 0, big.data(), INT_MAX, 1000), INT_MAX);

    // Identity texts longer than a reply can carry are cut to it.
    usbsim::Identity identity;
    identity.name = std::string(100000, 'n');
    usbsim::SetIdentity(identity);
    QCOMPARE(int(usbsim::CurrentIdentity().name.size()), 64);
}

// A daemon runs for days and any program may write to it: what it keeps of
// writes, frames, trains, captures, firmware and log lines stays bounded.
void TestSimDevice::recordsAndQueuesStayBounded()
{
    usbsim::SetLoopback(true);
    Host host;
    QVERIFY(host.Open());
    const Bytes train(4000, 0x11);
    for (int i = 0; i < 600; ++i) {
        host.Command(B({0x02, 0xBB, 4000 & 0xFF, 4000 >> 8}));
        host.Write(train);
    }
    QCOMPARE(usbsim::BulkWrites().size(), size_t(1024));
    QCOMPARE(usbsim::TransmittedTrains().size(), size_t(64));
    QCOMPARE(usbsim::PendingCaptures(), 64); // loop-back captures share the queue's bound
    QCOMPARE(usbsim::TransmittedTrains().back(), train);

    Bytes huge(3 << 20, 0x42);
    QCOMPARE(host.Write(huge), int(huge.size()));
    QCOMPARE(usbsim::BulkWrites().back().size(), huge.size()); // the newest stays whole
    size_t bytes = 0;
    for (const Bytes& write : usbsim::BulkWrites())
        bytes += write.size();
    QVERIFY(bytes <= (8u << 20) + huge.size());
    for (const std::string& line : usbsim::LogLines())
        QVERIFY(line.size() <= 1100); // a hex dump shows the start of a write only
    QVERIFY(LogContains("... (3145728 bytes)"));

    // A firmware image larger than the flash is refused at its begin
    // frame; its bytes are not kept.
    host.Command(B({0x10, 0x55}));
    QVERIFY(host.Open());
    const uint32_t length = 3u << 20;
    host.Command(B({0x02, 0xAA, 0, 0, 0, 0, int(length & 0xFF), int((length >> 8) & 0xFF), int(length >> 16), 0}));
    for (int i = 0; i < 3; ++i)
        host.Write(Bytes(1u << 20, uint8_t(i)));
    host.Command(B({0x04, 0xAA}));
    QVERIFY(usbsim::ReceivedFirmware().empty());
    QVERIFY(usbsim::InBootloader());
    QVERIFY(LogContains("an image of 3145728 bytes does not fit the 1048576-byte flash: refused"));
}

void TestSimDevice::busListHoldsEachDeviceOnce()
{
    usbsim::BusView view;
    const usbsim::BusEntry ours{1, 5, 0x16C0, 0x1012, 1000};
    const usbsim::BusEntry mouse{1, 2, 0x046D, 0xC077, 3};
    view.UpdateBuses();
    view.UpdateDevices({ours, mouse, ours, ours});
    std::vector<std::string> walked;
    for (usb_bus* bus = view.Buses(); bus; bus = bus->next)
        for (struct usb_device* dev = bus->devices; dev && walked.size() < 10; dev = dev->next)
            walked.push_back(dev->filename);
    QCOMPARE(walked, (std::vector<std::string>{"005", "002"}));
}

QTEST_GUILESS_MAIN(TestSimDevice)
#include "tst_simdevice.moc"
