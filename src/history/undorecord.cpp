#include "history/undorecord.h"

#include <QCryptographicHash>
#include <QList>

namespace {

constexpr QByteArrayView Magic = "DARTRAIL-UNDO ";

} // namespace

namespace UndoRecord {

QByteArray start(QByteArrayView before) {
    QByteArray record = Magic.toByteArray() + QByteArray::number(before.size()) + "\r\n";
    return record.append(before);
}

QByteArray piece(char kind, qint64 size, const QByteArray &digest) {
    return kind + (' ' + QByteArray::number(size)) + ' ' + digest;
}

QByteArray piece(char kind, QByteArrayView bytes) {
    return piece(kind, bytes.size(),
                 QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

std::optional<QByteArray> restored(QByteArrayView record, QByteArrayView now) {
    const qsizetype headerEnd = record.indexOf("\r\n");
    bool sized = false;
    const qsizetype beforeSize =
        record.startsWith(Magic) && headerEnd > 0
            ? record.sliced(Magic.size(), headerEnd - Magic.size()).toLongLong(&sized)
            : -1;
    const qsizetype piecesStart = headerEnd + 2 + beforeSize;
    if (!sized || beforeSize < 0 || piecesStart > record.size())
        return std::nullopt;

    qsizetype covered = 0, left = -1;
    for (const QByteArray &line : record.sliced(piecesStart).toByteArray().split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue; // the line end put after a history as it was that lacked its own
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
    QByteArray history = record.sliced(headerEnd + 2, beforeSize).toByteArray();
    const QByteArrayView savedSince = now.sliced(left);
    if (!savedSince.isEmpty() && !history.isEmpty() && !history.endsWith('\n'))
        history.append(history.endsWith('\r') ? "\n" : "\r\n");
    return history.append(savedSince);
}

} // namespace UndoRecord
