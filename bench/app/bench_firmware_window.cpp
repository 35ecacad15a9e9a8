// The main window while a firmware image goes out: how long the UI thread
// goes without running its events, with capturing switched on. The
// simulated bootloader takes 2 ms to program each 1024-byte chunk, so a
// 64 KiB image keeps the device busy for about 130 ms.
#include "analyzer/app/WavixDlg.h"
#include "analyzer/core/FirmwareUpdate.h"
#include "sim/SimControl.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace {

constexpr int kImageBytes = 64 * 1024;
constexpr int kChunkWriteMs = 2;

QByteArray Image()
{
    QByteArray image(kImageBytes, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 131 + (i >> 8));
    return image;
}

struct TransferRun {
    bool finished = false;
    bool ok = false;
    qint64 longestStallUs = 0;
    qint64 transferUs = 0;
};

// One window from start-up to the closed result box; a 1 ms timer on the
// UI thread notes the longest gap between its ticks while the transfer runs.
TransferRun UpdateOnce(const QString& folder)
{
    TransferRun run;
    CWavixDlg window(folder);
    window.show();
    window.ToggleCapture();

    QElapsedTimer sinceTick, transfer;
    bool measuring = false;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (measuring)
            run.longestStallUs = std::max(run.longestStallUs, sinceTick.nsecsElapsed() / 1000);
        sinceTick.start();
    });
    ticker.start(1);
    QObject::connect(&window.Firmware(), &FirmwareUpdate::TransferStarted, [&] {
        measuring = true;
        transfer.start();
        sinceTick.start();
    });
    QObject::connect(&window.Firmware(), &FirmwareUpdate::ShowResult, [&](bool ok) {
        measuring = false;
        run.transferUs = transfer.nsecsElapsed() / 1000;
        run.ok = ok;
        run.finished = true;
        // The user reads the box and closes it.
        QTimer::singleShot(0, &window, [&window] {
            if (auto* box = window.findChild<QMessageBox*>(QStringLiteral("firmwareResult")))
                box->done(QMessageBox::Ok);
        });
    });
    QElapsedTimer limit;
    limit.start();
    while (!run.finished && limit.elapsed() < 20000)
        QTest::qWait(5);
    QTest::qWait(20);
    return run;
}

} // namespace

static void UiStallDuringFirmwareTransfer(benchmark::State& state)
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("Wavix_1.0.2.0.UPF")));
    const QByteArray image = Image();
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size()) {
        state.SkipWithError("cannot write the image");
        return;
    }
    file.close();
    qint64 transferUs = 0;
    for (auto _ : state) {
        usbsim::Reset();
        usbsim::SetReenumerationDelayMs(300); // the device watcher sees it leave
        usbsim::SetChunkWriteMs(kChunkWriteMs);
        const TransferRun run = UpdateOnce(folder.path());
        if (!run.finished || !run.ok) {
            state.SkipWithError("the update did not succeed");
            break;
        }
        state.SetIterationTime(double(run.longestStallUs) / 1e6);
        transferUs += run.transferUs;
    }
    state.counters["transfer_ms"] = double(transferUs) / 1000.0 / double(std::max<int64_t>(1, state.iterations()));
}
// The reported time is the longest stall, not the time of an iteration.
BENCHMARK(UiStallDuringFirmwareTransfer)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
