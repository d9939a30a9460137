#include "history/drilldraft.h"

#include "entry/thistimecard.h"
#include "history/modefiles.h"
#include "platform/filesystemobject.h"

#include <algorithm>

namespace {

constexpr int Fields = 21;
constexpr qint64 MaxFileBytes = 4096;

bool isDigits(QByteArrayView text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

DrillDraft::DrillDraft(const FileSystemObject &fileSystem)
    : m_fileSystem(fileSystem) {
}

QString DrillDraft::keep(Mode playMode, const Drill &drill) const {
    QByteArrayList fields;
    for (int field : drill.fields)
        fields.append(QByteArray::number(field));
    QByteArray line = fields.join(' ') + ';' + QByteArray::number(drill.currentTarget);
    for (const QString &text : drill.texts)
        line.append(',').append(text.toLatin1());
    line.append(',').append(drill.savingAs.value_or(QString()).toLatin1());
    return m_fileSystem.replaceFile(filePath(playMode), line + "\r\n").description();
}

QString DrillDraft::discard(Mode playMode) const {
    return m_fileSystem.removeRegularFile(filePath(playMode)).description();
}

std::optional<DrillDraft::Drill> DrillDraft::kept(Mode playMode) const {
    QByteArray content;
    if (!m_fileSystem.readAll(filePath(playMode), content, MaxFileBytes).ok())
        return std::nullopt;
    const QList<QByteArray> parts = content.trimmed().split(';');
    if (parts.size() != 2)
        return std::nullopt;
    Drill drill;
    for (const QByteArray &mark : parts[0].split(' ')) {
        const int field = isDigits(mark) && !mark.isEmpty() ? mark.toInt() : -1;
        if (field < 0 || field >= Fields || (!drill.fields.empty() && field <= drill.fields.back()))
            return std::nullopt;
        drill.fields.push_back(field);
    }
    QList<QByteArray> card = parts[1].split(',');
    if (card.size() == Fields + 2)
        drill.savingAs = QString::fromLatin1(card.takeLast());
    if (card.size() != Fields + 1 || card[0].isEmpty() || !isDigits(card[0]) ||
        !std::binary_search(drill.fields.begin(), drill.fields.end(), card[0].toInt()))
        return std::nullopt;
    drill.currentTarget = card[0].toInt();
    for (int i = 0; i < Fields; ++i) {
        const QByteArray &text = card[i + 1];
        const bool chosen = std::binary_search(drill.fields.begin(), drill.fields.end(), i);
        // Only what the field could hold; a field not chosen holds nothing.
        if (text.size() > (chosen ? ThisTimeCard::maxLength(playMode) : 0) || !isDigits(text))
            return std::nullopt;
        drill.texts.append(QString::fromLatin1(text));
    }
    return drill;
}

QByteArray DrillDraft::filePath(Mode playMode) {
    return ModeFiles::path(playMode, ModeFiles::Draft, ModeFiles::Drills);
}
