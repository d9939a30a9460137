#pragma once

#include "stats/playedgames.h"
#include "stats/trendreport.h"

#include <QDialog>

#include <optional>

class Settings;
class StoredGames;
class QComboBox;
class StatsTable;
class TrendChart;

// The modal trends window: the sessions, newest first; the chart of one series' trend; and per
// target whether the newest sessions are better, worse or steady against those before.
// Remembers the series shown.
class frmTrends : public QDialog {
    Q_OBJECT
public:
    // The saved drills count with the games while INCLUDE DRILLS is on.
    frmTrends(const StoredGames &recent, const Settings &settings,
              const StoredGames *drills = nullptr, QWidget *parent = nullptr);

    // The session gap and the weighting of the trends, as remembered; the focus drill's too.
    static int gapMinutes(const Settings &settings);
    static double lambda(const Settings &settings);

private:
    // The report anew from the games, and every table and the chart with it.
    void showGames(PlayedGames played);
    void showSeries(int series);
    QString sessionCell(int row, int col) const;
    QString trendCell(int row, int col) const;

    const Settings &m_settings;
    PlayedGames m_played;
    std::optional<TrendReport> m_report;
    StatsTable *m_sessionTable = nullptr;
    StatsTable *m_trendTable = nullptr;

    QComboBox *m_cboSeries = nullptr;
    TrendChart *m_chart = nullptr;
};
