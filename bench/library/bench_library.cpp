// The code library: the code test against a full library, Record.dat
// loading and saving, and refreshing the filtered list.
#include "analyzer/app/WavixDlg.h"
#include "analyzer/library/CodeLibrary.h"
#include "analyzer/library/CodeTest.h"
#include "analyzer/library/LibraryListModel.h"
#include "analyzer/library/RecordFile.h"
#include "analyzer/library/window/VendorDlg.h"
#include "analyzer/library/window/VendorIds.h"
#include "sim/SimControl.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kEntries = 1023;

PulseTrain FullTrain(int seed)
{
    PulseTrain train;
    train[0] = 1;
    for (int j = 1; j <= PulseTrain::kMaxPulses; ++j)
        train[j] = 400 + (j * 37 + seed * 11) % 9000;
    return train;
}

// 1023 full trains; every one but the last differs from the capture only in
// `differingSlot`, so the test reads that far into each before rejecting it.
CodeLibrary FullLibrary(const PulseTrain& capture, int differingSlot)
{
    CodeLibrary library;
    for (int i = 0; i < kEntries; ++i) {
        PulseTrain train = capture;
        if (i < kEntries - 1)
            train[differingSlot] = capture[differingSlot] * 3;
        library.Append(QStringLiteral("%1 power key %2").arg(i % 3 ? "TV" : "Fan").arg(i), train);
    }
    return library;
}

} // namespace

static void CodeTestAgainstFullLibrary(benchmark::State& state)
{
    const PulseTrain capture = FullTrain(0);
    CodeLibrary library = FullLibrary(capture, int(state.range(0)));
    LibraryListModel model(library);
    model.Refresh(QString());
    for (auto _ : state) {
        std::vector<int> entries;
        entries.reserve(model.Rows().size());
        for (const auto& row : model.Rows())
            entries.push_back(row.entry);
        const int row = FindMatchingRow(library, entries, capture, 20);
        if (row != kEntries - 1)
            state.SkipWithError("the wrong row matched");
        benchmark::DoNotOptimize(row);
    }
}
BENCHMARK(CodeTestAgainstFullLibrary)->Arg(1)->Arg(PulseTrain::kMaxPulses)->Unit(benchmark::kMicrosecond);

static void LoadRecords1023(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = RecordFilePath(dir.path());
    if (!SaveRecords(path, FullLibrary(FullTrain(1), 5)))
        state.SkipWithError("cannot write Record.dat");
    CodeLibrary library;
    for (auto _ : state) {
        LoadRecords(path, library);
        if (library.Count() != kEntries)
            state.SkipWithError("short load");
    }
}
BENCHMARK(LoadRecords1023)->Unit(benchmark::kMillisecond);

static void SaveRecords1023(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = RecordFilePath(dir.path());
    const CodeLibrary library = FullLibrary(FullTrain(2), 5);
    for (auto _ : state)
        if (!SaveRecords(path, library))
            state.SkipWithError("save failed");
}
BENCHMARK(SaveRecords1023)->Unit(benchmark::kMillisecond);

// The window's RefreshList: the filter over 1023 names and the list view
// taking the new rows.
static void RefreshList1023WithFilter(benchmark::State& state)
{
    usbsim::Reset();
    QTemporaryDir dir;
    if (!SaveRecords(RecordFilePath(dir.path()), FullLibrary(FullTrain(3), 5)))
        state.SkipWithError("cannot write Record.dat");
    CWavixDlg window(dir.path());
    window.Command(32786)->trigger();
    CVendorDlg* vendor = window.VendorWindow();
    QLineEdit* filter = nullptr;
    for (QLineEdit* edit : vendor->findChildren<QLineEdit*>())
        if (edit->property("controlId").toInt() == vendorids::kFilterEdit)
            filter = edit;
    filter->setText(QStringLiteral("tv*key")); // two rows in three
    QCoreApplication::processEvents();
    for (auto _ : state) {
        vendor->RefreshList();
        if (vendor->ListModel().rowCount() != 682)
            state.SkipWithError("unexpected rows");
    }
}
BENCHMARK(RefreshList1023WithFilter)->Unit(benchmark::kMicrosecond);
