#pragma once

#include "history/modefiles.h"
#include "settings/playmode.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class FileSystemObject;
class GridModel;
class StoredGames;

// The history files of both play modes: loading one into its stored games and the averages grid,
// appending a saved card, and rewriting it without deleted games. Every method returns the
// system's description of a failure, or the empty text, and failedFile() names the file it is in.
class HistoryStore {
public:
    explicit HistoryStore(FileSystemObject &fileSystem,
                          ModeFiles::History history = ModeFiles::Games);

    // A missing or empty file is no failure: it holds no games. A file too large to hold is one.
    QString load(Mode playMode, StoredGames &games, GridModel &averages);
    // Appends the card, its 21 texts in target order, saved at `now`.
    QString save(Mode playMode, const QStringList &cardTexts, const QDateTime &now);
    // Rewrites the file with every game loaded but those at the selected rows; every other line
    // keeps its bytes. Refused while the file could not be read at the last load, and when it no
    // longer holds what that load read: a table that lacks games of the file never replaces them.
    // The deleted games are first appended, unchanged, to the mode's deleted-games file, and the
    // file as it was is kept as the record that undoes the deletion; a deletion that stands without
    // that record says so. Once the file is rewritten, the games and the averages lose the
    // deleted games as a load of the new file would show them.
    QString remove(Mode playMode, StoredGames &games, GridModel &averages,
                   const QList<int> &selectedRows);
    // Puts back the games of the last deletion: the file as it was before it, followed by the
    // games saved since. Refused when anything else changed the file or the record after the
    // deletion; a refusal keeps the record.
    QString undoRemove(Mode playMode);
    // Whether there is a deletion of the mode to undo, and not refused for the file as loaded.
    bool canUndo(Mode playMode) const;
    // The file the last failure reported is in: the history, or a file beside it.
    const QByteArray &failedFile() const { return m_failedFile; }
    // Whether the last load of the mode read its whole file (or found none).
    bool isLoaded(Mode playMode) const;

    // The largest history that is loaded: a quarter of the memory, as the table takes more
    // than the file.
    static qint64 maxFileBytes();

private:
    // What a load read of a file: enough to tell whether it still holds the same bytes.
    struct Snapshot {
        bool loaded = false;
        qint64 size = -1; // -1: there was no file
        quint64 digest = 0;
        bool operator==(const Snapshot &) const = default;
    };

    QByteArray name(Mode playMode, ModeFiles::Kind kind = ModeFiles::Saved) const;
    QByteArray path(Mode playMode, ModeFiles::Kind kind = ModeFiles::Saved) const;
    static size_t slot(Mode playMode);

    FileSystemObject &m_fileSystem;
    ModeFiles::History m_history = ModeFiles::Games;
    std::array<Snapshot, 2> m_loaded{};
    std::array<std::optional<Snapshot>, 2> m_undoRefusedAt{}; // the file when undoing was refused
    QByteArray m_failedFile;
};
