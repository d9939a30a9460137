#include "history/averagestable.h"
#include "history/carddraft.h"
#include "history/drilldraft.h"
#include "history/drillhistory.h"
#include "history/historyline.h"
#include "history/historystore.h"
#include "history/modefiles.h"
#include "history/recentmodel.h"
#include "history/recenttable.h"
#include "history/storedgames.h"
#include "platform/filesystemobject.h"
#include "platform/gridmodel.h"
#include "settings/apppaths.h"
#include "settings/inifile.h"
#include "settings/playmode.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

using Call = FileSystemObject::Call;

namespace {

// A program folder of its own with both history files, the store and the two grids.
struct HistoryFixture {
    HistoryFixture() { AppPaths::overrideForTests(dir.path(), QStringLiteral("Dartrail")); }
    ~HistoryFixture() { AppPaths::overrideForTests(QString(), QString()); }

    static inline const QByteArray missing = "<missing>";

    // Replaces the file; writing `missing` leaves it absent.
    static void write(const QString &path, const QByteArray &content) {
        QFile::remove(path);
        QFile file(path);
        if (content != missing)
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }
    static QByteArray contentOf(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : missing;
    }
    static void write(Mode mode, const QByteArray &content) {
        write(ModeFiles::path(mode), content);
    }
    static QByteArray contentOf(Mode mode) { return contentOf(ModeFiles::path(mode)); }
    // A history line saved on the given day of March 2024 with the given values.
    static QByteArray game(int day, const QByteArray &values) {
        return "2024/03/" + QByteArray::number(day).rightJustified(2, '0') + " 21:04:09," + values;
    }
    // Lines of games saved on the days first..last, every value the day's last digit.
    static QByteArray games(int first, int last) {
        QByteArray content;
        for (int day = first; day <= last; ++day)
            content +=
                game(day, (QByteArray::number(day % 10) + ',').repeated(21).chopped(1)) + "\r\n";
        return content;
    }
    QString load(Mode mode) {
        const QString error = store.load(mode, stored, averages);
        recent.refresh();
        return error;
    }
    QString remove(Mode mode, const QList<int> &rows) {
        const QString error = store.remove(mode, stored, averages, rows);
        recent.refresh();
        return error;
    }
    // Cells 0, 1, 21, 22, 23 and 24 of a recent row, joined by "|".
    QString recentRow(int row) const {
        QStringList cells;
        for (int col : {0, 1, 21, 22, 23, 24})
            cells.append(recent.text(row, col));
        return cells.join(u'|');
    }

    QTemporaryDir dir;
    FileSystemObject fileSystem;
    HistoryStore store{fileSystem};
    StoredGames stored;
    RecentModel recent{stored};
    GridModel averages;
};
using F = HistoryFixture;

enum Operation { Save, Remove, Undo, Settings, Draft, DrillSave, DrillDelete, DrillKeep };
const QString placeholder = QStringLiteral("(NO DATA)|||||");
const QByteArray stamp = "2005/03/07 21:04:09";
const QDateTime when(QDate(2005, 3, 7), QTime(21, 4, 9)); // the moment of that stamp
// Games of the first of March, oldest first, from their values.
QByteArray lines(const QList<QByteArray> &games) {
    QByteArray content;
    for (const QByteArray &values : games)
        content += F::game(1, values) + "\r\n";
    return content;
}

} // namespace

// Loading a history file into the recent table and the statistics, appending a card and
// rewriting it without deleted games; and every write of the program, broken at each of its
// system calls.
class tst_HistoryStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void load_data();
    void load();
    void save_data();
    void save();
    void remove_data();
    void remove();
    void removeShowsWhatLoadShows_data();
    void removeShowsWhatLoadShows();
    void oddFiles_data();
    void oddFiles();
    void oddUndoRecords_data();
    void oddUndoRecords();
    void brokenAtEveryCall_data();
    void brokenAtEveryCall();
};

