#pragma once

#include "settings/playmode.h"

#include <QByteArray>
#include <QStringList>

#include <optional>
#include <vector>

class FileSystemObject;

// The focus drill being typed, kept beside the drill file of its mode like the card's draft, so
// that a crash never loses it: one line of the chosen fields (0 to 20, blank between), ";", the
// index of the current field, the 21 field texts and the stamp of the save under way (empty
// while none is), each after a ",". Anything else in the file is no drill and is ignored; a
// draft written before the stamp was kept has no last field.
class DrillDraft {
public:
    struct Drill {
        std::vector<int> fields; // chosen, ascending
        QStringList texts;       // 21 field texts; the fields not chosen empty
        int currentTarget = 0;
        std::optional<QString> savingAs; // as the card's draft has it
    };

    explicit DrillDraft(const FileSystemObject &fileSystem);

    // Best effort, as the card's draft: a failure, the system's description, is only told.
    QString keep(Mode playMode, const Drill &drill) const;
    QString discard(Mode playMode) const;
    std::optional<Drill> kept(Mode playMode) const;

    static QByteArray filePath(Mode playMode);

private:
    const FileSystemObject &m_fileSystem;
};
