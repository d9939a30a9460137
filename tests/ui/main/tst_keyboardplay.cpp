#include "mainwindowharness.h"

#include "platform/gridview.h"

#include <QMenuBar>

// A player at the keyboard only: every key goes to whatever has the focus (or the open menu),
// from start-up to the saved line, and the focus-driven states are read at the end.
class tst_KeyboardPlay : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scenario_data();
    void scenario();

private:
    void press(MainWindowHarness &app, const QString &token);
    QString observed(MainWindowHarness &app, const QString &what);
    QString m_trail; // the focused control after every key
};

namespace {

// Games saved on 1 to `count` January 2020, each game's first value its day.
QByteArray history(int count) {
    QByteArray lines;
    for (int day = 1; day <= count; ++day)
        lines += QByteArray("2020/01/0") + QByteArray::number(day) + " 00:00:00," +
                 QByteArray::number(day) + QByteArray(20, ',') + "\r\n";
    return lines;
}

QString repeated(const QString &keys, int times) {
    return QStringList(times, keys).join(u' ');
}

QWidget *keyTarget() {
    QWidget *popup = QApplication::activePopupWidget();
    return popup ? popup : QApplication::focusWidget();
}

QString nameOf(const QWidget *widget) {
    if (!widget)
        return QStringLiteral("none");
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

// "S+C+End" and the like: modifiers, then a key name that Qt knows.
std::pair<Qt::Key, Qt::KeyboardModifiers> parseKey(QString token) {
    Qt::KeyboardModifiers modifiers;
    const std::pair<QString, Qt::KeyboardModifier> prefixes[]{
        {"S+", Qt::ShiftModifier}, {"C+", Qt::ControlModifier}, {"A+", Qt::AltModifier}};
    for (bool found = true; found;) {
        found = false;
        for (const auto &[prefix, modifier] : prefixes) {
            if (token.startsWith(prefix)) {
                modifiers |= modifier;
                token.remove(0, 2);
                found = true;
            }
        }
    }
    const QKeySequence sequence = QKeySequence::fromString(token);
    return {sequence.isEmpty() ? Qt::Key_unknown : sequence[0].key(), modifiers};
}

} // namespace

void tst_KeyboardPlay::scenario_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QByteArray>("games");
    QTest::addColumn<QString>("keys");
    // "what=value" pairs: focus, red (headings), graph (button, item), delete, card, saved
    // (first values or whole lines of the history), selected (rows), boxes, trail.
    QTest::addColumn<QStringList>("expected");

    const QByteArray modeA = "[GAME]\nMODE=A\n";
    const QByteArray modeB = "[GAME]\nMODE=B\n";
    const QString toGrid = repeated("Enter", 21);
    const QString deleteByMenu = "A+E Right Down Enter";

    QTest::newRow("start-up, all panels")
        << modeA << QByteArray() << ""
        << QStringList{"focus=txt(0)", "red=0", "graph=00", "delete=0"};
    QTest::newRow("start-up, card hidden")
        << QByteArray("[WINDOW]\nGRID=023\n") << history(2) << ""
        << QStringList{"focus=grdRecent", "red=", "graph=11", "delete=1", "selected=0"};

    QTest::newRow("mode A card typed and saved")
        << modeA << QByteArray()
        << "5 Enter S+Enter 7 Enter 12 Enter S+Enter 3 Enter " + repeated("1 Enter", 19) + " C+S"
        << QStringList{"saved=57,12," + repeated("1", 19).replace(u' ', u','), "boxes=1",
                       "focus=txt(0)", "card="};
    QTest::newRow("mode A, away and back mid-card")
        << modeA << QByteArray() << "5 Enter 3 AltTab 4"
        << QStringList{"focus=txt(1)", "red=1", "graph=00", "card=5,34"};
    QTest::newRow("mode A, lone Alt keeps the field marked")
        << modeA << QByteArray() << "Enter 3 Alt" << QStringList{"red=1", "card=,3"};

    QTest::newRow("mode B card held down, saved by Enter on SAVE DATA")
        << modeB << QByteArray() << "Hold:2 Enter"
        << QStringList{"saved=" + repeated("2", 21).replace(u' ', u','), "boxes=1", "focus=txt(0)"};
    QTest::newRow("mode B, Enter twice quickly on SAVE DATA")
        << modeB << QByteArray() << repeated("0 1 2 3", 5) + " 1 Enter2"
        << QStringList{"saved=0,1,2,3,0,1,2,3,0,1,2,3,0,1,2,3,0,1,2,3,1", "boxes=1"};

    QStringList forward{"txt(0)"};
    for (int i = 1; i <= 20; ++i)
        forward << QStringLiteral("txt(%1)").arg(i);
    forward << "grdRecent"
            << "grdAVG";
    for (int digit : {7, 8, 9, 4, 5, 6, 1, 2, 3, 0})
        forward << QStringLiteral("cmdNum(%1)").arg(digit);
    forward << "cmdDEL"
            << "cmdBS";
    for (int index : {10, 8, 6, 11, 9, 7, 12, 4})
        forward << QStringLiteral("cmd(%1)").arg(index);
    forward << "txt(0)";
    QStringList backward(forward.rbegin(), forward.rend());
    QTest::newRow("tab order forwards")
        << modeA << history(1) << repeated("Tab", int(forward.size()) - 1)
        << QStringList{"trail=" + forward.mid(1).join(u' ')};
    QTest::newRow("tab order backwards")
        << modeA << history(1) << repeated("S+Tab", int(backward.size()) - 1)
        << QStringList{"trail=" + backward.mid(1).join(u' ')};

