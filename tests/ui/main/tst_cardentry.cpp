#include "mainwindowharness.h"

#include "platform/gridview.h"

#include <QInputMethodEvent>

// Typing a card with the keyboard, as a player does, in both modes.
class tst_CardEntry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void modeATypingAndLengthLimit();
    void modeALettersVanishAndCaretKeepsItsPlace();
    void modeATotals_data();
    void modeATotals();
    void enterAndBackspaceMove();
    void focusedHeadingIsRedAndDisablesGraph();
    void modeBMovesOnAfterEveryDigit();
    void modeBTotals();
    void modeSwitchDiscardsCardAndLoadsOtherHistory();

private:
    void startInMode(const char *mode);
    void typeInto(int field, const QString &keys);
    std::unique_ptr<MainWindowHarness> m_app;
};

void tst_CardEntry::init()
{
    m_app = std::make_unique<MainWindowHarness>();
}

void tst_CardEntry::cleanup()
{
    m_app.reset();
}

void tst_CardEntry::startInMode(const char *mode)
{
    m_app->writeFile("Dartrail.ini", QByteArray("[GAME]\nMODE=") + mode + "\n");
    m_app->start();
}

void tst_CardEntry::typeInto(int field, const QString &keys)
{
    QTest::mouseClick(m_app->txt(field), Qt::LeftButton);
    m_app->txt(field)->end(false);
    QTest::keyClicks(m_app->focus(), keys);
}

void tst_CardEntry::modeATypingAndLengthLimit()
{
    startInMode("A");
    typeInto(0, "1");
    typeInto(0, "2");
    QCOMPARE(m_app->txt(0)->text(), QStringLiteral("12"));
    QCOMPARE(m_app->find<QLabel>("lblTotal_ThisTime")->text(), QStringLiteral("12"));
    QCOMPARE(m_app->focus(), m_app->txt(0));
    QTest::keyClicks(m_app->txt(0), "3");
    QCOMPARE(m_app->txt(0)->text(), QStringLiteral("12"));
}

void tst_CardEntry::modeALettersVanishAndCaretKeepsItsPlace()
{
    startInMode("A");
    typeInto(4, "5");
    QTest::keyClick(m_app->txt(4), Qt::Key_Home);
    QTest::keyClicks(m_app->txt(4), "x");
    QCOMPARE(m_app->txt(4)->text(), QStringLiteral("5"));
    QCOMPARE(m_app->txt(4)->cursorPosition(), 0);
    // A long paste is cut by the length limit and then cleaned.
    m_app->txt(5)->setFocus();
    m_app->txt(5)->insert(QStringLiteral("a1b2c3d4e5"));
    QCOMPARE(m_app->txt(5)->text(), QStringLiteral("1"));
    m_app->txt(5)->clear();
    m_app->txt(5)->insert(QStringLiteral("4x"));
    QCOMPARE(m_app->txt(5)->text(), QStringLiteral("4"));
}

void tst_CardEntry::modeATotals_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("average");
    QTest::newRow("3 5 4") << QStringList{"3", "5", "4"} << "12" << "4.0";
    QTest::newRow("zero counts as filled") << QStringList{"0", "6"} << "6" << "3.0";
    QTest::newRow("leading zero") << QStringList{"05"} << "5" << "5.0";
    QTest::newRow("seven thirds") << QStringList{"1", "2", "4"} << "7" << "2.3";
}

void tst_CardEntry::modeATotals()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, total);
    QFETCH(QString, average);
    startInMode("A");
    for (int i = 0; i < entries.size(); ++i)
        typeInto(i * 3, entries[i]);
    QCOMPARE(m_app->find<QLabel>("lblTotal_ThisTime")->text(), total);
    QCOMPARE(m_app->find<QLabel>("lblAVG_ThisTime")->text(), average);
    m_app->item("mnuEdit_Clear_ThisTime")->trigger();
    QCOMPARE(m_app->find<QLabel>("lblTotal_ThisTime")->text(), QStringLiteral("0"));
    QCOMPARE(m_app->find<QLabel>("lblAVG_ThisTime")->text(), QString());
    QCOMPARE(m_app->focus(), m_app->txt(0));
}

void tst_CardEntry::enterAndBackspaceMove()
{
    startInMode("A");
    typeInto(3, "8");
    QTest::keyClick(m_app->focus(), Qt::Key_Return);
    QTRY_COMPARE(m_app->focus(), m_app->txt(4));
    QTest::keyClick(m_app->focus(), Qt::Key_Return, Qt::ShiftModifier);
    QTRY_COMPARE(m_app->focus(), m_app->txt(3));
    QTest::keyClick(m_app->focus(), Qt::Key_Return, Qt::ShiftModifier);
    QTRY_COMPARE(m_app->focus(), m_app->txt(2));

    QTest::mouseClick(m_app->txt(7), Qt::LeftButton);
    QTest::keyClick(m_app->focus(), Qt::Key_Backspace);
    QCOMPARE(m_app->focus(), m_app->txt(6));
    QTest::keyClick(m_app->focus(), Qt::Key_Backspace);
    QTest::keyClick(m_app->focus(), Qt::Key_Backspace);
    QTest::keyClick(m_app->focus(), Qt::Key_Backspace);
    QCOMPARE(m_app->focus(), m_app->txt(3)); // txt(3) holds 8: its own editing takes the key
    QTest::keyClick(m_app->focus(), Qt::Key_Backspace);
    QCOMPARE(m_app->txt(3)->text(), QString());

    QTest::mouseClick(m_app->txt(0), Qt::LeftButton);
    QTest::keyClick(m_app->focus(), Qt::Key_Backspace);
    QCOMPARE(m_app->focus(), m_app->txt(0));

    // Enter in the bull leaves the card for the recent grid.
    QTest::mouseClick(m_app->txt(20), Qt::LeftButton);
    QTest::keyClick(m_app->focus(), Qt::Key_Enter);
    QTRY_COMPARE(m_app->focus(), m_app->find<GridView>("grdRecent"));
}

