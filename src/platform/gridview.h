#pragma once

#include <QList>
#include <QTableView>

// A grid of plain text cells without headings that selects contiguous ranges of whole rows,
// the current row always among them. Tab leaves it like any other control; the arrow keys move
// within it. Any model will do: it gives the column widths and longest texts through the
// GridRoles (platform/gridmodel.h) of its horizontal header.
class GridView : public QTableView {
    Q_OBJECT
public:
    // Highlight settings: selection shown always, or only while the grid has the focus.
    static constexpr int HighlightAlways = 1;
    static constexpr int HighlightWithFocus = 2;

    explicit GridView(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;

    // The selected rows, top to bottom.
    QList<int> selectedRows() const;

    // Narrows the selection to the current row, so that a block of rows the player chose
    // before a reload never silently stands for other rows after it.
    void selectOnlyCurrentRow();

    void setHighlight(int setting);
    int highlight() const { return m_highlight; }
    const QColor &selectionBackground() const { return m_selectionBackground; }

protected:
    void focusInEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;

private:
    void selectCurrentRow();
    void applyColWidths(int first = 0, int last = -1);
    void fitRowsToFont();
    void updateSelectionBackground();
    // Narrows the font just enough that the longest text of every column fits it.
    void scheduleFit();
    void fitFontToColumns();

    static constexpr int MinStretch = 50;

    int m_highlight = HighlightWithFocus;
    QColor m_selectionBackground;
    QFont m_designFont; // the font set, before narrowing
    bool m_fitPending = false;
    bool m_fitting = false;
};
