#include "mainwindowharness.h"

#include "platform/gridview.h"

#include <QFrame>

// Start-up from the settings file, shutdown, and files that cannot be written.
class tst_MainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsFromSettings_data();
    void startsFromSettings();
    void unwritableSettingsFolderIsSurvived();
    void injectedWriteFailures_data();
    void injectedWriteFailures();
};

void tst_MainWindow::startsFromSettings_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QByteArray>("ini");
    // Check marks of THIS TIME, RECENT, AVG/HIT, A MODE, B MODE; then GRID and MODE written back.
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
    row("9", "[WINDOW]\nGRID=9\n", "10010 900 A");
    row("lower-case a", "[GAME]\nMODE=a\n", "11101 123 B");
    row("empty mode", "[GAME]\nMODE=\n", "11101 123 B");
    row("names keep their case", "[game]\nmode=A\n[window]\ngrid=100\n", "10010 100 A",
        "[game]\nmode=A\n[window]\ngrid=100\n");
    row("first of two keys counts", "[WINDOW]\nGRID=100\nGRID=123\n", "10010 100 A",
        "[WINDOW]\nGRID=100\n[GAME]\nMODE=A\n");
    row("comments and other keys stay",
        "; mine\r\n[OTHER]\r\nkey=value\r\n\r\n[GAME]\r\n; why\r\nMODE=A\r\n# last\r\n\r\n",
        "11110 123 A",
        "; mine\r\n[OTHER]\r\nkey=value\r\n[GAME]\r\n; why\r\nMODE=A\r\n[WINDOW]\r\nGRID=123\r\n"
        "# last\r\n\r\n");
    row("binary junk", QByteArray("\x00\xff[\x01\n=\x80\x81", 9), "11110 123 A");
    // A renamed copy keeps settings of its own and leaves those of the old name alone.
    row("renamed Dartrail.old", {}, "11110 123 A", {}, "Dartrail.old");
    row("renamed Dart.v2", "[WINDOW]\nGRID=012\n", "01110 012 A", {}, "Dart.v2");
}

void tst_MainWindow::startsFromSettings() {
    QFETCH(QString, program);
    QFETCH(QByteArray, ini);
    QFETCH(QString, expected);
    QFETCH(QByteArray, written);
    const QStringList parts = expected.split(u' ');
    const QString checks = parts[0];
    const QString settingsFile = program + QStringLiteral(".ini");
    const QByteArray oldNamesFile = "[WINDOW]\nGRID=100\n[GAME]\nMODE=B\n";

    MainWindowHarness app(program);
    if (!ini.isNull())
        app.writeFile(settingsFile, ini);
    if (program != "Dartrail")
        app.writeFile(QStringLiteral("Dartrail.ini"), oldNamesFile);
    app.start();

    const QStringList items{"mnuView_ThisTime", "mnuView_Recent", "mnuView_AVG", "mnuFile_Mode_A",
                            "mnuFile_Mode_B"};
    QString actual;
    for (const QString &name : items)
        actual += app.item(name)->isChecked() ? u'1' : u'0';
    QCOMPARE(actual, checks);
    QCOMPARE(app.find<QFrame>("fraThisTime")->isVisible(), checks[0] == u'1');
    QCOMPARE(app.find<GridView>("grdRecent")->isVisible(), checks[1] == u'1');
    QCOMPARE(app.find<GridView>("grdAVG")->isVisible(), checks[2] == u'1');
    // The keypad and the field length of the mode.
    QCOMPARE(app.find<QFrame>("fraButtonsA")->isVisible(), checks[3] == u'1');
    QCOMPARE(app.find<QFrame>("fraButtonsB")->isVisible(), checks[4] == u'1');
    QCOMPARE(app.txt(3)->maxLength(), checks[3] == u'1' ? 2 : 1);

    app.close();
    const QByteArray first = app.readFile(settingsFile);
    QVERIFY2(first.toUpper().contains("GRID=" + parts[1].toLatin1()), first);
    QVERIFY2(first.toUpper().contains("MODE=" + parts[2].toLatin1()), first);
    if (!written.isNull())
        QCOMPARE(first, written);
    if (program != "Dartrail")
        QCOMPARE(app.readFile("Dartrail.ini"), oldNamesFile);

    // Run after run, each closing the graph window too: its key is one line more, and then
    // nothing changes.
    QByteArray again;
    for (int run = 0; run < 3; ++run) {
        app.start();
        mdlMain::WriteSetting(u"WINDOW"_qs, u"GRAPH"_qs, u"1111111111111111111111"_qs);
        app.close();
        if (run == 0)
            again = app.readFile(settingsFile);
        QCOMPARE(app.readFile(settingsFile), again);
    }
    QCOMPARE(again.count('\n'), first.count('\n') + 1);
}

