#include "history/undorecord.h"

#include "history/contentdigest.h"

#include <QByteArrayList>

namespace {

constexpr QByteArrayView Magic = "DARTRAIL-UNDO ";

// What a line appended after these bytes is preceded by, so that it starts a line of its own.
QByteArrayView lineEndAfter(QByteArrayView bytes) {
    return bytes.isEmpty() || bytes.endsWith('\n') ? "" : bytes.endsWith('\r') ? "\n" : "\r\n";
}

} // namespace

namespace UndoRecord {

QByteArray trailer(qint64 beforeSize, qint64 leftSize, const QByteArray &leftDigest) {
    return Magic.toByteArray() + QByteArray::number(beforeSize) + "\r\n" +
           piece('D', leftSize, leftDigest);
}

QByteArray piece(char kind, qint64 size, const QByteArray &digest) {
    return kind + (' ' + QByteArray::number(size)) + ' ' + digest;
}

QByteArray piece(char kind, QByteArrayView bytes) {
    ContentDigest digest;
    digest.add(bytes);
    return piece(kind, bytes.size(), digest.hex());
}

std::optional<QByteArray> restored(QByteArrayView record, QByteArrayView now) {
    // The pieces never hold the mark, whatever the history as it was holds.
    const qsizetype mark = record.lastIndexOf(Magic);
    const qsizetype markEnd = mark < 0 ? -1 : record.indexOf("\r\n", mark);
    bool sized = false;
    const qsizetype beforeSize =
        mark >= 0 && markEnd > mark
            ? record.sliced(mark + Magic.size(), markEnd - mark - Magic.size()).toLongLong(&sized)
            : -1;
    if (!sized || beforeSize < 0 || beforeSize > mark)
        return std::nullopt;
    const QByteArrayView before = record.first(beforeSize);
    if (record.sliced(beforeSize, mark - beforeSize) != lineEndAfter(before))
        return std::nullopt;

    qsizetype covered = 0, left = -1;
    for (const QByteArray &line : record.sliced(markEnd + 2).toByteArray().split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        const qsizetype size = trimmed.split(' ').value(1).toLongLong();
        if (size < 0 || covered + size > now.size() ||
            trimmed != piece(trimmed[0], now.sliced(covered, size)))
            return std::nullopt;
        left = left < 0 ? size : left;
        covered += size;
    }
    if (left < 0 || covered != now.size())
        return std::nullopt;

    // The games saved since the deletion stay the newest.
    const QByteArrayView savedSince = now.sliced(left);
    QByteArray history = before.toByteArray();
    if (!savedSince.isEmpty())
        history.append(lineEndAfter(before));
    return history.append(savedSince);
}

} // namespace UndoRecord
