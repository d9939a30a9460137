#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>

class QTableView;

// A read-only table of texts made when shown, from a report a window holds: the model only
// asks for them, so a million sessions cost nothing until scrolled to. Headings are what a
// screen reader announces for the columns.
class StatsTable : public QAbstractTableModel {
    Q_OBJECT
public:
    using Cell = std::function<QString(int row, int col)>;

    StatsTable(const QStringList &headings, QObject *parent);

    // Shows `rows` rows of new texts.
    void reset(int rows, Cell cell);

    // A view of the table for a window: whole rows, no editing, columns sized to their texts.
    QTableView *createView(const QString &name, const QString &accessibleName, QWidget *parent);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QStringList m_headings;
    int m_rows = 0;
    Cell m_cell;
};
