#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// The record that undoes a deletion: the history as it was, then a line with its size, then one
// line for each piece the history gained since: "D size digest" for what the deletion left,
// "S size digest" for each game saved after it. Undoing needs the history to be exactly these
// pieces; anything else means another program changed it.
namespace UndoRecord {

// The lines that follow the history as it was, `beforeSize` bytes, without the last line end:
// the size and the piece the deletion left.
QByteArray trailer(qint64 beforeSize, qint64 leftSize, const QByteArray &leftDigest);
// A piece's line, without its line end, of the bytes the history gained, or of their size and
// hex digest when those were counted as the bytes went by.
QByteArray piece(char kind, QByteArrayView bytes);
QByteArray piece(char kind, qint64 size, const QByteArray &digest);

// The history with the deletion undone: as it was, followed by the games saved since. None
// when the history `now` is not what the deletion left and the saves since, or the record is
// not whole.
std::optional<QByteArray> restored(QByteArrayView record, QByteArrayView now);

} // namespace UndoRecord
