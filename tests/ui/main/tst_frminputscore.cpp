#include "platform/gridview.h"
#include "ui/main/mainwindowharness.h"

#include <QAction>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QSet>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Games saved on 1 to `count` January 2020, each game's first value its day.
QByteArray history(int count) {
    QByteArray lines;
    for (int day = 1; day <= count; ++day)
        lines += QByteArray("2020/01/0") + QByteArray::number(day) + " 00:00:00," +
                 QByteArray::number(day) + QByteArray(20, ',') + "\r\n";
    return lines;
}

// A hundred games in which the targets 2, 5, 9, 14 and the bull are surely the
// weakest, so that a drill of five always takes them.
QByteArray weakFive(bool modeA) {
    QByteArray game = "2020/01/01 00:00:00";
    for (int field = 0; field < 21; ++field)
        game += QSet<int>{1, 4, 8, 13, 20}.contains(field) ? (modeA ? ",99" : ",0")
                                                           : (modeA ? ",1" : ",3");
    return (game + "\r\n").repeated(100);
}

QString repeated(const QString &keys, int times) {
    return QStringList(times, keys).join(u' ');
}

QWidget *keyTarget() {
    QWidget *popup = QApplication::activePopupWidget();
    return popup ? popup : QApplication::focusWidget();
}

} // namespace

// The main window started from its settings file, and a player at work in it, from start-up to
// the saved line: every key goes to whatever has the focus (or the open menu), clicks go to the
// keypads and fields, and the states are read back.
class tst_FrmInputScore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsFromSettings_data();
    void startsFromSettings();
    void scenario_data();
    void scenario();
    void savesNeverShareASecond();
    void oneProgramPerFolder();

private:
    void press(MainWindowHarness &app, const QString &token);
    QString observed(MainWindowHarness &app, const QString &what);
};

void tst_FrmInputScore::startsFromSettings_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QByteArray>("ini");
    // Check marks of THIS TIME, RECENT, AVG/HIT, A MODE, B MODE, each also whether its panel or
    // keypad is shown; then GRID and MODE written back.
    QTest::addColumn<QString>("expected");
    // The whole file after shutdown, where a row pins it.
    QTest::addColumn<QByteArray>("written");
    const auto row = [](const char *name, const QByteArray &ini, const char *expected,
                        const QByteArray &written = {}, const QString &program = "Dartrail") {
        QTest::newRow(name) << program << ini << QString::fromLatin1(expected) << written;
    };
    row("no file", {}, "11110 123 A", "[WINDOW]\r\nGRID=123\r\n[GAME]\r\nMODE=A\r\n");
    row("empty grid", "[WINDOW]\r\nGRID=\r\n", "00010 000 A");
    row("3x1", "[WINDOW]\nGRID=3x1\n", "10110 301 A");
    row("12345", "[WINDOW]\nGRID=12345\n", "11110 123 A");
    row("lower-case a", "[GAME]\nMODE=a\n", "11101 123 B");
    row("names keep their case", "[game]\nmode=A\n[window]\ngrid=100\n", "10010 100 A",
        "[game]\nmode=A\n[window]\ngrid=100\n");
    // Every byte that is not one of our values stays: other lines, blank lines, the second key
    // and the second section of a name, which never count.
    row("first of two keys counts", "[WINDOW]\nGRID=100\nGRID=123\n", "10010 100 A",
        "[WINDOW]\nGRID=100\nGRID=123\n[GAME]\nMODE=A\n");
    row("comments and other keys stay",
        "; mine\r\n[OTHER]\r\nkey=value\r\n\r\n[GAME]\r\n; why\r\nMODE=A\r\n# last\r\n\r\n",
        "11110 123 A",
        "; mine\r\n[OTHER]\r\nkey=value\r\n\r\n[GAME]\r\n; why\r\nMODE=A\r\n# last\r\n\r\n"
        "[WINDOW]\r\nGRID=123\r\n");
    row("quotes go; a second section of a name never counts",
        "[GAME]\nMODE=\"A\"\n[WINDOW]\nX=1\n[WINDOW]\nGRID=100\n", "11110 123 A");
    row("old Mac line ends, lone CRs", "[GAME]\rMODE=B\r", "11101 123 B",
        "[GAME]\rMODE=B\r[WINDOW]\rGRID=123\r");
    // A renamed copy keeps settings of its own and leaves those of the old name alone.
    row("renamed Dart.v2", "[WINDOW]\nGRID=012\n", "01110 012 A", {}, "Dart.v2");
}

