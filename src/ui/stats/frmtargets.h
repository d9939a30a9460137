#pragma once

#include "stats/playedgames.h"
#include "stats/targetreport.h"

#include <QDialog>

#include <optional>
#include <vector>

class Settings;
class StoredGames;
class QComboBox;
class QLabel;
class QTableView;
class StatsTable;

// The modal target report: per target the darts, hits and rate of a period with how sure the
// rate is, the chance of being the weakest and a verdict; the likeliest weak targets on top.
// Remembers the period.
class frmTargets : public QDialog {
    Q_OBJECT
public:
    enum Column { Target, Darts, Hits, Rate, Range, Chance, VerdictCol, Columns };

    // The saved drills count with the games while INCLUDE DRILLS is on.
    frmTargets(const StoredGames &recent, const Settings &settings,
               const StoredGames *drills = nullptr, QWidget *parent = nullptr);

private:
    void showPeriod(int days);
    void sortBy(int column);
    QString cell(int row, int col) const;
    void fitView();

    PlayedGames m_played;
    std::optional<TargetReport> m_report;
    std::vector<int> m_order; // rows of the report as shown; ALL TARGETS always last
    int m_sortColumn = Chance;
    bool m_ascending = false;

    QComboBox *m_cboPeriod = nullptr;
    QLabel *m_lblFocus = nullptr;
    StatsTable *m_table = nullptr;
    QTableView *m_view = nullptr;
};
