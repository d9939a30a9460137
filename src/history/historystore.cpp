#include "history/historystore.h"

#include "app/apppaths.h"
#include "app/mdlmain.h"
#include "history/averagestable.h"
#include "history/historyline.h"
#include "history/recenttable.h"
#include "platform/filesystemobject.h"
#include "platform/gridmodel.h"

#include <QSet>

HistoryStore::HistoryStore(FileSystemObject &fileSystem)
    : m_fileSystem(fileSystem) {
}

QString HistoryStore::load(qint32 playMode, GridModel &recent, GridModel &averages) {
    const QString path = filePath(playMode);
    RecentTable::setUp(recent);
    m_loaded[slot(playMode)] = false;

    FileSystemObject::Result result;
    if (m_fileSystem.exists(path)) {
        qint64 bytes = 0;
        result = m_fileSystem.size(path, bytes);
        QByteArray content;
        if (result.ok() && bytes > 0)
            result = m_fileSystem.readAll(path, content);
        if (result.ok())
            RecentTable::fill(recent, content, playMode);
    }
    m_loaded[slot(playMode)] = result.ok();

    AveragesTable::setUp(averages);
    AveragesTable::calculate(averages, recent, playMode);
    return result.description();
}

QString HistoryStore::save(qint32 playMode, const QStringList &cardTexts, const QDateTime &now) {
    return m_fileSystem.appendLine(filePath(playMode), HistoryLine::build(now, cardTexts))
        .description();
}

QString HistoryStore::remove(qint32 playMode, const GridModel &recent,
                             const QList<int> &selectedRows) {
    if (!isLoaded(playMode))
        return QStringLiteral("The history file could not be read; nothing was deleted.");

    const QSet<int> selected(selectedRows.cbegin(), selectedRows.cend());
    QByteArrayList kept;
    for (int row = recent.rows() - 1; row >= 0; --row) {
        if (!selected.contains(row) && !RecentTable::isPlaceholder(recent, row))
            kept.append(RecentTable::historyLine(recent, row));
    }
    return m_fileSystem.replaceLines(filePath(playMode), kept).description();
}

bool HistoryStore::isLoaded(qint32 playMode) const {
    return m_loaded[slot(playMode)];
}

QString HistoryStore::filePath(qint32 playMode) {
    return AppPaths::filePath(playMode == mdlMain::ModeA ? QStringLiteral("Recent_A.csv")
                                                         : QStringLiteral("Recent_B.csv"));
}

size_t HistoryStore::slot(qint32 playMode) {
    return playMode == mdlMain::ModeA ? 0 : 1;
}
