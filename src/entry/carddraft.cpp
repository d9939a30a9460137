#include "entry/carddraft.h"

#include "entry/thistimecard.h"
#include "history/historystore.h"
#include "platform/filesystemobject.h"

#include <algorithm>

namespace {

constexpr int Fields = 21;
constexpr qint64 MaxFileBytes = 4096; // a card is less than a hundred bytes

} // namespace

CardDraft::CardDraft(const FileSystemObject &fileSystem)
    : m_fileSystem(fileSystem) {
}

void CardDraft::keep(qint32 playMode, const QStringList &texts, int currentTarget) const {
    if (std::all_of(texts.cbegin(), texts.cend(), [](const QString &t) { return t.isEmpty(); })) {
        discard(playMode);
        return;
    }
    QByteArray line = QByteArray::number(currentTarget);
    for (const QString &text : texts)
        line.append(',').append(text.toLatin1());
    m_fileSystem.replaceFile(filePath(playMode), line + "\r\n");
}

void CardDraft::discard(qint32 playMode) const {
    m_fileSystem.removeFile(filePath(playMode));
}

std::optional<CardDraft::Card> CardDraft::kept(qint32 playMode) const {
    QByteArray content;
    if (!m_fileSystem.readAll(filePath(playMode), content, MaxFileBytes).ok())
        return std::nullopt;
    const QList<QByteArray> fields = content.trimmed().split(',');
    bool isNumber = false;
    Card card{{}, fields.first().toInt(&isNumber)};
    if (fields.size() != Fields + 1 || !isNumber || card.currentTarget < 0 ||
        card.currentTarget >= Fields)
        return std::nullopt;
    // Only what the field could hold: digits, as many as the mode allows.
    for (const QByteArray &field : fields.mid(1)) {
        if (field.size() > ThisTimeCard::maxLength(playMode) ||
            !std::all_of(field.cbegin(), field.cend(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        card.texts.append(QString::fromLatin1(field));
    }
    return card;
}

QByteArray CardDraft::filePath(qint32 playMode) {
    return HistoryStore::filePath(playMode, "draft");
}
