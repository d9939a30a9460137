// The load step on synthetic histories: read the file, fill the recent grid, compute the averages.
#include "app/apppaths.h"
#include "app/mdlmain.h"
#include "history/historystore.h"
#include "platform/filesystemobject.h"
#include "platform/gridmodel.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

// A mode-A history of `games` lines with values 1..12 and now and then an empty bull.
void writeHistory(const QString &path, int games) {
    QRandomGenerator random(games);
    QByteArray content;
    content.reserve(qsizetype(games) * 72);
    for (int game = 0; game < games; ++game) {
        const int second = game % 86400;
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "2024/%02d/%02d %02d:%02d:%02d", 1 + game / 2419200 % 12,
                      1 + game / 86400 % 28, second / 3600, second / 60 % 60, second % 60);
        content.append(stamp);
        for (int target = 0; target < 21; ++target) {
            content.append(',');
            if (target < 20 || game % 7 != 0)
                content.append(QByteArray::number(1 + random.bounded(12)));
        }
        content.append("\r\n");
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

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
