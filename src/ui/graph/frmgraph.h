#pragma once

#include "ui/graph/chartscale.h"
#include "ui/graph/graphdata.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <array>

class PictureBox;
class QCheckBox;
class QLabel;
class Settings;

// The modal graph window: a line chart of the selected games per target with its series boxes
// on the left, the dartboard coloured by hit rate on the right. Remembers the series shown.
class frmGraph : public QDialog {
    Q_OBJECT
public:
    // selectedRows: the recent grid's selected rows, top to bottom.
    frmGraph(const StoredGames &games, const QList<int> &selectedRows, const Settings &settings,
             QWidget *parent = nullptr);

    void DrawGraph(qint16 TopSeries);
    void DrawBoard();

    const ChartScale &chartScale() const { return m_scale; }

Q_SIGNALS:
    void chartDrawn();

protected:
    void showEvent(QShowEvent *event) override;

public Q_SLOTS:
    // Every way of closing ends here: the series selection is written back.
    void done(int result) override;

private:
    void createChartSide();
    void createSeriesBoxes(QWidget *picBack);
    void createBoardSide();
    void load(const StoredGames &games, const QList<int> &selectedRows);

    void chkColor_Click(qint16 index);
    void chkAll_Click();
    void chkAutoScale_Click();

    QList<qint16> shownSeries() const;
    QColor seriesColour(qint16 index) const;
    void rebuildScaleLabels(const QList<double> &values);

    const Settings &m_settings;
    GraphData m_data;
    ChartScale m_scale;

    PictureBox *m_picGraph = nullptr;
    PictureBox *m_picBoard = nullptr;
    QWidget *m_picScale = nullptr;
    QLabel *m_lblScaleTemplate = nullptr;
    QList<QLabel *> m_lblScale; // lblScale(1) upwards
    QLabel *m_lblNoData = nullptr;
    std::array<QCheckBox *, 24> m_chkColor{}; // by series index
    std::array<QLabel *, 24> m_lblColor{};
    std::array<QLabel *, 10> m_lblSegmentColor{};
    QCheckBox *m_chkAll = nullptr;
    QCheckBox *m_chkAutoScale = nullptr;
};
