#include "history/historyfixture.h"

#include "app/mdlmain.h"

#include <QDir>
#include <QTest>

#include <cerrno>
#include <unistd.h>

using mdlMain::ModeA;
using mdlMain::ModeB;
using Call = FileSystemObject::Call;

namespace {
const QDateTime savedAt(QDate(2005, 3, 7), QTime(21, 4, 9));
const QByteArray stamp = "2005/03/07 21:04:09";

const QByteArray tenGames = HistoryFixture::games(1, 10);
} // namespace

class tst_HistoryWrite : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void save_data();
    void save();
    void saveErrors();
    void remove_data();
    void remove();
    void removeFailureKeepsOldFile_data();
    void removeFailureKeepsOldFile();
    void removeRefusals();
};

void tst_HistoryWrite::save_data() {
    QTest::addColumn<QByteArray>("before"); // "<none>": no file
    QTest::addColumn<QStringList>("card");
    QTest::addColumn<QByteArray>("after");
    QStringList card(21, QStringLiteral("3"));
    card[4] = QStringLiteral("07");
    card[5] = QStringLiteral("00");
    card[20] = QString();

    QTest::newRow("new file; 07, 00 and an empty bull")
        << QByteArray("<none>") << card
        << stamp + ",3,3,3,3,7,0" + QByteArray(",3").repeated(14) + ",\r\n";
    QTest::newRow("empty card after an unended line")
        << QByteArray("old,1") << QStringList(21)
        << "old,1\r\n" + stamp + QByteArray(21, ',') + "\r\n";
    QTest::newRow("after a bare LF") << QByteArray("a\n") << QStringList{"10"}
                                     << "a\n" + stamp + ",10" + QByteArray(20, ',') + "\r\n";
    QTest::newRow("after a lone CR")
        << QByteArray("a\r") << QStringList() << "a\r\n" + stamp + QByteArray(21, ',') + "\r\n";
}

void tst_HistoryWrite::save() {
    QFETCH(QByteArray, before);
    QFETCH(QStringList, card);
    QFETCH(QByteArray, after);
    HistoryFixture fixture;
    if (before != "<none>")
        fixture.write(ModeA, before);
    QCOMPARE(fixture.store.save(ModeA, card, savedAt), QString());
    QCOMPARE(fixture.contentOf(ModeA), after);
    QCOMPARE(fixture.contentOf(ModeB), QByteArray("<missing>"));
}

void tst_HistoryWrite::saveErrors() {
    HistoryFixture fixture;
    QVERIFY(QDir().mkdir(HistoryStore::filePath(ModeA)));
    QCOMPARE(fixture.store.save(ModeA, {}, savedAt), "Is a directory");
    fixture.write(ModeB, "old\r\n");
    // A line whose flush fails is taken back again.
    fixture.fileSystem.setFaultHook([](Call call) { return call == Call::Sync ? EIO : 0; });
    QCOMPARE(fixture.store.save(ModeB, {}, savedAt), "Input/output error");
    QCOMPARE(fixture.contentOf(ModeB), QByteArray("old\r\n"));
    fixture.fileSystem.setFaultHook({});
    if (geteuid() != 0) { // file permissions do not bind root
        QFile::setPermissions(HistoryStore::filePath(ModeB), QFile::ReadOwner);
        QCOMPARE(fixture.store.save(ModeB, {}, savedAt), "Permission denied");
        QCOMPARE(fixture.store.load(ModeB, fixture.recent, fixture.averages), QString());
        QCOMPARE(fixture.store.remove(ModeB, fixture.recent, {0}), "Permission denied");
        QCOMPARE(fixture.contentOf(ModeB), QByteArray("old\r\n"));
    }
}

void tst_HistoryWrite::remove_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QByteArray>("after");
    const QByteArray twin = HistoryFixture::game(5, "1,2");

    QTest::newRow("newest") << tenGames << QList<int>{0} << HistoryFixture::games(1, 9);
    QTest::newRow("rows 2 to 4") << tenGames << QList<int>{2, 3, 4}
                                 << HistoryFixture::games(1, 5) + HistoryFixture::games(9, 10);
    QTest::newRow("all: zero bytes")
        << tenGames << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9} << QByteArray();
    QTest::newRow("placeholder only: unchanged")
        << HistoryFixture::games(1, 3) << QList<int>{4} << HistoryFixture::games(1, 3);
    QTest::newRow("one of identical twins")
        << HistoryFixture::games(1, 1) + twin + "\r\n" + twin + "\r\n" + HistoryFixture::games(9, 9)
        << QList<int>{1}
        << HistoryFixture::games(1, 1) + twin + QByteArray(19, ',') + "\r\n" +
               HistoryFixture::games(9, 9);
    QTest::newRow("odd lines kept as 21 values")
        << "\xff junk\n" + HistoryFixture::game(3, QByteArray("1,").repeated(24)) + "\r\n" +
               HistoryFixture::games(4, 4)
        << QList<int>{0}
        << "\xff junk" + QByteArray(21, ',') + "\r\n" +
               HistoryFixture::game(3, QByteArray("1,").repeated(20) + "1") + "\r\n";
}

void tst_HistoryWrite::remove() {
    QFETCH(QByteArray, before);
    QFETCH(QList<int>, selected);
    QFETCH(QByteArray, after);
    HistoryFixture fixture;
    fixture.write(ModeB, before);
    QCOMPARE(fixture.store.load(ModeB, fixture.recent, fixture.averages), QString());
    QCOMPARE(fixture.store.remove(ModeB, fixture.recent, selected), QString());
    QCOMPARE(fixture.contentOf(ModeB), after);
}

void tst_HistoryWrite::removeFailureKeepsOldFile_data() {
    QTest::addColumn<Call>("failing");
    QTest::addColumn<int>("nth"); // which call of that kind fails
    QTest::addColumn<int>("error");
    QTest::newRow("disk full on a later write") << Call::Write << 2 << ENOSPC;
    QTest::newRow("sync") << Call::Sync << 1 << EIO;
    QTest::newRow("rename") << Call::Rename << 1 << EXDEV;
    QTest::newRow("creating the temporary file") << Call::Open << 2 << EROFS;
}

void tst_HistoryWrite::removeFailureKeepsOldFile() {
    QFETCH(Call, failing);
    QFETCH(int, nth);
    QFETCH(int, error);
    HistoryFixture fixture;
    const QByteArray old =
        HistoryFixture::games(1, 1).repeated(30000) + "last,\xff"; // more than one write
    fixture.write(ModeA, old);
    QCOMPARE(fixture.store.load(ModeA, fixture.recent, fixture.averages), QString());
    int seen = 0;
    fixture.fileSystem.setFaultHook(
        [&](Call call) { return call == failing && ++seen == nth ? error : 0; });

    QCOMPARE(fixture.store.remove(ModeA, fixture.recent, {0}),
             QString::fromLocal8Bit(strerror(error)));
    QCOMPARE(fixture.contentOf(ModeA), old);
    QCOMPARE(QDir(fixture.dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"Recent_A.csv"});
}

void tst_HistoryWrite::removeRefusals() {
    HistoryFixture fixture;
    QCOMPARE(fixture.store.load(ModeA, fixture.recent, fixture.averages), QString());
    QCOMPARE(fixture.store.remove(ModeA, fixture.recent, {0}), "No such file or directory");
    QCOMPARE(fixture.contentOf(ModeA), QByteArray("<missing>"));
    QVERIFY(!fixture.store.remove(ModeB, fixture.recent, {0}).isEmpty()); // never loaded
}

QTEST_GUILESS_MAIN(tst_HistoryWrite)
#include "tst_historywrite.moc"