void tst_FrmInputScore::startsFromSettings() {
    QFETCH(QString, program);
    QFETCH(QByteArray, ini);
    QFETCH(QString, expected);
    QFETCH(QByteArray, written);
    const QStringList parts = expected.split(u' ');
    const QString settingsFile = program + QStringLiteral(".ini");
    const QByteArray oldNamesFile = "[WINDOW]\nGRID=100\n[GAME]\nMODE=B\n";

    MainWindowHarness app(program);
    if (!ini.isNull())
        app.writeFile(settingsFile, ini);
    if (program != "Dartrail")
        app.writeFile(QStringLiteral("Dartrail.ini"), oldNamesFile);
    app.start();

    QString checks, shown;
    for (const auto &[item, panel] : {std::pair{"mnuView_ThisTime", "fraThisTime"},
                                      {"mnuView_Recent", "grdRecent"},
                                      {"mnuView_AVG", "grdAVG"},
                                      {"mnuFile_Mode_A", "fraButtonsA"},
                                      {"mnuFile_Mode_B", "fraButtonsB"}}) {
        checks += QString::number(app.find<QAction>(item)->isChecked());
        shown += QString::number(app.find<QWidget>(panel)->isVisible());
    }
    QCOMPARE(checks + u' ' + shown, parts[0] + u' ' + parts[0]);
    QCOMPARE(app.txt(3)->maxLength(), parts[0][3] == u'1' ? 2 : 1);

    app.close();
    const QByteArray first = app.readFile(settingsFile);
    QVERIFY2(first.toUpper().contains("GRID=" + parts[1].toLatin1()), first);
    QVERIFY2(first.toUpper().contains("MODE=" + parts[2].toLatin1()), first);
    if (!written.isNull())
        QCOMPARE(first, written);
    if (program != "Dartrail")
        QCOMPARE(app.readFile("Dartrail.ini"), oldNamesFile);
}