void tst_HistoryStore::load_data() {
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("recent");   // the first rows, as HistoryFixture::recentRow
    QTest::addColumn<QStringList>("averages"); // "row,col=text"

    QTest::newRow("bare LF, empty lines skipped, no final CR LF")
        << Mode::A
        << "\r\n" + F::games(1, 2).replace("\r\n", "\n\r\n") + "\n\r\n" + F::games(3, 3).chopped(2)
        << QStringList{"03/03 21:04|3|3|63|3.0|2024/03/03 21:04:09",
                       "03/02 21:04|2|2|42|2.0|2024/03/02 21:04:09",
                       "03/01 21:04|1|1|21|1.0|2024/03/01 21:04:09", placeholder, placeholder}
        << QStringList{"0,1=2.0"};
    QTest::newRow("huge, negative and text values; a short line's empties not averaged")
        << Mode::A << lines({"5,,7", "99999999999999999999,-3,abc,3"})
        << QStringList{"03/01 21:04|99999999999999999999||100000000000000000000|"
                       "25000000000000000000.0|2024/03/01 21:04:09",
                       "03/01 21:04|5||12|6.0|2024/03/01 21:04:09"}
        << QStringList{"0,1=5.0", "0,2=", "0,3=7.0", "0,4=3.0", "0,23=5.0"};
    QTest::newRow("A numbers past 99 and a leading zero: shown and totalled, never averaged")
        << Mode::A << lines({"254,100,1", "255,099,2"})
        << QStringList{"03/01 21:04|255||356|118.7|2024/03/01 21:04:09",
                       "03/01 21:04|254||355|118.3|2024/03/01 21:04:09"}
        << QStringList{"0,1=", "0,2=", "0,3=1.5", "3,3=66.7"};
    const QByteArray threes = QByteArray("3,").repeated(20) + "3";
    QTest::newRow("B 3,3,3, the newest of 30 fields: 24 counted")
        << Mode::B << lines({threes, threes, threes + QByteArray(",3").repeated(9)})
        << QStringList{"03/01 21:04|3|3|72|3.00|2024/03/01 21:04:09"}
        << QStringList{"0,1=3.00", "3,1=100",    "0,22=63.00", "0,23=3.00",
                       "3,22=-",   "3,23=100.0", "5,21=100"};
    QTest::newRow("B 1 and 2: fewer than 3 games, all windows alike; 4 and 03 invalid")
        << Mode::B << lines({"1,4", "2,03,3"}) << QStringList()
        << QStringList{"0,1=1.50", "1,1=1.50", "2,1=1.50", "3,1=50.0",
                       "5,1=50.0", "0,2=",     "0,3=3.00"};
    // 1 dart in 16 is a hit rate of 6.25 exactly.
    QTest::newRow("A 2 and 4, one 16: halves away from zero")
        << Mode::A << lines({"2,16", "4"}) << QStringList()
        << QStringList{"0,1=3.0", "3,1=33.3", "0,2=16.0", "3,2=6.3", "0,22=19.0", "0,23=9.5"};
    QTest::newRow("A zeros: HIT empty and not in the mean; invalid texts ignored")
        << Mode::A << lines({"0,5,05, 5,x,99", "0,5"}) << QStringList()
        << QStringList{"0,1=0.0", "3,1=",     "3,2=20.0", "0,3=",      "0,4=",
                       "0,5=",    "0,6=99.0", "3,6=1.0",  "0,23=34.7", "3,23=10.5"};
    // Bulls, newest first: empty, 1, 0, then 9 down to 1.
    QTest::newRow("12 games, newest bull empty")
        << Mode::A << F::games(1, 11) + F::game(12, QByteArray(20, ',')) << QStringList()
        << QStringList{"0,21=0.5", "1,21=4.8", "2,21=4.2", "3,21=200.0", "5,21=23.9"};
    QTest::newRow("no file") << Mode::A << F::missing << QStringList{placeholder}
                             << QStringList{"0,0=AVG(3)", "5,0=HIT(ALL)", "0,1=", "0,22=0.0",
                                            "0,23=",      "3,22=-",       "3,23="};
}

void tst_HistoryStore::load() {
    QFETCH(Mode, mode);
    QFETCH(QByteArray, content);
    QFETCH(QStringList, recent);
    QFETCH(QStringList, averages);
    HistoryFixture fixture;
    fixture.write(mode, content);

    QCOMPARE(fixture.load(mode), QString());
    for (int row = 0; row < recent.size(); ++row)
        QCOMPARE(fixture.recentRow(row), recent[row]);
    for (const QString &check : averages) {
        const QStringList at = check.section(u'=', 0, 0).split(u',');
        QCOMPARE(at.join(u',') + u'=' + fixture.averages.text(at[0].toInt(), at[1].toInt()), check);
    }
}

