#include "platform/gridmodel.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>

namespace {

constexpr int DefaultColWidth = 960;
constexpr Qt::Alignment GeneralAlignment = Qt::AlignLeft | Qt::AlignVCenter;

// Cell lengths are varints (7 bits per byte, low bits first), so short cells cost one byte.
qsizetype lengthBytes(qsizetype length) {
    qsizetype bytes = 1;
    for (auto value = quint64(length); value >= 0x80; value >>= 7)
        ++bytes;
    return bytes;
}

char *writeLength(char *out, qsizetype length) {
    auto value = quint64(length);
    while (value >= 0x80) {
        *out++ = char((value & 0x7f) | 0x80);
        value >>= 7;
    }
    *out++ = char(value);
    return out;
}

const char *readLength(const char *p, qsizetype &length) {
    quint64 value = 0;
    int shift = 0;
    while (quint8(*p) & 0x80) {
        value |= quint64(quint8(*p++) & 0x7f) << shift;
        shift += 7;
    }
    value |= quint64(quint8(*p++)) << shift;
    length = qsizetype(value);
    return p;
}

// Cell `col` of a row that starts at `p`.
QByteArrayView cellAt(const char *p, int col) {
    qsizetype length = 0;
    for (int c = 0; c < col; ++c) {
        p = readLength(p, length);
        p += length;
    }
    p = readLength(p, length);
    return QByteArrayView(p, length);
}

// Rows copied out of a grid's pool, in a pool of their own.
class CopiedRows : public GridModel::RowSource {
public:
    CopiedRows(QByteArray pool, std::vector<qint64> rowStart, int cols)
        : m_pool(std::move(pool))
        , m_rowStart(std::move(rowStart))
        , m_cols(cols) {}

    int rows() const override { return int(m_rowStart.size()); }
    QByteArrayView cell(int row, int col) const override {
        if (col < 0 || col >= m_cols || m_rowStart[size_t(row)] < 0)
            return {};
        return cellAt(m_pool.constData() + m_rowStart[size_t(row)], col);
    }

private:
    QByteArray m_pool;
    std::vector<qint64> m_rowStart; // -1: a row of empty cells
    int m_cols;
};

} // namespace

void GridModel::clear() {
    if (m_source) {
        m_source.reset();
        m_rowStart.assign(size_t(m_sourceRows), EmptyRow);
    }
    m_pool.clear();
    m_garbage = 0;
    std::fill(m_rowStart.begin(), m_rowStart.end(), EmptyRow);
    if (rows() > 0 && m_cols > 0)
        cellsChanged(0, rows() - 1, 0, m_cols - 1);
}

void GridModel::setRows(int newRows) {
    takeSourceRows();
    newRows = std::max(newRows, 0);
    if (newRows > rows()) {
        beginInsertRows({}, rows(), newRows - 1);
        m_rowStart.resize(size_t(newRows), EmptyRow);
        endInsertRows();
    } else if (newRows < rows()) {
        beginRemoveRows({}, newRows, rows() - 1);
        for (int row = newRows; row < rows(); ++row)
            m_garbage += rowBytes(row);
        m_rowStart.resize(size_t(newRows));
        m_rowStart.shrink_to_fit();
        endRemoveRows();
        compactIfWasteful();
    }
}

void GridModel::setCols(int newCols) {
    newCols = std::max(newCols, 0);
    if (newCols == m_cols)
        return;
    takeSourceRows();
    beginResetModel();

    // Every stored row is re-encoded for the new count: dropped cells go, new ones are empty.
    QByteArray old;
    old.swap(m_pool);
    m_garbage = 0;
    const int oldCols = m_cols;
    std::vector<QByteArrayView> cells(size_t(std::min(oldCols, newCols)));
    m_cols = newCols;
    for (int row = 0; row < rows(); ++row) {
        if (m_rowStart[size_t(row)] == EmptyRow)
            continue;
        const char *p = old.constData() + m_rowStart[size_t(row)];
        for (auto &cell : cells) {
            qsizetype length = 0;
            p = readLength(p, length);
            cell = QByteArrayView(p, length);
            p += length;
        }
        appendRow(row, cells);
    }
    m_colWidth.resize(size_t(newCols), DefaultColWidth);
    m_colAlignment.resize(size_t(newCols), GeneralAlignment);
    m_shownCols = shownCols();
    endResetModel();
}