void tst_FrmInputScore::scenario_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QByteArray>("games");
    // Keys by name ("Shift+Enter", "Ctrl+Shift+End"), texts to type, and a few actions: click:NAME,
    // row:N and Shift+row:N (clicks into the recent grid), ime:TEXT, paste:TEXT, answer:Cancel,
    // Alt, AltTab, Enter2 (two quick presses), Hold:D (a digit held down), wait (for a save).
    QTest::addColumn<QString>("keys");
    // "what=value": focus, red (headings), graph (button, item), delete, entry (enabled states),
    // card, total, caret, recent (row 0), tops (panels), saved (history lines), selected
    // (rows), boxes, error (the last box), files, settings. "@what=v1/v2/..." reads it after
    // every key.
    QTest::addColumn<QStringList>("expected");

    const QByteArray modeA = "[GAME]\nMODE=A\n";
    const QByteArray modeB = "[GAME]\nMODE=B\n";
    const QString toGrid = repeated("Enter", 21);
    const QString deleteByMenu = "Alt+E Right Down Enter";
    const QString modeAByMenu = "Alt+F Down Right Enter";
    const auto row = [](const char *name) -> QTestData & { return QTest::newRow(name); };

    row("start-up, card hidden, entry disabled")
        << QByteArray("[WINDOW]\nGRID=012\n") << history(2) << ""
        << QStringList{"focus=grdRecent", "red=",       "graph=11",
                       "delete=1",        "selected=0", "tops=-,8,117,246,383",
                       "entry=00000000"};

    // Mode A: a field keeps its text and caret, whatever enters it.
    row("mode A card typed and saved")
        << modeA << QByteArray()
        << "5 Enter Shift+Enter 7 Enter 12 Enter Shift+Enter 3 Enter " + repeated("1 Enter", 19) +
               " Ctrl+S"
        << QStringList{"saved=57,12," + repeated("1", 19).replace(u' ', u','), "boxes=1",
                       "focus=txt(0)", "card="};
    row("mode A length limit, letters, paste")
        << modeA << QByteArray() << "123 Enter 5 Home x Enter paste:a1b2c3d4e5"
        << QStringList{"card=12,5,1", "@caret=2/0/1/0/0/0/1", "total=18 6.0"};
    row("mode A totals, then cleared by the menu")
        << modeA << QByteArray() << "05 Enter Enter 1 Enter 1 Alt+E Right Enter"
        << QStringList{"@total=5 5.0/5 5.0/5 5.0/6 3.0/6 3.0/7 2.3/7 2.3/7 2.3/0 ",
                       "card=", "focus=txt(0)"};
    row("Backspace in empty fields moves back")
        << modeA << QByteArray()
        << "Backspace Enter Enter Enter 8 " + repeated("Enter", 4) +
               " Backspace Backspace Backspace Backspace Backspace"
        << QStringList{"card=", "focus=txt(3)"};
    row("mode A, a lone Alt and away and back mid-card keep the field marked")
        << modeA << QByteArray() << "5 Enter 3 AltTab 4 expect:focus=txt(1) Alt"
        << QStringList{"red=1", "graph=00", "card=5,34"};
    row("mode switch discards the card and loads the other history")
        << modeB << history(1) << "2 " + modeAByMenu + " 17 " + modeAByMenu
        << QStringList{"@recent=" + repeated("1|1|1.00", 4).replace(u' ', u'/') +
                           "/||/||/||/||/||/||",
                       "card=17", "focus=txt(0)"};

    // Mode B: every accepted digit moves on; entering a field selects its digit.
    row("mode B card held down, saved by Enter on SAVE DATA")
        << modeB << QByteArray() << "Hold:2 Enter"
        << QStringList{"saved=" + repeated("2", 21).replace(u' ', u','), "boxes=1", "focus=txt(0)",
                       "recent=2|42|2.00"};
    row("mode B rejects 7, takes a full-width 2, replaces on entry; a crash keeps the card")
        << modeB << QByteArray() << "2 7 ime:\uFF12 Shift+Tab 3 crash"
        << QStringList{"@focus=txt(1)/txt(1)/txt(2)/txt(1)/txt(2)/txt(2)", "card=2,3",
                       "total=5 2.50"};

    // The keypads and command buttons, clicked.
    row("step buttons clamp, NEXT moves on")
        << modeA << QByteArray()
        << "Enter Enter 98 click:cmd(8) click:cmd(11) Enter click:cmd(7) Enter click:cmd(10) "
           "expect:focus=txt(4) click:txt(19) click:cmd(12) expect:focus=txt(20) click:cmd(12)"
        << QStringList{"card=,,89,0,10", "focus=cmd(4)", "total=99 33.0"};
    row("digit, DEL and BS buttons type into the field")
        << modeA << QByteArray()
        << "Enter 5 click:cmdNum(7) click:cmdNum(3) Left click:cmdDEL click:cmdBS click:cmdBS"
        << QStringList{"@card=/,5/,57/,57/,57/,5//", "focus=txt(0)"};
    row("mode B buttons") << modeB << QByteArray()
                          << "click:txt(20) click:cmd(2) click:txt(6) 1 click:txt(6) click:cmd(1)"
                          << QStringList{"@focus=txt(20)/cmd(4)/txt(6)/txt(7)/txt(6)/txt(7)",
                                         "card=,,,,,,1,,,,,,,,,,,,,,2"};
    row("GRAPH follows the focus, also away and back in the grid")
        << modeA << history(1) << "row:0 AltTab click:cmdNum(1) row:0 click:grdAVG"
        << QStringList{"@graph=11/11/00/11/00", "@delete=1/1/0/1/0"};
    row("Cancel keeps the card") << modeA << QByteArray() << "4 answer:Cancel Ctrl+S"
                                 << QStringList{"card=4", "boxes=1", "saved="};

    // The tab order, and the grids at the keyboard.
    QStringList forward;
    for (int i = 0; i <= 20; ++i)
        forward << QStringLiteral("txt(%1)").arg(i);
    forward += {"grdRecent", "grdAVG"};
    for (int digit : {7, 8, 9, 4, 5, 6, 1, 2, 3, 0})
        forward << QStringLiteral("cmdNum(%1)").arg(digit);
    forward += {"cmdDEL", "cmdBS"};
    for (int index : {10, 8, 6, 11, 9, 7, 12, 4})
        forward << QStringLiteral("cmd(%1)").arg(index);
    forward << "txt(0)";
    QStringList backward(forward.rbegin(), forward.rend());
    row("tab order forwards, then backwards")
        << modeA << history(1)
        << repeated("Tab", int(forward.size()) - 1) + ' ' +
               repeated("Shift+Tab", int(backward.size()) - 1)
        << QStringList{"@focus=" + (forward.mid(1) + backward.mid(1)).join(u'/')};

    row("Alt, then E deletes the selected row")
        << modeA << history(5) << toGrid + " Down Alt E Right Down Enter"
        << QStringList{"saved=1;2;3;5", "delete=1"};
    // After a reload that shrinks the grid, the current row is selected again.
    row("the next delete takes the current row")
        << modeA << history(7) << toGrid + " Ctrl+End Shift+Up " + deleteByMenu + ' ' + deleteByMenu
        << QStringList{"saved=4;5;6;7", "focus=grdRecent"};
    row("Shift-clicks, Shift+PgDn and Ctrl+Shift+Home extend from the anchor")
        << modeA << history(7)
        << "row:1 Shift+row:3 row:3 Shift+row:2 Down Down Shift+PgDown Ctrl+Shift+Home"
        << QStringList{"@selected=1/1,2,3/3/2,3/3/4/4,5,6/0,1,2,3,4"};
    row("VIEW toggle hides the recent grid, shown again it goes last, EXIT writes the order")
        << modeA << QByteArray()
        << "Alt+V Down Enter expect:tops=8,-,61,190,327 Alt+V Down Enter Alt+F C"
        << QStringList{"settings=[GAME] MODE=A [WINDOW] GRID=132"};
    // A write that fails is reported once, with the file and the system's reason (every call
    // of every write is broken in the store's own test).
    row("settings fail") << modeA << history(2) << "fail:4:5 Alt+V Down Enter Alt+F C"
                         << QStringList{"settings=[GAME] MODE=A", "files=2", "boxes=1",
                                        "error=ERROR Dartrail.ini: Input/output error. The panels "
                                        "shown and the play mode of this run are not kept."};
    // While a save waits for the clock to leave its second, the list already holds the saved
    // game and the card is the next one.
    row("a delete while a save waits") << modeA << history(3) << "7 Ctrl+S row:1 " + deleteByMenu
                                       << QStringList{"saved=1;2;7", "boxes=1"};
    row("a file changed underneath is reloaded, nothing deleted")
        << modeA << history(3) << toGrid + " write:5 " + deleteByMenu
        << QStringList{"saved=1;2;3;4;5", "recent=5|5|5.0", "boxes=1",
                       "error=ERROR Recent_A.csv: The file was changed by another program after "
                       "it was shown; nothing was deleted. The list now shows the file as it is."};
    // A deletion undone by Ctrl+Z or the menu, also after a restart, and per mode; after it only
    // the current row is selected.
    const QString undoByMenu = "Alt+E Down Enter";
    const QString modeBByMenu = "Alt+F Down Right Down Enter";
    row("Ctrl+Z puts the deleted games back, byte for byte, in their mode")
        << modeA << history(10)
        << toGrid + " Down Down Shift+Down Shift+Down " + deleteByMenu +
               " expect:selected=4 expect:undo=1 " + modeBByMenu + " expect:undo=0 " + modeAByMenu +
               " expect:undo=1 " + toGrid + " Ctrl+Z"
        << QStringList{"history=unchanged", "undo=0", "boxes=0"};
    row("UNDO DELETE after a save and a restart")
        << modeA << history(4)
        << toGrid + " Down " + deleteByMenu + " click:txt(0) 7 Ctrl+S restart " + undoByMenu
        << QStringList{"saved=1;2;3;4;7", "undo=0"};
    row("undo after the file was replaced")
        << modeA << history(3) << toGrid + " " + deleteByMenu + " write:5 " + undoByMenu
        << QStringList{"saved=1;2;3;4;5", "boxes=1", "undo=0",
                       "error=ERROR Recent_A.csv: The last deletion cannot be undone: "
                       "Recent_A.csv was changed by another program after it. The deleted games "
                       "are kept in Recent_A.deleted.csv."};
    // The card typed when the program was killed comes back, as typed; a saved one never does.
    // A draft that differs from the newest game in its bull alone is a card of its own.
    const QString otherBull = "5,7" + QString(18, u',') + ",9";
    row("a saved card's draft, junk and a folder are no card")
        << modeA << "2020/01/01 00:00:00,5,7" + QByteArray(19, ',') + "\r\n"
        << "draft:A:1,5,7 crash expect:card= draft:A:1," + otherBull +
               " crash expect:card=" + otherBull +
               " draft:A:junk crash expect:card= folder:Recent_A.draft.csv crash"
        << QStringList{"card=", "boxes=0"};
    row("a mode's draft comes back on switching to it, and goes on leaving it")
        << modeA << QByteArray()
        << "draft:B:3,1,2,3 " + modeBByMenu + " expect:card=1,2,3 " + modeAByMenu + ' ' +
               modeBByMenu
        << QStringList{"card=", "focus=txt(0)"};
    // Only the stamp the save recorded tells a saved card: a card like the newest game comes
    // back; a saved one whose draft stayed (its removal failing) does not.
    row("a card like the newest game comes back, a saved one does not")
        << modeA << "2020/01/01 00:00:00,5,7" + QByteArray(19, ',') + "\r\n"
        << "5 Enter 7 crash expect:card=5,7 faildraft:8:1 Ctrl+S crash"
        << QStringList{"card=", "saved=5,7;5,7"};
    // A draft that cannot be kept is told once, and the card still saves.
    row("draft name taken by a folder")
        << modeA << QByteArray() << "folder:Recent_A.draft.csv 3 Enter 4 Enter 5 Ctrl+S"
        << QStringList{
               "saved=3,4,5", "boxes=2",
               "errors=ERROR Recent_A.draft.csv: Is a directory. The card being typed "
               "cannot be kept there, so a crash would lose it; saving it works as before."};
    // A fast typist on a slow disk: each burst is queued whole before any key is handled (">"
    // Enter, "<" Shift+Enter, "-" Backspace); no sync waits on the window's thread.
    QString burstA, valuesA;
    for (int value = 11; value <= 31; ++value) {
        burstA += QString::number(value) + (value == 12 ? ">>-" : value == 14 ? "><>" : ">");
        valuesA += QString::number(value) + (value < 31 ? "," : "");
    }
    row("mode A typed as a burst")
        << modeA << QByteArray()
        << "slowdraft burst:" + burstA + " expect:windowsyncs=0 crash expect:card=" + valuesA +
               " Ctrl+S"
        << QStringList{"saved=" + valuesA};
    row("mode B typed as a burst, Enter twice quickly on SAVE DATA")
        << modeB << QByteArray()
        << "slowdraft burst:" + QString("0123").repeated(5) + "1 expect:windowsyncs=0 Enter2"
        << QStringList{"saved=0,1,2,3,0,1,2,3,0,1,2,3,0,1,2,3,0,1,2,3,1", "boxes=1"};
    row("save into a folder of that name")
        << modeA << history(2) << "7 folder:Recent_A.csv click:cmd(4)"
        << QStringList{"card=7",  "focus=cmd(4)", "recent=2|2|2.0",
                       "files=1", "boxes=2",      "error=ERROR Recent_A.csv: Is a directory"};
    // The focus drill: only the chosen fields take entries and the focus; it is saved into a
    // file of its own, survives a crash, and its last line can be deleted.
    const QString drillB = "F7 1 2 3 0 1";
    const QString drillOn = "drill=DRILL/1,4,8,13,20/5";
    const QString drillOff = "drill=THIS_TIME//21";
    const QString savedDrill = "Drill_B.csv=STAMP,,1,,,2,,,,3,,,,,0,,,,,,,1";
    row("a mode-B drill typed through to SAVE DATA")
        << modeB << weakFive(false) << drillB + " Ctrl+S"
        << QStringList{"@focus=txt(1)/txt(4)/txt(8)/txt(13)/txt(20)/cmd(4)/txt(0)", savedDrill,
                       "history=unchanged", "error=SAVE DATA SAVE DRILL?", drillOff};
    row("fields not chosen refuse the focus")
        << modeB << weakFive(false) << "F7 click:txt(0) Tab click:txt(5)"
        << QStringList{"@focus=txt(1)/txt(1)/txt(4)/txt(4)", drillOn, "red=4"};
    row("mode-A Enter, Shift+Enter and Backspace follow the chosen fields")
        << modeA << weakFive(true)
        << "F7 Enter Enter Shift+Enter 5 Backspace Backspace Backspace " + repeated("Enter", 5)
        << QStringList{"@focus=txt(1)/txt(4)/txt(8)/txt(4)/txt(4)/txt(4)/txt(1)/txt(1)/"
                       "txt(4)/txt(8)/txt(13)/txt(20)/cmd(4)",
                       "card="};
    row("leaving a drill asks only when a field is filled; a mode switch never asks")
        << modeB << weakFive(false)
        << "F7 F7 expect:boxes=0 F7 1 answer:Cancel F7 expect:" + drillOn +
               " Alt+E Right Enter expect:" + drillOff + " F7 2 expect:card=,2 " + modeAByMenu
        << QStringList{"boxes=1", "card=", drillOff, "error=FOCUS DRILL DISCARD THE DRILL?"};
    row("a drill saved into a folder keeps its values")
        << modeB << weakFive(false) << "folder:Drill_B.csv " + drillB + " Ctrl+S"
        << QStringList{"error=ERROR Drill_B.csv: Is a directory", "card=,1,,,2,,,,3,,,,,0,,,,,,,1",
                       drillOn};
    // A drill left by a crash comes back, also one typed like the last one saved; a saved one
    // whose draft stayed (its removal failing) does not, and junk marks are ignored.
    row("a drill left by a crash comes back, a saved one and junk do not")
        << modeB << weakFive(false)
        << drillB + " Ctrl+S " + drillB + " crash expect:focus=txt(20) expect:" + drillOn +
               " expect:card=,1,,,2,,,,3,,,,,0,,,,,,,1 faildraft:8:1 Ctrl+S crash expect:card= " +
               "put:Drill_B.draft.csv:1_x;1,,5"
        << QStringList{drillOff, "card=", savedDrill + ';' + savedDrill.section(u'=', 1)};
    row("the last drill deleted and kept")
        << modeB << weakFive(false) << drillB + " Ctrl+S wait F7 3 Ctrl+S Alt+E Up Enter"
        << QStringList{savedDrill, "Drill_B.deleted.csv=STAMP,,3,,,,,,,,,,,,,,,,,,,",
                       "history=unchanged"};
}

