#include "history/historyfixture.h"

#include "app/mdlmain.h"

#include <QDir>
#include <QTest>

#include <cerrno>
#include <unistd.h>

using mdlMain::ModeA;
using mdlMain::ModeB;

// Loading a history file into the recent table and the statistics, appending a card and
// rewriting it without deleted games; broken writes are the crash-consistency test's.
class tst_HistoryStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recentTable_data();
    void recentTable();
    void averages_data();
    void averages();
    void unreadableFileIsReportedAndRemembered_data();
    void unreadableFileIsReportedAndRemembered();
    void save_data();
    void save();
    void remove_data();
    void remove();
    void refusals();
};

namespace {
QByteArray games(int count) {
    return HistoryFixture::games(1, count);
}
const QString placeholder = QStringLiteral("(NO DATA)|||||");
const QString day1 = QStringLiteral("03/01 21:04|1|1|21|1.0|2024/03/01 21:04:09");
const QString day2 = QStringLiteral("03/02 21:04|2|2|42|2.0|2024/03/02 21:04:09");
const QString day3 = QStringLiteral("03/03 21:04|3|3|63|3.0|2024/03/03 21:04:09");
const QDateTime savedAt(QDate(2005, 3, 7), QTime(21, 4, 9));
const QByteArray stamp = "2005/03/07 21:04:09";
} // namespace

void tst_HistoryStore::recentTable_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("top"); // the first rows, as HistoryFixture::recentRow

    QTest::newRow("no file") << HistoryFixture::missing << ModeA << 5 << QStringList{placeholder};
    QTest::newRow("3 games") << games(3) << ModeA << 5
                             << QStringList{day3, day2, day1, placeholder, placeholder};
    QTest::newRow("5 games") << games(5) << ModeA << 5
                             << QStringList{"03/05 21:04|5|5|105|5.0|2024/03/05 21:04:09"};
    QTest::newRow("12 games") << games(12) << ModeA << 12
                              << QStringList{"03/12 21:04|2|2|42|2.0|2024/03/12 21:04:09"};
    QTest::newRow("bare LF, empty lines skipped, no final CR LF")
        << "\r\n" + games(2).replace("\r\n", "\n\r\n") + "\n\r\n" +
               HistoryFixture::games(3, 3).chopped(2)
        << ModeA << 5 << QStringList{day3, day2, day1, placeholder};
    QTest::newRow("mode B pattern")
        << games(3) << ModeB << 5 << QStringList{"03/03 21:04|3|3|63|3.00|2024/03/03 21:04:09"};
    QTest::newRow("short line, empties not averaged")
        << HistoryFixture::game(1, "5,,7") << ModeA << 5
        << QStringList{"03/01 21:04|5||12|6.0|2024/03/01 21:04:09"};
    QTest::newRow("30 fields: 24 counted")
        << HistoryFixture::game(1, QByteArray("1,").repeated(28) + "1") << ModeB << 5
        << QStringList{"03/01 21:04|1|1|24|1.00|2024/03/01 21:04:09"};
    QTest::newRow("huge, negative and text values")
        << HistoryFixture::game(1, "99999999999999999999,-3,abc,3") << ModeA << 5
        << QStringList{"03/01 21:04|99999999999999999999||100000000000000000000|"
                       "25000000000000000000.0|2024/03/01 21:04:09"};
    QTest::newRow("8-bit and NUL bytes kept")
        << HistoryFixture::game(1, QByteArray("\xe9\0x,2", 5)) << ModeA << 5
        << QStringList{"03/01 21:04|" + QString::fromLatin1(QByteArrayView("\xe9\0x", 3)) +
                       "||2|1.0|2024/03/01 21:04:09"};
    QTest::newRow("10 MB line, 100000 commas")
        << QByteArray(10 << 20, '7') + "\r\nx" + QByteArray(100000, ',') + "\r\n" + games(1)
        << ModeA << 5 << QStringList{day1, "|||0||x"};
}

void tst_HistoryStore::recentTable() {
    QFETCH(QByteArray, content);
    QFETCH(int, mode);
    QFETCH(int, rows);
    QFETCH(QStringList, top);
    HistoryFixture fixture;
    fixture.write(mode, content);

    QCOMPARE(fixture.load(mode), QString());
    QCOMPARE(fixture.recent.rows(), rows);
    for (int row = 0; row < top.size(); ++row)
        QCOMPARE(fixture.recentRow(row), top[row]);
    QCOMPARE(fixture.recent.colWidth(24), 0);
}

