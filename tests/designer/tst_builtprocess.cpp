// The whole road of a built remote, with real processes: a remote is built
// from the real Remote program, started on a virtual X display against the
// simulated device daemon, comes up in play mode with its body and a green
// dot, and a click on its key makes the device send the key's code.
//
// The test itself runs on that display too, so that it can look at the
// screen; it needs Xvfb and xdotool (scripts/install-deps.sh installs them).
#include "analyzer/core/Transmit.h"
#include "designer/BuiltRemote.h"
#include "designer/KeyTypes.h"
#include "designer/PlayPicture.h"
#include "designer/ui/Pictures.h"

#include <QApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// An Xvfb on a display it chooses itself (-displayfd), started before the
// application object so that the test can be a client of it.
class VirtualDisplay {
public:
    VirtualDisplay()
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        int fds[2];
        if (xvfb.isEmpty() || pipe(fds) != 0)
            return;
        pid = fork();
        if (pid == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            const QByteArray program = QFile::encodeName(xvfb);
            execl(program.constData(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x900x24", "-nolisten",
                  "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // The number and its line end arrive in two writes; the server dies
        // if the pipe closes between them.
        QByteArray digits;
        char c = 0;
        while (pid > 0 && digits.size() < 16 && read(fds[0], &c, 1) == 1 && c != '\n')
            digits += c;
        close(fds[0]);
        if (c == '\n' && !digits.isEmpty())
            name = QStringLiteral(":") + QString::fromLatin1(digits);
    }
    ~VirtualDisplay()
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    QString Name() const { return name; }

private:
    pid_t pid = -1;
    QString name;
};

VirtualDisplay* display = nullptr;

// A NEC-like code: lead, a few bits, the stop pulse.
PulseTrain Code()
{
    PulseTrain code;
    code[0] = 1;
    const int pulses[] = {9000, 4500, 560, 560, 560, 1690, 560, 1690, 560, 560, 560};
    for (int i = 0; i < int(std::size(pulses)); ++i)
        code[i + 1] = pulses[i];
    return code;
}

QString Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ')).toUpper();
}

} // namespace

class TestBuiltProcess : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString socket;
    QProcess daemon;
    QProcess remote;

    QString Run(const QString& program, const QStringList& arguments, int timeoutMs = 10000)
    {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(timeoutMs))
            process.kill();
        return QString::fromLocal8Bit(process.readAllStandardOutput());
    }

private slots:
    void initTestCase()
    {
        if (display->Name().isEmpty())
            QSKIP("needs Xvfb");
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("needs xdotool");
        socket = dir.filePath("sim.sock");
        daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        daemon.start(WAVIX_SIM_TOOL, {"daemon", "--socket", socket});
        QVERIFY(daemon.waitForStarted(5000));
        QTRY_VERIFY(QFile::exists(socket));
    }
    void cleanupTestCase()
    {
        for (QProcess* process : {&remote, &daemon})
            if (process->state() != QProcess::NotRunning) {
                process->terminate();
                if (!process->waitForFinished(5000))
                    process->kill();
            }
    }

    void builtRemotePlaysAndSends()
    {
        // Built from the real program, as "Build" does it.
        built::ButtonRecord power;
        power.keyType = keys::kPower;
        power.rect = {156, 300, 204, 348};
        power.caption = QStringLiteral("On");
        power.code = Code();
        const QString path = dir.filePath("tv.exe");
        QVERIFY(built::WriteBuiltRemote(path, REMOTE_PROGRAM, 0, {power}, 1));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", display->Name());
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("WAVIX_SIM_SOCKET", socket);
        environment.insert("LD_PRELOAD", WAVIX_SIM_PRELOAD);
        // A sanitized build loads the preloaded library ahead of its runtime.
        environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        remote.setProcessEnvironment(environment);
        remote.setProcessChannelMode(QProcess::ForwardedChannels);
        remote.start(path, {});
        QVERIFY(remote.waitForStarted(5000));

        const QString window = Run("xdotool", {"search", "--sync", "--onlyvisible", "--name", "^Remote$"}).trimmed();
        QVERIFY2(!window.isEmpty(), "the built remote shows no window");
        QPoint origin;
        for (const QString& line : Run("xdotool", {"getwindowgeometry", "--shell", window.section('\n', 0, 0)}).split('\n')) {
            if (line.startsWith("X="))
                origin.setX(line.mid(2).toInt());
            if (line.startsWith("Y="))
                origin.setY(line.mid(2).toInt());
        }

        // Play mode: the blue body, the key on it, the dot green once the
        // device is found; outside the body's shape the screen shows through.
        const QImage body = play::Background(PngPicture(keys::BodyAt(1).picture), QSize(360, 720));
        auto screen = [] { return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32); };
        QTRY_COMPARE_WITH_TIMEOUT(screen().pixel(origin + QPoint(179, 8)), play::kConnected, 10000);
        const QImage shot = screen();
        QCOMPARE(shot.pixel(origin + QPoint(180, 500)), body.pixel(180, 500));
        QVERIFY(shot.pixel(origin + QPoint(180, 324)) != body.pixel(180, 324));
        QVERIFY(shot.pixel(origin) != play::kColourKey);

        // A click on the key: its code goes out through the device.
        TransmitBuffer buffer;
        const int length = EncodeTrain(Code(), buffer);
        const QString expected = QStringLiteral("SendTrain %1 bytes: %2")
                                     .arg(length)
                                     .arg(Hex(QByteArray(reinterpret_cast<const char*>(buffer.data()), length)));
        const QPoint key = origin + QPoint(180, 324);
        Run("xdotool", {"mousemove", "--sync", QString::number(key.x()), QString::number(key.y()), "click", "1"});
        QTRY_VERIFY_WITH_TIMEOUT(Run(WAVIX_SIM_TOOL, {"log", "--socket", socket}).contains(expected), 5000);
    }
};

int main(int argc, char** argv)
{
    VirtualDisplay virtualDisplay;
    display = &virtualDisplay;
    if (!virtualDisplay.Name().isEmpty()) {
        qputenv("DISPLAY", virtualDisplay.Name().toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication app(argc, argv);
    TestBuiltProcess test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_builtprocess.moc"
