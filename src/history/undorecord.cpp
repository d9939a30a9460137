#include "history/undorecord.h"

#include <QByteArrayList>

#include <algorithm>
#include <utility>

namespace {

constexpr QByteArrayView Magic = "DARTRAIL-UNDO ";
constexpr qsizetype DigestSize = 16;

// What a line appended after bytes ending in `last` is preceded by, so that it starts a line of
// its own.
QByteArrayView lineEndAfter(qint64 size, char last) {
    return size == 0 || last == '\n' ? "" : last == '\r' ? "\n" : "\r\n";
}

// "size digest", exactly as written.
std::optional<UndoRecord::Piece> readSized(QByteArrayView text) {
    const QByteArrayList fields = text.toByteArray().split(' ');
    bool sized = false;
    const qint64 size = fields.value(0).toLongLong(&sized);
    const QByteArray digest = fields.value(1);
    if (fields.size() != 2 || !sized || size < 0 || QByteArray::number(size) != fields[0] ||
        digest.size() != DigestSize || !std::all_of(digest.begin(), digest.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
        }))
        return std::nullopt;
    return UndoRecord::Piece{size, digest};
}

std::optional<UndoRecord::Piece> readPiece(QByteArrayView line, QByteArrayView kinds) {
    if (line.size() < 2 || !kinds.contains(line[0]) || line[1] != ' ')
        return std::nullopt;
    return readSized(line.sliced(2));
}

} // namespace

namespace UndoRecord {

QByteArray trailer(const Piece &before, const Piece &left) {
    return Magic.toByteArray() + QByteArray::number(before.size) + ' ' + before.digest + "\r\n" +
           piece('D', left);
}

QByteArray piece(char kind, const Piece &counted) {
    return kind + (' ' + QByteArray::number(counted.size)) + ' ' + counted.digest;
}

QByteArray piece(char kind, QByteArrayView bytes) {
    ContentDigest digest;
    digest.add(bytes);
    return piece(kind, Piece{bytes.size(), digest.hex()});
}

bool endsWithPiece(QByteArrayView lastBytes) {
    if (!lastBytes.endsWith("\r\n"))
        return false;
    lastBytes.chop(2);
    const qsizetype lf = lastBytes.lastIndexOf('\n');
    return lf >= 0 && readPiece(lastBytes.sliced(lf + 1), "DS").has_value();
}

std::optional<Trailer> readTrailer(QByteArrayView recordEnd) {
    // The pieces never hold the mark, whatever the history as it was holds.
    const qsizetype mark = recordEnd.lastIndexOf(Magic);
    if (mark < 0)
        return std::nullopt;
    std::optional<Trailer> trailer;
    for (QByteArrayView rest = recordEnd.sliced(mark + Magic.size()); !rest.isEmpty();) {
        const qsizetype end = rest.indexOf("\r\n");
        const QByteArrayView text = rest.first(std::max<qsizetype>(end, 0));
        const std::optional<Piece> read = !trailer                  ? readSized(text)
                                          : trailer->pieces.empty() ? readPiece(text, "D")
                                                                    : readPiece(text, "S");
        if (end < 0 || !read)
            return std::nullopt;
        if (trailer)
            trailer->pieces.push_back(*read);
        else
            trailer = Trailer{*read, {}};
        rest = rest.sliced(end + 2);
    }
    if (!trailer || trailer->pieces.empty())
        return std::nullopt;
    return trailer;
}

Restore::Restore(Trailer trailer)
    : m_trailer(std::move(trailer)) {
    m_current.emplace();
}

void Restore::before(QByteArrayView bytes) {
    m_before.add(bytes);
    if (!bytes.isEmpty())
        m_lastBefore = bytes.back();
}

bool Restore::recordIntact() const {
    return m_before.size() == m_trailer.before.size && m_before.hex() == m_trailer.before.digest;
}

// Checks each piece that has all its bytes (an empty one has them from the start).
void Restore::closePieces() {
    while (m_piece < m_trailer.pieces.size() &&
           m_current->size() == m_trailer.pieces[m_piece].size) {
        m_matches = m_matches && m_current->hex() == m_trailer.pieces[m_piece].digest;
        ++m_piece;
        m_current.emplace();
    }
}

void Restore::operator()(QByteArrayView bytes, bool, QByteArray &out) {
    for (closePieces(); m_matches && !bytes.isEmpty(); closePieces()) {
        if (m_piece == m_trailer.pieces.size()) {
            m_matches = false; // more than the pieces
            break;
        }
        const QByteArrayView part = bytes.first(
            std::min(bytes.size(), qsizetype(m_trailer.pieces[m_piece].size - m_current->size())));
        m_current->add(part);
        if (m_piece > 0) { // the games saved since stay the newest
            if (!m_savedSince)
                out.append(lineEndAfter(m_before.size(), m_lastBefore));
            m_savedSince = true;
            out.append(part);
        }
        bytes = bytes.sliced(part.size());
    }
}

} // namespace UndoRecord
