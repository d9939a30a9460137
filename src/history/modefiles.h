#pragma once

#include "settings/playmode.h"

#include <QByteArray>
#include <QByteArrayList>

// The files of a play mode, named in one place: the history of its games ("Recent_A.csv") and
// the one of its focus drills ("Drill_A.csv"), each with the games it deleted, the record that
// undoes its last deletion and the card being typed, kept beside it ("Recent_A.undo.csv").
namespace ModeFiles {

enum History { Games, Drills };
// Saved: the history itself.
enum Kind { Saved, Deleted, Undo, Draft };

QByteArray name(Mode playMode, Kind kind = Saved, History history = Games);
// In the data folder.
QByteArray path(Mode playMode, Kind kind = Saved, History history = Games);
// The names of every file of both modes.
QByteArrayList all();

} // namespace ModeFiles
