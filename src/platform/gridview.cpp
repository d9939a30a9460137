#include "platform/gridview.h"

#include "platform/colourpair.h"
#include "platform/fontfit.h"
#include "platform/gridmodel.h"
#include "platform/twips.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QStyleOption>

#include <algorithm>
#include <array>
#include <utility>

namespace {

// The grid's look on top of the desktop's style: grid lines in a shade of the palette's mid
// tone that stands out from the cells, and the selection drawn only while it is to be seen
// (always, or while the grid has the focus) in a pair of colours that reads.
class GridStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *data) const override {
        if (hint != SH_Table_GridLineColor || !option)
            return QProxyStyle::styleHint(hint, option, widget, data);
        const QPalette &palette = option->palette;
        return int(ColourPair::standingOut(palette.color(QPalette::Mid),
                                           palette.color(QPalette::Base), ColourPair::LineContrast)
                       .rgba());
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override {
        const auto *cell = qstyleoption_cast<const QStyleOptionViewItem *>(option);
        if (cell && (element == PE_PanelItemViewRow || element == PE_PanelItemViewItem)) {
            const QStyleOptionViewItem shown = asShown(*cell, widget);
            QProxyStyle::drawPrimitive(element, &shown, painter, widget);
        } else {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
        }
    }

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override {
        const auto *cell = qstyleoption_cast<const QStyleOptionViewItem *>(option);
        if (cell && element == CE_ItemViewItem) {
            const QStyleOptionViewItem shown = asShown(*cell, widget);
            QProxyStyle::drawControl(element, &shown, painter, widget);
        } else {
            QProxyStyle::drawControl(element, option, painter, widget);
        }
    }

private:
    static QStyleOptionViewItem asShown(QStyleOptionViewItem cell, const QWidget *widget) {
        const auto *grid = qobject_cast<const GridView *>(widget);
        if (!grid)
            return cell;
        if (grid->highlight() == GridView::HighlightAlways)
            cell.state |= State_Active; // as bright as with the focus
        else if (!grid->hasFocus())
            cell.state &= ~State_Selected;
        cell.palette.setColor(QPalette::Highlight, grid->selectionBackground());
        return cell;
    }
};

} // namespace

GridView::GridView(QWidget *parent)
    : QTableView(parent) {
    m_designFont = font();
    auto *style = new GridStyle;
    style->setParent(this);
    setStyle(style);
    // A plain frame is filled rather than stroked, so it stays whole at fractional scales; it
    // takes the text colour, which reads on the surface around the grid.
    setFrameStyle(QFrame::Box | QFrame::Plain);
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
    updateSelectionBackground();
}

void GridView::setModel(QAbstractItemModel *model) {
    if (QTableView::model())
        disconnect(QTableView::model(), nullptr, this, nullptr);
    QTableView::setModel(model);
    if (!model)
        return;
    connect(model, &QAbstractItemModel::headerDataChanged, this,
            [this](Qt::Orientation orientation, int first, int last) {
                if (orientation == Qt::Horizontal)
                    applyColWidths(first, last);
            });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { applyColWidths(); });
    // Many cells change at once; the font is fitted to them once they are all written.
    connect(model, &QAbstractItemModel::dataChanged, this, &GridView::scheduleFit);
    // A reload that shrinks the grid drops the selected rows but keeps a current row.
    connect(model, &QAbstractItemModel::rowsRemoved, this, &GridView::selectCurrentRow);
    applyColWidths();
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

void GridView::setHighlight(int setting) {
    m_highlight = setting;
    viewport()->update();
}

void GridView::updateSelectionBackground() {
    // The selection's pair: its background darkened or lightened until its text reads.
    m_selectionBackground = ColourPair::standingOut(palette().color(QPalette::Highlight),
                                                    palette().color(QPalette::HighlightedText),
                                                    ColourPair::SmallTextContrast);
}

void GridView::focusInEvent(QFocusEvent *event) {
    QTableView::focusInEvent(event);
    // The view may have just made a row current without selecting it.
    selectCurrentRow();
}

void GridView::selectOnlyCurrentRow() {
    if (currentIndex().isValid())
        selectionModel()->select(currentIndex(),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
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

void GridView::applyColWidths(int first, int last) {
    const int cols = model() ? model()->columnCount() : 0;
    for (int col = first; col < cols && (last < 0 || col <= last); ++col) {
        const int twips = model()->headerData(col, Qt::Horizontal, GridRoles::WidthTwips).toInt();
        setColumnHidden(col, twips == 0);
        if (twips > 0)
            setColumnWidth(col, Twips::toPixels(twips));
    }
    scheduleFit();
}

void GridView::changeEvent(QEvent *event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        updateSelectionBackground();
    if (event->type() != QEvent::FontChange)
        return;
    fitRowsToFont();
    if (!m_fitting) {
        m_designFont = font();
        scheduleFit();
    }
}

void GridView::scheduleFit() {
    if (!std::exchange(m_fitPending, true))
        QMetaObject::invokeMethod(this, &GridView::fitFontToColumns, Qt::QueuedConnection);
}

void GridView::fitFontToColumns() {
    m_fitPending = false;
    if (!model())
        return;
    // The style's margin either side of a cell's text, and the grid line on its right.
    const int besideText =
        2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
    const auto stretch = [](const QFont &font) {
        return font.stretch() == QFont::AnyStretch ? int(QFont::Unstretched) : font.stretch();
    };
    QFont fitted = m_designFont;
    // The longest text stands for its column: the grid's face has a fixed pitch.
    for (int col = 0; col < model()->columnCount(); ++col) {
        if (isColumnHidden(col))
            continue;
        const QFont narrowed = FontFit::narrowedToFit(
            m_designFont,
            model()->headerData(col, Qt::Horizontal, GridRoles::LongestText).toString(),
            columnWidth(col) - besideText);
        if (stretch(narrowed) < stretch(fitted))
            fitted = narrowed;
    }
    // Narrowed no further than to half: a hand-edited value too long for that is cut.
    if (stretch(fitted) < MinStretch)
        fitted.setStretch(MinStretch);
    if (fitted != font()) {
        m_fitting = true;
        setFont(fitted);
        m_fitting = false;
    }
}

void GridView::fitRowsToFont() {
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 3);
}
