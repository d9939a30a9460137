#include "history/historyfixture.h"

#include "app/inifile.h"
#include "app/mdlmain.h"

#include <QDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using Call = FileSystemObject::Call;

// Every write of the program, broken at each of its system calls: by killing the process there,
// or by failing that call. The file must only ever hold its old content, its new content, or (for
// an append) the old content and the start of the new line.
class tst_CrashConsistency : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void brokenAtEveryCall_data();
    void brokenAtEveryCall();

private:
    enum Operation { Save, Remove, Settings };
    struct Case {
        HistoryFixture fixture;
        Operation operation = Save;
        QString path;
        QByteArray before; // "<missing>": no file
        QByteArray after;  // as left by the operation unbroken
        int calls = 0;     // through the fault hook, unbroken

        QString run(); // the error text, empty on success
        QByteArray content() const;
        void restore() const;
        // Whether the folder holds anything but the file that a reader could take for it.
        QString strayFiles(bool hiddenToo) const;
    };
};

namespace {
const QByteArray missing = "<missing>";
const QDateTime savedAt(QDate(2005, 3, 7), QTime(21, 4, 9));
} // namespace

QString tst_CrashConsistency::Case::run() {
    switch (operation) {
    case Save:
        return fixture.store.save(mdlMain::ModeA, QStringList(21, QStringLiteral("12")), savedAt);
    case Remove:
        return fixture.store.remove(mdlMain::ModeA, fixture.recent, {1, 2});
    case Settings:
        return IniFile(path, fixture.fileSystem)
                       .write(QStringLiteral("GAME"), QStringLiteral("MODE"), QStringLiteral("A"))
                   ? QString()
                   : QStringLiteral("failed");
    }
    return {};
}

QByteArray tst_CrashConsistency::Case::content() const {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : missing;
}

void tst_CrashConsistency::Case::restore() const {
    QFile::remove(path);
    if (before == missing)
        return;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
}

QString tst_CrashConsistency::Case::strayFiles(bool hiddenToo) const {
    QStringList names =
        QDir(fixture.dir.path()).entryList(QDir::Files | (hiddenToo ? QDir::Hidden : QDir::Files));
    names.removeAll(QFileInfo(path).fileName());
    return names.join(u' ');
}

void tst_CrashConsistency::brokenAtEveryCall_data() {
    QTest::addColumn<int>("operation");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("appending"); // a half line at the end may be left

    QTest::newRow("save after an unended line")
        << int(Save) << HistoryFixture::games(1, 9) + HistoryFixture::game(10, "1,,3") << true;
    QTest::newRow("save into a new file") << int(Save) << missing << true;
    // Large enough to be written in several pieces.
    QTest::newRow("delete two games")
        << int(Remove) << HistoryFixture::games(1, 28).repeated(1200) << false;
    QTest::newRow("settings") << int(Settings)
                              << QByteArray(
                                     "; kept\r\n[GAME]\r\nMODE=B\r\n[WINDOW]\r\nGRID=312\r\n")
                              << false;
    QTest::newRow("settings into a new file") << int(Settings) << missing << false;
}

void tst_CrashConsistency::brokenAtEveryCall() {
    QFETCH(int, operation);
    QFETCH(QByteArray, before);
    QFETCH(bool, appending);
    Case c;
    c.operation = Operation(operation);
    c.path =
        c.operation == Settings ? AppPaths::settingsFile() : HistoryStore::filePath(mdlMain::ModeA);
    c.before = before;
    c.restore();
    QCOMPARE(c.fixture.store.load(mdlMain::ModeA, c.fixture.recent, c.fixture.averages), QString());

    // The unbroken run gives the new content and the number of calls to break.
    c.fixture.fileSystem.setFaultHook([&c](Call) { return ++c.calls, 0; });
    QCOMPARE(c.run(), QString());
    c.after = c.content();
    QVERIFY(c.after != before && c.calls > 3);
    if (before == missing) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        struct stat info {};
        QVERIFY(::stat(QFile::encodeName(c.path).constData(), &info) == 0);
        QCOMPARE(info.st_mode & 0777, 0666 & ~mask);
    }
    const auto allowed = [&](const QByteArray &content) {
        return content == before || content == c.after ||
               (appending && c.after.startsWith(content) &&
                content.startsWith(before == missing ? QByteArray() : before));
    };

    for (int n = 1; n <= c.calls; ++n) {
        const QString round = QStringLiteral("killed at call %1").arg(n);
        c.restore();
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            int seen = 0;
            c.fixture.fileSystem.setFaultHook([&seen, n](Call) {
                if (++seen == n)
                    ::raise(SIGKILL);
                return 0;
            });
            c.run();
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, qPrintable(round));
        QVERIFY2(allowed(c.content()), qPrintable(round + ": " + c.content().right(200)));
        QVERIFY2(c.strayFiles(false).isEmpty(), qPrintable(round + ": " + c.strayFiles(false)));
        for (const QString &name : c.strayFiles(true).split(u' ', Qt::SkipEmptyParts))
            QFile::remove(c.fixture.dir.filePath(name));
    }

    // An empty history is no history: a failed first save may leave one.
    const auto unchanged = [&](const QByteArray &content) {
        return content == before || (before == missing && appending && content.isEmpty());
    };
    for (const int error : {ENOSPC, EACCES, EIO}) {
        const QString text = c.operation == Settings ? QStringLiteral("failed")
                                                     : QString::fromLocal8Bit(strerror(error));
        for (int n = 1; n <= c.calls; ++n) {
            const QString round = QStringLiteral("%1 at call %2").arg(text).arg(n);
            c.restore();
            int seen = 0;
            c.fixture.fileSystem.setFaultHook([&](Call) { return ++seen == n ? error : 0; });
            const QString reported = c.run();
            // A failure leaves the old content; only a call whose failure changes nothing may
            // be survived.
            QVERIFY2(reported == text ? unchanged(c.content())
                                      : reported.isEmpty() && c.content() == c.after,
                     qPrintable(round + ": " + reported));
            QVERIFY2(c.strayFiles(true).isEmpty(), qPrintable(round + ": " + c.strayFiles(true)));
        }
    }
}

QTEST_GUILESS_MAIN(tst_CrashConsistency)
#include "tst_crashconsistency.moc"
