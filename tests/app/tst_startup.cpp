#include "app/commandline.h"
#include "app/mdlmain.h"
#include "platform/messagebox.h"
#include "platform/singleinstance.h"
#include "settings/apppaths.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class tst_Startup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commandLine();
    void lockRefused_data();
    void lockRefused();
};

void tst_Startup::commandLine() {
    QVERIFY(!CommandLine::reply({"Dartrail"}) && !CommandLine::reply({"Dartrail", "-v", "x.csv"}));
    QVERIFY(CommandLine::reply({"Dartrail", "x", "--version"})
                .value_or("")
                .startsWith("Dartrail 1.1.0\nLicense GPL-3.0-or-later"));
    const QString help = CommandLine::reply({"/usr/bin/dartrail", "--help"}).value_or("");
    QVERIFY2(help.contains("(dartrail.ini)") && help.contains("default ~/.local/share/Dartrail") &&
                 help.contains("default ~/.config/dartrail"),
             qPrintable(help));
}

// A start that cannot take its folder's lock writes nothing and ends, saying why, or brings the
// holder to the front. In a child, where a start that went ahead fails for want of a window system.
void tst_Startup::lockRefused_data() {
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QString>("reason"); // F is the folder; empty when the holder was reached
    const QString taken = u"its lock file F/Dartrail.lock cannot be taken (%1)"_qs;
    // A folder or a link is refused as the pipe is, before any open could wait for a writer.
    QTest::newRow("pipe") << QByteArray("pipe") << taken.arg("Not a regular file");
    QTest::newRow("no folder") << QByteArray("gone") << taken.arg("No such file or directory");
    QTest::newRow("immutable, held") << QByteArray("immutable") << QString();
    QTest::newRow("held by another user")
        << QByteArray("other user")
        << u"another Dartrail, perhaps another user's, holds its lock file F/Dartrail.lock"_qs;
    QTest::newRow("root in another user's folder")
        << QByteArray("root")
        << u"the folder belongs to user 65534, who could not replace files "
           "made there by root; start Dartrail as that user"_qs;
}

void tst_Startup::lockRefused() {
    QFETCH(QByteArray, kind);
    QFETCH(QString, reason);
    if (::geteuid() != 0 && (kind == "immutable" || kind == "other user" || kind == "root"))
        QSKIP("needs root");
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()), lock = folder + "/Dartrail.lock";
    SingleInstance holder; // the first start
    const int made = kind == "pipe"   ? ::mkfifo(lock, 0644)
                     : kind == "gone" ? ::rmdir(folder)
                     : kind == "root" ? ::chown(folder, 65534, 65534)
                                      : int(!holder.acquire(folder)) | ::chmod(folder, 0755);
    QVERIFY(made == 0);
    if (kind == "immutable" && QProcess::execute("chattr", {"+i", dir.filePath("Dartrail.lock")}))
        QSKIP("no immutable files here");
    const auto entries = [&dir] {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::System);
    };
    const QStringList before = entries();
    AppPaths::overrideForTests(dir.path(), u"Dartrail"_qs);
    QStringList boxes;
    MessageBox::setResponder([&](QMessageBox::Icon, const QString &text, const QString &title) {
        boxes << title + u' ' + QString(text).replace(dir.path(), u"F"_qs);
        return QMessageBox::Ok;
    });
    int results[2];
    QVERIFY(::pipe(results) == 0);
    if (::fork() == 0) {
        ::alarm(20);
        if (kind == "other user" && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(1);
        const QStringList started{mdlMain::Main() ? u"writer"_qs : u"refused"_qs};
        const QByteArray outcome = (started + boxes).join(u'|').toUtf8();
        ::_exit(::write(results[1], outcome, size_t(outcome.size())) == outcome.size() ? 0 : 1);
    }
    ::close(results[1]);
    QFile reader;
    QVERIFY(reader.open(results[0], QIODevice::ReadOnly, QFile::AutoCloseHandle));
    const QString outcome = QString::fromUtf8(reader.readAll());
    ::wait(nullptr);
    if (kind == "immutable")
        QProcess::execute("chattr", {"-i", dir.filePath("Dartrail.lock")});
    MessageBox::setResponder({});
    AppPaths::overrideForTests({}, {});
    QCOMPARE(outcome, reason.isEmpty()
                          ? u"refused"_qs
                          : "refused|ERROR The games in F are not opened: " + reason + '.');
    QCOMPARE(entries(), before);
}

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
