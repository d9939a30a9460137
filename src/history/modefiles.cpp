#include "history/modefiles.h"

#include "settings/apppaths.h"
#include "settings/playmode.h"

namespace ModeFiles {

QByteArray name(Mode playMode, Kind kind, History history) {
    static constexpr const char *Kinds[] = {"", "deleted.", "undo.", "draft."};
    return (history == Games ? "Recent_" : "Drill_") +
           QByteArray(playMode == Mode::A ? "A." : "B.") + Kinds[kind] + "csv";
}

QByteArray path(Mode playMode, Kind kind, History history) {
    return AppPaths::filePath(name(playMode, kind, history));
}

QByteArrayList all() {
    QByteArrayList names;
    for (const Mode mode : {Mode::A, Mode::B})
        for (const Kind kind : {Saved, Deleted, Undo, Draft})
            for (const History history : {Games, Drills})
                names << name(mode, kind, history);
    return names;
}

} // namespace ModeFiles
