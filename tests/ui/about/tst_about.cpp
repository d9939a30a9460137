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
    void init();
    void textsPointerAndKeys();
    void helpPage_data();
    void helpPage();

private:
    QString programPage() const { return m_program.filePath(HelpPageFile); }

    QTemporaryDir m_program; // the executable's folder
    QList<QUrl> m_opened;
    bool m_openerWorks = true;
    int m_errorBoxes = 0;
};

void tst_About::initTestCase() {
    Fonts::installSubstitutes();
    AppPaths::overrideForTests(m_program.path(), QStringLiteral("Dartrail"));
    DocumentOpener::setOpener([this](const QUrl &url) {
        m_opened.append(url);
        return m_openerWorks;
    });
    MessageBox::setResponder([this](QMessageBox::Icon icon, const QString &, const QString &title) {
        m_errorBoxes += icon == QMessageBox::Critical && title == "ERROR";
        return QMessageBox::Ok;
    });
}

void tst_About::init() {
    QVERIFY(QFile(programPage()).open(QIODevice::WriteOnly));
    m_opened.clear();
    m_openerWorks = true;
    m_errorBoxes = 0;
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
    QCOMPARE(m_opened, QList{QUrl::fromLocalFile(programPage())});

    for (const char *key : {"Return", "Enter", "Esc"}) {
        frmAbout closing;
        closing.open();
        QVERIFY(QTest::qWaitForWindowActive(&closing));
        QTest::keyClick(closing.focusWidget(), QKeySequence::fromString(key)[0].key());
        QVERIFY2(!closing.isVisible(), key);
    }
}

void tst_About::helpPage_data() {
    QTest::addColumn<QString>("pages");  // where a page lies: "program", "working", both or none
    QTest::addColumn<bool>("viewer");    // whether the desktop can open it
    QTest::addColumn<QString>("opened"); // the folder of the page handed over
    QTest::addColumn<int>("boxes");
    QTest::newRow("no page anywhere") << "" << true << "" << 1;
    QTest::newRow("page in the working directory") << "working" << true << "working" << 0;
    QTest::newRow("started elsewhere, page beside the program")
        << "program" << true << "program" << 0;
    QTest::newRow("beside the program wins") << "program working" << true << "program" << 0;
    QTest::newRow("no viewer") << "working" << false << "working" << 1;
}

void tst_About::helpPage() {
    QFETCH(QString, pages);
    QFETCH(bool, viewer);
    QFETCH(QString, opened);
    QFETCH(int, boxes);
    QTemporaryDir working;
    const auto page = [&](const QString &where) {
        return where == "program" ? programPage() : working.filePath(HelpPageFile);
    };
    if (!pages.contains("program"))
        QVERIFY(QFile::remove(programPage()));
    if (pages.contains("working"))
        QVERIFY(QFile(page("working")).open(QIODevice::WriteOnly));
    m_openerWorks = viewer;
    const QString started = QDir::currentPath();
    QVERIFY(QDir::setCurrent(working.path()));
    openHelpPage(nullptr);
    QDir::setCurrent(started);

    QCOMPARE(m_opened, opened.isEmpty() ? QList<QUrl>{} : QList{QUrl::fromLocalFile(page(opened))});
    QCOMPARE(m_errorBoxes, boxes);
}

QTEST_MAIN(tst_About)
#include "tst_about.moc"
