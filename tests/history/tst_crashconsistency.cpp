#include "history/historyfixture.h"

#include "app/inifile.h"
#include "app/mdlmain.h"

#include <QDir>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using Call = FileSystemObject::Call;
using F = HistoryFixture;

// Every write of the program, broken at each of its system calls: by killing the process there,
// or by failing that call. The file must only ever hold its old content, its new content, or (for
// an append) the old content and the start of the new line.
class tst_CrashConsistency : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void brokenAtEveryCall_data();
    void brokenAtEveryCall();
};

namespace {
enum Operation { Save, Remove, Settings };
} // namespace

void tst_CrashConsistency::brokenAtEveryCall_data() {
    QTest::addColumn<int>("operation");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("appending"); // a half line at the end may be left

    QTest::newRow("save after an unended line")
        << int(Save) << F::games(1, 9) + F::game(10, "1,,3") << true;
    QTest::newRow("save into a new file") << int(Save) << F::missing << true;
    // Large enough to be written in several pieces.
    QTest::newRow("delete two games") << int(Remove) << F::games(1, 28).repeated(1200) << false;
    QTest::newRow("settings") << int(Settings) << QByteArray("; kept\r\n[GAME]\r\nMODE=B\r\n")
                              << false;
    QTest::newRow("settings into a new file") << int(Settings) << F::missing << false;
}

void tst_CrashConsistency::brokenAtEveryCall() {
    QFETCH(int, operation);
    QFETCH(QByteArray, before);
    QFETCH(bool, appending);
    HistoryFixture fixture;
    const QString path =
        operation == Settings ? AppPaths::settingsFile() : HistoryStore::filePath(mdlMain::ModeA);
    const auto run = [&]() -> QString {
        if (operation == Save)
            return fixture.store.save(mdlMain::ModeA, QStringList(21, QStringLiteral("12")),
                                      QDateTime(QDate(2005, 3, 7), QTime(21, 4, 9)));
        if (operation == Remove)
            return fixture.remove(mdlMain::ModeA, {1, 2});
        return IniFile(path, fixture.fileSystem).write(u"GAME"_qs, u"MODE"_qs, u"A"_qs)
                   ? QString()
                   : u"failed"_qs;
    };
    // Files beside the one written.
    const auto strays = [&](QDir::Filters hidden) {
        QStringList names = QDir(fixture.dir.path()).entryList(QDir::Files | hidden);
        names.removeAll(QFileInfo(path).fileName());
        return names;
    };
    F::write(path, before);
    QCOMPARE(fixture.load(mdlMain::ModeA), QString());

    // The unbroken run gives the new content and the number of calls to break.
    int calls = 0;
    fixture.fileSystem.setFaultHook([&calls](Call) { return ++calls, 0; });
    QCOMPARE(run(), QString());
    const QByteArray after = F::contentOf(path);
    QVERIFY(after != before && calls > 3);
    // A rewrite keeps the permissions; a new file gets those of any file made here.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat info {};
    QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
    QCOMPARE(info.st_mode & 0777, 0666 & ~mask);

    // Killed at each call (error 0), or that call failing.
    for (const int error : {0, ENOSPC, EACCES, EIO}) {
        const QString text = !error                  ? u"killed"_qs
                             : operation == Settings ? u"failed"_qs
                                                     : QString::fromLocal8Bit(strerror(error));
        for (int n = 1; n <= calls; ++n) {
            const QString round = QStringLiteral("%1 at call %2: ").arg(text).arg(n);
            F::write(path, before);
            int seen = 0;
            fixture.fileSystem.setFaultHook([&](Call) {
                return ++seen != n ? 0 : error ? error : ::raise(SIGKILL);
            });
            QString reported;
            int status = 0;
            if (error) {
                reported = run();
            } else if (const pid_t child = fork(); child == 0) {
                run();
                ::_exit(0);
            } else {
                QVERIFY2(::waitpid(child, &status, 0) == child && WIFSIGNALED(status) &&
                             WTERMSIG(status) == SIGKILL,
                         qPrintable(round));
            }
            const QByteArray now = F::contentOf(path);
            // An empty history is no history: a failed first save may leave one.
            const bool kept = now == before || (appending && before == F::missing && now.isEmpty());
            // A failure leaves the old content; only a call whose failure changes nothing may be
            // survived.
            const bool allowed =
                error ? (reported == text ? kept : reported.isEmpty() && now == after)
                      : kept || now == after ||
                            (appending && after.startsWith(now) &&
                             (before == F::missing || now.startsWith(before)));
            QVERIFY2(allowed, qPrintable(round + reported + " | " + now.right(200)));
            // Hidden files are no reader's concern after a kill.
            const QStringList left = strays(error ? QDir::Hidden : QDir::Filters());
            QVERIFY2(left.isEmpty(), qPrintable(round + left.join(u' ')));
            for (const QString &name : strays(QDir::Hidden))
                QFile::remove(fixture.dir.filePath(name));
        }
    }
}

QTEST_GUILESS_MAIN(tst_CrashConsistency)
#include "tst_crashconsistency.moc"
