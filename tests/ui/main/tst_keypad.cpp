#include "mainwindowharness.h"

#include "platform/gridview.h"

// The on-screen keypads, the command buttons and the save and delete commands.
class tst_Keypad : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void stepButtonsClamp();
    void digitButtonsTypeIntoCurrentField();
    void nextButton();
    void modeBButtons();
    void graphFollowsFocus();
    void saveWritesCardAndReloads();
    void cancelChangesNothing();
    void failedSaveReportsAndStillClears();
    void deleteRemovesSelectedGame();

private:
    void startInMode(const char *mode);
    void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    void clickRecentRow(int row);
    std::unique_ptr<MainWindowHarness> m_app;
};

void tst_Keypad::init()
{
    m_app = std::make_unique<MainWindowHarness>();
}

void tst_Keypad::cleanup()
{
    m_app.reset();
}

void tst_Keypad::startInMode(const char *mode)
{
    m_app->writeFile("Dartrail.ini", QByteArray("[GAME]\nMODE=") + mode + "\n");
    m_app->start();
}

void tst_Keypad::clickRecentRow(int row)
{
    auto *recent = m_app->find<GridView>("grdRecent");
    QTest::mouseClick(recent->viewport(), Qt::LeftButton, {},
                      recent->visualRect(recent->model()->index(row, 1)).center());
}

void tst_Keypad::stepButtonsClamp()
{
    startInMode("A");
    click(m_app->txt(2));
    QTest::keyClicks(m_app->focus(), "98");
    click(m_app->cmd(8)); // +3
    QCOMPARE(m_app->txt(2)->text(), QStringLiteral("99"));
    QCOMPARE(m_app->focus(), m_app->txt(2));
    click(m_app->cmd(11)); // -10
    QCOMPARE(m_app->txt(2)->text(), QStringLiteral("89"));

    click(m_app->txt(3));
    click(m_app->cmd(7)); // -1 on an empty field
    QCOMPARE(m_app->txt(3)->text(), QStringLiteral("0"));
    click(m_app->txt(4));
    click(m_app->cmd(10)); // +10
    QCOMPARE(m_app->txt(4)->text(), QStringLiteral("10"));
    QCOMPARE(m_app->find<QLabel>("lblTotal_ThisTime")->text(), QStringLiteral("99"));
}

void tst_Keypad::digitButtonsTypeIntoCurrentField()
{
    startInMode("A");
    click(m_app->txt(5));
    QTest::keyClicks(m_app->focus(), "5");
    click(m_app->cmdNum(7));
    QCOMPARE(m_app->txt(5)->text(), QStringLiteral("57"));
    click(m_app->cmdNum(3));
    QCOMPARE(m_app->txt(5)->text(), QStringLiteral("57"));
    QCOMPARE(m_app->focus(), m_app->txt(5));

    m_app->txt(5)->setCursorPosition(1);
    click(m_app->find<QPushButton>("cmdDEL"));
    QCOMPARE(m_app->txt(5)->text(), QStringLiteral("5"));
    click(m_app->find<QPushButton>("cmdBS"));
    QCOMPARE(m_app->txt(5)->text(), QString());
    click(m_app->find<QPushButton>("cmdBS")); // empty field: back to the previous one
    QCOMPARE(m_app->focus(), m_app->txt(4));
}

void tst_Keypad::nextButton()
{
    startInMode("A");
    click(m_app->txt(19));
    click(m_app->cmd(12));
    QCOMPARE(m_app->focus(), m_app->txt(20));
    click(m_app->cmd(12));
    QCOMPARE(m_app->focus(), m_app->cmd(4));
}

void tst_Keypad::modeBButtons()
{
    startInMode("B");
    click(m_app->txt(20));
    click(m_app->cmd(2));
    QCOMPARE(m_app->txt(20)->text(), QStringLiteral("2"));
    QCOMPARE(m_app->focus(), m_app->cmd(4));

    click(m_app->txt(6));
    QTest::keyClicks(m_app->focus(), "1");
    click(m_app->txt(6));
    click(m_app->cmd(1)); // the value already shown still moves on
    QCOMPARE(m_app->txt(6)->text(), QStringLiteral("1"));
    QCOMPARE(m_app->focus(), m_app->txt(7));
}

void tst_Keypad::graphFollowsFocus()
{
    startInMode("A");
    clickRecentRow(0);
    QVERIFY(m_app->cmd(5)->isEnabled());
    click(m_app->cmdNum(1));
    QVERIFY(!m_app->cmd(5)->isEnabled());
    clickRecentRow(0);
    QVERIFY(m_app->cmd(5)->isEnabled());
    click(m_app->find<GridView>("grdAVG"));
    QVERIFY(!m_app->cmd(5)->isEnabled());
    QVERIFY(!m_app->item("mnuEdit_Clear_RecentData")->isEnabled());
}

