// The load step on synthetic histories: read the file, fill the recent grid, compute the averages.
#include "app/apppaths.h"
#include "app/mdlmain.h"
#include "history/historystore.h"
#include "platform/filesystemobject.h"
#include "platform/gridmodel.h"
#include "synthetichistory.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

// Peak resident memory since the last reset, in MB.
double peakMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

void loadStep(benchmark::State &state) {
    const int games = int(state.range(0));
    QTemporaryDir dir;
    AppPaths::overrideForTests(dir.path(), QStringLiteral("Dartrail"));
    writeHistory(HistoryStore::filePath(mdlMain::ModeA), games);

    FileSystemObject fileSystem;
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        resetPeak();
        {
            GridModel recent;
            GridModel averages;
            HistoryStore store(fileSystem);
            state.ResumeTiming();
            const QString error = store.load(mdlMain::ModeA, recent, averages);
            state.PauseTiming();
            if (!error.isEmpty() || recent.rows() != std::max(games, 5))
                state.SkipWithError("load failed");
        }
        peak = std::max(peak, peakMegabytes());
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peak;
    state.SetItemsProcessed(state.iterations() * games);
    AppPaths::overrideForTests(QString(), QString());
}

} // namespace

BENCHMARK(loadStep)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
