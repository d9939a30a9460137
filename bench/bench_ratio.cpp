// Every history step measured against a floor timed in the same run: reading the whole file,
// splitting it into lines and fields and parsing every value with std::from_chars. x_floor is
// the step's time over the floor's, so machines and their load cancel out.
#include "app/apppaths.h"
#include "app/fonts.h"
#include "app/mdlmain.h"
#include "history/historystore.h"
#include "history/recentmodel.h"
#include "history/storedgames.h"
#include "platform/filesystemobject.h"
#include "platform/gridmodel.h"
#include "platform/gridview.h"
#include "synthetichistory.h"
#include "ui/graph/frmgraph.h"
#include "ui/main/frminputscore.h"
#include "ui/stats/frmtargets.h"
#include "ui/stats/frmtrends.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <charconv>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double secondsOf(const std::function<void()> &step) {
    const auto start = Clock::now();
    step();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The floor. The sum keeps the compiler from dropping the parse.
long long floorPass(const QByteArray &path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0)
        qFatal("cannot read %s", path.constData());
    const auto size = size_t(info.st_size);
    const std::unique_ptr<char[]> bytes(new char[size]);
    for (size_t used = 0; used < size;) {
        const ssize_t got = ::read(fd, bytes.get() + used, size - used);
        if (got <= 0)
            qFatal("cannot read %s", path.constData());
        used += size_t(got);
    }
    ::close(fd);

    long long sum = 0;
    const char *end = bytes.get() + size;
    for (const char *line = bytes.get(); line < end;) {
        const auto *lf = static_cast<const char *>(std::memchr(line, '\n', size_t(end - line)));
        const char *lineEnd = lf ? lf : end;
        if (lineEnd > line && lineEnd[-1] == '\r')
            --lineEnd;
        const char *field = line;
        for (bool stamp = true;; stamp = false) {
            const auto *comma =
                static_cast<const char *>(std::memchr(field, ',', size_t(lineEnd - field)));
            const char *fieldEnd = comma ? comma : lineEnd;
            int value = 0;
            if (!stamp)
                std::from_chars(field, fieldEnd, value);
            sum += value;
            if (!comma)
                break;
            field = comma + 1;
        }
        line = lineEnd == end ? end : lf + 1;
    }
    return sum;
}

