// Every history step measured against a floor timed in the same run: the fastest plain parse
// of the same file (one read into a buffer kept from pass to pass, memchr for the line ends,
// std::from_chars for every value). x_floor is the step's time over the floor's, so machines and
// their load cancel out. The earlier, slower floor is timed alongside for comparison.
#include "app/mdlmain.h"
#include "history/historystore.h"
#include "history/recentmodel.h"
#include "history/storedgames.h"
#include "platform/filesystemobject.h"
#include "platform/gridmodel.h"
#include "platform/gridview.h"
#include "settings/apppaths.h"
#include "synthetichistory.h"
#include "ui/fonts.h"
#include "ui/graph/frmgraph.h"
#include "ui/main/frminputscore.h"
#include "ui/stats/frmtargets.h"
#include "ui/stats/frmtrends.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <atomic>
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
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsOf(const std::function<void()> &step) {
    const auto start = Clock::now();
    step();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The earlier floor: a fresh buffer each pass and memchr for every field. The sum keeps the
// compiler from dropping the parse.
long long oldFloorPass(const QByteArray &path) {
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

// The floor: the whole file in one read into a buffer that a warm-up pass has sized and
// touched, line ends found with memchr, every value after the stamp parsed with from_chars,
// which stops at the comma that ends it.
long long plainParse(const QByteArray &path) {
    static std::vector<char> buffer;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0)
        qFatal("cannot read %s", path.constData());
    const auto size = size_t(info.st_size);
    if (buffer.size() < size)
        buffer.resize(size);
    char *const bytes = buffer.data();
    for (size_t used = 0; used < size;) {
        const ssize_t got = ::read(fd, bytes + used, size - used);
        if (got <= 0)
            qFatal("cannot read %s", path.constData());
        used += size_t(got);
    }
    ::close(fd);

    long long sum = 0;
    const char *const end = bytes + size;
    for (const char *line = bytes; line < end;) {
        const auto *lf = static_cast<const char *>(std::memchr(line, '\n', size_t(end - line)));
        const char *lineEnd = lf ? lf : end;
        if (lineEnd > line && lineEnd[-1] == '\r')
            --lineEnd;
        const auto *field =
            static_cast<const char *>(std::memchr(line, ',', size_t(lineEnd - line)));
        while (field) {
            int value = 0;
            const char *next = std::from_chars(field + 1, lineEnd, value).ptr;
            sum += value;
            field = next < lineEnd && *next == ','
                        ? next
                        : static_cast<const char *>(std::memchr(next, ',', size_t(lineEnd - next)));
        }
        line = lf ? lf + 1 : end;
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

// The x_floor counter and the memory counters, per game. Given a history, times both floors
// over it; without one, the caller times its own floor.
struct Tally {
    explicit Tally(QByteArray history = {})
        : path(std::move(history)) {
        if (!path.isEmpty())
            benchmark::DoNotOptimize(plainParse(path)); // sizes and touches the buffer
    }
    void timeFloors() {
        floor += secondsOf([&] { benchmark::DoNotOptimize(plainParse(path)); });
        oldFloor += secondsOf([&] { benchmark::DoNotOptimize(oldFloorPass(path)); });
    }

    QByteArray path;
    double step = 0;
    double floor = 0;
    double oldFloor = 0;
    qint64 keptBytes = 0;
    qint64 peakBytes = 0;

    void report(benchmark::State &state, qint64 games) const {
        const auto iterations = double(state.iterations());
        state.counters["x_floor"] = step / floor;
        state.counters["floor_ms"] = floor * 1000 / iterations;
        if (oldFloor > 0) {
            state.counters["x_old_floor"] = step / oldFloor;
            state.counters["old_floor_ms"] = oldFloor * 1000 / iterations;
        }
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
        path = ModeFiles::path(Mode::A);
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
    // Never destroyed: at exit Qt's own statics may already be gone.
    new QApplication(argc, argv);
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
    ~Window() { mdlMain::Shutdown(); }
    frmInputScore &operator*() const { return *m_window; }
    GridView &grid(const char *name) const { return *m_window->findChild<GridView *>(name); }
    const StoredGames &games() const {
        return qobject_cast<const RecentModel *>(grid("grdRecent").model())->games();
    }
    void paint() const {
        m_window->repaint();
        QCoreApplication::processEvents();
    }
    // Until the window has handled input: what was queued before it (the grids' font fit among
    // it) runs first; then the window is painted as it now is. The input is a move of the mouse,
    // which changes nothing that later steps use.
    void answer() const {
        const QPointF centre = QRectF(m_window->rect()).center();
        QCoreApplication::postEvent(&*m_window,
                                    new QMouseEvent(QEvent::MouseMove, centre, centre, Qt::NoButton,
                                                    Qt::NoButton, Qt::NoModifier));
        QCoreApplication::processEvents();
        paint();
    }

private:
    QPointer<frmInputScore> m_window;
};

void loadWith(benchmark::State &state, const HistoryFolder &folder, StoredGames &recent,
              GridModel &averages, RecentModel *shown = nullptr) {
    const int games = int(state.range(0));
    FileSystemObject fileSystem;
    HistoryStore store(fileSystem);
    Tally tally(folder.path);
    for (auto _ : state) {
        store.load(Mode::B, recent, averages); // empty: the last load's rows go
        if (shown)
            shown->refresh();
        tally.timeFloors();
        const qint64 before = heapInUse();
        const PeakWatch peak;
        QString error;
        const double seconds = secondsOf([&] {
            error = store.load(Mode::A, recent, averages);
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
        if (!store.load(Mode::A, recent, averages).isEmpty())
            state.SkipWithError("load failed");
        QString error;
        const double seconds =
            secondsOf([&] { error = store.remove(Mode::A, recent, averages, {0}); });
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

// The window's delete of its newest game, until the window has handled input after it.
void delete_in_window(benchmark::State &state) {
    const int games = int(state.range(0));
    HistoryFolder folder(games);
    const Window window;
    GridView &recent = window.grid("grdRecent");
    auto *remove = (*window).findChild<QAction *>(QStringLiteral("mnuEdit_Clear_RecentData"));
    Tally tally(folder.path);
    for (auto _ : state) {
        tally.timeFloors();
        const int rows = recent.model()->rowCount();
        recent.selectRow(0);
        remove->setEnabled(true); // as while the grid has the focus
        const double seconds = secondsOf([&] {
            remove->trigger();
            window.answer();
        });
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
    Tally tally(folder.path);
    for (auto _ : state) {
        tally.timeFloors();
        const PeakWatch peak;
        const double seconds = secondsOf([&] {
            frmGraph graph(window.games(), recent.selectedRows(), *mdlMain::RunSettings, &*window);
        });
        tally.peakBytes = std::max(tally.peakBytes, peak.bytes());
        tally.step += seconds;
        state.SetIterationTime(seconds);
    }
    tally.report(state, games);
}

// From mdlMain::Main() until the window, painted, has handled input, less the same for an empty
// folder.
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
            window.answer();
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
        }
        return seconds;
    };
    Tally tally(folder.path);
    for (auto _ : state) {
        const double bare = startOnce(empty);
        const double full = startOnce(folder);
        tally.timeFloors();
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
    Tally tally(folder.path);
    for (auto _ : state) {
        tally.timeFloors();
        const double seconds =
            secondsOf([&] { Window_ shown(recent, *mdlMain::RunSettings, nullptr, &*window); });
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

// Sends a key's press and release to the focus and handles all they posted, painting
// included; the seconds from the press until then. Keys come 25 ms apart, a fast typist's pace,
// the window idle in between, so that the draft writes overlap the keys.
double typeKey(Qt::Key key, const QString &text) {
    for (const auto idle = Clock::now(); Clock::now() - idle < std::chrono::milliseconds(25);) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const auto start = Clock::now();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(QApplication::focusWidget(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(QApplication::focusWidget(), &release);
    QCoreApplication::processEvents();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A whole mode-A card typed key by key, digits and Enter, into the main window while every
// fsync of the file layer takes 40 ms, as on a slow SD card. The window must handle each key
// within a frame whatever the disk does. gui_file_calls counts the file layer's calls made on
// the window's thread while typing, where a slow disk would hold the keys up; syncs those made
// anywhere, each 40 ms.
void typing(benchmark::State &state) {
    application();
    double slowest = 0;
    double total = 0;
    qint64 keys = 0;
    std::atomic<qint64> guiFileCalls = 0;
    std::atomic<qint64> syncs = 0;
    for (auto _ : state) {
        const HistoryFolder folder(0);
        const Window window;
        (*window).activateWindow();
        for (const auto start = Clock::now();
             !QApplication::focusWidget() && Clock::now() - start < std::chrono::seconds(5);)
            QCoreApplication::processEvents();
        if (!qobject_cast<QLineEdit *>(QApplication::focusWidget())) {
            state.SkipWithError("no field has the focus");
            break;
        }
        QThread *const gui = QThread::currentThread();
        mdlMain::FileSystem->setFaultHook([&](FileSystemObject::Call call) {
            if (QThread::currentThread() == gui)
                ++guiFileCalls;
            if (call == FileSystemObject::Call::Sync) {
                ++syncs;
                std::this_thread::sleep_for(std::chrono::milliseconds(40));
            }
            return 0;
        });
        double seconds = 0;
        const auto type = [&](Qt::Key key, const QString &text) {
            const double one = typeKey(key, text);
            seconds += one;
            slowest = std::max(slowest, one);
            ++keys;
        };
        for (int target = 0; target < 21; ++target) {
            for (const QChar digit : QString::number(target * 37 % 100))
                type(Qt::Key(Qt::Key_0 + digit.digitValue()), digit);
            type(Qt::Key_Return, QStringLiteral("\r"));
        }
        mdlMain::FileSystem->setFaultHook({});
        for (int target = 0; target < 21; ++target) {
            const auto *field =
                (*window).findChild<QLineEdit *>(QStringLiteral("txt(%1)").arg(target));
            if (!field || field->text() != QString::number(target * 37 % 100))
                state.SkipWithError("the card does not hold what was typed");
        }
        total += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["max_key_ms"] = slowest * 1000;
    state.counters["mean_key_ms"] = keys > 0 ? total * 1000 / double(keys) : 0;
    state.counters["syncs"] = double(syncs) / double(std::max<qint64>(1, state.iterations()));
    state.counters["gui_file_calls"] =
        double(guiFileCalls) / double(std::max<qint64>(1, state.iterations()));
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
BENCHMARK(targets)->Name("ratio/targets")->Apply(sizes)->Arg(10000000);
BENCHMARK(trends)->Name("ratio/trends")->Apply(sizes)->Arg(10000000);
BENCHMARK(trendsEverySession)->Name("ratio/trends_sessions")->Apply(sizes)->Arg(10000000);
BENCHMARK(typing)
    ->Name("typing/card_slow_fsync")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

BENCHMARK_MAIN();
