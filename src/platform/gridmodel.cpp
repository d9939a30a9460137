#include "platform/gridmodel.h"

#include <algorithm>
#include <array>

namespace {

constexpr int DefaultColWidth = 960;
constexpr Qt::Alignment GeneralAlignment = Qt::AlignLeft | Qt::AlignVCenter;

} // namespace

void GridModel::clear() {
    std::fill(m_cells.begin(), m_cells.end(), QString());
    if (m_rows > 0 && m_shownCols > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, m_shownCols - 1));
}

void GridModel::setRows(int newRows) {
    newRows = std::max(newRows, 0);
    if (newRows > m_rows) {
        beginInsertRows({}, m_rows, newRows - 1);
        m_rows = newRows;
        m_cells.resize(size_t(m_rows) * size_t(m_cols));
        endInsertRows();
    } else if (newRows < m_rows) {
        beginRemoveRows({}, newRows, m_rows - 1);
        m_rows = newRows;
        m_cells.resize(size_t(m_rows) * size_t(m_cols));
        endRemoveRows();
    }
}

void GridModel::setCols(int newCols) {
    newCols = std::max(newCols, 0);
    if (newCols == m_cols)
        return;
    beginResetModel();
    // Dropped cells go, new ones are empty.
    std::vector<QString> cells(size_t(m_rows) * size_t(newCols));
    for (int row = 0; row < m_rows; ++row)
        for (int col = 0; col < std::min(m_cols, newCols); ++col)
            cells[size_t(row * newCols + col)] = m_cells[size_t(row * m_cols + col)];
    m_cells.swap(cells);
    m_cols = newCols;
    m_colWidth.resize(size_t(newCols), DefaultColWidth);
    m_colAlignment.resize(size_t(newCols), GeneralAlignment);
    m_shownCols = shownCols();
    endResetModel();
}

QString GridModel::text(int row, int col) const {
    return contains(row, col) ? m_cells[size_t(row * m_cols + col)] : QString();
}

void GridModel::setText(int row, int col, const QString &text) {
    if (!contains(row, col))
        return;
    m_cells[size_t(row * m_cols + col)] = text;
    if (col < m_shownCols)
        emit dataChanged(index(row, col), index(row, col));
}

void GridModel::setColWidth(int col, int twips) {
    if (col < 0 || col >= m_cols)
        return;
    m_colWidth[size_t(col)] = std::max(twips, 0);
    if (const int shown = shownCols(); shown != m_shownCols) {
        beginResetModel();
        m_shownCols = shown;
        endResetModel();
    } else if (col < m_shownCols) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    }
}

int GridModel::colWidth(int col) const {
    return col >= 0 && col < m_cols ? m_colWidth[size_t(col)] : 0;
}

void GridModel::setColAlignment(int col, int alignment) {
    static constexpr std::array<Qt::Alignment, 9> byCode{
        Qt::AlignLeft | Qt::AlignTop,
        Qt::AlignLeft | Qt::AlignVCenter,
        Qt::AlignLeft | Qt::AlignBottom,
        Qt::AlignHCenter | Qt::AlignTop,
        Qt::AlignCenter,
        Qt::AlignHCenter | Qt::AlignBottom,
        Qt::AlignRight | Qt::AlignTop,
        Qt::AlignRight | Qt::AlignVCenter,
        Qt::AlignRight | Qt::AlignBottom,
    };
    if (col < 0 || col >= m_cols)
        return;
    m_colAlignment[size_t(col)] = alignment >= 0 && alignment < int(byCode.size())
                                      ? byCode[size_t(alignment)]
                                      : GeneralAlignment;
    if (m_rows > 0 && col < m_shownCols)
        emit dataChanged(index(0, col), index(m_rows - 1, col), {Qt::TextAlignmentRole});
}

Qt::Alignment GridModel::colAlignment(int col) const {
    return col >= 0 && col < m_cols ? m_colAlignment[size_t(col)] : GeneralAlignment;
}

int GridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int GridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_shownCols;
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return m_colNames.value(section);
    case GridRoles::WidthTwips:
        return widthTwips(section);
    case GridRoles::LongestText:
        return longestText(section);
    default:
        return QAbstractTableModel::headerData(section, orientation, role);
    }
}

bool GridTableModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                                   int role) {
    if (orientation != Qt::Horizontal || role != Qt::EditRole || section < 0)
        return false;
    m_colNames.resize(std::max(m_colNames.size(), qsizetype(section) + 1));
    m_colNames[section] = value.toString();
    return true;
}

QString GridModel::longestText(int col) const {
    QString longest;
    for (int row = 0; row < m_rows; ++row) {
        if (const QString cell = text(row, col); cell.size() > longest.size())
            longest = cell;
    }
    return longest;
}

QVariant GridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || !contains(index.row(), index.column()))
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return int(m_colAlignment[size_t(index.column())]);
    return {};
}

int GridModel::shownCols() const {
    int shown = m_cols;
    while (shown > 0 && m_colWidth[size_t(shown) - 1] == 0)
        --shown;
    return shown;
}

bool GridModel::contains(int row, int col) const {
    return row >= 0 && row < m_rows && col >= 0 && col < m_cols;
}