void tst_MainWindow::unwritableSettingsFolderIsSurvived() {
    MainWindowHarness app;
    // A folder in place of the settings file can be neither read nor replaced.
    QVERIFY(QDir(app.path("")).mkdir("Dartrail.ini"));
    app.start();
    QVERIFY(app.item("mnuFile_Mode_A")->isChecked());
    app.close();
    QVERIFY(QFileInfo(app.path("Dartrail.ini")).isDir());
}

void tst_MainWindow::injectedWriteFailures_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<FileSystemObject::Call>("failing");
    QTest::addColumn<int>("error");
    using Call = FileSystemObject::Call;
    for (const QString command : {"save", "delete", "settings"}) {
        QTest::addRow("%s: disk full", qPrintable(command)) << command << Call::Write << ENOSPC;
        QTest::addRow("%s: read-only", qPrintable(command)) << command << Call::Open << EACCES;
        QTest::addRow("%s: I/O error", qPrintable(command)) << command << Call::Sync << EIO;
    }
    // No fault injected: a real folder takes the file's place.
    QTest::newRow("save: folder of that name") << u"save"_qs << Call::Open << EISDIR;
}

void tst_MainWindow::injectedWriteFailures() {
    QFETCH(QString, command);
    QFETCH(FileSystemObject::Call, failing);
    QFETCH(int, error);
    const QByteArray history = "2020/01/01 00:00:01,1,,,,,,,,,,,,,,,,,,,,\r\n"
                               "2020/01/01 00:00:02,2,,,,,,,,,,,,,,,,,,,,\r\n";
    const QByteArray settings = "[WINDOW]\r\nGRID=123\r\n[GAME]\r\nMODE=A\r\n";
    MainWindowHarness app;
    app.writeFile("Recent_A.csv", history);
    app.writeFile("Dartrail.ini", settings);
    app.start();
    QTest::keyClicks(app.txt(0), "7");
    app.clickRecentRow(0);
    const bool folder = error == EISDIR;
    if (folder)
        QVERIFY(QFile::remove(app.path("Recent_A.csv")) &&
                QDir(app.path("")).mkdir("Recent_A.csv"));
    // Once for a delete, so that the reload after it reads the file; always otherwise, so that
    // a reload after a failed save would fail too.
    bool failed = false;
    mdlMain::FileSystem->setFaultHook([&](auto call) {
        const bool fail = !folder && call == failing && (command != "delete" || !failed);
        failed = failed || fail;
        return fail ? error : 0;
    });

    if (command == "save") {
        app.click(app.cmd(4));
        // Nothing stored, nothing lost: the card, its focus and the grids stay as they were.
        QCOMPARE(app.txt(0)->text(), QStringLiteral("7"));
        QCOMPARE(app.focus(), app.cmd(4));
    } else if (command == "delete") {
        app.item("mnuEdit_Clear_RecentData")->trigger();
    } else {
        app.item("mnuView_Recent")->trigger();
        app.close();
        QVERIFY(!app.window);
    }
    QCOMPARE(app.readFile("Recent_A.csv"), folder ? QByteArray() : history);
    QCOMPARE(app.readFile("Dartrail.ini"), settings);
    QCOMPARE(QDir(app.path("")).entryList(QDir::Files | QDir::Hidden).size(), 2 - folder);
    if (command == "settings") {
        QCOMPARE(app.boxes.size(), 0);
        return;
    }
    QCOMPARE(app.find<GridView>("grdRecent")->grid().text(1, 1), QStringLiteral("1"));
    // One box after the confirmation, naming the file and the system's reason.
    QCOMPARE(app.boxes.size(), 1 + (command == "save"));
    QCOMPARE(app.boxes.last().icon, QMessageBox::Critical);
    QCOMPARE(app.boxes.last().title, QStringLiteral("ERROR"));
    QCOMPARE(app.boxes.last().text,
             app.path("Recent_A.csv") + ": " + QString::fromLocal8Bit(strerror(error)));
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
