#include "app/fonts.h"
#include "ui/about/documentopener.h"
#include "ui/about/frmabout.h"
#include "ui/about/helppage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

class tst_About : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void window();
    void pointerAndKeys_data();
    void pointerAndKeys();
    void helpPage_data();
    void helpPage();

private:
    QList<QUrl> m_opened;
};

void tst_About::init() {
    Fonts::installSubstitutes();
    m_opened.clear();
    DocumentOpener::setOpener([this](const QUrl &url) { m_opened.append(url); });
}

void tst_About::window() {
    frmAbout about;
    QCOMPARE(about.findChild<QLabel *>("lbl(0)")->text(), "Dartrail  Version 1.1.0");
    QCOMPARE(about.findChild<QLabel *>("picIcon")->pixmap().size(), QSize(32, 32));
    // Every text is shown whole: sized to itself and inside the fixed window.
    for (const char *name : {"lbl(0)", "lbl(1)", "lblURL"}) {
        const auto *label = about.findChild<QLabel *>(name);
        QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()), name);
        QVERIFY2(about.rect().contains(label->geometry()), name);
    }
}

void tst_About::pointerAndKeys_data() {
    QTest::addColumn<QStringList>("steps"); // pointer moves over a control, a click or a key
    QTest::addColumn<QColor>("linkColour");
    QTest::addColumn<bool>("closed");
    const QColor blue(0, 0, 255), red(255, 0, 0);
    QTest::newRow("blue at opening") << QStringList{} << blue << false;
    QTest::newRow("red over the link") << QStringList{"lblURL"} << red << false;
    QTest::newRow("blue over the background")
        << QStringList{"lblURL", "background"} << blue << false;
    QTest::newRow("button keeps it red") << QStringList{"lblURL", "cmdOK"} << red << false;
    QTest::newRow("click opens, turns blue") << QStringList{"lblURL", "click"} << blue << false;
    QTest::newRow("Return") << QStringList{"Return"} << blue << true;
    QTest::newRow("keypad Enter") << QStringList{"Enter"} << blue << true;
    QTest::newRow("Esc") << QStringList{"Esc"} << blue << true;
}

void tst_About::pointerAndKeys() {
    QFETCH(QStringList, steps);
    QFETCH(QColor, linkColour);
    QFETCH(bool, closed);
    const QMap<QString, Qt::Key> keys{
        {"Return", Qt::Key_Return}, {"Enter", Qt::Key_Enter}, {"Esc", Qt::Key_Escape}};
    frmAbout about;
    about.open();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QCOMPARE(about.focusWidget(), about.findChild<QWidget *>("cmdOK"));
    auto *link = about.findChild<QLabel *>("lblURL");
    for (const QString &step : steps) {
        if (keys.contains(step))
            QTest::keyClick(about.focusWidget(), keys[step]);
        else if (step == "click")
            QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
        else if (step == "background")
            QTest::mouseMove(&about, QPoint(330, 80)); // right of the link, above the button
        else
            QTest::mouseMove(about.findChild<QWidget *>(step), QPoint(4, 4));
    }
    QCOMPARE(link->palette().color(QPalette::WindowText), linkColour);
    const QList<QUrl> clicked{QUrl(QStringLiteral("https://dartrail.example.org"))};
    QCOMPARE(m_opened, steps.contains("click") ? clicked : QList<QUrl>{});
    QCOMPARE(about.isVisible(), !closed);
}

void tst_About::helpPage_data() {
    QTest::addColumn<bool>("pageInWorkingDirectory");
    QTest::newRow("no page") << false;
    QTest::newRow("page in the working directory") << true;
}

void tst_About::helpPage() {
    QFETCH(bool, pageInWorkingDirectory);
    QTemporaryDir working;
    const QString page = working.filePath(QStringLiteral("ReadMe_and_Help.html"));
    if (pageInWorkingDirectory)
        QVERIFY(QFile(page).open(QIODevice::WriteOnly));
    const QString started = QDir::currentPath();
    QVERIFY(QDir::setCurrent(working.path()));
    const QWidgetList before = QApplication::topLevelWidgets();
    openHelpPage(nullptr);
    QDir::setCurrent(started);

    // Nothing is ever shown or waited for, whether the page is there or not.
    QCOMPARE(QApplication::topLevelWidgets(), before);
    const QList<QUrl> expected{QUrl::fromLocalFile(page)};
    QCOMPARE(m_opened, pageInWorkingDirectory ? expected : QList<QUrl>{});
}

QTEST_MAIN(tst_About)
#include "tst_about.moc"
