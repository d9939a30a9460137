#pragma once

#include "history/contentdigest.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <vector>

// The record that undoes a deletion: the history as it was, then a line with its size and
// digest, then one line for each piece the history gained since: "D size digest" for what the
// deletion left, "S size digest" for each game saved after it. Undoing needs the record's copy to
// be what was written and the history to be exactly these pieces; anything else means another
// program changed one of them.
namespace UndoRecord {

// Bytes as the record knows them: how many, and their digest.
struct Piece {
    qint64 size = 0;
    QByteArray digest; // hex
};

// What the lines after the history as it was say.
struct Trailer {
    Piece before;
    std::vector<Piece> pieces; // the deletion's, then one a save
};

// The lines that follow the history as it was, without the last line end: its size and
// digest, and the piece the deletion left.
QByteArray trailer(const Piece &before, const Piece &left);
// A piece's line, without its line end, of the bytes the history gained, or of their size and
// hex digest when those were counted as the bytes went by.
QByteArray piece(char kind, QByteArrayView bytes);
QByteArray piece(char kind, const Piece &counted);
// Whether a file's last bytes end with a piece's line: the file is a record, not another one.
bool endsWithPiece(QByteArrayView lastBytes);
// The trailer at the end of a record's last bytes; none when they hold no whole one.
std::optional<Trailer> readTrailer(QByteArrayView recordEnd);

// Undoing as a rewrite of the history: the record's copy of the history as it was comes first,
// shown to before(); then the history as it is now goes through the filter, which checks it
// against the pieces and passes on the games saved since the deletion.
class Restore {
public:
    explicit Restore(Trailer trailer);

    void before(QByteArrayView bytes);
    // The history's end needs no more: historyMatches() tells whether it came where the pieces
    // end.
    void operator()(QByteArrayView bytes, bool last, QByteArray &out);
    // Once all is read: whether the copy is what the deletion wrote, and whether the history was
    // exactly what the deletion left and the saves since.
    bool recordIntact() const;
    bool historyMatches() const { return m_matches && m_piece == m_trailer.pieces.size(); }

private:
    void closePieces();

    Trailer m_trailer;
    ContentDigest m_before;
    char m_lastBefore = '\n';
    size_t m_piece = 0;
    std::optional<ContentDigest> m_current; // of the piece being read
    bool m_matches = true;
    bool m_savedSince = false;
};

} // namespace UndoRecord
