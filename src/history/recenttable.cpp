#include "history/recenttable.h"

#include "history/storedgames.h"

#include <cstring>

namespace RecentTable {

Line lineAt(const char *start, const char *end) {
    // An empty chunk may have no data at all, and memchr must never be given a null pointer.
    const auto *lf = start == end
                         ? nullptr
                         : static_cast<const char *>(std::memchr(start, '\n', size_t(end - start)));
    const char *lineEnd = lf ? lf : end;
    const bool cr = lineEnd > start && lineEnd[-1] == '\r';
    return {QByteArrayView(start, lineEnd - start - (cr ? 1 : 0)), lf ? lf + 1 : end};
}

Rewrite::Rewrite(const StoredGames &games, const QList<int> &selectedRows)
    : m_games(games.count()) {
    m_selected.resize(size_t(m_games));
    for (int row : selectedRows) {
        if (row >= 0 && row < m_games)
            m_selected[size_t(row)] = m_deletes = true;
    }
}

void Rewrite::operator()(QByteArrayView bytes, bool last, QByteArray &out) {
    if (!m_partial.isEmpty()) {
        const qsizetype lf = bytes.indexOf('\n');
        m_partial.append(lf < 0 ? bytes : bytes.first(lf + 1));
        bytes = lf < 0 ? QByteArrayView() : bytes.sliced(lf + 1);
        if (lf < 0 && !last)
            return;
        take(m_partial, out);
        m_partial.clear();
    }
    for (qsizetype lf; (lf = bytes.indexOf('\n')) >= 0; bytes = bytes.sliced(lf + 1))
        take(bytes.first(lf + 1), out);
    if (last)
        take(bytes, out);
    else
        m_partial = bytes.toByteArray();
}

// A line that is no deleted game goes on as the file holds it, line end and all: the file is
// the one the table was filled from, so nothing the table does not show is lost.
void Rewrite::take(QByteArrayView line, QByteArray &out) {
    const QByteArrayView text = lineAt(line.data(), line.data() + line.size()).text;
    if (text.isEmpty() || m_game >= m_games) {
        out.append(line);
        return;
    }
    if (m_selected[size_t(m_games - 1 - m_game++)])
        m_deleted.append(text).append("\r\n");
    else
        out.append(line);
}

} // namespace RecentTable
