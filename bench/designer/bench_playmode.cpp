// The standalone remote: start-up of a built remote to its first play-mode
// paint (process start included), a full play-mode repaint, and building.
#include "designer/BuiltRemote.h"
#include "designer/KeyTypes.h"
#include "designer/ui/RemoteDlg.h"
#include "sim/SimControl.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

constexpr int kKeys = 40;

// 40 keys of every kind in rows over the body, captioned, each with a code.
std::vector<built::ButtonRecord> FortyKeys()
{
    std::vector<built::ButtonRecord> keys;
    for (int i = 0; i < kKeys; ++i) {
        built::ButtonRecord key;
        key.keyType = i % keys::kBlank;
        const int left = 30 + (i % 5) * 62;
        const int top = 40 + (i / 5) * 78;
        key.rect = {left, top, left + 48, top + 48};
        key.caption = i % 2 ? QStringLiteral("Vol") : QStringLiteral("信号");
        key.code[0] = 1;
        for (int p = 1; p <= 67; ++p)
            key.code[p] = p % 2 ? 560 : 1690;
        keys.push_back(key);
    }
    return keys;
}

QString BuiltRemote(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("forty.exe"));
    if (!built::WriteBuiltRemote(path, QStringLiteral(REMOTE_PROGRAM), 0, FortyKeys(), 1))
        return {};
    return path;
}

// From starting the process to the log line of its first play-mode paint.
void StartupToFirstPlayPaint(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = BuiltRemote(dir);
    if (path.isEmpty()) {
        state.SkipWithError("cannot build the remote");
        return;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("wavix.remote.play.debug=true"));
    for (auto _ : state) {
        QProcess remote;
        remote.setProcessEnvironment(environment);
        remote.setProcessChannelMode(QProcess::MergedChannels);
        QElapsedTimer clock;
        clock.start();
        remote.start(path, {});
        QByteArray output;
        while (!output.contains("first play-mode paint") && remote.waitForReadyRead(5000))
            output += remote.readAll();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (!output.contains("first play-mode paint"))
            state.SkipWithError("no play-mode paint");
        remote.kill();
        remote.waitForFinished();
    }
}

void RepaintPlayMode(benchmark::State& state)
{
    usbsim::Reset();
    QTemporaryDir dir;
    CRemoteDlg window(BuiltRemote(dir));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) || window.DesignMode())
        state.SkipWithError("no play mode");
    QCoreApplication::processEvents();
    for (auto _ : state)
        window.repaint();
}

void BuildFortyKeys(benchmark::State& state)
{
    usbsim::Reset();
    QTemporaryDir dir;
    CRemoteDlg window(QStringLiteral(REMOTE_PROGRAM));
    for (const built::ButtonRecord& key : FortyKeys())
        window.CreateButton(key.keyType, key.rect.left, key.rect.top, key.rect.right, key.rect.bottom, key.caption);
    const QString out = dir.filePath(QStringLiteral("built.exe"));
    for (auto _ : state)
        if (!window.BuildRemote(out))
            state.SkipWithError("the build failed");
    state.counters["MB"] = double(QFileInfo(out).size()) / 1e6;
}

} // namespace

BENCHMARK(StartupToFirstPlayPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(RepaintPlayMode)->Unit(benchmark::kMillisecond);
BENCHMARK(BuildFortyKeys)->Unit(benchmark::kMillisecond);