void tst_HistoryStore::save_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("card");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new file; 07 and 00 stored as numbers")
        << F::missing << QStringList{"07", "00"} << stamp + ",7,0" + QByteArray(19, ',') + "\r\n";
    QTest::newRow("empty card after an unended line")
        << QByteArray("old,1") << QStringList(21)
        << "old,1\r\n" + stamp + QByteArray(21, ',') + "\r\n";
    QTest::newRow("after a bare LF") << QByteArray("a\n") << QStringList{"10"}
                                     << "a\n" + stamp + ",10" + QByteArray(20, ',') + "\r\n";
    QTest::newRow("after a lone CR")
        << QByteArray("a\r") << QStringList() << "a\r\n" + stamp + QByteArray(21, ',') + "\r\n";
}

void tst_HistoryStore::save() {
    QFETCH(QByteArray, before);
    QFETCH(QStringList, card);
    QFETCH(QByteArray, after);
    HistoryFixture fixture;
    fixture.write(Mode::A, before);
    QCOMPARE(fixture.store.save(Mode::A, card, when), QString());
    QCOMPARE(fixture.contentOf(Mode::A), after);
}

void tst_HistoryStore::remove_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QList<int>>("selected"); // row positions, newest first
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QByteArray>("underneath"); // written by another program after the load
    const QByteArray twin = F::game(5, "1,2");
    const QString changed = QStringLiteral("The file was changed by another program after it was "
                                           "shown; nothing was deleted. The list now shows the "
                                           "file as it is.");

    QTest::newRow("newest, row 2 and a placeholder")
        << F::games(1, 4) << QList<int>{0, 2, 4} << F::games(1, 1) + F::games(3, 3) << QString()
        << QByteArray();
    QTest::newRow("all: zero bytes")
        << F::games(1, 3) << QList<int>{0, 1, 2} << QByteArray() << QString() << QByteArray();
    QTest::newRow("the second of identical twins")
        << twin + "\r\n" + twin + "\r\n" + F::games(9, 9) << QList<int>{1}
        << twin + "\r\n" + F::games(9, 9) << QString() << QByteArray();
    // Lines the program would not write keep their bytes: rebuilding them would lose data.
    const QByteArray odd[] = {
        "# my games\r\n", F::game(1, QByteArray("1,").repeated(21) + "my note\r\n"),
        "\r\n",           F::game(2, QByteArray("2,").repeated(19) + "2\n"),
        F::games(3, 3),   F::game(4, "4")};
    QTest::newRow("every other line byte for byte: comment, extra column, blank, 20 values, LF")
        << odd[0] + odd[1] + odd[2] + odd[3] + odd[4] + odd[5] << QList<int>{1}
        << odd[0] + odd[1] + odd[2] + odd[3] + odd[5] << QString() << QByteArray();
    const QByteArray crOnly = F::games(1, 2).replace("\r\n", "\r") + '\n';
    QTest::newRow("CR-only lines, shown as one game, kept whole")
        << crOnly + F::games(3, 3) << QList<int>{0} << crOnly << QString() << QByteArray();
    // A delete never creates the file.
    QTest::newRow("no file") << F::missing << QList<int>{0} << F::missing
                             << "No such file or directory" << QByteArray();
    // The table lacks the file's new game, or holds games the file no longer has.
    QTest::newRow("a game added underneath")
        << F::games(1, 4) << QList<int>{0} << F::games(1, 5) << changed << F::games(1, 5);
    QTest::newRow("removed underneath")
        << F::games(1, 2) << QList<int>{0} << F::missing << changed << F::missing;
}

void tst_HistoryStore::remove() {
    QFETCH(QByteArray, before);
    QFETCH(QList<int>, selected);
    QFETCH(QByteArray, after);
    QFETCH(QString, error);
    QFETCH(QByteArray, underneath);
    HistoryFixture fixture;
    fixture.write(Mode::B, before);
    QCOMPARE(fixture.load(Mode::B), QString());
    if (!underneath.isNull())
        fixture.write(Mode::B, underneath);
    QCOMPARE(fixture.remove(Mode::B, selected), error);
    QCOMPARE(fixture.contentOf(Mode::B), after);
}

