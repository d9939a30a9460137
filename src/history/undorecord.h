#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// The record that undoes a deletion: a header line with the size of the history as it was, that
// history, then one line for each piece the history gained since: "D size digest" for what the
// deletion left, "S size digest" for each game saved after it. Undoing needs the history to be
// exactly these pieces; anything else means another program changed it.
namespace UndoRecord {

// The record's start: the history as it was before the deletion.
QByteArray start(QByteArrayView before);
// A piece's line, without its line end, of the bytes the history gained, or of their size and
// hex digest when those were counted as the bytes went by.
QByteArray piece(char kind, QByteArrayView bytes);
QByteArray piece(char kind, qint64 size, const QByteArray &digest);

// The history with the deletion undone: as it was, followed by the games saved since. None
// when the history `now` is not what the deletion left and the saves since, or the record is
// not whole.
std::optional<QByteArray> restored(QByteArrayView record, QByteArrayView now);

} // namespace UndoRecord
