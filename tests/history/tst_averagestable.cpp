#include "history/averagestable.h"
#include "history/recenttable.h"

#include "app/mdlmain.h"
#include "platform/gridmodel.h"

#include <QTest>

using mdlMain::ModeA;
using mdlMain::ModeB;

class tst_AveragesTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void calculate_data();
    void calculate();
};

namespace {
// Games oldest first, each the values of targets 1.. as "v1,v2,..."; the rest stay empty.
QByteArray history(const QList<QByteArray> &games) {
    QByteArray content;
    for (const QByteArray &values : games)
        content += "2024/03/01 21:04:09," + values + "\r\n";
    return content;
}
QByteArray bull(const QByteArray &value) {
    return QByteArray(20, ',') + value;
}
} // namespace

void tst_AveragesTable::calculate_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<QByteArray>>("games");
    QTest::addColumn<QStringList>("expected"); // "row,col=text"

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
    for (int game = 1; game <= 11; ++game)
        twelve.append(bull(QByteArray::number(game)));
    twelve.append(bull(""));
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

void tst_AveragesTable::calculate() {
    QFETCH(int, mode);
    QFETCH(QList<QByteArray>, games);
    QFETCH(QStringList, expected);
    GridModel recent;
    GridModel averages;
    RecentTable::setUp(recent);
    RecentTable::fill(recent, history(games), mode);
    AveragesTable::setUp(averages);
    AveragesTable::calculate(averages, recent, mode);

    QCOMPARE(averages.rows(), 6);
    QCOMPARE(averages.cols(), 24);
    for (const QString &check : expected) {
        const qsizetype comma = check.indexOf(u',');
        const qsizetype equals = check.indexOf(u'=');
        const int row = check.first(comma).toInt();
        const int col = check.sliced(comma + 1, equals - comma - 1).toInt();
        QCOMPARE(check.first(equals) + "=" + averages.text(row, col), check);
    }
}

QTEST_GUILESS_MAIN(tst_AveragesTable)
#include "tst_averagestable.moc"
