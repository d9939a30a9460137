#include "history/recentmodel.h"

#include "history/recenttable.h"
#include "history/scorecolumns.h"
#include "history/storedgames.h"
#include "platform/gridmodel.h"

#include <algorithm>

RecentModel::RecentModel(const StoredGames &games, QObject *parent)
    : GridTableModel(parent)
    , m_games(games)
    , m_rows(std::max(games.count(), RecentTable::MinRows)) {
}

void RecentModel::refresh() {
    const int rows = std::max(m_games.count(), RecentTable::MinRows);
    if (rows > m_rows) {
        beginInsertRows({}, m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    } else if (rows < m_rows) {
        beginRemoveRows({}, rows, m_rows - 1);
        m_rows = rows;
        endRemoveRows();
    }
    emit dataChanged(index(0, 0), index(m_rows - 1, ScoreColumns::Count - 1));
}

QString RecentModel::text(int row, int col) const {
    if (row >= m_games.count())
        return row < m_rows && col == 0 ? QString::fromLatin1(RecentTable::Placeholder) : QString();
    return QString::fromLatin1(m_games.cell(row, col));
}

int RecentModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int RecentModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ScoreColumns::Count;
}

QVariant RecentModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_rows || index.column() >= ScoreColumns::Count)
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

int RecentModel::widthTwips(int col) const {
    return ScoreColumns::width(col);
}

QString RecentModel::longestText(int col) const {
    const QString placeholder = QString::fromLatin1(RecentTable::Placeholder);
    const QString text = QString::fromLatin1(m_games.longest(col));
    return col == 0 && m_rows > m_games.count() && text.size() < placeholder.size() ? placeholder
                                                                                    : text;
}