    QTest::newRow("Alt+E deletes the selected rows")
        << modeA << history(5) << toGrid + " S+Down S+Down " + deleteByMenu
        << QStringList{"saved=1;2", "focus=grdRecent", "delete=1"};
    QTest::newRow("Alt, then E deletes the selected row")
        << modeA << history(5) << toGrid + " Down Alt E Right Down Enter"
        << QStringList{"saved=1;2;3;5", "delete=1"};
    QTest::newRow("after a shrinking reload the current row is selected")
        << modeA << history(7) << toGrid + " C+End S+Up " + deleteByMenu
        << QStringList{"saved=3;4;5;6;7", "selected=4"};
    QTest::newRow("the next delete takes that row")
        << modeA << history(7) << toGrid + " C+End S+Up " + deleteByMenu + ' ' + deleteByMenu
        << QStringList{"saved=4;5;6;7"};
    QTest::newRow("Ctrl+Shift+End extends to the last row")
        << modeA << history(7) << toGrid + " Down C+S+End" << QStringList{"selected=1-6"};
    QTest::newRow("Shift+PgDn and Ctrl+Shift+Home extend from the anchor")
        << modeA << history(7) << toGrid + " Down Down S+PgDown S+C+Home"
        << QStringList{"selected=0-2"};
    QTest::newRow("away and back in the grid")
        << modeA << history(3) << toGrid + " AltTab" << QStringList{"graph=11", "delete=1"};
}

void tst_KeyboardPlay::scenario() {
    QFETCH(QByteArray, ini);
    QFETCH(QByteArray, games);
    QFETCH(QString, keys);
    QFETCH(QStringList, expected);

    MainWindowHarness app;
    app.writeFile("Dartrail.ini", ini);
    if (!games.isEmpty())
        app.writeFile(ini.contains("MODE=B") ? "Recent_B.csv" : "Recent_A.csv", games);
    app.start();
    m_trail.clear();
    for (const QString &token : keys.split(u' ', Qt::SkipEmptyParts)) {
        press(app, token);
        QCoreApplication::processEvents(); // the focus moves that Enter posts
        m_trail += (m_trail.isEmpty() ? "" : " ") + nameOf(QApplication::focusWidget());
    }
    for (const QString &pair : expected) {
        const QString what = pair.section(u'=', 0, 0);
        QCOMPARE(what + u'=' + observed(app, what), pair);
    }
}

void tst_KeyboardPlay::press(MainWindowHarness &app, const QString &token) {
    if (token == "Alt") {
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
        for (int i = 0; i < 2; ++i) {
            for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
                QCoreApplication::postEvent(keyTarget(), new QKeyEvent(type, Qt::Key_Return, {}));
        }
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
    } else if (const auto [key, modifiers] = parseKey(token);
               key != Qt::Key_unknown && token.size() > 1) {
        QTest::keyClick(keyTarget(), key, modifiers);
    } else {
        QTest::keyClicks(keyTarget(), token);
    }
}

QString tst_KeyboardPlay::observed(MainWindowHarness &app, const QString &what) {
    if (what == "focus")
        return nameOf(QApplication::focusWidget());
    if (what == "trail")
        return m_trail;
    if (what == "boxes")
        return QString::number(app.boxes.size());
    if (what == "graph")
        return QString::number(app.cmd(5)->isEnabled()) +
               QString::number(app.item("mnuView_Graph")->isEnabled());
    if (what == "delete")
        return QString::number(app.item("mnuEdit_Clear_RecentData")->isEnabled());
    if (what == "red" || what == "card") {
        QStringList parts;
        for (int i = 0; i < 21; ++i) {
            if (what == "card")
                parts << app.txt(i)->text();
            else if (app.lbl(i)->styleSheet().contains("255, 0, 0"))
                parts << QString::number(i);
        }
        while (!parts.isEmpty() && parts.last().isEmpty())
            parts.removeLast();
        return parts.join(u',');
    }
    if (what == "selected") {
        const QList<int> rows = app.find<GridView>("grdRecent")->selectedRows();
        if (rows.isEmpty())
            return QString();
        return rows.size() == 1 ? QString::number(rows[0])
                                : QStringLiteral("%1-%2").arg(rows.first()).arg(rows.last());
    }
    if (what == "saved") {
        // Each line without its stamp; a line of one value and empties by that value alone.
        QStringList lines;
        const QByteArray file =
            app.readFile(mdlMain::PlayMode == mdlMain::ModeB ? "Recent_B.csv" : "Recent_A.csv");
        for (const QByteArray &line : file.split('\n')) {
            if (line.isEmpty())
                continue;
            QString values = QString::fromLatin1(line).section(u',', 1).chopped(1);
            while (values.endsWith(u','))
                values.chop(1);
            lines << values;
        }
        return lines.join(u';');
    }
    return QStringLiteral("<unknown>");
}

QTEST_MAIN(tst_KeyboardPlay)
#include "tst_keyboardplay.moc"
