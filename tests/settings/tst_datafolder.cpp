#include "settings/datafolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

class tst_DataFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { std::filesystem::remove_all(m_tree.path().toStdString()); }
    void dataFolder_data();
    void dataFolder();
    void settingsFolder_data();
    void settingsFolder();

private:
    QTemporaryDir m_tree; // removed by hand: QTemporaryDir cannot name a folder that is not UTF-8
};

// app/ a folder install, usr/bin/ beside usr/share/dartrail/ the system install, home/, xdg/ and
// file, a regular file: nothing can be made under it, not even by root.
void tst_DataFolder::initTestCase() {
    for (const char *folder : {"app", "usr/bin", "usr/share/dartrail", "home", "xdg"})
        QVERIFY(QDir(m_tree.path()).mkpath(folder));
    QVERIFY(QFile(m_tree.filePath("file")).open(QIODevice::WriteOnly));
    // home/ is another user's, when root can make it so.
    QVERIFY(::geteuid() != 0 ||
            ::chown(QFile::encodeName(m_tree.filePath("home")), 65534, 65534) == 0);
}

void tst_DataFolder::dataFolder_data() {
    QTest::addColumn<QByteArray>("executableFolder");
    QTest::addColumn<QByteArray>("xdgDataHome");
    QTest::addColumn<QByteArray>("home");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<bool>("fails");
    // Relative names are in the tree.
    const QByteArray tree = QFile::encodeName(m_tree.path()) + '/';
    const auto row = [&tree](const char *name, QByteArray executable, QByteArray xdg,
                             QByteArray home, QByteArray expected, bool fails = false) {
        for (QByteArray *path : {&executable, &xdg, &home, &expected})
            *path = path->isEmpty() || path->startsWith('/') ? *path : tree + *path;
        QTest::newRow(name) << executable << xdg << home << expected << fails;
    };
    // /proc refuses new files to root as well, whatever its permission bits say.
    row("writable: beside the executable", "app", "xdg", "home", "app");
    row("system install: per user, even when writable", "usr/bin", "xdg", "home", "xdg/Dartrail");
    row("$XDG_DATA_HOME unset", "/proc", "", "home", "home/.local/share/Dartrail");
    row("folder name not UTF-8", "/proc", "d\xe9j\xe0", "home", "d\xe9j\xe0/Dartrail");
    row("$XDG_DATA_HOME a file", "/proc", "file", "home", "file/Dartrail", true);
    row("neither writable", "file/bin", "", "file/home", "file/home/.local/share/Dartrail", true);
    row("no HOME", "/proc", "", "", "/.local/share/Dartrail", true);
}

void tst_DataFolder::dataFolder() {
    QFETCH(QByteArray, executableFolder);
    QFETCH(QByteArray, xdgDataHome);
    QFETCH(QByteArray, home);
    QFETCH(QByteArray, expected);
    QFETCH(bool, fails);
    const DataFolder chosen = DataFolder::choose(executableFolder, xdgDataHome, home);
    QCOMPARE(chosen.path(), expected);
    // A failure names the folder that failed.
    QCOMPARE(chosen.failure().contains(QFile::decodeName(expected)), fails);
    if (fails)
        return;
    const std::filesystem::path folder = expected.toStdString();
    if (expected != executableFolder) // private to the user, as XDG asks
        QVERIFY(std::filesystem::status(folder).permissions() == std::filesystem::perms::owner_all);
    // The probe that proved the folder writable is gone again.
    QVERIFY(std::filesystem::is_empty(folder));
    // What root made in a user's folder is that user's.
    const qsizetype below = expected.indexOf('/', m_tree.path().size() + 1);
    const QByteArray top = below < 0 ? expected : expected.left(below);
    struct stat made {
    }, above{};
    QVERIFY(::stat(expected, &made) == 0 && ::stat(top, &above) == 0);
    QCOMPARE(made.st_uid, above.st_uid);
}

void tst_DataFolder::settingsFolder_data() {
    QTest::addColumn<QByteArray>("xdgConfig"); // in the row's tree; "=" starts a relative one
    QTest::addColumn<bool>("oldFile");         // a settings file left in the data folder
    QTest::addColumn<QByteArray>("expected");  // in the row's tree
    // The system install's; a folder install keeps its settings beside it, as every window test's.
    const auto row = [](const char *name, const char *xdg, bool old, const char *expected) {
        QTest::newRow(name) << QByteArray(xdg) << old << QByteArray(expected);
    };
    row("$XDG_CONFIG_HOME relative", "=cfg", false, "home/.config/dartrail");
    row("moved once from the data folder", "cfg", true, "cfg/dartrail");
    row("cannot be made: the data folder", "file", true, "xdg/Dartrail");
}

void tst_DataFolder::settingsFolder() {
    QFETCH(QByteArray, xdgConfig);
    QFETCH(bool, oldFile);
    QFETCH(QByteArray, expected);
    const QByteArray tree = QFile::encodeName(m_tree.path()) + '/';
    const QByteArray executable = tree + "usr/bin";
    const QByteArray xdg =
        xdgConfig.isEmpty() || xdgConfig.startsWith('=') ? xdgConfig.mid(1) : tree + xdgConfig;
    const DataFolder data = DataFolder::choose(executable, tree + "xdg", tree + "home");
    QFile old(QFile::decodeName(data.path() + "/dartrail.ini"));
    QVERIFY(!oldFile || (old.open(QIODevice::WriteOnly) && old.write("MODE=B") && old.flush()));
    old.close();
    const auto folder = [&] {
        return data.settingsFolder(executable, xdg, tree + "home", "dartrail.ini");
    };
    QCOMPARE(folder(), tree + expected);
    if (oldFile && folder() != data.path()) { // moved, and only once: a file put there later stays
        QFile moved(QFile::decodeName(tree + expected + "/dartrail.ini"));
        QVERIFY(!old.exists() && moved.open(QIODevice::ReadOnly) && moved.readAll() == "MODE=B");
        QVERIFY(old.open(QIODevice::WriteOnly) && folder() == tree + expected && old.exists());
    }
}

QTEST_GUILESS_MAIN(tst_DataFolder)
#include "tst_datafolder.moc"