// The games and averages a delete leaves in memory are those a load of the rewritten file shows,
// on random histories with odd lines; and the next delete still finds the file as loaded.
void tst_HistoryStore::removeShowsWhatLoadShows_data() {
    QTest::addColumn<quint32>("history"); // odd in mode A, even in mode B
    for (quint32 history = 1; history <= 8; ++history)
        QTest::addRow("history %u", history) << history;
}

void tst_HistoryStore::removeShowsWhatLoadShows() {
    QFETCH(quint32, history);
    const Mode mode = history % 2 ? Mode::A : Mode::B;
    QRandomGenerator random(history);
    const QByteArrayList cells{"",    "0",   "1", "3",  "7",  "12",  "99", "100",
                               "254", "255", "x", "07", "-3", "2.5", " 4"};
    QByteArray content;
    for (int line = random.bounded(3, 40); line > 0; --line) {
        QByteArrayList fields{F::game(random.bounded(1, 29), {}).chopped(1)};
        for (int field = 21 + (random.bounded(6) ? 0 : random.bounded(1, 4)); field > 0; --field)
            fields << cells[random.bounded(int(cells.size()))];
        content += (random.bounded(8) ? fields.join(',') : QByteArray()) + "\r\n";
    }
    HistoryFixture fixture;
    fixture.write(mode, content);
    const auto shown = [](const RecentModel &recent, const GridModel &averages) {
        QStringList texts;
        for (int row = 0; row < recent.rowCount(); ++row)
            for (int col = 0; col <= RecentTable::StampCol; ++col)
                texts << recent.text(row, col);
        for (int col = 0; col < recent.columnCount(); ++col)
            texts << recent.headerData(col, Qt::Horizontal, GridRoles::LongestText).toString();
        for (int row = 0; row < averages.rows(); ++row)
            for (int col = 0; col < AveragesTable::Columns; ++col)
                texts << averages.text(row, col);
        return texts;
    };
    QCOMPARE(fixture.load(mode), QString());
    HistoryStore store(fixture.fileSystem);
    StoredGames stored;
    RecentModel recent(stored);
    GridModel averages;
    // Each delete finds the file as the one before left it, without a load in between.
    for (int round = 0; round < 3; ++round) {
        QList<int> rows;
        for (int row = -1; row <= fixture.stored.count(); ++row)
            if (!random.bounded(3))
                rows << row;
        QCOMPARE(fixture.remove(mode, rows), QString());
        QCOMPARE(store.load(mode, stored, averages), QString());
        recent.refresh();
        QCOMPARE(shown(fixture.recent, fixture.averages), shown(recent, averages));
    }
}

// Names that are no regular file, a file too large to hold and one that cannot be read, as history
// and as settings: each operation refuses them at once, never waits for a writer or reads without
// end, leaves them as they were, and a table that lacks the file's games never replaces them. Run
// in a child under an alarm, so that a hang fails the row, not the suite.
void tst_HistoryStore::oddFiles_data() {
    QTest::addColumn<QByteArray>("kind");
    // load | remove | save | the recent table's first row | the settings read and write
    QTest::addColumn<QString>("expected");
    // The settings write fails as the load does.
    const auto row = [](const char *kind, const QString &load, const QString &save) {
        QTest::newRow(kind) << QByteArray(kind)
                            << load + "|The history file could not be read; nothing was deleted.|" +
                                   save + '|' + placeholder + "|B|" + load;
    };
    for (const char *kind : {"pipe", "device", "link to a device"})
        row(kind, "Not a regular file", "Not a regular file");
    row("link loop", "Too many levels of symbolic links", "Too many levels of symbolic links");
    row("sparse terabyte", "File too large", "");
    row("unreadable", "Input/output error", "Input/output error");
}