void tst_FrmInputScore::scenario() {
    QFETCH(QByteArray, ini);
    QFETCH(QByteArray, games);
    QFETCH(QString, keys);
    QFETCH(QStringList, expected);

    MainWindowHarness app;
    app.writeFile("Dartrail.ini", ini);
    if (!games.isEmpty())
        app.writeFile(ini.contains("MODE=B") ? "Recent_B.csv" : "Recent_A.csv", games);
    app.initialHistory = games;
    app.start();
    QMap<QString, QStringList> afterEveryKey;
    for (const QString &pair : expected)
        if (pair.startsWith(u'@'))
            afterEveryKey[pair.section(u'=', 0, 0).mid(1)];
    for (const QString &token : keys.split(u' ', Qt::SkipEmptyParts)) {
        press(app, token);
        QCoreApplication::processEvents(); // the focus moves that Enter posts
        for (auto it = afterEveryKey.begin(); it != afterEveryKey.end(); ++it)
            it.value() << observed(app, it.key());
    }
    for (const QString &pair : expected) {
        const QString what = pair.section(u'=', 0, 0);
        const QString value =
            what.startsWith(u'@') ? afterEveryKey[what.mid(1)].join(u'/') : observed(app, what);
        QCOMPARE(what + u'=' + value, pair);
    }
}

