#include "settings/settingstext.h"
#include "ui/main/viewlayout.h"

#include <QTest>

class tst_ViewLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void arrange_data();
    void arrange();
    void toggle_data();
    void toggle();
};

void tst_ViewLayout::arrange_data() {
    QTest::addColumn<QString>("order");
    QTest::addColumn<QList<int>>("tops"); // -1: visible or not, the panel is not moved
    QTest::addColumn<int>("buttonsTop");

    QTest::newRow("default 123") << "123" << QList{120, 915, 2550} << 4485;
    QTest::newRow("gap 302") << "302" << QList{2055, -1, 120} << 2850;
    QTest::newRow("repeat 220 recent wins") << "220" << QList{-1, 120, -1} << 1755;
    QTest::newRow("out of range 900") << "900" << QList{-1, -1, -1} << 120;
}

void tst_ViewLayout::arrange() {
    QFETCH(QString, order);
    QFETCH(QList<int>, tops);
    QFETCH(int, buttonsTop);

    const auto places = SettingsText::panelOrderFromText(order);
    const ViewArrangement result = ViewLayout::arrange(places);
    for (int panel = 0; panel < 3; ++panel) {
        QCOMPARE(result.panels[panel].visible, places[panel] != 0);
        QCOMPARE(result.panels[panel].top.value_or(-1), tops[panel]);
    }
    QCOMPARE(result.buttonsTop, buttonsTop);
}

void tst_ViewLayout::toggle_data() {
    // start order, toggles (panel T, R or A; + on, - off), resulting order
    QTest::addColumn<QString>("run");
    QTest::newRow("030 card on stays hidden") << "030 T+ 030";
    QTest::newRow("220 card off leaves the repeat") << "220 T- 020";
}

void tst_ViewLayout::toggle() {
    QFETCH(QString, run);
    const QStringList parts = run.split(' ');
    auto order = SettingsText::panelOrderFromText(parts[0]);
    for (qsizetype i = 0; i < parts[1].size(); i += 2)
        ViewLayout::toggle(order, int(u"TRA"_qs.indexOf(parts[1][i])), parts[1][i + 1] == '+');
    QCOMPARE(SettingsText::panelOrderToText(order), parts[2]);
}

QTEST_APPLESS_MAIN(tst_ViewLayout)
#include "tst_viewlayout.moc"
