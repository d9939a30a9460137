#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

class FileSystemObject;

// The card being typed, kept in a small file per mode beside the history, so that a crash, a
// killed session or a closed window never loses it. One line: the index of the current field,
// then the 21 field texts, each after a ",". Keeping it is best effort: a failure to write it
// must never get in the player's way.
class CardDraft {
public:
    struct Card {
        QStringList texts; // 21 field texts
        int currentTarget = 0;
    };

    explicit CardDraft(const FileSystemObject &fileSystem);

    // Keeps the card, rewritten safely; an empty card keeps nothing.
    void keep(qint32 playMode, const QStringList &texts, int currentTarget) const;
    void discard(qint32 playMode) const;
    // The kept card of the mode; none when there is no file or it cannot be read as a card of
    // that mode.
    std::optional<Card> kept(qint32 playMode) const;

    static QByteArray filePath(qint32 playMode);

private:
    const FileSystemObject &m_fileSystem;
};