// A save stamped just before the clock ticks into the next second stores that second, and the
// next save waits until the clock has left the second stored: two saves never share one.
void tst_FrmInputScore::savesNeverShareASecond() {
    QList<QTime> moments{{12, 0, 0, 999}, {12, 0, 1}}; // a reading each, the last one stays
    MainWindowHarness app;
    app.start();
    app.window->setClock([&moments] {
        return QDateTime({2026, 1, 1}, moments.size() > 1 ? moments.takeFirst() : moments.first());
    });
    const auto save = [](const char *digits) {
        QTest::keyClicks(QApplication::focusWidget(), digits);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    };
    const QAction *saving = app.find<QAction>("mnuFile_Save");
    save("1");
    QTRY_VERIFY(saving->isEnabled()); // the clock has left 12:00:00 already
    save("2");
    save("3"); // refused: the clock stays in 12:00:01
    QVERIFY(!saving->isEnabled());
    moments = {{12, 0, 2}};
    QTRY_VERIFY(saving->isEnabled());
    save("4");
    QCOMPARE(QString::fromLatin1(app.playedFile()).replace(QRegularExpression(",+\r\n"), ";"),
             "2026/01/01 12:00:00,1;2026/01/01 12:00:01,2;2026/01/01 12:00:02,34;");
}

