// Start-up: from mdlMain::Main() (settings read, window built, history loaded) to the main window
// painted on the screen, on the offscreen platform, with no history and with a large one.
#include "app/apppaths.h"
#include "app/fonts.h"
#include "app/mdlmain.h"
#include "history/historystore.h"
#include "synthetichistory.h"
#include "ui/main/frminputscore.h"

#include <QApplication>
#include <QPointer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Notes the first paint of the window it watches.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        painted = painted || event->type() == QEvent::Paint;
        return QObject::eventFilter(watched, event);
    }
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

void startUp(benchmark::State &state) {
    application();
    const int games = int(state.range(0));
    QTemporaryDir dir;
    AppPaths::overrideForTests(dir.path(), QStringLiteral("Dartrail"));
    if (games > 0)
        writeHistory(HistoryStore::filePath(mdlMain::ModeA), games);

    for (auto _ : state) {
        PaintWatch watch;
        QPointer<frmInputScore> window = mdlMain::Main();
        window->installEventFilter(&watch);
        while (!watch.painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        state.PauseTiming();
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (window)
            state.SkipWithError("the window outlived its close");
        state.ResumeTiming();
    }
    AppPaths::overrideForTests(QString(), QString());
}

} // namespace

BENCHMARK(startUp)->Arg(0)->Arg(100000)->Unit(benchmark::kMillisecond);
