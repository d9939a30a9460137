#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>

#include <memory>
#include <span>
#include <vector>

class GridRows;

// The cells of one grid: plain 8-bit texts, column widths in twips and column alignments.
// A history of a million games must fit, so each row is one run of length-prefixed cells in a
// shared byte pool instead of a string per cell, or the grid shows the rows of a source that
// keeps them in a form of its own.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Column alignment 4: centred horizontally and vertically.
    static constexpr int AlignCenterCenter = 4;

    // Rows kept by their owner in a form of its own, their texts made when read. A source never
    // changes, so grids and copies of their rows may share it.
    class RowSource {
    public:
        virtual ~RowSource() = default;
        virtual int rows() const = 0;
        // A cell's text, valid while the source lives; empty past the source's columns.
        virtual QByteArrayView cell(int row, int col) const = 0;
    };

    using QAbstractTableModel::QAbstractTableModel;

    void clear(); // every cell text becomes empty
    void setRows(int rows);
    void setCols(int cols);
    int rows() const { return m_source ? m_sourceRows : int(m_rowStart.size()); }
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
    // The grid takes the source's rows, keeping its columns. The first write to the grid makes
    // the rows its own texts.
    void setRowSource(std::shared_ptr<const RowSource> source);
    // The source of the rows, if they come from one.
    const RowSource *rowSource() const { return m_source.get(); }
    // A copy of the rows that no later change of the grid touches; a source's rows are shared.
    GridRows copyRows(const QList<int> &rows) const;

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
    void takeSourceRows();

    std::shared_ptr<const RowSource> m_source; // when set, every row is the source's
    int m_sourceRows = 0;
    QByteArray m_pool;
    std::vector<qint64> m_rowStart; // offset in m_pool, or EmptyRow
    qint64 m_garbage = 0;           // bytes of m_pool no row points to
    int m_cols = 0;
    int m_shownCols = 0; // up to the last column with a width
    std::vector<int> m_colWidth;
    std::vector<Qt::Alignment> m_colAlignment;
    QStringList m_colNames;
};

// Rows copied out of a grid, in the order asked for: the texts of their cells as they were.
class GridRows {
public:
    GridRows() = default;
    GridRows(std::shared_ptr<const GridModel::RowSource> source, QList<int> rows, int cols)
        : m_source(std::move(source))
        , m_rows(std::move(rows))
        , m_cols(cols) {}

    int rows() const { return int(m_rows.size()); }
    // Empty outside the rows and columns.
    QByteArrayView cell(int row, int col) const {
        return row >= 0 && row < m_rows.size() && col >= 0 && col < m_cols
                   ? m_source->cell(m_rows[row], col)
                   : QByteArrayView();
    }

private:
    std::shared_ptr<const GridModel::RowSource> m_source;
    QList<int> m_rows;
    int m_cols = 0;
};