void tst_HistoryStore::oddFiles() {
    QFETCH(QByteArray, kind);
    QFETCH(QString, expected);
    HistoryFixture fixture;
    const QByteArray history = ModeFiles::path(Mode::A), ini = AppPaths::settingsFile();
    QList<struct stat> before(2);
    for (const QByteArray &path : {history, ini}) {
        const QByteArray other = path + ".other";
        // The devices are copies of /dev/null and /dev/zero of our own, so that a fault can
        // never replace the system's.
        const int made =
            kind == "pipe"        ? ::mkfifo(path, 0644)
            : kind == "device"    ? ::mknod(path, S_IFCHR | 0666, makedev(1, 3))
            : kind == "link loop" ? ::symlink(other, path) | ::symlink(path, other)
            : kind == "link to a device"
                ? ::mknod(other, S_IFCHR | 0666, makedev(1, 5)) | ::symlink(other, path)
                : ::close(::open(path, O_WRONLY | O_CREAT, 0644)) |
                      ::truncate(path, kind == "unreadable" ? 99 : qint64(1) << 40);
        if (made != 0 && errno == EPERM)
            QSKIP("making devices needs root");
        QVERIFY(made == 0 && ::lstat(path, &before[path == ini]) == 0);
    }
    if (kind == "unreadable")
        fixture.fileSystem.setFaultHook([](Call call) { return call == Call::Read ? EIO : 0; });

    int results[2];
    QVERIFY(::pipe(results) == 0);
    if (::fork() == 0) {
        ::alarm(20);
        const IniFile settings(ini, fixture.fileSystem);
        const QByteArray outcome =
            QStringList{fixture.load(Mode::A),
                        fixture.remove(Mode::A, {0}),
                        fixture.store.save(Mode::A, QStringList(21), QDateTime::currentDateTime()),
                        fixture.recentRow(0),
                        settings.read(u"GAME"_qs, u"MODE"_qs, u"B"_qs),
                        settings.write(u"GAME"_qs, u"MODE"_qs, u"A"_qs).description()}
                .join(u'|')
                .toUtf8();
        ::_exit(::write(results[1], outcome, size_t(outcome.size())) == outcome.size() ? 0 : 1);
    }
    ::close(results[1]);
    QFile reader;
    QVERIFY(reader.open(results[0], QIODevice::ReadOnly, QFile::AutoCloseHandle));
    QCOMPARE(QString::fromUtf8(reader.readAll()), expected);
    ::wait(nullptr);
    for (const QByteArray &path : {history, ini}) {
        struct stat after {};
        QVERIFY(::lstat(path, &after) == 0);
        QCOMPARE(after.st_mode, before[path == ini].st_mode);
        QCOMPARE(after.st_ino, before[path == ini].st_ino);
    }
}

// The undo record and the files beside the history made odd before or after a deletion, then a
// game saved and the deletion undone: no other file gains a line, a refused undo keeps its
// record and says why, and a failure names its file.
void tst_HistoryStore::oddUndoRecords_data() {
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("failure"); // the first: the file named and its text's start
    const QString refused = "The last deletion cannot be undone: ";
    const QString damaged = "Recent_A.undo.csv: " + refused + "Recent_A.undo.csv no longer holds";
    const QString changed = "Recent_A.csv: " + refused + "Recent_A.csv was ";
    const auto row = [](const char *kind, bool save, const QString &failure) {
        QTest::newRow(kind) << QByteArray(kind) << save << failure;
    };
    for (const char *kind :
         {"record emptied", "record replaced", "record a link to the history", "record corrupted"})
        row(kind, true, damaged);
    // Its other name never gains the saved game, so the record lacks it.
    row("record hard-linked elsewhere", true, changed + "changed by another program");
    row("history emptied", false, changed + "emptied or removed");
    row("history hard-linked elsewhere", true, QString());
    row("record a folder", false,
        "Recent_A.undo.csv: The games were deleted and are kept in Recent_A.deleted.csv, but the "
        "deletion cannot be undone: Is a directory");
    row("archive a folder", false, "Recent_A.deleted.csv: Is a directory");
}