// Whether some process holds a lock on the file, as the system lists them.
bool locked(const QByteArray &path) {
    struct stat info {};
    QFile locks(QStringLiteral("/proc/locks"));
    return ::stat(path.constData(), &info) == 0 && locks.open(QIODevice::ReadOnly) &&
           locks.readAll().contains(':' + QByteArray::number(quint64(info.st_ino)) + ' ');
}

// The real program copied into a folder and started there.
pid_t startProgram(const QByteArray &folder) {
    const QByteArray program = folder + "/Dartrail";
    std::filesystem::copy_file(DARTRAIL_EXECUTABLE, program.toStdString(),
                               std::filesystem::copy_options::overwrite_existing);
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl(program.constData(), program.constData(), nullptr);
        ::_exit(127);
    }
    return child;
}

// One program per folder: a second start brings the running window to the front and ends. A
// program holds its own folder whatever bytes its name holds, also started from another folder,
// removes there what killed rewrites left, and once killed blocks no later start.
void tst_FrmInputScore::oneProgramPerFolder() {
    MainWindowHarness app;
    app.start();
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    const pid_t second = startProgram(QFile::encodeName(app.path({})));
    int status = -1;
    bool ended = false; // QTRY_ evaluates once more at the end, and a child is reaped only once
    QTRY_VERIFY_WITH_TIMEOUT(ended || (ended = ::waitpid(second, &status, WNOHANG) == second),
                             20000);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    QTRY_VERIFY(app.window->isActiveWindow());

    const QByteArray folder = QFile::encodeName(app.path({})) + "/caf\xe9";
    const QByteArrayList files{"/.Recent_A.csv.dartrail-tmp-AbC123",
                               "/.Dartrail.ini.dartrail-tmp-x1Y2z3", "/.Recent_A.csv.keep",
                               "/Dartrail", "/Dartrail.lock"};
    QVERIFY(::mkdir(folder, 0755) == 0);
    for (const QByteArray &left : files.first(3))
        QVERIFY(::close(::open(folder + left, O_WRONLY | O_CREAT, 0644)) == 0);
    for (int run = 0; run < 2; ++run) {
        const pid_t program = startProgram(folder);
        QTRY_VERIFY_WITH_TIMEOUT(locked(folder + files[4]), 20000);
        QVERIFY(::kill(program, SIGKILL) == 0 && ::waitpid(program, nullptr, 0) == program);
    }
    QVERIFY(::access(folder + files[0], F_OK) != 0 && ::access(folder + files[1], F_OK) != 0);
    QVERIFY(!QFile::exists(u".ini"_qs)); // nothing beside the working folder
    for (const QByteArray &left : files.sliced(2))
        QVERIFY(::unlink(folder + left) == 0);
    QVERIFY(::rmdir(folder) == 0);
}

