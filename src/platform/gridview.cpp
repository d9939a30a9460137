#include "platform/gridview.h"

#include "platform/twips.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>
#include <array>

GridView::GridView(QWidget *parent)
    : QTableView(parent)
    , m_grid(new GridModel(this)) {
    setModel(m_grid);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    // Fixed, uniform rows: a million of them scroll without measuring any.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    // A cell shows what fits of its text, as a ruled grid does, rather than an ellipsis.
    setTextElideMode(Qt::ElideNone);
    fitRowsToFont();

    connect(m_grid, &GridModel::colWidthChanged, this, &GridView::applyColWidth);
    connect(m_grid, &GridModel::columnsInserted, this, &GridView::applyColWidths);
    connect(m_grid, &GridModel::modelReset, this, &GridView::applyColWidths);
    // A reload that shrinks the grid drops the selected rows but keeps a current row.
    connect(m_grid, &GridModel::rowsRemoved, this, &GridView::selectCurrentRow);
    setHighlight(HighlightAlways);
}

QList<int> GridView::selectedRows() const {
    QList<int> rows;
    if (!selectionModel())
        return rows;
    // Ranges of a contiguous selection may still overlap or come unordered; merge them.
    QList<std::pair<int, int>> ranges;
    for (const QItemSelectionRange &range : selectionModel()->selection())
        ranges.append({range.top(), range.bottom()});
    std::sort(ranges.begin(), ranges.end());
    int next = 0;
    for (const auto &[top, bottom] : ranges) {
        for (int row = std::max(top, next); row <= bottom; ++row)
            rows.append(row);
        next = std::max(next, bottom + 1);
    }
    return rows;
}

GridRows GridView::selectedRowTexts() const {
    return m_grid->copyRows(selectedRows());
}

void GridView::setHighlight(int setting) {
    m_highlight = setting;
    QPalette colours = palette();
    const bool always = setting == HighlightAlways;
    colours.setColor(
        QPalette::Inactive, QPalette::Highlight,
        colours.color(QPalette::Active, always ? QPalette::Highlight : QPalette::Base));
    colours.setColor(
        QPalette::Inactive, QPalette::HighlightedText,
        colours.color(QPalette::Active, always ? QPalette::HighlightedText : QPalette::Text));
    setPalette(colours);
}

void GridView::focusInEvent(QFocusEvent *event) {
    QTableView::focusInEvent(event);
    // The view may have just made a row current without selecting it.
    selectCurrentRow();
}

void GridView::selectCurrentRow() {
    const QModelIndex current = currentIndex();
    if (current.isValid() && !selectionModel()->isRowSelected(current.row(), {}))
        selectionModel()->select(current,
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QItemSelectionModel::SelectionFlags GridView::selectionCommand(const QModelIndex &index,
                                                               const QEvent *event) const {
    // Qt's contiguous mode treats Ctrl+Shift+End and the like as a plain move; with Shift held,
    // every movement key extends the selection from its anchor, as Shift+click does.
    if (event && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        static constexpr std::array movementKeys{Qt::Key_Up,     Qt::Key_Down,    Qt::Key_Left,
                                                 Qt::Key_Right,  Qt::Key_Home,    Qt::Key_End,
                                                 Qt::Key_PageUp, Qt::Key_PageDown};
        if ((key->modifiers() & Qt::ShiftModifier) &&
            std::find(movementKeys.begin(), movementKeys.end(), key->key()) != movementKeys.end())
            return QItemSelectionModel::SelectCurrent | QItemSelectionModel::Rows;
    }
    return QTableView::selectionCommand(index, event);
}

void GridView::applyColWidth(int col) {
    const int twips = m_grid->colWidth(col);
    setColumnHidden(col, twips == 0);
    if (twips > 0)
        setColumnWidth(col, Twips::toPixels(twips));
}

void GridView::applyColWidths() {
    for (int col = 0; col < m_grid->cols(); ++col)
        applyColWidth(col);
}

void GridView::changeEvent(QEvent *event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitRowsToFont();
}

void GridView::fitRowsToFont() {
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 3);
}
