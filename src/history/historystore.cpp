#include "history/historystore.h"

#include "app/apppaths.h"
#include "app/mdlmain.h"
#include "history/averagestable.h"
#include "history/historyline.h"
#include "history/recenttable.h"
#include "platform/filesystemobject.h"
#include "platform/gridmodel.h"

#include <QHash>

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
    return m_fileSystem.appendLine(filePath(playMode), HistoryLine::build(now, cardTexts))
        .description();
}

QString HistoryStore::remove(qint32 playMode, const GridModel &recent,
                             const QList<int> &selectedRows) {
    if (!isLoaded(playMode))
        return QStringLiteral("The history file could not be read; nothing was deleted.");
    QString error;
    QByteArray content;
    if (read(playMode, content, error) != m_loaded[slot(playMode)])
        return error.isEmpty() ? QStringLiteral("The file was changed by another program after "
                                                "it was shown; nothing was deleted. The list now "
                                                "shows the file as it is.")
                               : error;
    RecentTable::Rewrite rewrite(recent, content, selectedRows);
    return m_fileSystem
        .replaceLines(filePath(playMode), [&](QByteArray &chunk) { return rewrite(chunk); })
        .description();
}

bool HistoryStore::isLoaded(qint32 playMode) const {
    return m_loaded[slot(playMode)].loaded;
}

QByteArray HistoryStore::fileName(qint32 playMode) {
    return playMode == mdlMain::ModeA ? "Recent_A.csv" : "Recent_B.csv";
}

QByteArray HistoryStore::filePath(qint32 playMode) {
    return AppPaths::filePath(fileName(playMode));
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
