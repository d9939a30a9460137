#include "mainwindowharness.h"

#include "platform/gridview.h"

#include <QInputMethodEvent>

// Typing a card with the keyboard, as a player does, in both modes.
class tst_CardEntry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void modeATypingAndLengthLimit();
    void modeALettersVanishAndCaretKeepsItsPlace();
    void modeATotals();
    void backspaceMovesBack();
    void modeBMovesOnAfterEveryDigit();
    void modeBTotals();
    void modeSwitchDiscardsCardAndLoadsOtherHistory();
};

void tst_CardEntry::modeATypingAndLengthLimit() {
    MainWindowHarness app;
    app.start("A");
    app.typeInto(0, "1");
    app.typeInto(0, "2");
    QCOMPARE(app.txt(0)->text(), QStringLiteral("12"));
    QCOMPARE(app.labelText("lblTotal_ThisTime"), QStringLiteral("12"));
    QCOMPARE(app.focus(), app.txt(0));
    QTest::keyClicks(app.txt(0), "3");
    QCOMPARE(app.txt(0)->text(), QStringLiteral("12"));
}

void tst_CardEntry::modeALettersVanishAndCaretKeepsItsPlace() {
    MainWindowHarness app;
    app.start("A");
    app.typeInto(4, "5");
    QTest::keyClick(app.txt(4), Qt::Key_Home);
    QTest::keyClicks(app.txt(4), "x");
    QCOMPARE(app.txt(4)->text(), QStringLiteral("5"));
    QCOMPARE(app.txt(4)->cursorPosition(), 0);
    // A long paste is cut by the length limit and then cleaned.
    app.txt(5)->setFocus();
    app.txt(5)->insert(QStringLiteral("a1b2c3d4e5"));
    QCOMPARE(app.txt(5)->text(), QStringLiteral("1"));
    app.txt(5)->clear();
    app.txt(5)->insert(QStringLiteral("4x"));
    QCOMPARE(app.txt(5)->text(), QStringLiteral("4"));
}

void tst_CardEntry::modeATotals() {
    MainWindowHarness app;
    app.start("A");
    const QList<std::pair<QStringList, QString>> cards{
        {{"3", "5", "4"}, "12 4.0"}, {{"0", "6"}, "6 3.0"}, {{"05", "1", "1"}, "7 2.3"}};
    for (const auto &[entries, expected] : cards) {
        for (int i = 0; i < entries.size(); ++i)
            app.typeInto(i * 3, entries[i]);
        QCOMPARE(app.labelText("lblTotal_ThisTime") + u' ' + app.labelText("lblAVG_ThisTime"),
                 expected);
        app.item("mnuEdit_Clear_ThisTime")->trigger();
        QCOMPARE(app.labelText("lblTotal_ThisTime") + app.labelText("lblAVG_ThisTime"), "0");
        QCOMPARE(app.focus(), app.txt(0));
    }
}

void tst_CardEntry::backspaceMovesBack() {
    MainWindowHarness app;
    app.start("A");
    app.typeInto(3, "8");
    app.click(app.txt(7));
    QTest::keyClick(app.focus(), Qt::Key_Backspace);
    QCOMPARE(app.focus(), app.txt(6));
    QTest::keyClick(app.focus(), Qt::Key_Backspace);
    QTest::keyClick(app.focus(), Qt::Key_Backspace);
    QTest::keyClick(app.focus(), Qt::Key_Backspace);
    QCOMPARE(app.focus(), app.txt(3)); // txt(3) holds 8: its own editing takes the key
    QTest::keyClick(app.focus(), Qt::Key_Backspace);
    QCOMPARE(app.txt(3)->text(), QString());

    app.click(app.txt(0));
    QTest::keyClick(app.focus(), Qt::Key_Backspace);
    QCOMPARE(app.focus(), app.txt(0));
}

void tst_CardEntry::modeBMovesOnAfterEveryDigit() {
    MainWindowHarness app;
    app.start("B");
    app.typeInto(4, "2");
    QCOMPARE(app.txt(4)->text(), QStringLiteral("2"));
    QCOMPARE(app.focus(), app.txt(5));

    QTest::keyClicks(app.focus(), "7");
    QCOMPARE(app.txt(5)->text(), QString());
    QCOMPARE(app.focus(), app.txt(5));

    // A full-width 2 committed by an input method counts as 2.
    QInputMethodEvent commit;
    commit.setCommitString(QString(QChar(0xFF12)));
    QCoreApplication::sendEvent(app.txt(5), &commit);
    QCOMPARE(app.txt(5)->text(), QStringLiteral("2"));
    QCOMPARE(app.focus(), app.txt(6));

    // Entering a field again selects its digit, so the next one replaces it.
    QTest::keyClick(app.focus(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(app.focus(), app.txt(5));
    QTest::keyClicks(app.focus(), "3");
    QCOMPARE(app.txt(5)->text(), QStringLiteral("3"));
    QCOMPARE(app.focus(), app.txt(6));

    app.typeInto(20, "1");
    QCOMPARE(app.focus(), app.cmd(4));
}

void tst_CardEntry::modeBTotals() {
    MainWindowHarness app;
    app.start("B");
    app.typeInto(0, "1");
    QTest::keyClicks(app.focus(), "2");
    QCOMPARE(app.labelText("lblTotal_ThisTime"), QStringLiteral("3"));
    QCOMPARE(app.labelText("lblAVG_ThisTime"), QStringLiteral("1.50"));
    QTest::keyClicks(app.focus(), "0");
    QCOMPARE(app.labelText("lblAVG_ThisTime"), QStringLiteral("1.00"));
}

void tst_CardEntry::modeSwitchDiscardsCardAndLoadsOtherHistory() {
    MainWindowHarness app;
    app.writeFile("Recent_B.csv", "2024/05/06 07:08:09,3,2,1,,,,,,,,,,,,,,,,,,\r\n");
    app.start("A");
    app.typeInto(0, "5");
    app.typeInto(1, "17");
    app.item("mnuFile_Mode_B")->trigger();
    for (int i = 0; i < 21; ++i)
        QCOMPARE(app.txt(i)->text(), QString());
    QCOMPARE(app.txt(1)->maxLength(), 1);
    const GridModel &recent = app.find<GridView>("grdRecent")->grid();
    QCOMPARE(recent.text(0, 0), QStringLiteral("05/06 07:08"));
    QCOMPARE(recent.text(0, 22), QStringLiteral("6"));
    QCOMPARE(recent.text(0, 23), QStringLiteral("2.00"));

    // Choosing the mode that is already on changes nothing.
    app.typeInto(0, "3");
    app.item("mnuFile_Mode_B")->trigger();
    QCOMPARE(app.txt(0)->text(), QStringLiteral("3"));
    QVERIFY(app.item("mnuFile_Mode_B")->isChecked());
}

QTEST_MAIN(tst_CardEntry)
#include "tst_cardentry.moc"
