#include "history/historystore.h"

#include "app/apppaths.h"
#include "app/mdlmain.h"
#include "history/averagestable.h"
#include "history/contentdigest.h"
#include "history/historyline.h"
#include "history/recenttable.h"
#include "history/undorecord.h"
#include "platform/filesystemobject.h"
#include "platform/gridmodel.h"

#include <cerrno>
#include <unistd.h>

HistoryStore::HistoryStore(FileSystemObject &fileSystem)
    : m_fileSystem(fileSystem) {
}

HistoryStore::Snapshot HistoryStore::read(qint32 playMode, QByteArray &content,
                                          QString &error) const {
    const FileSystemObject::Result result =
        m_fileSystem.readAll(filePath(playMode), content, maxFileBytes());
    if (result.error() == ENOENT)
        return {true, -1, 0};
    error = result.description();
    if (!result.ok())
        return {};
    return {true, content.size(), ContentDigest::of(content)};
}

QString HistoryStore::load(qint32 playMode, GridModel &recent, GridModel &averages) {
    RecentTable::setUp(recent);
    QString error;
    QByteArray content;
    Snapshot snapshot = read(playMode, content, error);
    AveragesTable::Tallies tallies;
    if (snapshot.loaded) {
        try {
            tallies = RecentTable::fill(recent, content, playMode);
        } catch (const std::bad_alloc &) {
            RecentTable::setUp(recent);
            snapshot = {};
            error = FileSystemObject::Result(ENOMEM).description();
        }
    }
    m_loaded[slot(playMode)] = snapshot;

    AveragesTable::setUp(averages);
    AveragesTable::calculate(averages, tallies, playMode);
    return error;
}

QString HistoryStore::save(qint32 playMode, const QStringList &cardTexts, const QDateTime &now) {
    const QByteArray line = HistoryLine::build(now, cardTexts);
    const FileSystemObject::Result result = m_fileSystem.appendLine(filePath(playMode), line);
    // A deletion stays undoable after a save: the record learns the saved line. Should that fail,
    // the undo is refused later, and nothing is lost.
    const QByteArray undo = filePath(playMode, "undo");
    if (result.ok() && m_fileSystem.isFile(undo))
        m_fileSystem.appendLine(undo, UndoRecord::piece('S', line + "\r\n"));
    return result.description();
}

QString HistoryStore::remove(qint32 playMode, const GridModel &recent,
                             const QList<int> &selectedRows) {
    const Snapshot loaded = m_loaded[slot(playMode)];
    if (!loaded.loaded)
        return QStringLiteral("The history file could not be read; nothing was deleted.");

    // One pass over the file: what it holds is checked as it is rewritten, and the check must
    // pass before the rewrite replaces it.
    RecentTable::Rewrite rewrite(recent, selectedRows);
    ContentDigest read, left;
    bool changed = false;
    FileSystemObject::Rewriting rewriting;
    rewriting.filter = [&](QByteArrayView bytes, bool last, QByteArray &out) {
        read.add(bytes);
        const qsizetype from = out.size();
        rewrite(bytes, last, out);
        left.add(QByteArrayView(out).sliced(from));
    };
    // The deleted games are kept before the history loses them.
    rewriting.beforeReplace = [&] {
        changed = Snapshot{true, read.size(), read.value()} != loaded;
        if (changed)
            return FileSystemObject::Result(ECANCELED);
        if (rewrite.deleted().isEmpty())
            return FileSystemObject::Result();
        return m_fileSystem.appendLine(filePath(playMode, "deleted"),
                                       QByteArrayView(rewrite.deleted()).chopped(2));
    };
    // The file as it was becomes the record that undoes the deletion.
    if (rewrite.deletes()) {
        rewriting.keepOldAs = filePath(playMode, "undo");
        rewriting.keptLine = [&] {
            return UndoRecord::trailer(read.size(), left.size(), left.hex());
        };
    }
    const FileSystemObject::Result result = m_fileSystem.rewriteFile(filePath(playMode), rewriting);
    if (changed || (result.error() == ENOENT && loaded.size >= 0))
        return QStringLiteral("The file was changed by another program after it was shown; "
                              "nothing was deleted. The list now shows the file as it is.");
    return result.description();
}

QString HistoryStore::undoRemove(qint32 playMode) {
    const QByteArray undo = filePath(playMode, "undo");
    QByteArray record;
    FileSystemObject::Result result = m_fileSystem.readAll(undo, record, 2 * maxFileBytes());
    if (!result.ok())
        return result.description();
    QString error;
    QByteArray now;
    if (!read(playMode, now, error).loaded)
        return error;

    const std::optional<QByteArray> restored = UndoRecord::restored(record, now);
    if (!restored) {
        m_fileSystem.removeFile(undo);
        return QStringLiteral("The last deletion cannot be undone: %1 was changed by another "
                              "program after it. The deleted games are kept in %2.")
            .arg(QString::fromLatin1(fileName(playMode)),
                 QString::fromLatin1(fileName(playMode, "deleted")));
    }
    result = m_fileSystem.replaceFile(filePath(playMode), *restored);
    if (result.ok())
        m_fileSystem.removeFile(undo);
    return result.description();
}

bool HistoryStore::canUndo(qint32 playMode) const {
    return m_fileSystem.isFile(filePath(playMode, "undo"));
}

bool HistoryStore::isLoaded(qint32 playMode) const {
    return m_loaded[slot(playMode)].loaded;
}

QByteArray HistoryStore::fileName(qint32 playMode, QByteArrayView kind) {
    QByteArray name = playMode == mdlMain::ModeA ? "Recent_A.csv" : "Recent_B.csv";
    return kind.isEmpty() ? name : name.insert(name.lastIndexOf('.') + 1, kind.toByteArray() + '.');
}

QByteArray HistoryStore::filePath(qint32 playMode, QByteArrayView kind) {
    return AppPaths::filePath(fileName(playMode, kind));
}

qint64 HistoryStore::maxFileBytes() {
    static const qint64 bytes = [] {
        const long pages = ::sysconf(_SC_PHYS_PAGES);
        const long pageSize = ::sysconf(_SC_PAGESIZE);
        return pages > 0 && pageSize > 0 ? qint64(pages) * pageSize / 4 : qint64(1) << 30;
    }();
    return bytes;
}

size_t HistoryStore::slot(qint32 playMode) {
    return playMode == mdlMain::ModeA ? 0 : 1;
}
