#include "app/apppaths.h"
#include "app/fonts.h"
#include "app/mdlmain.h"
#include "ui/main/frminputscore.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
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

} // namespace

// The two statistics windows opened from the main window by their keys, their choices changed
// by keys sent to whatever has the focus, the tables read back, Esc closing them and the
// choice remembered in the settings file.
class tst_StatsWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void window_data();
    void window();
    void includeDrills_data();
    void includeDrills();

private:
    QTemporaryDir m_dir;
};

void tst_StatsWindows::initTestCase() {
    QApplication::setQuitOnLastWindowClosed(false);
    Fonts::installSubstitutes();
    AppPaths::overrideForTests(m_dir.path(), QStringLiteral("Dartrail"));
    QFile file(m_dir.filePath("Recent_B.csv"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(history()) > 0);
}

void tst_StatsWindows::window_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("before"); // what is read, then Down is pressed
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QByteArray>("remembered");
    // 30 days back from 1 March leave January out; 90 take it in.
    QTest::newRow("target report") << int(Qt::Key_F5)
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
                                   << QByteArray("[TARGETS]\r\nPERIOD=90");
    // Two sessions: 1 January alone, and the two games of 1 March 30 minutes apart.
    QTest::newRow("trends") << int(Qt::Key_F6)
                            << QStringList{"Dartrail  [Trends]", "ALL TARGETS",
                                           "2024/03/01 10:00|2|126|95.2",
                                           "7|8.6|11.1|—|—|TOO FEW SESSIONS",
                                           "ALL TARGETS|79.2|74.6|—|—|TOO FEW SESSIONS"}
                            << QStringList{"1", "Trend of 1 over 2 sessions from 2024/01/01 "
                                                "10:00 to 2024/03/01 10:00, now 82.7 %"}
                            << QByteArray("[TRENDS]\r\nSERIES=1");
}

void tst_StatsWindows::window() {
    QFETCH(int, key);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(QByteArray, remembered);
    QFile::remove(m_dir.filePath("Dartrail.ini"));
    QFile ini(m_dir.filePath("Dartrail.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write("[GAME]\r\nMODE=B\r\n") > 0);
    ini.close();
    QPointer<frmInputScore> main = mdlMain::Main();
    QVERIFY(QTest::qWaitForWindowActive(main));

    QStringList seen, seenAfter;
    bool closed = false;
    // The window runs its own loop: it is read, and keyed at, from inside it.
    QTimer::singleShot(0, main, [&] {
        auto *shown = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(shown && QTest::qWaitForWindowActive(shown));
        QTRY_VERIFY(QApplication::focusWidget()->window() == shown);
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
        shown->reject(); // whatever failed above
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QVERIFY(closed);
    QCOMPARE(seen, before);
    QCOMPARE(seenAfter, after);
    main->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY2(ini.readAll().contains(remembered), remembered);
}

void tst_StatsWindows::includeDrills_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("expected"); // the first table's first row, on and off
    QTest::newRow("target report") << int(Qt::Key_F5) << QStringList{"7|9|3", "7|6|0"};
    QTest::newRow("trends") << int(Qt::Key_F6)
                            << QStringList{"2024/03/01 10:00|3|129", "2024/03/01 10:00|2|126"};
}

// A saved drill of 3 hits on target 7, half an hour after the last game, counts while the box
// is ticked (at first, and as remembered) and not after Alt+D.
void tst_StatsWindows::includeDrills() {
    QFETCH(int, key);
    QFETCH(QStringList, expected);
    QFile drills(m_dir.filePath("Drill_B.csv")), ini(m_dir.filePath("Dartrail.ini"));
    QVERIFY(drills.open(QIODevice::WriteOnly) &&
            drills.write("2024/03/01 11:00:00,,,,,,,3" + QByteArray(14, ',') + "\r\n") > 0);
    QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write("[GAME]\r\nMODE=B\r\n") > 0);
    drills.close();
    ini.close();
    QPointer<frmInputScore> main = mdlMain::Main();
    QVERIFY(QTest::qWaitForWindowActive(main));
    QStringList seen;
    QTimer::singleShot(0, main, [&] {
        auto *shown = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QTRY_VERIFY(shown && QApplication::focusWidget()->window() == shown);
        const auto first = [shown] {
            return rowText(
                       shown,
                       shown->findChildren<QTableView *>().constFirst()->objectName().toLatin1(), 0)
                .section(u'|', 0, 2);
        };
        seen << first();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);
        // The mnemonic clicks the box a moment later, as a button shows its press.
        QTRY_VERIFY(first() != seen.constFirst());
        seen << first();
        shown->reject();
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    main->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(drills.remove());
    QCOMPARE(seen, expected);
    QVERIFY(ini.open(QIODevice::ReadOnly) && ini.readAll().contains("[DRILL]\r\nINCLUDE=0"));
}

QTEST_MAIN(tst_StatsWindows)
#include "tst_statswindows.moc"
