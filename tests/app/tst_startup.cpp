#include "app/commandline.h"
#include "app/datafolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#include <sys/stat.h>

class tst_Startup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void dataFolder_data();
    void dataFolder();
    void commandLine_data();
    void commandLine();

private:
    QTemporaryDir m_tree;
};

// The tree: app/ a folder install, usr/bin/ beside usr/share/dartrail/ the system install,
// file a regular file (nothing can be made under it, not even by root), home/ and xdg/.
void tst_Startup::initTestCase() {
    QVERIFY(QDir(m_tree.path()).mkpath("app") && QDir(m_tree.path()).mkpath("usr/bin") &&
            QDir(m_tree.path()).mkpath("usr/share/dartrail") &&
            QDir(m_tree.path()).mkpath("home") && QDir(m_tree.path()).mkpath("xdg"));
    QFile file(m_tree.filePath("file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
}

// QTemporaryDir cannot name the folder that is not UTF-8.
void tst_Startup::cleanupTestCase() {
    std::filesystem::remove_all(m_tree.path().toStdString());
}

void tst_Startup::dataFolder_data() {
    QTest::addColumn<QByteArray>("executableFolder");
    QTest::addColumn<QByteArray>("xdgDataHome");
    QTest::addColumn<QByteArray>("home");
    QTest::addColumn<QByteArray>("expected"); // "" = the executable's folder
    QTest::addColumn<bool>("fails");

    // /proc refuses new files to root as well, whatever its permission bits say.
    QTest::newRow("writable: beside the executable") << "app"_qba
                                                     << "xdg"_qba
                                                     << "home"_qba
                                                     << ""_qba << false;
    QTest::newRow("system install: per user, even when writable") << "usr/bin"_qba
                                                                  << "xdg"_qba
                                                                  << "home"_qba
                                                                  << "xdg/Dartrail"_qba << false;
    QTest::newRow("read-only: $XDG_DATA_HOME") << "/proc"_qba
                                               << "xdg"_qba
                                               << "home"_qba
                                               << "xdg/Dartrail"_qba << false;
    QTest::newRow("read-only, $XDG_DATA_HOME unset: made under HOME")
        << "/proc"_qba
        << ""_qba
        << "home"_qba
        << "home/.local/share/Dartrail"_qba << false;
    QTest::newRow("missing, $XDG_DATA_HOME relative: ignored")
        << "file/bin"_qba
        << "/relative/xdg"_qba
        << "home"_qba
        << "home/.local/share/Dartrail"_qba << false;
    QTest::newRow("folder name not UTF-8") << "/proc"_qba
                                           << "d\xe9j\xe0"_qba
                                           << "home"_qba
                                           << "d\xe9j\xe0/Dartrail"_qba << false;
    QTest::newRow("$XDG_DATA_HOME a file") << "/proc"_qba
                                           << "file"_qba
                                           << "home"_qba
                                           << "file/Dartrail"_qba << true;
    QTest::newRow("neither writable") << "file/bin"_qba
                                      << ""_qba
                                      << "file/home"_qba
                                      << "file/home/.local/share/Dartrail"_qba << true;
    QTest::newRow("no HOME") << "/proc"_qba
                             << ""_qba
                             << ""_qba
                             << "/.local/share/Dartrail"_qba << true;
}

void tst_Startup::dataFolder() {
    QFETCH(QByteArray, executableFolder);
    QFETCH(QByteArray, xdgDataHome);
    QFETCH(QByteArray, home);
    QFETCH(QByteArray, expected);
    QFETCH(bool, fails);
    // Relative names are in the tree; "/relative/xdg" stands for the relative value "xdg".
    const QByteArray tree = QFile::encodeName(m_tree.path()) + '/';
    const auto inTree = [&tree](const QByteArray &path) {
        return path.isEmpty() || path.startsWith('/') ? path : tree + path;
    };
    executableFolder = inTree(executableFolder);
    xdgDataHome = xdgDataHome.startsWith("/relative/") ? xdgDataHome.mid(10) : inTree(xdgDataHome);
    expected = expected.isEmpty() ? executableFolder : inTree(expected);

    const DataFolder chosen = DataFolder::choose(executableFolder, xdgDataHome, inTree(home));
    QCOMPARE(chosen.path(), expected);
    QCOMPARE(chosen.failure().isEmpty(), !fails);
    if (fails) {
        QVERIFY(chosen.failure().contains(QFile::decodeName(expected)));
        return;
    }
    struct stat status {};
    QCOMPARE(::stat(expected.constData(), &status), 0);
    if (expected != executableFolder)
        QCOMPARE(status.st_mode & 07777, 0700u); // private to the user, as XDG asks
    // The probe that proved the folder writable is gone again.
    QVERIFY(std::filesystem::is_empty(expected.toStdString()));
}

void tst_Startup::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("replyStart"); // "" = the program starts
    QTest::addColumn<QString>("replyHolds");

    QTest::newRow("no arguments") << QStringList{"Dartrail"} << ""
                                  << "";
    QTest::newRow("others ignored") << QStringList{"Dartrail", "-v", "Recent_A.csv"} << ""
                                    << "";
    QTest::newRow("--version") << QStringList{"Dartrail", "x", "--version"} << "Dartrail 1.1.0\n"
                               << "Dartrail 1.1.0\n";
    QTest::newRow("--help names the settings after the executable")
        << QStringList{"/usr/bin/dartrail", "--help"} << "Dartrail 1.1.0\n"
        << "Settings (dartrail.ini) and histories (Recent_A.csv, Recent_B.csv) are kept in";
}

void tst_Startup::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, replyStart);
    QFETCH(QString, replyHolds);
    const std::optional<QString> reply = CommandLine::reply(arguments);
    QCOMPARE(reply.has_value(), !replyStart.isEmpty());
    if (reply) {
        QVERIFY2(reply->startsWith(replyStart) && reply->contains(replyHolds), qPrintable(*reply));
        QVERIFY(reply->contains("~/.local/share/Dartrail") || replyStart == replyHolds);
    }
}

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