void tst_Keypad::saveWritesCardAndReloads()
{
    m_app->writeFile("Recent_B.csv", "2020/01/01 00:00:00,1,,,,,,,,,,,,,,,,,,,,\r\n");
    startInMode("A");
    click(m_app->txt(0));
    QTest::keyClicks(m_app->focus(), "07");
    click(m_app->txt(1));
    QTest::keyClicks(m_app->focus(), "12");
    QTest::keyClick(m_app->window, Qt::Key_S, Qt::ControlModifier);

    QCOMPARE(m_app->boxes.size(), 1);
    QCOMPARE(m_app->boxes[0].text, QStringLiteral("SAVE?"));
    QCOMPARE(m_app->boxes[0].title, QStringLiteral("SAVE DATA"));
    const QList<QByteArray> lines = m_app->readFile("Recent_A.csv").split('\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].endsWith(",7,12,,,,,,,,,,,,,,,,,,,\r"));
    QCOMPARE(lines[0].count(','), 21);
    QVERIFY(m_app->readFile("Recent_B.csv").startsWith("2020/01/01")); // other mode untouched

    QCOMPARE(m_app->txt(0)->text(), QString());
    const GridModel &recent = m_app->find<GridView>("grdRecent")->grid();
    QCOMPARE(recent.text(0, 1), QStringLiteral("7"));
    QCOMPARE(recent.text(0, 22), QStringLiteral("19"));
    QCOMPARE(recent.text(1, 0), QStringLiteral("(NO DATA)"));
    QVERIFY(m_app->item("mnuFile_Save")->isEnabled());

    // A second save lands in a later second.
    click(m_app->cmd(4));
    QVERIFY(m_app->cmd(4)->isEnabled());
    const QList<QByteArray> after = m_app->readFile("Recent_A.csv").split('\n');
    QCOMPARE(after.size(), 3);
    QVERIFY(after[0].left(19) != after[1].left(19));
}

void tst_Keypad::cancelChangesNothing()
{
    startInMode("A");
    click(m_app->txt(0));
    QTest::keyClicks(m_app->focus(), "4");
    m_app->answer = QMessageBox::Cancel;
    click(m_app->cmd(4));
    QCOMPARE(m_app->txt(0)->text(), QStringLiteral("4"));
    QVERIFY(!QFile::exists(m_app->path("Recent_A.csv")));
}

void tst_Keypad::failedSaveReportsAndStillClears()
{
    QVERIFY(QDir(m_app->path("")).mkdir("Recent_A.csv"));
    startInMode("A");
    m_app->boxes.clear(); // the unreadable history was reported at start-up
    click(m_app->txt(0));
    QTest::keyClicks(m_app->focus(), "4");
    click(m_app->cmd(4));
    QCOMPARE(m_app->boxes.size(), 3); // SAVE?, the failure, and the reload's report
    QCOMPARE(m_app->boxes[1].title, QStringLiteral("ERROR"));
    QCOMPARE(m_app->boxes[1].icon, QMessageBox::Critical);
    QVERIFY(!m_app->boxes[1].text.isEmpty());
    QCOMPARE(m_app->txt(0)->text(), QString());
}

void tst_Keypad::deleteRemovesSelectedGame()
{
    m_app->writeFile("Recent_A.csv", "2020/01/01 00:00:01,1,,,,,,,,,,,,,,,,,,,,\r\n"
                                     "2020/01/01 00:00:02,2,,,,,,,,,,,,,,,,,,,,\r\n"
                                     "2020/01/01 00:00:03,3,,,,,,,,,,,,,,,,,,,,\r\n");
    startInMode("A");
    clickRecentRow(1);
    QVERIFY(m_app->item("mnuEdit_Clear_RecentData")->isEnabled());
    m_app->item("mnuEdit_Clear_RecentData")->trigger();
    QCOMPARE(m_app->readFile("Recent_A.csv"),
             QByteArray("2020/01/01 00:00:01,1,,,,,,,,,,,,,,,,,,,,\r\n"
                        "2020/01/01 00:00:03,3,,,,,,,,,,,,,,,,,,,,\r\n"));
    const GridModel &recent = m_app->find<GridView>("grdRecent")->grid();
    QCOMPARE(recent.text(0, 1), QStringLiteral("3"));
    QCOMPARE(recent.text(1, 1), QStringLiteral("1"));
    QCOMPARE(recent.text(2, 0), QStringLiteral("(NO DATA)"));
}

QTEST_MAIN(tst_Keypad)
#include "tst_keypad.moc"