void tst_FrmInputScore::press(MainWindowHarness &app, const QString &token) {
    if (token.startsWith("click:")) {
        QTest::mouseClick(app.find<QWidget>(token.mid(6)), Qt::LeftButton);
    } else if (token.contains("row:")) {
        auto *recent = app.find<GridView>("grdRecent");
        const QModelIndex cell = recent->model()->index(token.section(u':', 1).toInt(), 1);
        QTest::mouseClick(recent->viewport(), Qt::LeftButton,
                          token.startsWith("Shift") ? Qt::ShiftModifier : Qt::NoModifier,
                          recent->visualRect(cell).center());
    } else if (token.startsWith("ime:")) {
        QInputMethodEvent commit;
        commit.setCommitString(token.mid(4));
        QCoreApplication::sendEvent(keyTarget(), &commit);
    } else if (token.startsWith("paste:")) {
        QGuiApplication::clipboard()->setText(token.mid(6));
        QTest::keyClick(keyTarget(), Qt::Key_V, Qt::ControlModifier);
    } else if (token.startsWith("fail")) {
        // fail:CALL:ERROR fails every such call of the window's thread from now on; faildraft:
        // those of the thread that keeps the card's draft.
        const QStringList parts = token.split(u':');
        mdlMain::FileSystem->setFaultHook([failing = FileSystemObject::Call(parts[1].toInt()),
                                           error = parts[2].toInt(),
                                           draft = parts[0] == "faildraft"](auto call) {
            return call != failing || draft == (QThread::currentThread() == qApp->thread()) ? 0
                                                                                            : error;
        });
    } else if (token == "slowdraft") { // every sync takes 40 ms, as on an SD card
        mdlMain::FileSystem->setFaultHook([&app](FileSystemObject::Call call) {
            if (call == FileSystemObject::Call::Sync) {
                app.windowSyncs += QThread::currentThread() == qApp->thread();
                QThread::msleep(40);
            }
            return 0;
        });
    } else if (token.startsWith("burst:")) {
        // Queued to the window, each key goes to whatever has the focus when it is handled.
        static const QHash<QChar, QKeyCombination> named{
            {u'>', Qt::Key_Return}, {u'<', Qt::SHIFT | Qt::Key_Return}, {u'-', Qt::Key_Backspace}};
        for (const QChar c : token.mid(6)) {
            const QKeyCombination key = named.value(c, Qt::Key(c.unicode()));
            for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
                QCoreApplication::postEvent(app.window->windowHandle(),
                                            new QKeyEvent(type, key.key(), key.keyboardModifiers(),
                                                          c.isDigit() ? c : QString()));
        }
    } else if (token.startsWith("expect:")) {
        QCOMPARE(token.section(u':', 1),
                 token.section(u':', 1).section(u'=', 0, 0) + u'=' +
                     observed(app, token.section(u':', 1).section(u'=', 0, 0)));
    } else if (token == "restart" || token == "crash" || token.startsWith("put:")) {
        // A crash ends the window without the shutdown: nothing is written on the way out.
        if (token == "restart")
            app.close();
        delete app.window;
        // put:NAME:TEXT ("_" for a blank), a file found by the start after a crash: put there
        // while no window runs, so that none of its writes still under way can overtake it.
        if (token.startsWith("put:"))
            app.writeFile(token.section(u':', 1, 1),
                          token.section(u':', 2).replace(u'_', u' ').toLatin1());
        app.start();
    } else if (token.startsWith("draft:")) { // draft:MODE:TEXT, the fields filled up to 21
        const QByteArray text = token.section(u':', 2).toLatin1();
        app.writeFile("Recent_" + token.section(u':', 1, 1) + ".draft.csv",
                      text + QByteArray(qMax(0, 21 - int(text.count(','))), ','));
    } else if (token.startsWith("write:")) { // another program replaces the history
        app.writeFile("Recent_A.csv", history(token.mid(6).toInt()));
    } else if (token.startsWith("folder:")) {
        QFile::remove(app.path(token.mid(7)));
        QVERIFY(QDir(app.path({})).mkdir(token.mid(7)));
    } else if (token == "wait") { // until a save's wait for the next second ends
        QTRY_VERIFY(app.find<QAction>("mnuFile_Save")->isEnabled());
    } else if (token == "answer:Cancel") {
        app.answer = QMessageBox::Cancel;
    } else if (token == "Alt") {
        // A lone Alt, pressed and released, puts the menu bar into keyboard mode.
        QTest::keyClick(keyTarget(), Qt::Key_Alt, Qt::AltModifier);
    } else if (token == "AltTab") {
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        app.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app.window));
    } else if (token == "Enter2") {
        for (QEvent::Type type :
             {QEvent::KeyPress, QEvent::KeyRelease, QEvent::KeyPress, QEvent::KeyRelease})
            QCoreApplication::postEvent(keyTarget(), new QKeyEvent(type, Qt::Key_Return, {}));
    } else if (token.startsWith("Hold:")) {
        // Auto-repeat: presses keep coming, each to whatever has the focus by then.
        const QString text = token.mid(5);
        const int key = Qt::Key_0 + text.toInt();
        for (int i = 0; i < 30; ++i) {
            QKeyEvent event(QEvent::KeyPress, key, {}, text, i > 0);
            QApplication::sendEvent(keyTarget(), &event);
            QCoreApplication::processEvents();
        }
        QKeyEvent release(QEvent::KeyRelease, key, {}, text);
        QApplication::sendEvent(keyTarget(), &release);
    } else if (const QKeySequence key = QKeySequence::fromString(token);
               token.size() > 1 && key.count() == 1 && key[0].key() != Qt::Key_unknown) {
        QTest::keyClick(keyTarget(), key[0].key(), key[0].keyboardModifiers());
    } else {
        QTest::keyClicks(keyTarget(), token);
    }
}

