#include "sim/model/CaptureCodec.h"
#include "sim/remotes/SampleRemotes.h"

#include <usb.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <dlfcn.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace {

// The preload library's libusb, reached through dlopen exactly as a program
// started with LD_PRELOAD would reach it by name.
struct PreloadedUsb {
    decltype(&::usb_init) init = nullptr;
    decltype(&::usb_find_busses) findBusses = nullptr;
    decltype(&::usb_find_devices) findDevices = nullptr;
    decltype(&::usb_get_busses) getBusses = nullptr;
    decltype(&::usb_open) open = nullptr;
    decltype(&::usb_close) close = nullptr;
    decltype(&::usb_claim_interface) claim = nullptr;
    decltype(&::usb_release_interface) release = nullptr;
    decltype(&::usb_control_msg) control = nullptr;
    decltype(&::usb_bulk_write) bulkWrite = nullptr;
    decltype(&::usb_bulk_read) bulkRead = nullptr;

    bool Load(void* library)
    {
        bool ok = true;
        auto get = [&](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
            ok = ok && function;
        };
        get(init, "usb_init");
        get(findBusses, "usb_find_busses");
        get(findDevices, "usb_find_devices");
        get(getBusses, "usb_get_busses");
        get(open, "usb_open");
        get(close, "usb_close");
        get(claim, "usb_claim_interface");
        get(release, "usb_release_interface");
        get(control, "usb_control_msg");
        get(bulkWrite, "usb_bulk_write");
        get(bulkRead, "usb_bulk_read");
        return ok;
    }

    struct usb_device* Find()
    {
        findBusses();
        findDevices();
        for (usb_bus* bus = getBusses(); bus; bus = bus->next)
            for (struct usb_device* dev = bus->devices; dev; dev = dev->next)
                if (dev->descriptor.idVendor == 0x16C0 && dev->descriptor.idProduct == 0x1012)
                    return dev;
        return nullptr;
    }

    int Status(usb_dev_handle* handle, QByteArray& reply)
    {
        char buffer[64] = {};
        const int result = control(handle, 0xC0, 'X', 0, 0, buffer, 64, 1000);
        reply = QByteArray(buffer, qBound(0, result, 64));
        return result;
    }

    int Write(usb_dev_handle* handle, const QByteArray& bytes)
    {
        claim(handle, 0);
        const int result = bulkWrite(handle, 0x02, bytes.constData(), int(bytes.size()), 1000);
        release(handle, 0);
        return result;
    }
};

QByteArray Frame(uint8_t sequence, const QByteArray& payload)
{
    QByteArray frame;
    frame.append(char(0x1B)).append(char(sequence)).append(char(payload.size())).append(char(0)).append(char(0x0E));
    frame.append(payload);
    char x = 0;
    for (char b : frame)
        x ^= b;
    return frame.append(x);
}

} // namespace

class TestSimEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void toolNeedsTheDaemon();
    void pressedKeyArrivesThroughThePreloadLibrary();
    void sentTrainLoopsBackAndIsLogged();
    void toolRequestsReachTheDevice();
    void replugFromTheTool();
    void bigWritesKeepTheDaemonSmallAndItsLogReadable();
    void stalledClientIsDropped();
    void playReadsOnlyRegularFiles();
    void unplugAndLosingTheDaemon();

private:
    void StartDaemon()
    {
        daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // In a sanitizer build freed blocks wait in a quarantine of 256 MiB
        // before they go back; the memory test measures what the daemon keeps.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
        environment.insert(QStringLiteral("ASAN_OPTIONS"),
                           asan + (asan.isEmpty() ? "" : ":") + QStringLiteral("quarantine_size_mb=0"));
        daemon.setProcessEnvironment(environment);
        daemon.start(WAVIX_SIM_TOOL, {"daemon", "--socket", socketPath, "--reenumerate-ms", "0"});
        QVERIFY(daemon.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(Tool({"status"}) == 0, 5000);
    }
    int Tool(const QStringList& arguments, QString* output = nullptr);
    qint64 DaemonMemoryKiB() const;

    QTemporaryDir dir;
    QString socketPath;
    QProcess daemon;
    PreloadedUsb usb;
    void* library = nullptr;
};

