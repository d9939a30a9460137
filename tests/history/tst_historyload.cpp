#include "history/historyfixture.h"

#include "app/mdlmain.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTest>

#include <cerrno>

using mdlMain::ModeA;
using mdlMain::ModeB;

namespace {
QByteArray games(int count) {
    return HistoryFixture::games(1, count);
}
QString placeholder() {
    return QStringLiteral("(NO DATA)|||||");
}
} // namespace

class tst_HistoryLoad : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recentTable_data();
    void recentTable();
    void unreadableFileIsReportedAndRemembered_data();
    void unreadableFileIsReportedAndRemembered();
    void badInputLoads();
};

void tst_HistoryLoad::recentTable_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("top"); // the first rows, as HistoryFixture::recentRow
    const QString day3 = "03/03 21:04|3|3|63|3.0|2024/03/03 21:04:09";

    QTest::newRow("no file") << QByteArray("<none>") << ModeA << 5 << QStringList{placeholder()};
    QTest::newRow("3 games") << games(3) << ModeA << 5
                             << QStringList{day3, "03/02 21:04|2|2|42|2.0|2024/03/02 21:04:09",
                                            "03/01 21:04|1|1|21|1.0|2024/03/01 21:04:09",
                                            placeholder(), placeholder()};
    QTest::newRow("5 games") << games(5) << ModeA << 5
                             << QStringList{"03/05 21:04|5|5|105|5.0|2024/03/05 21:04:09"};
    QTest::newRow("12 games") << games(12) << ModeA << 12
                              << QStringList{"03/12 21:04|2|2|42|2.0|2024/03/12 21:04:09"};
    QTest::newRow("no final CR LF") << games(3).chopped(2) << ModeA << 5 << QStringList{day3};
    QTest::newRow("bare LF, empty lines skipped")
        << "\r\n" + games(2).replace("\r\n", "\n\r\n") + "\n\r\n" + HistoryFixture::games(3, 3)
        << ModeA << 5
        << QStringList{day3, "03/02 21:04|2|2|42|2.0|2024/03/02 21:04:09",
                       "03/01 21:04|1|1|21|1.0|2024/03/01 21:04:09", placeholder()};
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
}

void tst_HistoryLoad::recentTable() {
    QFETCH(QByteArray, content);
    QFETCH(int, mode);
    QFETCH(int, rows);
    QFETCH(QStringList, top);
    HistoryFixture fixture;
    if (content != "<none>")
        fixture.write(mode, content);

    QCOMPARE(fixture.store.load(mode, fixture.recent, fixture.averages), QString());
    QVERIFY(fixture.store.isLoaded(mode));
    QCOMPARE(fixture.recent.rows(), rows);
    QCOMPARE(fixture.recent.cols(), 25);
    for (int row = 0; row < top.size(); ++row)
        QCOMPARE(fixture.recentRow(row), top[row]);
    QCOMPARE(fixture.recent.colWidth(24), 0);
    QCOMPARE(fixture.averages.rows(), 6);
}

void tst_HistoryLoad::unreadableFileIsReportedAndRemembered_data() {
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QString>("error");
    QTest::newRow("folder of that name") << true << "Is a directory";
    QTest::newRow("I/O error") << false << "Input/output error";
}

void tst_HistoryLoad::unreadableFileIsReportedAndRemembered() {
    QFETCH(bool, folder);
    QFETCH(QString, error);
    HistoryFixture fixture;
    fixture.write(ModeB, games(7)); // the other mode's rows must not outlive the failure
    QCOMPARE(fixture.store.load(ModeB, fixture.recent, fixture.averages), QString());
    if (folder)
        QVERIFY(QDir().mkdir(HistoryStore::filePath(ModeA)));
    else
        fixture.write(ModeA, games(7));
    fixture.fileSystem.setFaultHook([folder](FileSystemObject::Call call) {
        return !folder && call == FileSystemObject::Call::Read ? EIO : 0;
    });

    QCOMPARE(fixture.store.load(ModeA, fixture.recent, fixture.averages), error);
    QVERIFY(!fixture.store.isLoaded(ModeA));
    QVERIFY(fixture.store.isLoaded(ModeB));
    QCOMPARE(fixture.recent.rows(), 5);
    QCOMPARE(fixture.recentRow(0) + fixture.averages.text(0, 1), placeholder());

    fixture.fileSystem.setFaultHook({});
    QVERIFY(!fixture.store.remove(ModeA, fixture.recent, {0}).isEmpty());
    if (!folder)
        QCOMPARE(fixture.contentOf(ModeA), games(7));
}

void tst_HistoryLoad::badInputLoads() {
    HistoryFixture fixture;
    QByteArray junk(1 << 20, '\0');
    QRandomGenerator random(7);
    for (char &byte : junk)
        byte = char(random.bounded(256));
    junk += QByteArray(10 << 20, '7') + "\r\nx" + QByteArray(100000, ',') + "\r\n" + games(1);
    fixture.write(ModeA, junk);
    QCOMPARE(fixture.store.load(ModeA, fixture.recent, fixture.averages), QString());
    QVERIFY(fixture.recent.rows() > 1000);
    QCOMPARE(fixture.recentRow(0), "03/01 21:04|1|1|21|1.0|2024/03/01 21:04:09");
    QCOMPARE(fixture.recentRow(1), "|||0||x"); // the line of commas
}

QTEST_GUILESS_MAIN(tst_HistoryLoad)
#include "tst_historyload.moc"
