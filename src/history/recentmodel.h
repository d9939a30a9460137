#pragma once

#include "platform/gridmodel.h"

class StoredGames;

// The recent grid's view of the stored games: newest first, "(NO DATA)" rows below them up to
// 5 rows, read only. The date-time column is there for the program alone: views and screen
// readers see the columns up to the average.
class RecentModel : public GridTableModel {
    Q_OBJECT
public:
    explicit RecentModel(const StoredGames &games, QObject *parent = nullptr);

    // Tells the views that the games changed: rows come or go at the end, any cell may differ.
    void refresh();
    // A cell as the grid shows it, of every column; empty outside the table.
    QString text(int row, int col) const;
    const StoredGames &games() const { return m_games; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    int widthTwips(int col) const override;
    QString longestText(int col) const override;

    const StoredGames &m_games;
    int m_rows; // as the views last learnt it
};
