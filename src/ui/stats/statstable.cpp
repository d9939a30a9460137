#include "ui/stats/statstable.h"

#include "ui/fonts.h"

#include <QHeaderView>
#include <QTableView>

namespace {

constexpr double TablePointSize = 9.75;

} // namespace

StatsTable::StatsTable(const QStringList &headings, QObject *parent)
    : QAbstractTableModel(parent)
    , m_headings(headings) {
}

void StatsTable::reset(int rows, Cell cell) {
    beginResetModel();
    m_rows = rows;
    m_cell = std::move(cell);
    endResetModel();
}

QTableView *StatsTable::createView(const QString &name, const QString &accessibleName,
                                   QWidget *parent) {
    auto *view = new QTableView(parent);
    view->setObjectName(name);
    view->setAccessibleName(accessibleName);
    view->setFont(Fonts::gothic(TablePointSize));
    view->setModel(this);
    view->verticalHeader()->hide();
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->setTextElideMode(Qt::ElideNone);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->horizontalHeader()->setHighlightSections(false);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    return view;
}

int StatsTable::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int StatsTable::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_headings.size());
}

QVariant StatsTable::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_rows || index.column() >= m_headings.size() || !m_cell)
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return m_cell(index.row(), index.column());
    return {};
}

QVariant StatsTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_headings.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return m_headings[section];
    return {};
}
