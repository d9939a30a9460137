#include "history/carddraft.h"

#include "entry/thistimecard.h"
#include "history/historyline.h"
#include "history/modefiles.h"
#include "history/recenttable.h"
#include "history/storedgames.h"
#include "platform/filesystemobject.h"

#include <algorithm>

namespace {

constexpr int Fields = 21;
constexpr qint64 MaxFileBytes = 4096; // a card is less than a hundred bytes

} // namespace

CardDraft::CardDraft(const FileSystemObject &fileSystem)
    : m_fileSystem(fileSystem) {
}

QString CardDraft::keep(Mode playMode, const QStringList &texts, int currentTarget,
                        const QString &savingAs) const {
    const QByteArray kept = line(texts, currentTarget, savingAs);
    if (kept.isEmpty())
        return discard(playMode);
    return m_fileSystem.replaceFile(filePath(playMode), kept + "\r\n").description();
}

QByteArray CardDraft::line(const QStringList &texts, int currentTarget, const QString &savingAs) {
    if (std::all_of(texts.cbegin(), texts.cend(), [](const QString &t) { return t.isEmpty(); }))
        return {};
    QByteArray line = QByteArray::number(currentTarget);
    for (const QString &text : texts)
        line.append(',').append(text.toLatin1());
    return line.append(',').append(savingAs.toLatin1());
}

QString CardDraft::discard(Mode playMode) const {
    return m_fileSystem.removeRegularFile(filePath(playMode)).description();
}

std::optional<CardDraft::Card> CardDraft::kept(Mode playMode) const {
    QByteArray content;
    if (!m_fileSystem.readAll(filePath(playMode), content, MaxFileBytes).ok())
        return std::nullopt;
    QList<QByteArray> fields = content.trimmed().split(',');
    bool isNumber = false;
    Card card{{}, fields.first().toInt(&isNumber), std::nullopt};
    if (fields.size() == Fields + 2)
        card.savingAs = QString::fromLatin1(fields.takeLast());
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

bool CardDraft::isSaved(const QStringList &texts, const std::optional<QString> &savingAs,
                        const StoredGames &games) {
    if (games.count() == 0)
        return false;
    if (savingAs)
        return *savingAs == QString::fromLatin1(games.cell(0, RecentTable::StampCol));
    for (int i = 0; i < Fields; ++i)
        if (HistoryLine::storedValue(texts[i]) != QString::fromLatin1(games.cell(0, i + 1)))
            return false;
    return true;
}

QByteArray CardDraft::filePath(Mode playMode) {
    return ModeFiles::path(playMode, ModeFiles::Draft);
}
