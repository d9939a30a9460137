#include "history/historystore.h"

#include "history/averagestable.h"
#include "history/contentdigest.h"
#include "history/historyline.h"
#include "history/recenttable.h"
#include "history/storedgames.h"
#include "history/undorecord.h"
#include "platform/filesystemobject.h"
#include "platform/gridmodel.h"
#include "settings/apppaths.h"
#include "settings/playmode.h"

#include <cerrno>
#include <unistd.h>

HistoryStore::HistoryStore(FileSystemObject &fileSystem, ModeFiles::History history)
    : m_fileSystem(fileSystem)
    , m_history(history) {
}

QString HistoryStore::load(Mode playMode, StoredGames &games, GridModel &averages) {
    m_failedFile = path(playMode);
    Snapshot snapshot{true, -1, 0};
    FileSystemObject::Result result;
    try {
        // Read a chunk at a time, digested as it passes: the file is never held whole.
        StoredGames::Reader reader(games, playMode);
        ContentDigest digest;
        result = m_fileSystem.readChunks(path(playMode), maxFileBytes(),
                                         [&](QByteArrayView bytes, qint64 fileSize) {
                                             digest.add(bytes);
                                             reader.add(bytes, fileSize);
                                         });
        if (result.ok()) {
            reader.finish();
            snapshot = {true, digest.size(), digest.value()};
        }
    } catch (const std::bad_alloc &) {
        result = FileSystemObject::Result(ENOMEM);
    }
    if (!result.ok()) {
        games.clear();
        if (result.error() != ENOENT)
            snapshot = {};
    }
    m_loaded[slot(playMode)] = snapshot;

    AveragesTable::setUp(averages);
    AveragesTable::calculate(averages, games.tallies(), playMode);
    return result.error() == ENOENT ? QString() : result.description();
}

QString HistoryStore::save(Mode playMode, const QStringList &cardTexts, const QDateTime &now) {
    m_failedFile = path(playMode);
    const QByteArray line = HistoryLine::build(now, cardTexts);
    const FileSystemObject::Result result = m_fileSystem.appendLine(path(playMode), line);
    // A deletion stays undoable after a save: the record learns the saved line, if it is still the
    // record. Should that fail, the undo is refused later, and nothing is lost.
    if (result.ok())
        m_fileSystem.appendToOwnFile(path(playMode, ModeFiles::Undo),
                                     UndoRecord::piece('S', line + "\r\n"),
                                     UndoRecord::endsWithPiece);
    return result.description();
}

QString HistoryStore::remove(Mode playMode, StoredGames &games, GridModel &averages,
                             const QList<int> &selectedRows) {
    m_failedFile = path(playMode);
    const Snapshot loaded = m_loaded[slot(playMode)];
    if (!loaded.loaded)
        return QStringLiteral("The history file could not be read; nothing was deleted.");

    try {
        // One pass over the file: what it holds is checked as it is rewritten, and the check
        // must pass before the rewrite replaces it.
        RecentTable::Rewrite rewrite(games, selectedRows);
        ContentDigest read, left;
        bool changed = false;
        const QByteArray history = path(playMode), undo = path(playMode, ModeFiles::Undo);
        QByteArray kept; // the file as it was, hidden until it is the record that undoes this
        FileSystemObject::Result keeping;
        FileSystemObject::Rewriting rewriting;
        rewriting.filter = [&](QByteArrayView bytes, bool last, QByteArray &out) {
            read.add(bytes);
            const qsizetype from = out.size();
            rewrite(bytes, last, out);
            left.add(QByteArrayView(out).sliced(from));
        };
        // The file as it was is kept, and the deleted games archived, before the history loses
        // them.
        rewriting.beforeReplace = [&] {
            changed = Snapshot{true, read.size(), read.value()} != loaded;
            if (changed)
                return FileSystemObject::Result(ECANCELED);
            if (rewrite.deletes() && !(keeping = m_fileSystem.keepAside(history, undo, kept)).ok())
                return keeping;
            if (rewrite.deleted().isEmpty())
                return FileSystemObject::Result();
            const QByteArray archive = path(playMode, ModeFiles::Deleted);
            const FileSystemObject::Result archived =
                m_fileSystem.appendLine(archive, QByteArrayView(rewrite.deleted()).chopped(2));
            if (!archived.ok())
                m_failedFile = archive;
            return archived;
        };
        const FileSystemObject::Result result = m_fileSystem.rewriteFile(history, rewriting);
        if (!kept.isEmpty() && result.ok()) {
            // Named only once complete; the deletion stands whatever becomes of it. A hard link
            // kept has no other name now that the history's is the new file's.
            keeping = m_fileSystem.appendToOwnFile(
                kept, UndoRecord::trailer({read.size(), read.hex()}, {left.size(), left.hex()}));
            if (keeping.ok())
                keeping = m_fileSystem.rename(kept, undo);
            if (!keeping.ok())
                m_fileSystem.removeFile(undo); // an older record no longer fits the history
        }
        if (!kept.isEmpty() && !(result.ok() && keeping.ok()))
            m_fileSystem.removeFile(kept);
        if (result.ok()) {
            // The games lose what the file lost; it need not be read again.
            m_loaded[slot(playMode)] = {true, left.size(), left.value()};
            games.remove(selectedRows);
            AveragesTable::calculate(averages, games.tallies(), playMode);
        }
        if (changed || (result.error() == ENOENT && loaded.size >= 0))
            return QStringLiteral("The file was changed by another program after it was shown; "
                                  "nothing was deleted. The list now shows the file as it is.");
        if (!keeping.ok()) {
            m_failedFile = undo;
            if (result.ok())
                return QStringLiteral("The games were deleted and are kept in %1, but the "
                                      "deletion cannot be undone: %2")
                    .arg(QString::fromLatin1(name(playMode, ModeFiles::Deleted)),
                         keeping.description());
        }
        if (result.ok() && rewrite.deletes())
            m_undoRefusedAt[slot(playMode)].reset();
        return result.description();
    } catch (const std::bad_alloc &) {
        return FileSystemObject::Result(ENOMEM).description();
    }
}

