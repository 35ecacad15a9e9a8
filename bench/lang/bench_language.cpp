// Switching the analyzer between English and Simplified Chinese with the code
// library window open: every text of both windows and both menus, the pack
// read from its file, Setting.ini rewritten, and the relayout and repaint.
#include "analyzer/app/WavixDlg.h"
#include "analyzer/lang/MultiLanguage.h"
#include "sim/SimControl.h"

#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

static void ApplyLanguageWithLibraryOpen(benchmark::State& state)
{
    usbsim::Reset();
    QTemporaryDir folder;
    CWavixDlg window(folder.path());
    window.show();
    window.OpenVendor();
    if (!QTest::qWaitForWindowExposed(&window))
        state.SkipWithError("window not exposed");
    const QString names[] = {QStringLiteral("简体中文"), QStringLiteral("English")};
    int next = 0;
    for (auto _ : state) {
        window.ApplyLanguage(names[next]);
        next ^= 1;
        QCoreApplication::processEvents();
    }
}
BENCHMARK(ApplyLanguageWithLibraryOpen)->Unit(benchmark::kMillisecond);

// The language's share of the start-up with the three packs present: the
// stored language selected, the packs listed, and selected again.
static void StartupLanguageSteps(benchmark::State& state)
{
    QTemporaryDir folder;
    CMultiLanguage(folder.path()).ListOrInstallLanguages();
    for (auto _ : state) {
        CMultiLanguage language(folder.path());
        benchmark::DoNotOptimize(language.ListOrInstallLanguages());
        language.SelectLanguage(QString());
    }
}
BENCHMARK(StartupLanguageSteps)->Unit(benchmark::kMicrosecond);