QString tst_FrmInputScore::observed(MainWindowHarness &app, const QString &what) {
    if (what == "focus") {
        const QWidget *focus = QApplication::focusWidget();
        if (!focus)
            return QStringLiteral("none");
        return focus->objectName().isEmpty() ? focus->metaObject()->className()
                                             : focus->objectName();
    }
    if (what == "total")
        return app.find<QLabel>("lblTotal_ThisTime")->text() + u' ' +
               app.find<QLabel>("lblAVG_ThisTime")->text();
    if (what == "caret")
        return QString::number(
            qobject_cast<QLineEdit *>(QApplication::focusWidget())->cursorPosition());
    if (what == "recent") {
        const QAbstractItemModel &recent = *app.find<GridView>("grdRecent")->model();
        const auto text = [&](int col) { return recent.index(0, col).data().toString(); };
        return text(1) + u'|' + text(22) + u'|' + text(23);
    }
    if (what == "tops") {
        // The tops of the card, the two grids and the buttons ("-" for a hidden panel), and the
        // height of the window's client area.
        QStringList tops;
        for (const char *name : {"fraThisTime", "grdRecent", "grdAVG", "fraButtons"}) {
            const QWidget *panel = app.find<QWidget>(name);
            tops << (panel->isVisible() ? QString::number(panel->y()) : QStringLiteral("-"));
        }
        return tops.join(u',') + u',' + QString::number(app.window->centralWidget()->height());
    }
    // Whether each of a group of controls and menu items is enabled.
    static const QMap<QString, QStringList> groups{
        {"graph", {"cmd(5)", "mnuView_Graph"}},
        {"delete", {"mnuEdit_Clear_RecentData"}},
        {"undo", {"mnuEdit_UndoDelete"}},
        {"entry",
         {"cmd(0)", "cmd(4)", "cmd(6)", "cmd(12)", "cmdNum(5)", "cmdBS", "mnuFile_Save",
          "mnuEdit_Clear_ThisTime"}}};
    if (groups.contains(what)) {
        QString enabled;
        for (const QString &name : groups[what])
            enabled += QString::number(app.find<QObject>(name)->property("enabled").toBool());
        return enabled;
    }
    if (what == "settings")
        return QString::fromLatin1(app.readFile("Dartrail.ini").simplified());
    if (what == "error")
        return QString(app.boxes.last()).remove(app.path({}) + u'/');
    if (what == "history")
        return app.playedFile() == app.initialHistory ? "unchanged" : "changed";
    if (what == "drill") { // the row heading, the marked headings, the fields that take entries
        QStringList marked;
        int enabled = 0;
        for (int i = 0; i < 21; ++i) {
            if (app.find<QLabel>(QStringLiteral("lbl(%1)").arg(i))->autoFillBackground())
                marked << QString::number(i);
            enabled += app.txt(i)->isEnabled();
        }
        return app.find<QLabel>("lbl(22)")->text().replace(u' ', u'_') + u'/' + marked.join(u',') +
               u'/' + QString::number(enabled);
    }
    if (what == "files") // beside the lock and the card's draft, which the program keeps
        return QString::number(QDir(app.path({}))
                                   .entryList(QDir::Files | QDir::Hidden)
                                   .filter(QRegularExpression("^(?!Dartrail.lock|.*draft.csv$)"))
                                   .size());
    if (what == "boxes")
        return QString::number(app.boxes.size());
    if (what == "errors")
        return app.boxes.filter(QRegularExpression("^ERROR "))
            .join(u'|')
            .remove(app.path({}) + u'/');
    if (what == "windowsyncs")
        return QString::number(app.windowSyncs);
    if (what == "red" || what == "card") {
        QStringList parts;
        for (int i = 0; i < 21; ++i) {
            if (what == "card")
                parts << app.txt(i)->text();
            else if (app.find<QLabel>(QStringLiteral("lbl(%1)").arg(i))
                         ->palette()
                         .color(QPalette::WindowText)
                         .hue() == 0)
                parts << QString::number(i);
        }
        while (!parts.isEmpty() && parts.last().isEmpty())
            parts.removeLast();
        return parts.join(u',');
    }
    if (what == "selected") {
        QStringList rows;
        for (int row : app.find<GridView>("grdRecent")->selectedRows())
            rows << QString::number(row);
        return rows.join(u',');
    }
    // The lines of the history in play, each without its stamp and its trailing empty values; or
    // those of a drill file, each stamp checked and read as STAMP.
    if (const bool saved = what == "saved"; saved || what.startsWith("Drill_")) {
        static const QRegularExpression stampAndEmpties(QStringLiteral("^.{19},|,*$")),
            stamp(QStringLiteral("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d(?=,)"));
        return QString::fromLatin1(saved ? app.playedFile() : app.readFile(what))
            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)
            .replaceInStrings(saved ? stampAndEmpties : stamp, saved ? "" : "STAMP")
            .join(u';');
    }
    return QStringLiteral("<unknown>");
}

QTEST_MAIN(tst_FrmInputScore)
#include "tst_frminputscore.moc"