QString HistoryStore::undoRemove(Mode playMode) {
    const QByteArray undo = path(playMode, ModeFiles::Undo);
    m_failedFile = undo;
    try {
        // The record's end: its lines after the history as it was, one more with each save.
        std::optional<UndoRecord::Trailer> trailer;
        for (qint64 tailBytes = qint64(1) << 16; !trailer; tailBytes *= 16) {
            QByteArray end;
            bool whole = false;
            const FileSystemObject::Result result =
                m_fileSystem.readTail(undo, end, tailBytes, whole);
            if (!result.ok())
                return result.description();
            trailer = UndoRecord::readTrailer(end);
            if (whole || tailBytes > maxFileBytes())
                break;
        }
        const auto refused = [&](const QByteArray &file, const QString &why) {
            m_failedFile = file;
            return QStringLiteral("The last deletion cannot be undone: %1").arg(why);
        };
        const QString damaged =
            QStringLiteral("%1 no longer holds the games as they were before it, and is kept as it "
                           "is. The deleted games are kept in %2.")
                .arg(QString::fromLatin1(name(playMode, ModeFiles::Undo)),
                     QString::fromLatin1(name(playMode, ModeFiles::Deleted)));
        if (!trailer) {
            m_undoRefusedAt[slot(playMode)] = m_loaded[slot(playMode)];
            return refused(undo, damaged);
        }

        // Streamed through the rewrite: neither the record nor the history is ever held whole.
        UndoRecord::Restore restore(*trailer);
        ContentDigest now;
        FileSystemObject::Rewriting rewriting;
        rewriting.prefixFrom = undo;
        rewriting.prefixBytes = trailer->before.size;
        rewriting.prefixCopied = [&](QByteArrayView bytes) { restore.before(bytes); };
        rewriting.filter = [&](QByteArrayView bytes, bool last, QByteArray &out) {
            now.add(bytes);
            restore(bytes, last, out);
        };
        rewriting.beforeReplace = [&] {
            return FileSystemObject::Result(
                restore.recordIntact() && restore.historyMatches() ? 0 : ECANCELED);
        };
        const QByteArray history = path(playMode);
        m_failedFile = history;
        const FileSystemObject::Result result = m_fileSystem.rewriteFile(history, rewriting);
        if (result.ok()) {
            m_fileSystem.removeFile(undo);
            return {};
        }
        const bool gone = result.error() == ENOENT;
        if (!gone && result.error() != ECANCELED)
            return result.description();

        // Refused: the record stays, and so does the refusal while the file stays as it is.
        m_undoRefusedAt[slot(playMode)] =
            gone ? Snapshot{true, -1, 0} : Snapshot{true, now.size(), now.value()};
        if (!gone && !restore.recordIntact())
            return refused(undo, damaged);
        if (gone || now.size() == 0)
            return refused(history,
                           QStringLiteral("%1 was emptied or removed after it. The games as they "
                                          "were before it are kept in %2.")
                               .arg(QString::fromLatin1(name(playMode)),
                                    QString::fromLatin1(name(playMode, ModeFiles::Undo))));
        return refused(history,
                       QStringLiteral("%1 was changed by another program after it. The deleted "
                                      "games are kept in %2.")
                           .arg(QString::fromLatin1(name(playMode)),
                                QString::fromLatin1(name(playMode, ModeFiles::Deleted))));
    } catch (const std::bad_alloc &) {
        return FileSystemObject::Result(ENOMEM).description();
    }
}

bool HistoryStore::canUndo(Mode playMode) const {
    return m_fileSystem.isFile(path(playMode, ModeFiles::Undo)) &&
           m_undoRefusedAt[slot(playMode)] != m_loaded[slot(playMode)];
}

bool HistoryStore::isLoaded(Mode playMode) const {
    return m_loaded[slot(playMode)].loaded;
}

QByteArray HistoryStore::name(Mode playMode, ModeFiles::Kind kind) const {
    return ModeFiles::name(playMode, kind, m_history);
}

QByteArray HistoryStore::path(Mode playMode, ModeFiles::Kind kind) const {
    return ModeFiles::path(playMode, kind, m_history);
}
qint64 HistoryStore::maxFileBytes() {
    static const qint64 bytes = [] {
        const long pages = ::sysconf(_SC_PHYS_PAGES);
        const long pageSize = ::sysconf(_SC_PAGESIZE);
        return pages > 0 && pageSize > 0 ? qint64(pages) * pageSize / 4 : qint64(1) << 30;
    }();
    return bytes;
}

size_t HistoryStore::slot(Mode playMode) {
    return playMode == Mode::A ? 0 : 1;
}
