#include "history/drillhistory.h"

#include "history/recenttable.h"

DrillHistory::DrillHistory(FileSystemObject &fileSystem)
    : m_store(fileSystem, ModeFiles::Drills) {
}

QString DrillHistory::load(qint32 playMode) {
    return m_store.load(playMode, m_games, m_averages);
}

QString DrillHistory::save(qint32 playMode, const QStringList &cardTexts, const QDateTime &now) {
    return m_store.save(playMode, cardTexts, now);
}

QString DrillHistory::removeLast(qint32 playMode) {
    // The newest drill is the first row.
    return m_store.remove(playMode, m_games, m_averages, {0});
}

QString DrillHistory::lastStamp() const {
    return QString::fromLatin1(m_games.cell(0, RecentTable::StampCol));
}
