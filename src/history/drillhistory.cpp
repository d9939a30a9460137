#include "history/drillhistory.h"

#include "history/recenttable.h"

DrillHistory::DrillHistory(FileSystemObject &fileSystem)
    : m_store(fileSystem, ModeFiles::Drills) {
}

QString DrillHistory::load(qint32 playMode) {
    return m_store.load(playMode, m_table, m_averages);
}

QString DrillHistory::save(qint32 playMode, const QStringList &cardTexts, const QDateTime &now) {
    return m_store.save(playMode, cardTexts, now);
}

QString DrillHistory::removeLast(qint32 playMode) {
    // The newest drill is the table's first row.
    return m_store.remove(playMode, m_table, {0});
}

QString DrillHistory::lastStamp() const {
    if (m_table.rows() == 0 || RecentTable::isPlaceholder(m_table, 0))
        return {};
    return QString::fromLatin1(m_table.cellBytes(0, RecentTable::StampCol));
}
