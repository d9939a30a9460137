#include "app/fonts.h"
#include "ui/about/documentopener.h"
#include "ui/about/frmabout.h"
#include "ui/about/helppage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

class tst_About : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void window();
    void link_data();
    void link();
    void closingKeys_data();
    void closingKeys();
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

void tst_About::cleanup() {
    DocumentOpener::setOpener({});
}

void tst_About::window() {
    frmAbout about;
    QCOMPARE(about.findChild<QLabel *>("lbl(0)")->text(),
             QStringLiteral("Dartrail  Version 1.1.0"));
    QVERIFY(!QIcon(QStringLiteral(":/icons/dartrail.png")).isNull());
    QCOMPARE(about.findChild<QLabel *>("picIcon")->pixmap().size(), QSize(32, 32));
    // Every text is shown whole: sized to itself and inside the fixed window.
    for (const char *name : {"lbl(0)", "lbl(1)", "lblURL"}) {
        const auto *label = about.findChild<QLabel *>(name);
        QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()), name);
        QVERIFY2(about.rect().contains(label->geometry()), name);
    }
}

void tst_About::link_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QColor>("expected");
    const QColor blue(0, 0, 255), red(255, 0, 0);
    QTest::newRow("blue at opening") << QStringList{} << blue;
    QTest::newRow("red over the link") << QStringList{"lblURL"} << red;
    QTest::newRow("blue over the background") << QStringList{"lblURL", "background"} << blue;
    QTest::newRow("title keeps it red") << QStringList{"lblURL", "lbl(0)"} << red;
    QTest::newRow("button keeps it red") << QStringList{"lblURL", "cmdOK"} << red;
    QTest::newRow("red again") << QStringList{"lblURL", "background", "lblURL"} << red;
    QTest::newRow("click turns it blue") << QStringList{"lblURL", "click"} << blue;
}

void tst_About::link() {
    QFETCH(QStringList, steps);
    QFETCH(QColor, expected);
    frmAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto *link = about.findChild<QLabel *>("lblURL");
    for (const QString &step : steps) {
        if (step == "click")
            QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
        else if (step == "background")
            QTest::mouseMove(&about, QPoint(330, 80)); // right of the link, above the button
        else
            QTest::mouseMove(about.findChild<QWidget *>(step), QPoint(4, 4));
    }
    QCOMPARE(link->palette().color(QPalette::WindowText), expected);
    const QList<QUrl> clicked{QUrl(QStringLiteral("https://dartrail.example.org"))};
    QCOMPARE(m_opened, steps.contains("click") ? clicked : QList<QUrl>{});
    QVERIFY(about.isVisible());
}

void tst_About::closingKeys_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::newRow("Return") << Qt::Key_Return;
    QTest::newRow("keypad Enter") << Qt::Key_Enter;
    QTest::newRow("Esc") << Qt::Key_Escape;
}

void tst_About::closingKeys() {
    QFETCH(Qt::Key, key);
    frmAbout about;
    about.open();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QCOMPARE(about.focusWidget(), about.findChild<QWidget *>("cmdOK"));
    QTest::keyClick(about.focusWidget(), key);
    QVERIFY(!about.isVisible());
}

void tst_About::helpPage_data() {
    QTest::addColumn<bool>("pageInWorkingDirectory");
    QTest::newRow("page only in another folder") << false;
    QTest::newRow("page in the working directory") << true;
}

void tst_About::helpPage() {
    QFETCH(bool, pageInWorkingDirectory);
    QTemporaryDir working, other;
    QFile page(QDir(pageInWorkingDirectory ? working.path() : other.path())
                   .filePath(QStringLiteral("ReadMe_and_Help.html")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();
    const QString started = QDir::currentPath();
    QVERIFY(QDir::setCurrent(working.path()));
    const QWidgetList before = QApplication::topLevelWidgets();
    openHelpPage(nullptr);
    QDir::setCurrent(started);

    // Nothing is ever shown or waited for, whether the page is there or not.
    QCOMPARE(QApplication::topLevelWidgets(), before);
    const QList<QUrl> expected{QUrl::fromLocalFile(page.fileName())};
    QCOMPARE(m_opened, pageInWorkingDirectory ? expected : QList<QUrl>{});
}

QTEST_MAIN(tst_About)
#include "tst_about.moc"
