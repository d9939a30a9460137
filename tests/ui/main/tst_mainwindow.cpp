#include "mainwindowharness.h"

#include "platform/gridview.h"

#include <QFrame>

// Start-up from the settings file and shutdown.
class tst_MainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsFromSettings_data();
    void startsFromSettings();
    void unwritableSettingsFolderIsSurvived();
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

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
