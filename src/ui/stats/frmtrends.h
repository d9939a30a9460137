#pragma once

#include "stats/playedgames.h"
#include "stats/trendreport.h"

#include <QDialog>

class GridModel;
class QComboBox;
class StatsTable;
class TrendChart;

// The modal trends window: the sessions, newest first; the chart of one series' trend; and per
// target whether the newest sessions are better, worse or steady against those before.
// Remembers the series shown.
class frmTrends : public QDialog {
    Q_OBJECT
public:
    frmTrends(const GridModel &recent, qint32 playMode, QWidget *parent = nullptr);

private:
    void showSeries(int series);
    QString sessionCell(int row, int col) const;
    QString trendCell(int row, int col) const;

    PlayedGames m_played;
    TrendReport m_report;

    QComboBox *m_cboSeries = nullptr;
    TrendChart *m_chart = nullptr;
};