void tst_HistoryStore::oddUndoRecords() {
    QFETCH(QByteArray, kind);
    QFETCH(bool, save);
    QFETCH(QString, failure);
    HistoryFixture fixture;
    const QByteArray history = ModeFiles::path(Mode::A), other = history + ".other";
    const QByteArray record = ModeFiles::path(Mode::A, ModeFiles::Undo);
    const QByteArray saved = HistoryLine::build(when, {"9"}) + "\r\n";
    const auto named = [&](const QString &error) {
        return error.isEmpty() ? error
                               : QFileInfo(fixture.store.failedFile()).fileName() + ": " + error;
    };
    F::write(Mode::A, F::games(1, 5));
    QVERIFY(kind != "history hard-linked elsewhere" || ::link(history, other) == 0);
    QVERIFY(!kind.endsWith("a folder") ||
            QDir().mkdir(ModeFiles::path(Mode::A, kind.startsWith("record") ? ModeFiles::Undo
                                                                            : ModeFiles::Deleted)));
    QCOMPARE(fixture.load(Mode::A), QString());
    const QString removed = named(fixture.remove(Mode::A, {0}));

    const QByteArray made = F::contentOf(record);
    if (kind == "record emptied" || kind == "record replaced" || kind == "record corrupted")
        F::write(record, kind == "record replaced"  ? QByteArray("my notes\r\n")
                         : kind == "record emptied" ? QByteArray()
                                                    : QByteArray(made).replace(20, 1, "7"));
    QVERIFY(kind != "record a link to the history" ||
            (QFile::remove(record) && ::symlink(history, record) == 0));
    QVERIFY(kind != "record hard-linked elsewhere" || ::link(record, other) == 0);
    if (kind == "history emptied")
        F::write(Mode::A, QByteArray());
    const QByteArray recordBefore = F::contentOf(record), otherBefore = F::contentOf(other);
    if (save) {
        QCOMPARE(fixture.store.save(Mode::A, {"9"}, when), QString());
        QCOMPARE(F::contentOf(Mode::A), F::games(1, 4) + saved);
        QCOMPARE(F::contentOf(other), otherBefore);
        if (kind != "record corrupted" && kind != "record a link to the history")
            QCOMPARE(F::contentOf(record) == recordBefore, kind.startsWith("record"));
        QCOMPARE(fixture.load(Mode::A), QString()); // as the window does after a save
    }

    struct stat info {};
    const bool hadRecord = ::lstat(record, &info) == 0;
    const QByteArray historyBefore = F::contentOf(Mode::A);
    const QString undone = named(fixture.store.undoRemove(Mode::A));
    const QString first = removed.isEmpty() ? undone : removed;
    QVERIFY2(failure.isEmpty() ? first.isEmpty() : first.startsWith(failure), qPrintable(first));
    QCOMPARE(F::contentOf(other), otherBefore);
    if (undone.isEmpty()) {
        QCOMPARE(F::contentOf(Mode::A), F::games(1, 5) + saved);
        QVERIFY(::lstat(record, &info) != 0);
        return;
    }
    QCOMPARE(F::contentOf(Mode::A), historyBefore);
    QCOMPARE(::lstat(record, &info) == 0, hadRecord);
    QVERIFY(F::contentOf(record).startsWith(recordBefore));
    fixture.load(Mode::A);
    QVERIFY(!fixture.store.canUndo(Mode::A)); // refused again until the history changes
}

// Every write broken by killing the process at one of its system calls, or by failing that call.
// Each file it writes must only ever hold its old content, its new content, or (for an append)
// the old content and the start of the new lines; a reported failure leaves the history as it was.
void tst_HistoryStore::brokenAtEveryCall_data() {
    QTest::addColumn<int>("operation");
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("save after an unended line")
        << int(Save) << F::games(1, 9) + F::game(10, "1,,3");
    QTest::newRow("save into a new file") << int(Save) << F::missing;
    // Large enough to be written in several pieces.
    QTest::newRow("delete two games") << int(Remove) << F::games(1, 28).repeated(1200);
    QTest::newRow("undo, a game saved since") << int(Undo) << F::games(1, 28).repeated(300);
    QTest::newRow("settings") << int(Settings) << QByteArray("; kept\r\n[GAME]\r\nMODE=B\r\n");
    QTest::newRow("settings into a new file") << int(Settings) << F::missing;
    QTest::newRow("card draft") << int(Draft) << F::missing;
    QTest::newRow("drill save") << int(DrillSave) << F::games(1, 3);
    QTest::newRow("delete last drill") << int(DrillDelete) << F::games(1, 28).repeated(1200);
    QTest::newRow("drill draft") << int(DrillKeep) << F::missing;
}

