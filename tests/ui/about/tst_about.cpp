#include "platform/messagebox.h"
#include "settings/apppaths.h"
#include "ui/about/documentopener.h"
#include "ui/about/frmabout.h"
#include "ui/about/helppage.h"
#include "ui/fonts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

class tst_About : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void textsPointerAndKeys();
    void helpPage_data();
    void helpPage();

private:
    // usr/bin holds the executable, usr/share/dartrail the package's page, data the data folder.
    QTemporaryDir m_root;
    const QString m_programPage = m_root.filePath(QStringLiteral("usr/bin/") + HelpPageFile);
    QList<QUrl> m_opened;
    bool m_openerWorks = true;
    int m_errorBoxes = 0;
};

void tst_About::initTestCase() {
    Fonts::installSubstitutes();
    for (const char *folder : {"usr/bin", "usr/share/dartrail", "data"})
        QVERIFY(QDir(m_root.path()).mkpath(folder));
    AppPaths::overrideForTests(m_root.filePath("data"), QStringLiteral("Dartrail"));
    AppPaths::overrideExecutableForTests(m_root.filePath("usr/bin/Dartrail"));
    QVERIFY(QFile(m_programPage).open(QIODevice::WriteOnly));
    DocumentOpener::setOpener([this](const QUrl &url) {
        m_opened.append(url);
        return m_openerWorks;
    });
    MessageBox::setResponder([this](QMessageBox::Icon icon, const QString &, const QString &title) {
        m_errorBoxes += icon == QMessageBox::Critical && title == "ERROR";
        return QMessageBox::Ok;
    });
}

void tst_About::textsPointerAndKeys() {
    frmAbout about;
    QCOMPARE(about.findChild<QLabel *>("lbl(0)")->text(), "Dartrail  Version 1.1.0");
    about.open();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    auto *link = about.findChild<QLabel *>("lblURL");
    auto *ok = about.findChild<QWidget *>("cmdOK");
    QCOMPARE(about.focusWidget(), ok);
    const auto colour = [link] {
        // Red and blue, or shades of them that read on the window.
        return link->palette().color(QPalette::WindowText).hue() == 0 ? u'r' : u'b';
    };
    // Over the link, the background right of it, the link, the OK button; then a click.
    QString colours(1, colour());
    for (QWidget *target : std::initializer_list<QWidget *>{link, &about, link, ok}) {
        QTest::mouseMove(target, target == &about ? QPoint(330, 80) : QPoint(4, 4));
        colours += colour();
    }
    QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
    QCOMPARE(colours + colour(), u"brbrrb"_qs);
    // The link opens the help page as HELP does.
    QCOMPARE(m_opened, QList{QUrl::fromLocalFile(m_programPage)});

    for (const char *key : {"Return", "Enter", "Esc"}) {
        about.open();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QTest::keyClick(about.focusWidget(), QKeySequence::fromString(key)[0].key());
        QVERIFY2(!about.isVisible(), key);
    }
}

void tst_About::helpPage_data() {
    QTest::addColumn<QString>("pages");  // where a page lies: program, shared, working, data
    QTest::addColumn<bool>("viewer");    // whether the desktop can open it
    QTest::addColumn<QString>("opened"); // the folder of the page handed over
    QTest::newRow("only in the data folder, not the program's") << "data" << true << "";
    QTest::newRow("beside the program wins") << "program shared working" << true << "program";
    QTest::newRow("the package's page before the working folder")
        << "shared working" << true << "shared";
    QTest::newRow("no viewer: the program's own window") << "working" << false << "working";
}

void tst_About::helpPage() {
    QFETCH(QString, pages);
    QFETCH(bool, viewer);
    QFETCH(QString, opened);
    QTemporaryDir working;
    const QMap<QString, QString> folders{
        {"program", "usr/bin"}, {"shared", "usr/share/dartrail"}, {"data", "data"}};
    const auto page = [&](const QString &where) {
        return where == "working" ? working.filePath(HelpPageFile)
                                  : m_root.filePath(folders[where] + '/' + HelpPageFile);
    };
    for (const char *where : {"program", "shared", "data"})
        QFile::remove(page(where));
    for (const QString &where : pages.split(u' ', Qt::SkipEmptyParts)) {
        QFile file(page(where));
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.write("<title>HELP</title><a href='#end'>IN</a> <a href='https://x.org/'>OUT"
                           "</a><p style='margin-top:3000px' id='end'>END</p>"));
    }
    m_opened.clear();
    m_openerWorks = viewer;
    m_errorBoxes = 0;
    const QString started = QDir::currentPath();
    QVERIFY(QDir::setCurrent(working.path()));
    openHelpPage(nullptr);
    QDir::setCurrent(started);

    QCOMPARE(m_opened, opened.isEmpty() ? QList<QUrl>{} : QList{QUrl::fromLocalFile(page(opened))});
    QCOMPARE(m_errorBoxes, int(opened.isEmpty())); // only a missing page is an error
    // Where the desktop has no viewer, the page is shown all the same.
    QWidget *help = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets())
        help = window->objectName() == "frmHelp" ? window : help;
    const std::unique_ptr<QWidget> own(help);
    QCOMPARE(own && own->isVisible(), !viewer && !opened.isEmpty());
    if (!own)
        return;
    QCOMPARE(own->windowTitle(), "HELP");
    // Tab to each link and follow it: the first within the page, the second to the desktop.
    QVERIFY(QTest::qWaitForWindowActive(own.get()));
    m_opened.clear();
    m_openerWorks = true;
    for (int link = 0; link < 2; ++link)
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Return})
            QTest::keyClick(QApplication::focusWidget(), key);
    QUrl withinPage = QUrl::fromLocalFile(page(opened));
    withinPage.setFragment("end");
    QCOMPARE(own->findChild<QTextBrowser *>("txtHelp")->source(), withinPage);
    QCOMPARE(m_opened, QList{QUrl("https://x.org/")});
}

QTEST_MAIN(tst_About)
#include "tst_about.moc"
