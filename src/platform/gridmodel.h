#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <vector>

// Roles a GridView reads from the horizontal header of any model, so that it can show any table:
// a column's width in twips (0 hides it) and the longest text of the column, which the grid's
// font is narrowed to fit.
namespace GridRoles {
inline constexpr int WidthTwips = Qt::UserRole;
inline constexpr int LongestText = Qt::UserRole + 1;
} // namespace GridRoles

// A table a GridView shows: the names screen readers announce for its columns and, through the
// GridRoles, each column's width and longest text.
class GridTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const final;
    // The heading a screen reader announces for a column, kept whatever the column count.
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) final;

protected:
    virtual int widthTwips(int col) const = 0;
    virtual QString longestText(int col) const = 0;

private:
    QStringList m_colNames;
};

// A small grid of texts that the program writes cell by cell (the averages), with column widths
// in twips and column alignments.
class GridModel : public GridTableModel {
    Q_OBJECT
public:
    // Column alignment 4: centred horizontally and vertically.
    static constexpr int AlignCenterCenter = 4;

    using GridTableModel::GridTableModel;

    void clear(); // every cell text becomes empty
    void setRows(int rows);
    void setCols(int cols);
    int rows() const { return m_rows; }
    int cols() const { return m_cols; }

    // Empty outside the grid.
    QString text(int row, int col) const;
    void setText(int row, int col, const QString &text);

    // 0 hides the column. Hidden columns at the end hold data for the program alone: views and
    // screen readers do not see them.
    void setColWidth(int col, int twips);
    int colWidth(int col) const;
    // 0..8: left, centre, right (by threes), each top, centre, bottom; 9: general.
    void setColAlignment(int col, int alignment);
    Qt::Alignment colAlignment(int col) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    int widthTwips(int col) const override { return colWidth(col); }
    QString longestText(int col) const override;
    int shownCols() const;
    bool contains(int row, int col) const;

    int m_rows = 0;
    int m_cols = 0;
    int m_shownCols = 0;          // up to the last column with a width
    std::vector<QString> m_cells; // row by row
    std::vector<int> m_colWidth;
    std::vector<Qt::Alignment> m_colAlignment;
};
