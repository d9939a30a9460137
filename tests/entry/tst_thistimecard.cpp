#include "app/mdlmain.h"
#include "entry/thistimecard.h"

#include <QTest>

class tst_ThisTimeCard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void totals_data();
    void totals();
    void rulesByMode();
};

void tst_ThisTimeCard::totals_data() {
    QTest::addColumn<qint32>("mode");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("expected"); // total and average

    const qint32 A = mdlMain::ModeA, B = mdlMain::ModeB;
    QTest::newRow("A 3 5 4") << A << QStringList{"3", "", "5", "4"} << "12 4.0";
    QTest::newRow("B 1 2") << B << QStringList{"1", "2", ""} << "3 1.50";
    QTest::newRow("B 1 1 1") << B << QStringList{"1", "1", "1"} << "3 1.00";
    QTest::newRow("B single 0") << B << QStringList{"", "0"} << "0 0.00";
    QTest::newRow("A 0 is filled") << A << QStringList{"0", "6"} << "6 3.0";
    QTest::newRow("empty card") << A << QStringList(21, "") << "0 ";
}

void tst_ThisTimeCard::totals() {
    QFETCH(qint32, mode);
    QFETCH(QStringList, texts);
    QFETCH(QString, expected);
    const ThisTimeCard::Totals totals = ThisTimeCard::totals(texts, mode);
    QCOMPARE(totals.total + ' ' + totals.average, expected);
}

void tst_ThisTimeCard::rulesByMode() {
    const auto clamp = &ThisTimeCard::clamp;
    QCOMPARE(QList<int>({clamp(mdlMain::ModeA, -5), clamp(mdlMain::ModeB, -5),
                         clamp(mdlMain::ModeA, 150), clamp(mdlMain::ModeB, 150)}),
             QList<int>({0, 0, 99, 9}));

    QVERIFY(ThisTimeCard::isModeBValue("0") && ThisTimeCard::isModeBValue("3"));
    for (const QString text : {"", "4", "01", " 1", "\uFF12"})
        QVERIFY(!ThisTimeCard::isModeBValue(text));

    QCOMPARE(ThisTimeCard::steppedValue("98", ThisTimeCard::stepValue("+3")), 101);
    QCOMPARE(ThisTimeCard::steppedValue("", ThisTimeCard::stepValue("-10")), -10);
    QCOMPARE(ThisTimeCard::steppedValue("1e300", 1), std::numeric_limits<int>::max());
}

QTEST_APPLESS_MAIN(tst_ThisTimeCard)
#include "tst_thistimecard.moc"
