#pragma once

#include "settings/playmode.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class FileSystemObject;
class StoredGames;

// The card being typed, kept in a small file per mode beside the history, so that a crash, a
// killed session or a closed window never loses it. One line: the index of the current field,
// the 21 field texts and the stamp of the save under way (empty while none is), each after a
// ",". A draft written before the stamp was kept has no last field.
class CardDraft {
public:
    struct Card {
        QStringList texts; // 21 field texts
        int currentTarget = 0;
        // The stamp a save was about to write the card with; none in a draft of the old form.
        std::optional<QString> savingAs;
    };

    explicit CardDraft(const FileSystemObject &fileSystem);

    // Keeps the card, rewritten safely; an empty card keeps nothing. `savingAs` is the stamp of
    // the save that follows. The system's description of a failure, or the empty text.
    QString keep(Mode playMode, const QStringList &texts, int currentTarget,
                 const QString &savingAs = {}) const;
    // The file's line for the card, without its line end; empty for an empty card, which is
    // kept as no file.
    static QByteArray line(const QStringList &texts, int currentTarget, const QString &savingAs);
    // Removes the kept card; a name that is no file of ours is left alone.
    QString discard(Mode playMode) const;
    // The kept card of the mode; none when there is no file or it cannot be read as a card of
    // that mode.
    std::optional<Card> kept(Mode playMode) const;

    // Whether a kept card (or drill) is the newest of the stored games: when its save recorded
    // the stamp, that stamp decides, as an unsaved card may well hold the values of the last
    // game; an old draft has only its values to go by.
    static bool isSaved(const QStringList &texts, const std::optional<QString> &savingAs,
                        const StoredGames &games);

    static QByteArray filePath(Mode playMode);

private:
    const FileSystemObject &m_fileSystem;
};