void tst_HistoryStore::averages_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<QByteArray>>("games"); // oldest first, values of targets 1..
    QTest::addColumn<QStringList>("expected");    // "row,col=text"

    const QByteArray threes = QByteArray("3,").repeated(20) + "3";
    QTest::newRow("B 3,3,3") << ModeB << QList<QByteArray>{threes, threes, threes}
                             << QStringList{"0,1=3.00", "3,1=100",    "0,22=63.00", "0,23=3.00",
                                            "3,22=-",   "3,23=100.0", "5,21=100"};
    QTest::newRow("B 1 and 2: fewer than 3 games, all windows alike")
        << ModeB << QList<QByteArray>{"1", "2"}
        << QStringList{"0,1=1.50", "1,1=1.50",  "2,1=1.50",  "3,1=50.0", "5,1=50.0",
                       "0,2=",     "0,22=1.50", "0,23=1.50", "4,23=50.0"};
    QTest::newRow("A 2 and 4") << ModeA << QList<QByteArray>{"2", "4"}
                               << QStringList{"0,1=3.0", "3,1=33.3", "3,23=33.3", "0,22=3.0"};
    QTest::newRow("A zeros: HIT empty and not in the mean")
        << ModeA << QList<QByteArray>{"0,5", "0,5"}
        << QStringList{"0,1=0.0", "3,1=", "3,2=20.0", "3,23=20.0", "0,22=5.0", "0,23=2.5"};
    QList<QByteArray> twelve;
    for (int game = 1; game <= 12; ++game)
        twelve.append(QByteArray(20, ',') + (game < 12 ? QByteArray::number(game) : ""));
    QTest::newRow("12 games, newest bull empty")
        << ModeA << twelve
        << QStringList{"0,21=10.5", "1,21=7.0", "2,21=6.0", "3,21=9.5", "5,21=16.7"};
    QTest::newRow("invalid texts ignored, A")
        << ModeA << QList<QByteArray>{"05, 5,100,-1,x,99"}
        << QStringList{"0,1=", "0,2=", "0,3=", "0,4=", "0,5=", "0,6=99.0", "3,6=1.0"};
    QTest::newRow("invalid texts ignored, B")
        << ModeB << QList<QByteArray>{"4,3,03"} << QStringList{"0,1=", "0,2=3.00", "0,3="};
    QTest::newRow("no history A") << ModeA << QList<QByteArray>{}
                                  << QStringList{"0,0=AVG(3)", "5,0=HIT(ALL)", "0,1=", "0,22=0.0",
                                                 "0,23=",      "3,22=-",       "3,23="};
}

void tst_HistoryStore::averages() {
    QFETCH(int, mode);
    QFETCH(QList<QByteArray>, games);
    QFETCH(QStringList, expected);
    HistoryFixture fixture;
    QByteArray content;
    for (const QByteArray &values : games)
        content += HistoryFixture::game(1, values) + "\r\n";
    fixture.write(mode, content);
    QCOMPARE(fixture.load(mode), QString());

    QCOMPARE(QSize(fixture.averages.cols(), fixture.averages.rows()), QSize(24, 6));
    for (const QString &check : expected) {
        const QStringList at = check.section(u'=', 0, 0).split(u',');
        QCOMPARE(at.join(u',') + u'=' + fixture.averages.text(at[0].toInt(), at[1].toInt()), check);
    }
}

void tst_HistoryStore::unreadableFileIsReportedAndRemembered_data() {
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QString>("error");
    QTest::newRow("folder of that name") << true << "Is a directory";
    QTest::newRow("I/O error") << false << "Input/output error";
}

