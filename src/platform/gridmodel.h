#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <span>
#include <vector>

// The cells of one grid: plain 8-bit texts, column widths in twips and column alignments.
// A history of a million games must fit, so each row is one run of length-prefixed cells in a
// shared byte pool instead of a string per cell.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Column alignment 4: centred horizontally and vertically.
    static constexpr int AlignCenterCenter = 4;

    using QAbstractTableModel::QAbstractTableModel;

    void clear(); // every cell text becomes empty
    void setRows(int rows);
    void setCols(int cols);
    int rows() const { return int(m_rowStart.size()); }
    int cols() const { return m_cols; }

    // Texts are stored as Latin-1; the grid holds 8-bit text only.
    QString text(int row, int col) const;
    void setText(int row, int col, const QString &text);

    // 0 hides the column. Hidden columns at the end hold data for the program alone: views and
    // screen readers do not see them.
    void setColWidth(int col, int twips);
    int colWidth(int col) const;
    // The heading a screen reader announces for the column, kept whatever the column count.
    void setColName(int col, const QString &name);
    // 0..8: left, centre, right (by threes), each top, centre, bottom; 9: general.
    void setColAlignment(int col, int alignment);
    Qt::Alignment colAlignment(int col) const;

    // Fast paths. Views point into the grid and stay valid until its next change.
    QByteArrayView cellBytes(int row, int col) const;
    // The first cells.size() cells of a row (empty views past the last column).
    void rowCells(int row, std::span<QByteArrayView> cells) const;
    // Replaces a whole row without notifying views; announce a batch with rowsWritten().
    // Cells past the last column are ignored, missing ones are empty.
    void writeRow(int row, std::span<const QByteArrayView> cells);
    void rowsWritten(int first, int last);
    void reserveBytes(qsizetype bytes);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    void colWidthChanged(int col);

private:
    static constexpr qint64 EmptyRow = -1;

    int shownCols() const;
    void cellsChanged(int firstRow, int lastRow, int firstCol, int lastCol,
                      const QList<int> &roles = {});
    bool contains(int row, int col) const;
    void appendRow(int row, std::span<const QByteArrayView> cells);
    qsizetype rowBytes(int row) const;
    void compactIfWasteful();

    QByteArray m_pool;
    std::vector<qint64> m_rowStart; // offset in m_pool, or EmptyRow
    qint64 m_garbage = 0;           // bytes of m_pool no row points to
    int m_cols = 0;
    int m_shownCols = 0; // up to the last column with a width
    std::vector<int> m_colWidth;
    std::vector<Qt::Alignment> m_colAlignment;
    QStringList m_colNames;
};
