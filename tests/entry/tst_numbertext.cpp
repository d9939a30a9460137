#include "entry/numbertext.h"

#include <QTest>

class tst_NumberText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void format_data();
    void format();
    void leadingValue_data();
    void leadingValue();
};

void tst_NumberText::format_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("twoDecimals");
    QTest::addColumn<QString>("expected");

    QTest::newRow("2.25 rounds up, not to even") << 2.25 << false << "2.3";
    QTest::newRow("0.05 rounds up") << 0.05 << false << "0.1";
    QTest::newRow("100/3") << 100.0 / 3 << false << "33.3";
    QTest::newRow("99.96 carries into hundreds") << 99.96 << false << "100.0";
    QTest::newRow("negative half away from zero") << -2.25 << false << "-2.3";
    QTest::newRow("tiny negative is zero") << -0.01 << false << "0.0";
    QTest::newRow("two thirds") << 2.0 / 3 << true << "0.67";
    QTest::newRow("0.285 as written") << 0.285 << true << "0.29";
    QTest::newRow("1.005 as written") << 1.005 << true << "1.01";
    QTest::newRow("whole number two decimals") << 3.0 << true << "3.00";
    QTest::newRow("small keeps leading zero") << 0.004 << true << "0.00";
}

void tst_NumberText::format() {
    QFETCH(double, value);
    QFETCH(bool, twoDecimals);
    QFETCH(QString, expected);
    const auto pattern =
        twoDecimals ? NumberText::Pattern::TwoDecimals : NumberText::Pattern::OneDecimal;
    QCOMPARE(NumberText::format(value, pattern), expected);
}

void tst_NumberText::leadingValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("leading zero") << "07" << 7.0;
    QTest::newRow("leading blank") << " 5" << 5.0;
    QTest::newRow("negative") << "-3" << -3.0;
    QTest::newRow("fraction") << "2.75x" << 2.75;
    QTest::newRow("exponent") << "1e2" << 100.0;
    QTest::newRow("exponent without digits") << "4e" << 4.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("lone sign") << "-" << 0.0;
    QTest::newRow("twenty nines") << "99999999999999999999" << 1e20;
    QTest::newRow("full-width digit is no number") << QString(QChar(0xFF12)) << 0.0;
}

void tst_NumberText::leadingValue() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(NumberText::leadingValue(text), expected);
}

QTEST_APPLESS_MAIN(tst_NumberText)
#include "tst_numbertext.moc"