void tst_HistoryStore::unreadableFileIsReportedAndRemembered() {
    QFETCH(bool, folder);
    QFETCH(QString, error);
    HistoryFixture fixture;
    fixture.write(ModeB, games(7)); // the other mode's rows must not outlive the failure
    QCOMPARE(fixture.load(ModeB), QString());
    if (folder)
        QVERIFY(QDir().mkdir(HistoryStore::filePath(ModeA)));
    else
        fixture.write(ModeA, games(7));
    fixture.fileSystem.setFaultHook([folder](FileSystemObject::Call call) {
        return !folder && call == FileSystemObject::Call::Read ? EIO : 0;
    });

    QCOMPARE(fixture.load(ModeA), error);
    QVERIFY(!fixture.store.isLoaded(ModeA) && fixture.store.isLoaded(ModeB));
    QCOMPARE(fixture.recent.rows(), 5);
    QCOMPARE(fixture.recentRow(0) + fixture.averages.text(0, 1), placeholder);

    fixture.fileSystem.setFaultHook({});
    QVERIFY(!fixture.remove(ModeA, {0}).isEmpty());
    if (!folder)
        QCOMPARE(fixture.contentOf(ModeA), games(7));
}

void tst_HistoryStore::save_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("card");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new file; 07, 00 and an empty bull")
        << HistoryFixture::missing
        << QString("3,3,3,3,07,00,3,3,3,3,3,3,3,3,3,3,3,3,3,3,").split(u',')
        << stamp + ",3,3,3,3,7,0,3,3,3,3,3,3,3,3,3,3,3,3,3,3,\r\n";
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
    fixture.write(ModeA, before);
    QCOMPARE(fixture.store.save(ModeA, card, savedAt), QString());
    QCOMPARE(fixture.contentOf(ModeA), after);
    QCOMPARE(fixture.contentOf(ModeB), HistoryFixture::missing);
}

void tst_HistoryStore::remove_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QByteArray>("after");
    const QByteArray ten = HistoryFixture::games(1, 10);
    const QByteArray twin = HistoryFixture::game(5, "1,2");

    QTest::newRow("newest") << ten << QList<int>{0} << HistoryFixture::games(1, 9);
    QTest::newRow("rows 2 to 4") << ten << QList<int>{2, 3, 4}
                                 << HistoryFixture::games(1, 5) + HistoryFixture::games(9, 10);
    QTest::newRow("all: zero bytes")
        << ten << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9} << QByteArray();
    QTest::newRow("placeholder only: unchanged")
        << HistoryFixture::games(1, 3) << QList<int>{4} << HistoryFixture::games(1, 3);
    QTest::newRow("one of identical twins")
        << twin + "\r\n" + twin + "\r\n" + HistoryFixture::games(9, 9) << QList<int>{1}
        << twin + QByteArray(19, ',') + "\r\n" + HistoryFixture::games(9, 9);
    QTest::newRow("8-bit bytes kept, odd lines as 21 values")
        << "\xff junk\n" + HistoryFixture::game(3, QByteArray("1,").repeated(24)) + "\r\n" +
               HistoryFixture::games(4, 4)
        << QList<int>{0}
        << "\xff junk" + QByteArray(21, ',') + "\r\n" +
               HistoryFixture::game(3, QByteArray("1,").repeated(20) + "1") + "\r\n";
}

void tst_HistoryStore::remove() {
    QFETCH(QByteArray, before);
    QFETCH(QList<int>, selected);
    QFETCH(QByteArray, after);
    HistoryFixture fixture;
    fixture.write(ModeB, before);
    QCOMPARE(fixture.load(ModeB), QString());
    QCOMPARE(fixture.remove(ModeB, selected), QString());
    QCOMPARE(fixture.contentOf(ModeB), after);
}

void tst_HistoryStore::refusals() {
    HistoryFixture fixture;
    QCOMPARE(fixture.load(ModeA), QString());
    QCOMPARE(fixture.remove(ModeA, {0}), "No such file or directory");
    QCOMPARE(fixture.contentOf(ModeA), HistoryFixture::missing);
    fixture.write(ModeB, "old\r\n");
    QVERIFY(!fixture.remove(ModeB, {0}).isEmpty()); // never loaded
    // File permissions do not bind root.
    if (geteuid() != 0) {
        QFile::setPermissions(HistoryStore::filePath(ModeB), QFile::ReadOwner);
        QCOMPARE(fixture.store.save(ModeB, {}, savedAt), "Permission denied");
        QCOMPARE(fixture.load(ModeB), QString());
        QCOMPARE(fixture.remove(ModeB, {0}), "Permission denied");
    }
    QCOMPARE(fixture.contentOf(ModeB), QByteArray("old\r\n"));
}

QTEST_GUILESS_MAIN(tst_HistoryStore)
#include "tst_historystore.moc"
