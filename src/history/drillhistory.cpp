#include "history/drillhistory.h"

#include "history/recenttable.h"

DrillHistory::DrillHistory(FileSystemObject &fileSystem)
    : m_store(fileSystem, ModeFiles::Drills) {
}

QString DrillHistory::load(Mode playMode) {
    return m_store.load(playMode, m_games, m_averages);
}

QString DrillHistory::save(Mode playMode, const QStringList &cardTexts, const QDateTime &now) {
    return m_store.save(playMode, cardTexts, now);
}

QString DrillHistory::removeLast(Mode playMode) {
    // The newest drill is the first row.
    return m_store.remove(playMode, m_games, m_averages, {0});
}

QString DrillHistory::lastStamp() const {
    return QString::fromLatin1(m_games.cell(0, RecentTable::StampCol));
}
