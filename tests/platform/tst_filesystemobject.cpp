#include "platform/filesystemobject.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <unistd.h>

using Call = FileSystemObject::Call;

class tst_FileSystemObject : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void appendLine_data();
    void appendLine();
    void failuresCarryTheSystemsDescription();
    void rewriteFailureLeavesOldFile_data();
    void rewriteFailureLeavesOldFile();
    void readOnlyFile();

private:
    QString write(const QByteArray &content) const;
    static QByteArray contentOf(const QString &path);

    std::unique_ptr<QTemporaryDir> m_dir;
    FileSystemObject m_fileSystem;
};

void tst_FileSystemObject::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_fileSystem.setFaultHook({});
}

QString tst_FileSystemObject::write(const QByteArray &content) const {
    const QString path = m_dir->filePath(QStringLiteral("Recent_A.csv"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

QByteArray tst_FileSystemObject::contentOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void tst_FileSystemObject::appendLine_data() {
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new file") << false << QByteArray() << QByteArray("x\xe9\r\n");
    QTest::newRow("empty file") << true << QByteArray() << QByteArray("x\xe9\r\n");
    QTest::newRow("after CR LF") << true << QByteArray("a\r\n") << QByteArray("a\r\nx\xe9\r\n");
    QTest::newRow("last line unended") << true << QByteArray("a") << QByteArray("a\r\nx\xe9\r\n");
    QTest::newRow("after bare LF") << true << QByteArray("a\n") << QByteArray("a\nx\xe9\r\n");
    QTest::newRow("after lone CR") << true << QByteArray("a\r") << QByteArray("a\r\nx\xe9\r\n");
}

void tst_FileSystemObject::appendLine() {
    QFETCH(bool, existing);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    const QString path = existing ? write(before) : m_dir->filePath(QStringLiteral("new.csv"));
    QVERIFY(m_fileSystem.appendLine(path, "x\xe9").ok());
    QCOMPARE(contentOf(path), after);
    QByteArray read;
    QVERIFY(m_fileSystem.readAll(path, read).ok());
    QCOMPARE(read, after);
}

void tst_FileSystemObject::failuresCarryTheSystemsDescription() {
    const QString missing = m_dir->filePath(QStringLiteral("missing.csv"));
    QByteArray content;
    QCOMPARE(m_fileSystem.readAll(missing, content).description(), "No such file or directory");
    QCOMPARE(m_fileSystem.replaceLines(missing, {"a"}).description(), "No such file or directory");
    QVERIFY(!QFile::exists(missing)); // nothing is created
    QVERIFY(!m_fileSystem.exists(missing));

    const QString folder = m_dir->filePath(QStringLiteral("folder"));
    QDir().mkdir(folder);
    QVERIFY(m_fileSystem.exists(folder));
    QCOMPARE(m_fileSystem.readAll(folder, content).description(), "Is a directory");
    QCOMPARE(m_fileSystem.appendLine(folder, "a").description(), "Is a directory");
    QCOMPARE(m_fileSystem.replaceLines(folder, {"a"}).description(), "Is a directory");

    // A failed append takes back what it wrote.
    const QString path = write("old\r\n");
    m_fileSystem.setFaultHook([](Call call) { return call == Call::Sync ? EIO : 0; });
    QCOMPARE(m_fileSystem.appendLine(path, "new").description(), "Input/output error");
    QCOMPARE(contentOf(path), QByteArray("old\r\n"));
    m_fileSystem.setFaultHook([](Call call) { return call == Call::Read ? EIO : 0; });
    QCOMPARE(m_fileSystem.readAll(path, content).description(), "Input/output error");
}

void tst_FileSystemObject::rewriteFailureLeavesOldFile_data() {
    QTest::addColumn<Call>("failing");
    QTest::addColumn<int>("nth"); // which call of that kind fails
    QTest::addColumn<int>("error");
    QTest::newRow("disk full on the second write") << Call::Write << 2 << ENOSPC;
    QTest::newRow("sync") << Call::Sync << 1 << EIO;
    QTest::newRow("chmod") << Call::Chmod << 1 << EPERM;
    QTest::newRow("close") << Call::Close << 1 << EIO;
    QTest::newRow("rename") << Call::Rename << 1 << EXDEV;
    QTest::newRow("creating the temporary file") << Call::Open << 2 << EROFS;
}

void tst_FileSystemObject::rewriteFailureLeavesOldFile() {
    QFETCH(Call, failing);
    QFETCH(int, nth);
    QFETCH(int, error);
    const QByteArray old("2024/01/01 10:00:00,1,\xe9\r\nlast");
    const QString path = write(old);
    QByteArrayList lines(100000, QByteArray(60, '7')); // more than one write
    int seen = 0;
    m_fileSystem.setFaultHook(
        [&](Call call) { return call == failing && ++seen == nth ? error : 0; });

    const FileSystemObject::Result result = m_fileSystem.replaceLines(path, lines);
    QCOMPARE(result.error(), error);
    QCOMPARE(result.description(), QString::fromLocal8Bit(strerror(error)));
    QCOMPARE(contentOf(path), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"Recent_A.csv"});

    m_fileSystem.setFaultHook({});
    QVERIFY(m_fileSystem.replaceLines(path, {"a", "", "b\xff"}).ok());
    QCOMPARE(contentOf(path), QByteArray("a\r\n\r\nb\xff\r\n"));
    QVERIFY(m_fileSystem.replaceLines(path, {}).ok());
    QCOMPARE(contentOf(path), QByteArray());
}

void tst_FileSystemObject::readOnlyFile() {
    if (geteuid() == 0)
        QSKIP("file permissions do not bind root");
    const QString path = write("old\r\n");
    QFile::setPermissions(path, QFile::ReadOwner);
    QCOMPARE(m_fileSystem.appendLine(path, "new").description(), "Permission denied");
    QCOMPARE(m_fileSystem.replaceLines(path, {"new"}).description(), "Permission denied");
    QCOMPARE(contentOf(path), QByteArray("old\r\n"));
}

QTEST_GUILESS_MAIN(tst_FileSystemObject)
#include "tst_filesystemobject.moc"
