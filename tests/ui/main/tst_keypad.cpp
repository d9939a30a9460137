#include "mainwindowharness.h"

#include "platform/gridview.h"

// The on-screen keypads, the command buttons and the save and delete commands.
class tst_Keypad : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stepButtonsClamp();
    void digitButtonsTypeIntoCurrentField();
    void nextButton();
    void modeBButtons();
    void graphFollowsFocus();
    void saveWritesCardAndReloads();
    void cancelChangesNothing();
};

void tst_Keypad::stepButtonsClamp() {
    MainWindowHarness app;
    app.start("A");
    app.click(app.txt(2));
    QTest::keyClicks(app.focus(), "98");
    app.click(app.cmd(8)); // +3
    QCOMPARE(app.txt(2)->text(), QStringLiteral("99"));
    QCOMPARE(app.focus(), app.txt(2));
    app.click(app.cmd(11)); // -10
    QCOMPARE(app.txt(2)->text(), QStringLiteral("89"));

    app.click(app.txt(3));
    app.click(app.cmd(7)); // -1 on an empty field
    QCOMPARE(app.txt(3)->text(), QStringLiteral("0"));
    app.click(app.txt(4));
    app.click(app.cmd(10)); // +10
    QCOMPARE(app.txt(4)->text(), QStringLiteral("10"));
    QCOMPARE(app.labelText("lblTotal_ThisTime"), QStringLiteral("99"));
}

void tst_Keypad::digitButtonsTypeIntoCurrentField() {
    MainWindowHarness app;
    app.start("A");
    app.click(app.txt(5));
    QTest::keyClicks(app.focus(), "5");
    app.click(app.cmdNum(7));
    QCOMPARE(app.txt(5)->text(), QStringLiteral("57"));
    app.click(app.cmdNum(3));
    QCOMPARE(app.txt(5)->text(), QStringLiteral("57"));
    QCOMPARE(app.focus(), app.txt(5));

    app.txt(5)->setCursorPosition(1);
    app.click(app.find<QPushButton>("cmdDEL"));
    QCOMPARE(app.txt(5)->text(), QStringLiteral("5"));
    app.click(app.find<QPushButton>("cmdBS"));
    QCOMPARE(app.txt(5)->text(), QString());
    app.click(app.find<QPushButton>("cmdBS")); // empty field: back to the previous one
    QCOMPARE(app.focus(), app.txt(4));
}

void tst_Keypad::nextButton() {
    MainWindowHarness app;
    app.start("A");
    app.click(app.txt(19));
    app.click(app.cmd(12));
    QCOMPARE(app.focus(), app.txt(20));
    app.click(app.cmd(12));
    QCOMPARE(app.focus(), app.cmd(4));
}

void tst_Keypad::modeBButtons() {
    MainWindowHarness app;
    app.start("B");
    app.click(app.txt(20));
    app.click(app.cmd(2));
    QCOMPARE(app.txt(20)->text(), QStringLiteral("2"));
    QCOMPARE(app.focus(), app.cmd(4));

    app.click(app.txt(6));
    QTest::keyClicks(app.focus(), "1");
    app.click(app.txt(6));
    app.click(app.cmd(1)); // the value already shown still moves on
    QCOMPARE(app.txt(6)->text(), QStringLiteral("1"));
    QCOMPARE(app.focus(), app.txt(7));
}

void tst_Keypad::graphFollowsFocus() {
    MainWindowHarness app;
    app.start("A");
    app.clickRecentRow(0);
    QVERIFY(app.cmd(5)->isEnabled());
    app.click(app.cmdNum(1));
    QVERIFY(!app.cmd(5)->isEnabled());
    app.clickRecentRow(0);
    QVERIFY(app.cmd(5)->isEnabled());
    app.click(app.find<GridView>("grdAVG"));
    QVERIFY(!app.cmd(5)->isEnabled());
    QVERIFY(!app.item("mnuEdit_Clear_RecentData")->isEnabled());
}

void tst_Keypad::saveWritesCardAndReloads() {
    MainWindowHarness app;
    app.writeFile("Recent_B.csv", "2020/01/01 00:00:00,1,,,,,,,,,,,,,,,,,,,,\r\n");
    app.start("A");
    app.click(app.txt(0));
    QTest::keyClicks(app.focus(), "07");
    app.click(app.txt(1));
    QTest::keyClicks(app.focus(), "12");
    QTest::keyClick(app.window, Qt::Key_S, Qt::ControlModifier);

    QCOMPARE(app.boxes.size(), 1);
    QCOMPARE(app.boxes[0].text, QStringLiteral("SAVE?"));
    QCOMPARE(app.boxes[0].title, QStringLiteral("SAVE DATA"));
    const QList<QByteArray> lines = app.readFile("Recent_A.csv").split('\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].endsWith(",7,12,,,,,,,,,,,,,,,,,,,\r"));
    QCOMPARE(lines[0].count(','), 21);
    QVERIFY(app.readFile("Recent_B.csv").startsWith("2020/01/01")); // other mode untouched

    QCOMPARE(app.txt(0)->text(), QString());
    const GridModel &recent = app.find<GridView>("grdRecent")->grid();
    QCOMPARE(recent.text(0, 1), QStringLiteral("7"));
    QCOMPARE(recent.text(0, 22), QStringLiteral("19"));
    QCOMPARE(recent.text(1, 0), QStringLiteral("(NO DATA)"));
    QVERIFY(app.item("mnuFile_Save")->isEnabled());

    // A second save lands in a later second.
    app.click(app.cmd(4));
    QVERIFY(app.cmd(4)->isEnabled());
    const QList<QByteArray> after = app.readFile("Recent_A.csv").split('\n');
    QCOMPARE(after.size(), 3);
    QVERIFY(after[0].left(19) != after[1].left(19));
}

void tst_Keypad::cancelChangesNothing() {
    MainWindowHarness app;
    app.start("A");
    app.click(app.txt(0));
    QTest::keyClicks(app.focus(), "4");
    app.answer = QMessageBox::Cancel;
    app.click(app.cmd(4));
    QCOMPARE(app.txt(0)->text(), QStringLiteral("4"));
    QVERIFY(!QFile::exists(app.path("Recent_A.csv")));
}

QTEST_MAIN(tst_Keypad)
#include "tst_keypad.moc"