QString GridModel::text(int row, int col) const {
    return QString::fromLatin1(cellBytes(row, col));
}

void GridModel::setText(int row, int col, const QString &text) {
    if (!contains(row, col))
        return;
    takeSourceRows();
    const QByteArray bytes = text.toLatin1();
    std::vector<QByteArrayView> cells(static_cast<size_t>(m_cols));
    rowCells(row, cells);
    cells[size_t(col)] = bytes;
    m_garbage += rowBytes(row);
    appendRow(row, cells);
    compactIfWasteful();
    cellsChanged(row, row, col, col);
}

void GridModel::setColWidth(int col, int twips) {
    if (col < 0 || col >= m_cols)
        return;
    m_colWidth[size_t(col)] = std::max(twips, 0);
    if (const int shown = shownCols(); shown != m_shownCols) {
        beginResetModel();
        m_shownCols = shown;
        endResetModel();
    }
    emit colWidthChanged(col);
}

void GridModel::setColName(int col, const QString &name) {
    if (col >= 0) {
        m_colNames.resize(std::max(m_colNames.size(), qsizetype(col) + 1));
        m_colNames[col] = name;
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
    cellsChanged(0, rows() - 1, col, col, {Qt::TextAlignmentRole});
}

Qt::Alignment GridModel::colAlignment(int col) const {
    return col >= 0 && col < m_cols ? m_colAlignment[size_t(col)] : GeneralAlignment;
}

QByteArrayView GridModel::cellBytes(int row, int col) const {
    if (!contains(row, col))
        return {};
    if (m_source)
        return m_source->cell(row, col);
    if (m_rowStart[size_t(row)] == EmptyRow)
        return {};
    return cellAt(m_pool.constData() + m_rowStart[size_t(row)], col);
}

void GridModel::rowCells(int row, std::span<QByteArrayView> cells) const {
    std::fill(cells.begin(), cells.end(), QByteArrayView());
    if (row < 0 || row >= rows())
        return;
    if (m_source) {
        for (size_t c = 0; c < std::min(cells.size(), size_t(m_cols)); ++c)
            cells[c] = m_source->cell(row, int(c));
        return;
    }
    if (m_rowStart[size_t(row)] == EmptyRow)
        return;
    const char *p = m_pool.constData() + m_rowStart[size_t(row)];
    const size_t count = std::min(cells.size(), size_t(m_cols));
    for (size_t c = 0; c < count; ++c) {
        qsizetype length = 0;
        p = readLength(p, length);
        cells[c] = QByteArrayView(p, length);
        p += length;
    }
}

void GridModel::setRowSource(std::shared_ptr<const RowSource> source) {
    const int oldRows = rows();
    const int newRows = source->rows();
    if (newRows > oldRows)
        beginInsertRows({}, oldRows, newRows - 1);
    else if (newRows < oldRows)
        beginRemoveRows({}, newRows, oldRows - 1);
    m_pool = QByteArray();
    m_garbage = 0;
    m_rowStart = {};
    m_source = std::move(source);
    m_sourceRows = newRows;
    if (newRows > oldRows)
        endInsertRows();
    else if (newRows < oldRows)
        endRemoveRows();
    cellsChanged(0, newRows - 1, 0, m_cols - 1);
}

GridRows GridModel::copyRows(const QList<int> &rows) const {
    QList<int> inside;
    for (int row : rows) {
        if (row >= 0 && row < this->rows())
            inside.append(row);
    }
    if (m_source)
        return GridRows(m_source, inside, m_cols);
    QByteArray pool;
    std::vector<qint64> rowStart;
    QList<int> copied;
    for (int row : inside) {
        copied.append(int(rowStart.size()));
        if (m_rowStart[size_t(row)] == EmptyRow) {
            rowStart.push_back(EmptyRow);
            continue;
        }
        rowStart.push_back(pool.size());
        pool.append(m_pool.constData() + m_rowStart[size_t(row)], rowBytes(row));
    }
    return GridRows(std::make_shared<CopiedRows>(std::move(pool), std::move(rowStart), m_cols),
                    copied, m_cols);
}

int GridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : rows();
}

int GridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_shownCols;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_colNames.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
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

void GridModel::cellsChanged(int firstRow, int lastRow, int firstCol, int lastCol,
                             const QList<int> &roles) {
    lastCol = std::min(lastCol, m_shownCols - 1);
    if (firstRow <= lastRow && firstCol <= lastCol)
        emit dataChanged(index(firstRow, firstCol), index(lastRow, lastCol), roles);
}

bool GridModel::contains(int row, int col) const {
    return row >= 0 && row < rows() && col >= 0 && col < m_cols;
}

// Writes the row's cells at the end of the pool and points the row there; a row of only empty
// cells takes no bytes at all.
void GridModel::appendRow(int row, std::span<const QByteArrayView> cells) {
    const size_t count = std::min(cells.size(), size_t(m_cols));
    qsizetype bytes = qsizetype(size_t(m_cols) - count); // one length byte per missing cell
    for (size_t c = 0; c < count; ++c)
        bytes += lengthBytes(cells[c].size()) + cells[c].size();
    if (bytes == m_cols) {
        m_rowStart[size_t(row)] = EmptyRow;
        return;
    }

    // Cells read from this grid point into the pool, which may move while it grows.
    const char *oldBase = m_pool.constData();
    const char *oldEnd = oldBase + m_pool.size();
    const qsizetype start = m_pool.size();
    m_pool.resize(start + bytes);
    const char *newBase = m_pool.constData();
    char *out = m_pool.data() + start;
    const std::less<const char *> before;
    for (size_t c = 0; c < count; ++c) {
        const char *source = cells[c].data();
        if (!before(source, oldBase) && before(source, oldEnd))
            source = newBase + (source - oldBase);
        out = writeLength(out, cells[c].size());
        if (!cells[c].isEmpty())
            std::memcpy(out, source, size_t(cells[c].size()));
        out += cells[c].size();
    }
    for (size_t c = count; c < size_t(m_cols); ++c)
        *out++ = 0;
    m_rowStart[size_t(row)] = start;
}

qsizetype GridModel::rowBytes(int row) const {
    if (m_rowStart[size_t(row)] == EmptyRow)
        return 0;
    const char *start = m_pool.constData() + m_rowStart[size_t(row)];
    const char *p = start;
    for (int c = 0; c < m_cols; ++c) {
        qsizetype length = 0;
        p = readLength(p, length);
        p += length;
    }
    return p - start;
}

// Before the first change the source's rows become the grid's own texts.
void GridModel::takeSourceRows() {
    if (!m_source)
        return;
    const std::shared_ptr<const RowSource> source = std::move(m_source);
    m_rowStart.assign(size_t(m_sourceRows), EmptyRow);
    std::vector<QByteArrayView> cells(static_cast<size_t>(m_cols));
    for (int row = 0; row < m_sourceRows; ++row) {
        for (int col = 0; col < m_cols; ++col)
            cells[size_t(col)] = source->cell(row, col);
        appendRow(row, cells);
    }
}

// Rewritten rows leave their old bytes behind; once they are the larger part, copy the live rows.
void GridModel::compactIfWasteful() {
    if (m_garbage < 4096 || m_garbage * 2 < m_pool.size())
        return;
    QByteArray live;
    live.reserve(m_pool.size() - m_garbage);
    for (int row = 0; row < rows(); ++row) {
        if (m_rowStart[size_t(row)] == EmptyRow)
            continue;
        const qsizetype length = rowBytes(row);
        const qint64 start = live.size();
        live.append(m_pool.constData() + m_rowStart[size_t(row)], length);
        m_rowStart[size_t(row)] = start;
    }
    m_pool.swap(live);
    m_garbage = 0;
}