int TestSimEndToEnd::Tool(const QStringList& arguments, QString* output)
{
    QProcess tool;
    tool.start(WAVIX_SIM_TOOL, QStringList{"--socket", socketPath} + arguments);
    if (!tool.waitForFinished(10000))
        return -1;
    if (output)
        *output = QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
    return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

qint64 TestSimEndToEnd::DaemonMemoryKiB() const
{
    QFile status(QStringLiteral("/proc/%1/status").arg(daemon.processId()));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

void TestSimEndToEnd::initTestCase()
{
    QVERIFY(dir.isValid());
    socketPath = dir.filePath("sim.sock");
    // The preload library reads the socket path when it is first used.
    qputenv("WAVIX_SIM_SOCKET", socketPath.toUtf8());
    StartDaemon();

    library = dlopen(WAVIX_SIM_PRELOAD, RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(library, dlerror());
    QVERIFY(usb.Load(library));
    usb.init();
}

void TestSimEndToEnd::cleanupTestCase()
{
    if (daemon.state() != QProcess::NotRunning) {
        daemon.terminate();
        daemon.waitForFinished(5000);
    }
}

void TestSimEndToEnd::toolNeedsTheDaemon()
{
    QProcess tool;
    tool.start(WAVIX_SIM_TOOL, {"status", "--socket", dir.filePath("nobody.sock")});
    QVERIFY(tool.waitForFinished(10000));
    QCOMPARE(tool.exitCode(), 2);
    QVERIFY(tool.readAllStandardError().contains("not running"));
}

void TestSimEndToEnd::pressedKeyArrivesThroughThePreloadLibrary()
{
    QCOMPARE(Tool({"press", "nec-tv", "power", "--seed", "3"}), 0);
    usbsim::PressSettings settings;
    settings.seed = 3;
    const std::vector<uint8_t> expected =
        usbsim::EncodeCapture(1, *usbsim::PressSampleKey("nec-tv", "power", settings));

    struct usb_device* device = usb.Find();
    QVERIFY(device);
    usb_dev_handle* handle = usb.open(device);
    QVERIFY(handle);
    QByteArray status;
    QCOMPARE(usb.Status(handle, status), 4);
    QCOMPARE(uint8_t(status[0]), uint8_t(0x58));
    QCOMPARE(int(status[1]), 1);
    const int count = uint8_t(status[2]) | uint8_t(status[3]) << 8;
    QCOMPARE(count, int(expected.size()));

    QByteArray readTrain;
    readTrain.append(char(0x03)).append(char(0xBB)).append(char(count & 0xFF)).append(char(count >> 8));
    QCOMPARE(usb.Write(handle, Frame(1, readTrain)), 10);
    QByteArray capture(4096, 0);
    usb.claim(handle, 0);
    QCOMPARE(usb.bulkRead(handle, 0x81, capture.data(), count, 1000), count);
    usb.release(handle, 0);
    capture.resize(count);
    QCOMPARE(capture, QByteArray(reinterpret_cast<const char*>(expected.data()), int(expected.size())));
    QCOMPARE(usb.close(handle), 0);
}

void TestSimEndToEnd::sentTrainLoopsBackAndIsLogged()
{
    usb_dev_handle* handle = usb.open(usb.Find());
    QVERIFY(handle);
    QCOMPARE(usb.Write(handle, Frame(2, QByteArray("\x02\xBB\x06\x00", 4))), 10);
    QCOMPARE(usb.Write(handle, QByteArray("\x01\x00\x94\x11\xCA\x08", 6)), 6);
    QByteArray status;
    usb.Status(handle, status);
    QCOMPARE(status, QByteArray("\x58\x01\x08\x00", 4));
    usb.close(handle);

    QString log;
    QCOMPARE(Tool({"log"}, &log), 0);
    QVERIFY2(log.contains("seq=2 SendTrain len=6\n"), qPrintable(log));
    QVERIFY(log.contains("SendTrain 6 bytes: 01 00 94 11 CA 08\n"));
    QString state;
    QCOMPARE(Tool({"status"}, &state), 0);
    QVERIFY(state.contains("captures waiting: 1"));
    QVERIFY(state.contains("open handles: 0"));
}

// The tool and the daemon read the same request fields: loop-back modes,
// the identity fields a request changes, fault numbers.
void TestSimEndToEnd::toolRequestsReachTheDevice()
{
    QString out;
    QCOMPARE(Tool({"loopback", "off"}, &out), 0);
    QCOMPARE(out, QStringLiteral("loop-back: off\n"));
    QCOMPARE(Tool({"loopback"}, &out), 0);
    QCOMPARE(out, QStringLiteral("loop-back: off\n"));
    QCOMPARE(Tool({"loopback", "on"}, &out), 0);
    QCOMPARE(out, QStringLiteral("loop-back: on\n"));

    QCOMPARE(Tool({"identity", "--version", "2.0.0.7", "--type", "L2IR"}, &out), 0);
    QVERIFY2(out.startsWith("name: IR Logic Analyzer\nversion: 2.0.0.7\nserial: 0020231108\ntype: L2IR\n"),
             qPrintable(out));
    QCOMPARE(Tool({"identity", "--name", "Other", "--serial", "7"}, &out), 0);
    QVERIFY2(out.startsWith("name: Other\nversion: 2.0.0.7\nserial: 0000000007\ntype: L2IR\n"), qPrintable(out));

    QCOMPARE(Tool({"fault", "short-bulk", "2"}), 0);
    QCOMPARE(Tool({"fault", "unplug-mid-transfer"}), 0);
    QCOMPARE(Tool({"status"}, &out), 0);
    QVERIFY2(out.contains("faults: short-bulk x2 unplug-mid-transfer\n"), qPrintable(out));
    QCOMPARE(Tool({"fault", "clear"}), 0);
    QCOMPARE(Tool({"status"}, &out), 0);
    QVERIFY2(out.contains("faults: none\n"), qPrintable(out));

    // A simulated timeout takes the caller's timeout, as a real one would.
    QCOMPARE(Tool({"fault", "timeout", "1"}), 0);
    usb_dev_handle* handle = usb.open(usb.Find());
    QVERIFY(handle);
    char buffer[64] = {};
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(usb.control(handle, 0xC0, 'X', 0, 0, buffer, 64, 300), -110);
    QVERIFY2(timer.elapsed() >= 250, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(usb.close(handle), 0);
}

// Gone and back within one rescan: a new device number, the old handle dead.
void TestSimEndToEnd::replugFromTheTool()
{
    struct usb_device* before = usb.Find();
    QVERIFY(before);
    const QByteArray number = before->filename;
    usb_dev_handle* handle = usb.open(before);
    QVERIFY(handle);
    QString out;
    QCOMPARE(Tool({"replug"}, &out), 0);
    QCOMPARE(out, QStringLiteral("device replugged\n"));
    struct usb_device* after = usb.Find();
    QVERIFY(after);
    QVERIFY(number != QByteArray(after->filename));
    QByteArray status;
    QCOMPARE(usb.Status(handle, status), -19);
    QCOMPARE(usb.close(handle), 0);
}

// Megabytes written to the device are not all kept, and the log, which
// shows the start of each, can still be read in full.
void TestSimEndToEnd::bigWritesKeepTheDaemonSmallAndItsLogReadable()
{
    usb_dev_handle* handle = usb.open(usb.Find());
    QVERIFY(handle);
    const qint64 before = DaemonMemoryKiB();
    QVERIFY(before > 0);
    const QByteArray big(3500 * 1024, '\x42');
    for (int i = 0; i < 12; ++i)
        QCOMPARE(usb.Write(handle, big), int(big.size()));
    QCOMPARE(usb.close(handle), 0);
    const qint64 growth = DaemonMemoryKiB() - before;
    QVERIFY2(growth < 64 * 1024, qPrintable(QStringLiteral("%1 KiB more").arg(growth)));
    QString log;
    QCOMPARE(Tool({"log"}, &log), 0);
    QCOMPARE(log.count(QStringLiteral("... (3584000 bytes)")), 12);
}

// A client that announces a message and never sends it is dropped after
// the message deadline; the daemon goes on serving the others.
void TestSimEndToEnd::stalledClientIsDropped()
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray path = socketPath.toUtf8();
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    QCOMPARE(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const unsigned char header[5] = {0x00, 0x00, 0x40, 0x00, 0x08}; // 4 MiB announced, one byte sent
    QCOMPARE(int(::send(fd, header, sizeof header, 0)), 5);
    QCOMPARE(Tool({"status"}), 0);
    QElapsedTimer timer;
    timer.start();
    pollfd entry{fd, POLLIN, 0};
    QCOMPARE(poll(&entry, 1, 15000), 1);
    char byte;
    QCOMPARE(int(::recv(fd, &byte, 1, 0)), 0); // closed by the daemon
    QVERIFY2(timer.elapsed() < 12000, qPrintable(QString::number(timer.elapsed())));
    ::close(fd);
}

void TestSimEndToEnd::playReadsOnlyRegularFiles()
{
    QElapsedTimer timer;
    timer.start();
    QString out;
    QCOMPARE(Tool({"play", "/dev/zero"}, &out), 3);
    QVERIFY(out.contains("cannot read /dev/zero"));
    QVERIFY(timer.elapsed() < 5000);
}

void TestSimEndToEnd::unplugAndLosingTheDaemon()
{
    usb_dev_handle* handle = usb.open(usb.Find());
    QVERIFY(handle);
    QCOMPARE(Tool({"unplug"}), 0);
    QVERIFY(!usb.Find());
    QByteArray status;
    QCOMPARE(usb.Status(handle, status), -19);
    QCOMPARE(Tool({"plug"}), 0);
    QVERIFY(usb.Find());

    // A daemon that goes away looks like a device that went away, at once.
    daemon.terminate();
    QVERIFY(daemon.waitForFinished(5000));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!usb.Find());
    QVERIFY(usb.Status(handle, status) < 0);
    QVERIFY(timer.elapsed() < 1500);

    // A new daemon is found again, but a handle from the old one stays dead.
    StartDaemon();
    QTRY_VERIFY_WITH_TIMEOUT(usb.Find() != nullptr, 5000);
    QCOMPARE(usb.Status(handle, status), -19);
    QCOMPARE(usb.close(handle), 0);
    usb_dev_handle* fresh = usb.open(usb.Find());
    QVERIFY(fresh);
    QCOMPARE(usb.Status(fresh, status), 4);
    QCOMPARE(usb.close(fresh), 0);
}

QTEST_GUILESS_MAIN(TestSimEndToEnd)
#include "tst_simendtoend.moc"
