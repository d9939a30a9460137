#pragma once

#include "history/historystore.h"
#include "history/storedgames.h"
#include "platform/gridmodel.h"
#include "settings/playmode.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

class FileSystemObject;

// The saved focus drills of the play modes: "Drill_A.csv" and "Drill_B.csv", one line per drill
// in the history's own format, written, read and deleted with the same care as the games but
// apart from them, so that the grids, the graph and the game history never see a drill.
class DrillHistory {
public:
    explicit DrillHistory(FileSystemObject &fileSystem);

    // Reads the mode's drills; a file that cannot be read counts as no drills.
    QString load(Mode playMode);
    // Appends the drill card, its 21 texts in target order, saved at `now`.
    QString save(Mode playMode, const QStringList &cardTexts, const QDateTime &now);
    // Removes the newest drill by the checked rewrite of a deletion, kept in the mode's
    // "Drill_X.deleted.csv"; refused when the file changed since it was loaded.
    QString removeLast(Mode playMode);
    // The date-time text of the newest drill loaded, empty without one.
    QString lastStamp() const;
    // The loaded drills, newest first, as the statistics read the games.
    const StoredGames &games() const { return m_games; }
    const QByteArray &failedFile() const { return m_store.failedFile(); }

private:
    HistoryStore m_store;
    StoredGames m_games;
    GridModel m_averages; // the store fills one; drills show none
};