// Heap bytes in use, small and mapped blocks alike.
qint64 heapInUse() {
    const struct mallinfo2 info = ::mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

qint64 statusKilobytes(const char *field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::stoll(line.substr(std::strlen(field)));
    return 0;
}

// Peak resident memory of a step over the resident memory before it.
class PeakWatch {
public:
    PeakWatch() {
        ::malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        m_before = statusKilobytes("VmRSS:");
    }
    qint64 bytes() const { return (statusKilobytes("VmHWM:") - m_before) * 1024; }

private:
    qint64 m_before = 0;
};

// The x_floor counter and the memory counters, per game.
struct Tally {
    double step = 0;
    double floor = 0;
    qint64 keptBytes = 0;
    qint64 peakBytes = 0;

    void report(benchmark::State &state, qint64 games) const {
        state.counters["x_floor"] = step / floor;
        state.counters["floor_ms"] = floor * 1000 / double(state.iterations());
        if (keptBytes > 0)
            state.counters["bytes_per_game"] = double(keptBytes) / double(games);
        if (peakBytes > 0)
            state.counters["peak_bytes_per_game"] = double(peakBytes) / double(games);
    }
};

// A program folder with a mode-A history of `games` games.
struct HistoryFolder {
    explicit HistoryFolder(int games, qint64 gapSeconds = 1) {
        AppPaths::overrideForTests(dir.path(), QStringLiteral("Dartrail"));
        path = HistoryStore::filePath(mdlMain::ModeA);
        if (games > 0)
            writeHistory(path, games, gapSeconds);
    }
    ~HistoryFolder() { AppPaths::overrideForTests(QString(), QString()); }
    qint64 fileBytes() const { return QFileInfo(QString::fromLocal8Bit(path)).size(); }

    QTemporaryDir dir;
    QByteArray path;
};

void application() {
    if (qApp)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "dartrail_bench";
    static char *argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    Fonts::installSubstitutes();
}

// The program's main window on the folder's history, painted once.
class Window {
public:
    Window() {
        application();
        m_window = mdlMain::Main();
        if (!m_window)
            qFatal("no main window");
        paint();
    }
    ~Window() {
        m_window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    frmInputScore &operator*() const { return *m_window; }
    GridView &grid(const char *name) const { return *m_window->findChild<GridView *>(name); }
    const StoredGames &games() const {
        return qobject_cast<const RecentModel *>(grid("grdRecent").model())->games();
    }
    void paint() const {
        m_window->repaint();
        QCoreApplication::processEvents();
    }

private:
    QPointer<frmInputScore> m_window;
};

void loadWith(benchmark::State &state, const HistoryFolder &folder, StoredGames &recent,
              GridModel &averages, RecentModel *shown = nullptr) {
    const int games = int(state.range(0));
    FileSystemObject fileSystem;
    HistoryStore store(fileSystem);
    Tally tally;
    for (auto _ : state) {
        store.load(mdlMain::ModeB, recent, averages); // empty: the last load's rows go
        if (shown)
            shown->refresh();
        tally.floor += secondsOf([&] { benchmark::DoNotOptimize(floorPass(folder.path)); });
        const qint64 before = heapInUse();
        const PeakWatch peak;
        QString error;
        const double seconds = secondsOf([&] {
            error = store.load(mdlMain::ModeA, recent, averages);
            if (shown)
                shown->refresh();
        });
        tally.peakBytes = std::max(tally.peakBytes, peak.bytes());
        tally.keptBytes = heapInUse() - before;
        if (!error.isEmpty() || recent.count() != games)
            state.SkipWithError("load failed");
        tally.step += seconds;
        state.SetIterationTime(seconds);
    }
    tally.report(state, games);
    state.counters["file_bytes_per_game"] = double(folder.fileBytes()) / games;
}

// HistoryStore::load in a process that has never shown a window.
void load(benchmark::State &state) {
    const HistoryFolder folder(int(state.range(0)));
    StoredGames recent;
    GridModel averages;
    loadWith(state, folder, recent, averages);
}

// HistoryStore::remove of the newest game, against writing the bytes it leaves to a hidden
// file, syncing it and renaming it over a copy.
void remove(benchmark::State &state) {
    const int games = int(state.range(0));
    HistoryFolder folder(games);
    FileSystemObject fileSystem;
    HistoryStore store(fileSystem);
    StoredGames recent;
    GridModel averages;
    const QByteArray copy = folder.path + ".copy";
    const QByteArray hidden = folder.path + ".hidden";
    Tally tally;
    for (auto _ : state) {
        if (!store.load(mdlMain::ModeA, recent, averages).isEmpty())
            state.SkipWithError("load failed");
        QString error;
        const double seconds =
            secondsOf([&] { error = store.remove(mdlMain::ModeA, recent, {0}); });
        if (!error.isEmpty())
            state.SkipWithError("remove failed");
        QByteArray after;
        fileSystem.readAll(folder.path, after, qint64(1) << 40);
        tally.floor += secondsOf([&] {
            const int fd =
                ::open(hidden.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            for (qsizetype written = 0; written < after.size();) {
                const ssize_t got =
                    ::write(fd, after.constData() + written, size_t(after.size() - written));
                if (got <= 0)
                    qFatal("cannot write the floor's file");
                written += got;
            }
            if (::fsync(fd) != 0 || ::close(fd) != 0 ||
                ::rename(hidden.constData(), copy.constData()) != 0)
                qFatal("cannot write the floor's file");
        });
        tally.step += seconds;
        state.SetIterationTime(seconds);
    }
    tally.report(state, games);
}

// The load step after the main window exists: into games and grids its views show.
void load_in_window(benchmark::State &state) {
    const HistoryFolder folder(int(state.range(0)));
    const Window window;
    StoredGames recent;
    RecentModel shown(recent);
    GridModel averages;
    window.grid("grdRecent").setModel(&shown);
    window.grid("grdAVG").setModel(&averages);
    loadWith(state, folder, recent, averages, &shown);
}

// The window's delete of its newest game: the rewrite and the reload.
void delete_in_window(benchmark::State &state) {
    const int games = int(state.range(0));
    HistoryFolder folder(games);
    const Window window;
    GridView &recent = window.grid("grdRecent");
    auto *remove = (*window).findChild<QAction *>(QStringLiteral("mnuEdit_Clear_RecentData"));
    Tally tally;
    for (auto _ : state) {
        tally.floor += secondsOf([&] { benchmark::DoNotOptimize(floorPass(folder.path)); });
        const int rows = recent.model()->rowCount();
        recent.selectRow(0);
        remove->setEnabled(true); // as while the grid has the focus
        const double seconds = secondsOf([&] { remove->trigger(); });
        if (recent.model()->rowCount() != rows - 1)
            state.SkipWithError("delete failed");
        window.paint();
        tally.step += seconds;
        state.SetIterationTime(seconds);
    }
    tally.report(state, games);
}

// The graph window over every game: taking the selection, building the window, drawing both
// pictures.
void graph(benchmark::State &state) {
    const int games = int(state.range(0));
    HistoryFolder folder(games);
    const Window window;
    GridView &recent = window.grid("grdRecent");
    recent.selectAll();
    Tally tally;
    for (auto _ : state) {
        tally.floor += secondsOf([&] { benchmark::DoNotOptimize(floorPass(folder.path)); });
        const PeakWatch peak;
        const double seconds =
            secondsOf([&] { frmGraph graph(window.games(), recent.selectedRows(), &*window); });
        tally.peakBytes = std::max(tally.peakBytes, peak.bytes());
        tally.step += seconds;
        state.SetIterationTime(seconds);
    }
    tally.report(state, games);
}

// From mdlMain::Main() to the window's first paint, less the same for an empty folder.
void startup(benchmark::State &state) {
    const int games = int(state.range(0));
    application();
    HistoryFolder empty(0);
    HistoryFolder folder(games);
    const auto startOnce = [](const HistoryFolder &at) {
        AppPaths::overrideForTests(at.dir.path(), QStringLiteral("Dartrail"));
        double seconds = 0;
        {
            const auto start = Clock::now();
            const Window window;
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
        }
        return seconds;
    };
    Tally tally;
    for (auto _ : state) {
        const double bare = startOnce(empty);
        const double full = startOnce(folder);
        tally.floor += secondsOf([&] { benchmark::DoNotOptimize(floorPass(folder.path)); });
        tally.step += full - bare;
        state.SetIterationTime(std::max(full - bare, 1e-9));
    }
    tally.report(state, games);
}

// A statistics window over every game: reading the games from the table, the report and its
// tables, built as the menu builds it. Trends also with every game a session of its own.
template <typename Window_> void statistics(benchmark::State &state, qint64 gapSeconds) {
    const int games = int(state.range(0));
    HistoryFolder folder(games, gapSeconds);
    const Window window;
    const StoredGames &recent = window.games();
    Tally tally;
    for (auto _ : state) {
        tally.floor += secondsOf([&] { benchmark::DoNotOptimize(floorPass(folder.path)); });
        const double seconds =
            secondsOf([&] { Window_ shown(recent, mdlMain::ModeA, nullptr, &*window); });
        tally.step += seconds;
        state.SetIterationTime(seconds);
    }
    tally.report(state, games);
}

void targets(benchmark::State &state) {
    statistics<frmTargets>(state, 1);
}
void trends(benchmark::State &state) {
    statistics<frmTrends>(state, 1);
}
void trendsEverySession(benchmark::State &state) {
    statistics<frmTrends>(state, 46 * 60);
}

void sizes(benchmark::internal::Benchmark *benchmark) {
    benchmark->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime();
}

} // namespace

// Without a window first: once a window has run, its state stays with the process.
BENCHMARK(load)->Name("ratio/load")->Apply(sizes)->Arg(10000000);
BENCHMARK(remove)->Name("ratio/remove")->Apply(sizes)->Arg(10000000);
BENCHMARK(load_in_window)->Name("ratio/load_in_window")->Apply(sizes)->Arg(10000000);
BENCHMARK(delete_in_window)->Name("ratio/delete_in_window")->Apply(sizes)->Arg(10000000);
BENCHMARK(startup)->Name("ratio/startup")->Apply(sizes)->Arg(10000000);
BENCHMARK(graph)->Name("ratio/graph")->Apply(sizes)->Arg(10000000);
BENCHMARK(targets)->Name("ratio/targets")->Apply(sizes);
BENCHMARK(trends)->Name("ratio/trends")->Apply(sizes);
BENCHMARK(trendsEverySession)->Name("ratio/trends_sessions")->Apply(sizes);

BENCHMARK_MAIN();
