#pragma once

#include "platform/gridmodel.h"

#include <QList>
#include <QTableView>

// A grid of plain text cells without headings that selects contiguous ranges of whole rows,
// the current row always among them. Tab leaves it like any other control; the arrow keys move
// within it.
class GridView : public QTableView {
    Q_OBJECT
public:
    // Highlight settings: selection shown always, or only while the grid has the focus.
    static constexpr int HighlightAlways = 1;
    static constexpr int HighlightWithFocus = 2;

    explicit GridView(QWidget *parent = nullptr);

    GridModel &grid() { return *m_grid; }
    const GridModel &grid() const { return *m_grid; }

    // The selected rows, top to bottom; their texts hold every cell, hidden columns too.
    QList<int> selectedRows() const;
    GridRows selectedRowTexts() const;

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
    void applyColWidth(int col);
    void applyColWidths();
    void fitRowsToFont();
    void updateSelectionBackground();
    // Narrows the font just enough that the longest text of every column fits it.
    void scheduleFit();
    void fitFontToColumns();

    static constexpr int MinStretch = 50;

    GridModel *m_grid = nullptr;
    int m_highlight = HighlightWithFocus;
    QColor m_selectionBackground;
    QFont m_designFont; // the font set, before narrowing
    bool m_fitPending = false;
    bool m_fitting = false;
};
