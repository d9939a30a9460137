#include "ui/main/mainwindowharness.h"

#include <QAbstractItemModel>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTimer>

namespace {

// Mode B: on 1 January every target hit once; on 1 March twice every target but 7, which is
// never hit; and a line whose date does not exist.
QByteArray history() {
    const auto line = [](const char *stamp, int value, int seven) {
        QByteArray text = stamp;
        for (int target = 1; target <= 21; ++target)
            text += ',' + QByteArray::number(target == 7 ? seven : value);
        return text + "\r\n";
    };
    return line("2024/01/01 10:00:00", 1, 1) + line("2024/02/30 10:00:00", 3, 3) +
           line("2024/03/01 10:00:00", 3, 0) + line("2024/03/01 10:30:00", 3, 0);
}

// A row of a table, its cells joined by "|".
QString rowText(const QDialog *window, const char *table, int row) {
    const QAbstractItemModel *model = window->findChild<QTableView *>(table)->model();
    QStringList cells;
    for (int col = 0; col < model->columnCount(); ++col)
        cells << model->index(row, col).data().toString();
    return cells.join(u'|');
}

// The main window in mode B over that history, the statistics window of `key` opened from it,
// and `use` run on that window inside the window's own loop; then both are closed.
void openStats(MainWindowHarness &app, int key, const std::function<void(QDialog *)> &use) {
    app.writeFile("Dartrail.ini", "[GAME]\r\nMODE=B\r\n");
    app.writeFile("Recent_B.csv", history());
    app.start();
    QTimer::singleShot(0, app.window, [&] {
        auto *shown = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(shown && QTest::qWaitForWindowActive(shown));
        QTRY_VERIFY(QApplication::focusWidget()->window() == shown);
        use(shown);
        shown->reject(); // whatever failed in it
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    app.close();
}

} // namespace

// The two statistics windows opened from the main window by their keys, their choices changed
// by keys sent to whatever has the focus, the tables read back, Esc closing them and the
// choice remembered in the settings file.
class tst_StatsWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void window_data();
    void window();
};

void tst_StatsWindows::window_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("before"); // what is read, then Down is pressed
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QByteArray>("remembered");
    QTest::addColumn<QStringList>("drills"); // the first table's first row, drills on and off
    // 30 days back from 1 March leave January out; 90 take it in.
    QTest::newRow("target report")
        << int(Qt::Key_F5)
        << QStringList{"Dartrail  [Targets]",
                       "FOCUS FIRST: 7",
                       "1 LINE WITHOUT A DATE IGNORED",
                       "7|6|0|0.0|0.0–39.0|99.5|WEAK",
                       "1|6|6|100.0|61.0–100.0|0.0|NOT SURE",
                       "ALL TARGETS|126|120|95.2|90.0–97.8|—|"}
        << QStringList{"90 DAYS",
                       "FOCUS FIRST: 7",
                       "7|9|1|11.1|2.0–43.5|96.6|WEAK",
                       "ALL TARGETS|189|141|74.6|68.0–80.3|—|",
                       "1",
                       "2",
                       "ALL TARGETS"}
        << QByteArray("[TARGETS]\r\nPERIOD=90") << QStringList{"7|9|3", "7|6|0"};
    // Two sessions: 1 January alone, and the two games of 1 March 30 minutes apart.
    QTest::newRow("trends") << int(Qt::Key_F6)
                            << QStringList{"Dartrail  [Trends]", "ALL TARGETS",
                                           "2024/03/01 10:00|2|126|95.2",
                                           "7|8.6|11.1|—|—|TOO FEW SESSIONS",
                                           "ALL TARGETS|79.2|74.6|—|—|TOO FEW SESSIONS"}
                            << QStringList{"1", "Trend of 1 over 2 sessions from 2024/01/01 "
                                                "10:00 to 2024/03/01 10:00, now 82.7 %"}
                            << QByteArray("[TRENDS]\r\nSERIES=1")
                            << QStringList{"2024/03/01 10:00|3|129", "2024/03/01 10:00|2|126"};
}

void tst_StatsWindows::window() {
    QFETCH(int, key);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(QByteArray, remembered);
    QFETCH(QStringList, drills);
    MainWindowHarness app;
    QStringList seen, seenAfter;
    bool closed = false;
    openStats(app, key, [&](QDialog *shown) {
        const bool targets = key == Qt::Key_F5;
        const char *table = targets ? "grdTargets" : "grdTrends";
        seen << shown->windowTitle();
        if (targets)
            seen << shown->findChild<QLabel *>("lblFocus")->text()
                 << shown->findChild<QLabel *>("lblIgnored")->text() << rowText(shown, table, 0)
                 << rowText(shown, table, 1) << rowText(shown, table, 21);
        else
            seen << QApplication::focusWidget()->property("currentText").toString()
                 << rowText(shown, "grdSessions", 0) << rowText(shown, table, 6)
                 << rowText(shown, table, 21);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        seenAfter << QApplication::focusWidget()->property("currentText").toString();
        if (targets) {
            seenAfter << shown->findChild<QLabel *>("lblFocus")->text() << rowText(shown, table, 0)
                      << rowText(shown, table, 21);
            // The TARGET heading sorts by target; ALL TARGETS stays last.
            QHeaderView *header = shown->findChild<QTableView *>(table)->horizontalHeader();
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(0) + 4, 4));
            for (int row : {0, 1, 21})
                seenAfter << rowText(shown, table, row).section(u'|', 0, 0);
        } else
            seenAfter << shown->findChild<QWidget *>("picTrend")->accessibleDescription();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        closed = !shown->isVisible();
    });
    QVERIFY(closed);
    QCOMPARE(seen, before);
    QCOMPARE(seenAfter, after);
    QVERIFY2(app.readFile("Dartrail.ini").contains(remembered), remembered);

    // A saved drill of 3 hits on target 7, half an hour after the last game, counts while the box
    // is ticked (at first, and as remembered) and not after Alt+D.
    MainWindowHarness drilled;
    drilled.writeFile("Drill_B.csv", "2024/03/01 11:00:00,,,,,,,3" + QByteArray(14, ',') + "\r\n");
    seen.clear();
    const char *firstTable = key == Qt::Key_F5 ? "grdTargets" : "grdSessions";
    openStats(drilled, key, [&](QDialog *shown) {
        const auto first = [&] { return rowText(shown, firstTable, 0).section(u'|', 0, 2); };
        seen << first();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);
        // The mnemonic clicks the box a moment later, as a button shows its press.
        QTRY_VERIFY(first() != seen.constFirst());
        seen << first();
    });
    QCOMPARE(seen, drills);
    QVERIFY(drilled.readFile("Dartrail.ini").contains("[DRILL]\r\nINCLUDE=0"));
}

QTEST_MAIN(tst_StatsWindows)
#include "tst_statswindows.moc"
