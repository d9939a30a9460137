#include "app/apppaths.h"
#include "app/fonts.h"
#include "platform/messagebox.h"
#include "ui/about/documentopener.h"
#include "ui/about/frmabout.h"
#include "ui/about/helppage.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

class tst_About : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void textsPointerAndKeys();
    void helpPage_data();
    void helpPage();

private:
    QTemporaryDir m_program; // the executable's folder
    const QString m_programPage = m_program.filePath(HelpPageFile);
    QList<QUrl> m_opened;
    bool m_openerWorks = true;
    int m_errorBoxes = 0;
};

void tst_About::initTestCase() {
    Fonts::installSubstitutes();
    AppPaths::overrideForTests(m_program.path(), QStringLiteral("Dartrail"));
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
    QTest::addColumn<QString>("pages");  // where a page lies: "program", "working", both or none
    QTest::addColumn<bool>("viewer");    // whether the desktop can open it
    QTest::addColumn<QString>("opened"); // the folder of the page handed over
    QTest::newRow("no page anywhere") << "" << true << "";
    QTest::newRow("started elsewhere, page beside the program") << "program" << true << "program";
    QTest::newRow("beside the program wins") << "program working" << true << "program";
    QTest::newRow("page in the working directory, no viewer") << "working" << false << "working";
}

void tst_About::helpPage() {
    QFETCH(QString, pages);
    QFETCH(bool, viewer);
    QFETCH(QString, opened);
    QTemporaryDir working;
    const auto page = [&](const QString &where) {
        return where == "program" ? m_programPage : working.filePath(HelpPageFile);
    };
    QFile::remove(m_programPage);
    for (const QString &where : pages.split(u' ', Qt::SkipEmptyParts))
        QVERIFY(QFile(page(where)).open(QIODevice::WriteOnly));
    m_opened.clear();
    m_openerWorks = viewer;
    m_errorBoxes = 0;
    const QString started = QDir::currentPath();
    QVERIFY(QDir::setCurrent(working.path()));
    openHelpPage(nullptr);
    QDir::setCurrent(started);

    QCOMPARE(m_opened, opened.isEmpty() ? QList<QUrl>{} : QList{QUrl::fromLocalFile(page(opened))});
    // An error box whenever no page could be shown.
    QCOMPARE(m_errorBoxes, int(opened.isEmpty() || !viewer));
}

QTEST_MAIN(tst_About)
#include "tst_about.moc"
