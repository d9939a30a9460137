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
    QTest::newRow("save after an unended line")
        << int(Save) << F::games(1, 9) + F::game(10, "1,,3");
    QTest::newRow("save into a new file") << int(Save) << F::missing;
    // Large enough to be written in several pieces.
    QTest::newRow("delete two games") << int(Remove) << F::games(1, 28).repeated(1200);
    QTest::newRow("settings") << int(Settings) << QByteArray("; kept\r\n[GAME]\r\nMODE=B\r\n");
    QTest::newRow("settings into a new file") << int(Settings) << F::missing;
}

void tst_CrashConsistency::brokenAtEveryCall() {
    QFETCH(int, operation);
    QFETCH(QByteArray, before);
    const bool appending = operation == Save; // a half line at the end may be left
    HistoryFixture fixture;
    ::umask(022); // files made here get 0644
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
    F::write(path, before);
    QCOMPARE(fixture.load(mdlMain::ModeA), QString());

    // The unbroken run gives the new content and the number of calls to break.
    int calls = 0;
    fixture.fileSystem.setFaultHook([&calls](Call) { return ++calls, 0; });
    QCOMPARE(run(), QString());
    const QByteArray after = F::contentOf(path);
    QVERIFY(after != before && calls > 3);
    // A rewrite keeps the permissions; a new file gets those of any file made here.
    struct stat info {};
    QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
    QCOMPARE(info.st_mode & 0777, 0644);

    // Killed at each call (error 0), or that call failing.
    for (const int error : {0, ENOSPC, EACCES, EIO}) {
        const QString text =
            operation == Settings ? u"failed"_qs : QString::fromLocal8Bit(strerror(error));
        for (int n = 1; n <= calls; ++n) {
            const QString round =
                QStringLiteral("%1 at call %2: ").arg(error ? text : u"killed"_qs).arg(n);
            F::write(path, before);
            int seen = 0;
            fixture.fileSystem.setFaultHook([&](Call) {
                return ++seen != n ? 0 : error ? error : ::raise(SIGKILL);
            });
            const QString reported = error ? run() : QString();
            if (const pid_t child = error ? -1 : ::fork(); child == 0) {
                run();
                ::_exit(0);
            } else if (!error) {
                int status = 0;
                QVERIFY2(child > 0 && ::waitpid(child, &status, 0) == child &&
                             WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL,
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
            // Nothing beside the file, but for a hidden one after a kill: no reader's concern.
            QStringList left = QDir(fixture.dir.path()).entryList(QDir::Files | QDir::Hidden);
            left.removeAll(QFileInfo(path).fileName());
            for (const QString &name : left)
                QVERIFY2(!error && name.startsWith(u'.') &&
                             QFile::remove(fixture.dir.filePath(name)),
                         qPrintable(round + name));
        }
    }
}

QTEST_GUILESS_MAIN(tst_CrashConsistency)
#include "tst_crashconsistency.moc"