void tst_HistoryStore::brokenAtEveryCall() {
    QFETCH(int, operation);
    QFETCH(QByteArray, before);
    HistoryFixture fixture;
    ::umask(022); // files made here get 0644
    const IniFile settings(AppPaths::settingsFile(), fixture.fileSystem);
    const CardDraft draft(fixture.fileSystem);
    DrillHistory drills(fixture.fileSystem);
    const DrillDraft drillDraft(fixture.fileSystem);
    const QByteArray drillFile = ModeFiles::path(Mode::A, ModeFiles::Saved, ModeFiles::Drills);
    const QByteArray history = ModeFiles::path(Mode::A);
    // The files written, the first the one the operation is about, and whether each is appended to.
    const QList<std::pair<QByteArray, bool>> files =
        operation == Save     ? QList{std::pair{history, true}}
        : operation == Remove ? QList{std::pair{history, false},
                                      {ModeFiles::path(Mode::A, ModeFiles::Deleted), true},
                                      {ModeFiles::path(Mode::A, ModeFiles::Undo), true}}
        : operation == Undo
            ? QList{std::pair{history, false}, {ModeFiles::path(Mode::A, ModeFiles::Undo), false}}
        : operation == Settings  ? QList{std::pair{AppPaths::settingsFile(), false}}
        : operation == DrillSave ? QList{std::pair{drillFile, true}}
        : operation == DrillDelete
            ? QList{std::pair{drillFile, false},
                    {ModeFiles::path(Mode::A, ModeFiles::Deleted, ModeFiles::Drills), true},
                    {ModeFiles::path(Mode::A, ModeFiles::Undo, ModeFiles::Drills), true}}
        : operation == DrillKeep ? QList{std::pair{DrillDraft::filePath(Mode::A), false}}
                                 : QList{std::pair{CardDraft::filePath(Mode::A), false}};
    const QByteArray base = operation >= DrillSave ? "Drill_A" : "Recent_A";
    const QByteArray &path = files[0].first;
    // A failure to keep the draft is never reported: it must not get in the player's way.
    const bool silent = operation == Draft || operation == DrillKeep;
    const auto save = [&] {
        return fixture.store.save(Mode::A, QStringList(21, QStringLiteral("12")), when);
    };
    const auto run = [&]() -> QString {
        if (operation == Save)
            return save();
        if (operation == Remove)
            return fixture.remove(Mode::A, {1, 2});
        if (operation == Undo)
            return fixture.store.undoRemove(Mode::A);
        if (operation == Draft)
            return draft.keep(Mode::A, QStringList(21, QStringLiteral("7")), 20), QString();
        if (operation == DrillSave)
            return drills.save(Mode::A, QStringList(21, QStringLiteral("3")), when);
        if (operation == DrillDelete)
            return drills.removeLast(Mode::A);
        if (operation == DrillKeep)
            return drillDraft.keep(Mode::A, {{3, 20}, QStringList(21, QString()), 20, {}}),
                   QString();
        return settings.write(u"GAME"_qs, u"MODE"_qs, u"A"_qs).description();
    };
    // Root's rewrite of another user's file leaves it theirs.
    const uid_t owner =
        ::geteuid() == 0 && !files[0].second && before != F::missing ? 65534 : ::geteuid();
    F::write(path, before);
    QVERIFY(::chown(path, owner, owner) == 0 || before == F::missing);
    QCOMPARE(fixture.load(Mode::A), QString());
    QCOMPARE(drills.load(Mode::A), QString());
    if (operation == Undo) // a deletion, then a game saved
        QVERIFY(fixture.remove(Mode::A, {5, 7}).isEmpty() && save().isEmpty());
    if (operation == Draft)
        draft.keep(Mode::A, QStringList{"5", "17"}, 2);
    const auto contents = [&files] {
        QList<QByteArray> all;
        for (const auto &file : files)
            all << F::contentOf(file.first);
        return all;
    };
    const QList<QByteArray> old = contents();
    // A player's backup, named much like a rewrite's hidden file.
    const QString backup = '.' + QFileInfo(path).fileName() + ".2024q1";
    F::write(fixture.dir.filePath(backup), "mine");
    QStringList present = QDir(fixture.dir.path()).entryList(QDir::Files | QDir::Hidden);
    QByteArrayList names;
    for (const auto &file : files) {
        names << file.first.mid(file.first.lastIndexOf('/') + 1);
        present << QString::fromLatin1(names.last());
    }

    // The unbroken run gives the new contents and the calls to break.
    QList<Call> made;
    fixture.fileSystem.setFaultHook([&made](Call call) { return made << call, 0; });
    QCOMPARE(run(), QString());
    const QList<QByteArray> after = contents();
    const int calls = int(made.size());
    QVERIFY(after[0] != old[0] && calls > 3);
    // A rewrite keeps the permissions and the owner; a new file gets those of any file made here.
    struct stat info {};
    QVERIFY(::stat(path, &info) == 0);
    QCOMPARE(info.st_mode & 0777, 0644);
    QCOMPARE(info.st_uid, owner);

    // Killed at each call (error 0), or that call failing.
    for (const int error : {0, ENOSPC, EACCES, EIO}) {
        const QString text = qt_error_string(error);
        for (int n = 1; n <= calls; ++n) {
            const QString round =
                QStringLiteral("%1 at call %2: ").arg(error ? text : u"killed"_qs).arg(n);
            for (qsizetype i = 0; i < files.size(); ++i)
                F::write(files[i].first, old[i]);
            // A delete leaves the games as the new file holds them: each round starts as loaded.
            fixture.fileSystem.setFaultHook({});
            QVERIFY(fixture.load(Mode::A).isEmpty() && drills.load(Mode::A).isEmpty());
            int seen = 0;
            fixture.fileSystem.setFaultHook([&](Call) {
                return ++seen != n ? 0 : error ? error : ::raise(SIGKILL);
            });
            const QString reported = error ? run() : QString();
            // Only a written file's close is checked, and its failure is never kept quiet.
            QVERIFY2(!error || silent || made[n - 1] != Call::Close || !reported.isEmpty(),
                     qPrintable(round));
            if (const pid_t child = error ? -1 : ::fork(); child == 0) {
                run();
                ::_exit(0);
            } else if (!error) {
                int status = 0;
                QVERIFY2(child > 0 && ::waitpid(child, &status, 0) == child &&
                             WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL,
                         qPrintable(round));
            }
            for (qsizetype i = 0; i < files.size(); ++i) {
                const auto &[file, appending] = files[i];
                const QByteArray now = F::contentOf(file);
                // An empty history is no history: a failed first save may leave one.
                const bool kept =
                    now == old[i] || (appending && old[i] == F::missing && now.isEmpty());
                const bool whole = kept || now == after[i] ||
                                   (appending && after[i].startsWith(now) &&
                                    (old[i] == F::missing || now.startsWith(old[i])));
                // A failure leaves the old history; only a call whose failure changes nothing
                // may be survived, but for the undo record's: the deletion stands, and says so.
                // A failed undo keeps its record.
                const bool undoLost =
                    reported == "The games were deleted and are kept in " + base +
                                    ".deleted.csv, but the deletion cannot be undone: " + text &&
                    (operation >= DrillSave ? drills.failedFile() : fixture.store.failedFile())
                        .endsWith(base + ".undo.csv");
                const bool allowed =
                    !error || silent ? whole
                    : i == 0
                        ? (reported == text ? kept
                                            : (reported.isEmpty() || undoLost) && now == after[i])
                    : operation == Undo && !reported.isEmpty() ? kept
                                                               : whole;
                QVERIFY2(allowed,
                         qPrintable(round + reported + " | " + file + ": " + now.right(200)));
            }
            // Nothing beside the files, but for a hidden one after a kill, which the clean-up of
            // the next start knows for ours.
            if (!error)
                fixture.fileSystem.removeLeftovers(QFile::encodeName(fixture.dir.path()), names);
            const QStringList left = QDir(fixture.dir.path()).entryList(QDir::Files | QDir::Hidden);
            for (const QString &name : left)
                QVERIFY2(present.contains(name), qPrintable(round + name));
            QVERIFY2(left.contains(backup), qPrintable(round));
        }
    }
}

QTEST_GUILESS_MAIN(tst_HistoryStore)
#include "tst_historystore.moc"