void tst_CardEntry::focusedHeadingIsRedAndDisablesGraph()
{
    startInMode("A");
    auto *recent = m_app->find<GridView>("grdRecent");
    QTest::mouseClick(recent->viewport(), Qt::LeftButton, {},
                      recent->visualRect(recent->model()->index(0, 0)).center());
    QVERIFY(m_app->cmd(5)->isEnabled());
    QVERIFY(m_app->item("mnuEdit_Clear_RecentData")->isEnabled());

    QTest::mouseClick(m_app->txt(9), Qt::LeftButton);
    QVERIFY(!m_app->cmd(5)->isEnabled());
    QVERIFY(!m_app->item("mnuView_Graph")->isEnabled());
    QVERIFY(!m_app->item("mnuEdit_Clear_RecentData")->isEnabled());
    for (int i = 0; i < 21; ++i) {
        const bool red = m_app->lbl(i)->styleSheet().contains("255, 0, 0");
        QVERIFY2(red == (i == 9), qPrintable(QString::number(i)));
    }
}

void tst_CardEntry::modeBMovesOnAfterEveryDigit()
{
    startInMode("B");
    typeInto(4, "2");
    QCOMPARE(m_app->txt(4)->text(), QStringLiteral("2"));
    QCOMPARE(m_app->focus(), m_app->txt(5));

    QTest::keyClicks(m_app->focus(), "7");
    QCOMPARE(m_app->txt(5)->text(), QString());
    QCOMPARE(m_app->focus(), m_app->txt(5));

    // A full-width 2 committed by an input method counts as 2.
    QInputMethodEvent commit;
    commit.setCommitString(QString(QChar(0xFF12)));
    QCoreApplication::sendEvent(m_app->txt(5), &commit);
    QCOMPARE(m_app->txt(5)->text(), QStringLiteral("2"));
    QCOMPARE(m_app->focus(), m_app->txt(6));

    // Entering a field again selects its digit, so the next one replaces it.
    QTest::keyClick(m_app->focus(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(m_app->focus(), m_app->txt(5));
    QTest::keyClicks(m_app->focus(), "3");
    QCOMPARE(m_app->txt(5)->text(), QStringLiteral("3"));
    QCOMPARE(m_app->focus(), m_app->txt(6));

    typeInto(20, "1");
    QCOMPARE(m_app->focus(), m_app->cmd(4));
}

void tst_CardEntry::modeBTotals()
{
    startInMode("B");
    typeInto(0, "1");
    QTest::keyClicks(m_app->focus(), "2");
    QCOMPARE(m_app->find<QLabel>("lblTotal_ThisTime")->text(), QStringLiteral("3"));
    QCOMPARE(m_app->find<QLabel>("lblAVG_ThisTime")->text(), QStringLiteral("1.50"));
    QTest::keyClicks(m_app->focus(), "0");
    QCOMPARE(m_app->find<QLabel>("lblAVG_ThisTime")->text(), QStringLiteral("1.00"));
}

void tst_CardEntry::modeSwitchDiscardsCardAndLoadsOtherHistory()
{
    m_app->writeFile("Recent_B.csv", "2024/05/06 07:08:09,3,2,1,,,,,,,,,,,,,,,,,,\r\n");
    startInMode("A");
    typeInto(0, "5");
    typeInto(1, "17");
    m_app->item("mnuFile_Mode_B")->trigger();
    for (int i = 0; i < 21; ++i)
        QCOMPARE(m_app->txt(i)->text(), QString());
    QCOMPARE(m_app->txt(1)->maxLength(), 1);
    const GridModel &recent = m_app->find<GridView>("grdRecent")->grid();
    QCOMPARE(recent.text(0, 0), QStringLiteral("05/06 07:08"));
    QCOMPARE(recent.text(0, 22), QStringLiteral("6"));
    QCOMPARE(recent.text(0, 23), QStringLiteral("2.00"));

    // Choosing the mode that is already on changes nothing.
    typeInto(0, "3");
    m_app->item("mnuFile_Mode_B")->trigger();
    QCOMPARE(m_app->txt(0)->text(), QStringLiteral("3"));
    QVERIFY(m_app->item("mnuFile_Mode_B")->isChecked());
}

QTEST_MAIN(tst_CardEntry)
#include "tst_cardentry.moc"
