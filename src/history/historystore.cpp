#include "history/historystore.h"

#include "app/apppaths.h"
#include "app/mdlmain.h"
#include "history/averagestable.h"
#include "history/historyline.h"
#include "history/recenttable.h"
#include "history/undorecord.h"
#include "platform/filesystemobject.h"
#include "platform/gridmodel.h"

#include <QCryptographicHash>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <functional>
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
    return {true, content.size(), qHash(content)};
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
    if (!isLoaded(playMode))
        return QStringLiteral("The history file could not be read; nothing was deleted.");
    QString error;
    QByteArray before;
    if (read(playMode, before, error) != m_loaded[slot(playMode)])
        return error.isEmpty() ? QStringLiteral("The file was changed by another program after "
                                                "it was shown; nothing was deleted. The list now "
                                                "shows the file as it is.")
                               : error;

    // The table was filled from these very bytes: game row r is the r-th line from the end.
    const QList<QByteArrayView> lines = HistoryLine::splitLines(before);
    QList<int> rows = selectedRows;
    std::sort(rows.begin(), rows.end(), std::greater<>()); // oldest first, as in the file
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QByteArray deleted;
    for (int row : rows)
        if (row >= 0 && row < lines.size())
            deleted.append(lines[lines.size() - 1 - row]).append("\r\n");

    // The deleted games are kept before the history loses them; a failure here leaves the
    // history as it was. The record learns what the deletion left once it is written.
    const QByteArray undo = filePath(playMode, "undo");
    if (!deleted.isEmpty()) {
        FileSystemObject::Result result = m_fileSystem.replaceFile(undo, UndoRecord::start(before));
        if (result.ok()) {
            deleted.chop(2);
            result = m_fileSystem.appendLine(filePath(playMode, "deleted"), deleted);
        }
        if (!result.ok()) {
            m_fileSystem.removeFile(undo);
            return result.description();
        }
    }
    RecentTable::Rewrite rewrite(recent, before, selectedRows);
    QCryptographicHash left(QCryptographicHash::Md5);
    qint64 leftBytes = 0;
    const FileSystemObject::Result result =
        m_fileSystem.replaceLines(filePath(playMode), [&](QByteArray &chunk) {
            const qsizetype from = chunk.size();
            const bool more = rewrite(chunk);
            left.addData(QByteArrayView(chunk).sliced(from));
            leftBytes += chunk.size() - from;
            return more;
        });
    // Without what the deletion left, the record could not tell it from what came after.
    if (!deleted.isEmpty() &&
        (!result.ok() ||
         !m_fileSystem.appendLine(undo, UndoRecord::piece('D', leftBytes, left.result().toHex()))
              .ok()))
        m_fileSystem.removeFile(undo);
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
