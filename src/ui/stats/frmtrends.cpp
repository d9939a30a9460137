#include "ui/stats/frmtrends.h"

#include "settings/settings.h"
#include "stats/stamptime.h"
#include "stats/statstext.h"
#include "stats/targetreport.h"
#include "ui/stats/drillsbox.h"
#include "ui/stats/statstable.h"
#include "ui/stats/statswindow.h"
#include "ui/stats/trendchart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace {

const QString Section = QStringLiteral("TRENDS");
const QString Dash = QString(QChar(0x2014));
constexpr int SessionRowsShown = 8;

const QString Footer =
    QStringLiteral("A SESSION: GAMES WITH NO BREAK LONGER THAN %1 MINUTES.\n"
                   "NOW: YOUR RATE WITH THE NEWEST SESSIONS WEIGHING MOST.\n"
                   "BETTER / WORSE: THE LAST 3 SESSIONS SURELY DIFFER FROM THE 10 BEFORE.");

QString rateOrDash(const HitRate::Tally &tally) {
    return tally.empty() ? Dash : StatsText::percent(tally.rate());
}

// Fixed to the width of its columns, `rows` rows high.
void fitView(QTableView *view, int rows) {
    view->resizeColumnsToContents();
    const int frame = 2 * view->frameWidth();
    const int scrollBar = rows < view->model()->rowCount()
                              ? view->style()->pixelMetric(QStyle::PM_ScrollBarExtent)
                              : 0;
    view->setFixedSize(view->horizontalHeader()->length() + frame + scrollBar,
                       view->horizontalHeader()->sizeHint().height() +
                           view->verticalHeader()->defaultSectionSize() * rows + frame);
}

} // namespace

int frmTrends::gapMinutes(const Settings &settings) {
    return TrendReport::gapFromText(
        settings.ReadSetting(Section, QStringLiteral("SESSION_GAP_MINUTES"), {}));
}

double frmTrends::lambda(const Settings &settings) {
    return TrendReport::lambdaFromText(settings.ReadSetting(Section, QStringLiteral("LAMBDA"), {}));
}

frmTrends::frmTrends(const StoredGames &recent, const Settings &settings, const StoredGames *drills,
                     QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_played(DrillsBox::games(recent, drills, DrillsBox::included(settings), settings.PlayMode)) {
    m_report.emplace(m_played, gapMinutes(m_settings), lambda(m_settings));
    StatsWindow::setUp(this, QStringLiteral("Dartrail  [Trends]"));

    auto *lblIgnored = StatsWindow::label(QStringLiteral("lblIgnored"),
                                          StatsWindow::undatedText(m_played.undated()), this);
    lblIgnored->setVisible(m_played.undated() > 0);

    m_cboSeries = new QComboBox(this);
    m_cboSeries->setObjectName(QStringLiteral("cboSeries"));
    m_cboSeries->setAccessibleName(QStringLiteral("SERIES"));
    for (int i = 0; i < TrendReport::SeriesCount; ++i)
        m_cboSeries->addItem(TargetReport::targetText(i), i);
    auto *lblSeries =
        StatsWindow::label(QStringLiteral("lblSeries"), QStringLiteral("SERIES:"), this);
    lblSeries->setBuddy(m_cboSeries);

    m_chart = new TrendChart(this);
    m_chart->setObjectName(QStringLiteral("picTrend"));
    m_chart->setAccessibleName(QStringLiteral("TREND CHART"));
    m_chart->setFixedSize(420, 240);

    m_sessionTable = new StatsTable({QStringLiteral("START"), QStringLiteral("GAMES"),
                                     QStringLiteral("DARTS"), QStringLiteral("HIT %")},
                                    this);
    m_sessionTable->reset(int(m_report->sessions().size()),
                          [this](int row, int col) { return sessionCell(row, col); });
    QTableView *sessionView =
        m_sessionTable->createView(QStringLiteral("grdSessions"), QStringLiteral("SESSIONS"), this);
    fitView(sessionView, SessionRowsShown);

    m_trendTable = new StatsTable({QStringLiteral("TARGET"), QStringLiteral("NOW"),
                                   QStringLiteral("LAST 3"), QStringLiteral("BEFORE"),
                                   QStringLiteral("CHANGE"), QStringLiteral("VERDICT")},
                                  this);
    m_trendTable->reset(int(m_report->rows().size()),
                        [this](int row, int col) { return trendCell(row, col); });
    QTableView *trendView =
        m_trendTable->createView(QStringLiteral("grdTrends"), QStringLiteral("TRENDS"), this);
    fitView(trendView, int(m_report->rows().size()));

    QPushButton *cmdClose = StatsWindow::closeButton(this);

    auto *seriesRow = new QHBoxLayout;
    seriesRow->addWidget(lblSeries);
    seriesRow->addWidget(m_cboSeries);
    seriesRow->addStretch();
    seriesRow->addWidget(DrillsBox::create(this, m_settings, [this, &recent, drills](bool include) {
        showGames(DrillsBox::games(recent, drills, include, m_settings.PlayMode));
    }));
    auto *layout = new QGridLayout(this);
    layout->addWidget(lblIgnored, 0, 0, 1, 2);
    layout->addWidget(sessionView, 1, 0);
    layout->addLayout(seriesRow, 2, 0);
    layout->addWidget(m_chart, 3, 0);
    layout->addWidget(trendView, 1, 1, 3, 1, Qt::AlignTop);
    layout->addWidget(
        StatsWindow::label(QStringLiteral("lblFooter"), Footer.arg(gapMinutes(m_settings)), this),
        4, 0, 1, 2);
    layout->addWidget(cmdClose, 5, 1, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const int series = TrendReport::seriesFromText(
        m_settings.ReadSetting(Section, QStringLiteral("SERIES"), QString()));
    m_cboSeries->setCurrentIndex(series);
    showSeries(series);
    connect(m_cboSeries, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_settings.WriteSetting(Section, QStringLiteral("SERIES"), TrendReport::seriesText(index));
        showSeries(index);
    });
    m_cboSeries->setFocus();
}

void frmTrends::showGames(PlayedGames played) {
    m_report.reset(); // it reads the games it was made from
    m_played = std::move(played);
    m_report.emplace(m_played, gapMinutes(m_settings), lambda(m_settings));
    m_sessionTable->reset(int(m_report->sessions().size()),
                          [this](int row, int col) { return sessionCell(row, col); });
    m_trendTable->reset(int(m_report->rows().size()),
                        [this](int row, int col) { return trendCell(row, col); });
    showSeries(m_cboSeries->currentIndex());
}

void frmTrends::showSeries(int series) {
    const std::vector<TrendReport::Session> &sessions = m_report->sessions();
    const QString first =
        sessions.empty() ? QString() : StampTime::minuteText(sessions.front().start);
    const QString last =
        sessions.size() < 2 ? QString() : StampTime::minuteText(sessions.back().start);
    const TrendReport::Row &row = m_report->rows()[size_t(
        series == TrendReport::AllSeries ? TrendReport::SeriesCount - 1 : series - 1)];
    QString description = QStringLiteral("Trend of %1 over %2 sessions")
                              .arg(TargetReport::targetText(series))
                              .arg(sessions.size());
    if (!first.isEmpty())
        description +=
            QStringLiteral(" from ") + first + (last.isEmpty() ? QString() : u" to "_qs + last);
    description += row.now ? QStringLiteral(", now %1 %").arg(StatsText::percent(*row.now))
                           : QStringLiteral(", no darts yet");
    m_chart->show(m_report->points(series), first, last, description);
}

QString frmTrends::sessionCell(int row, int col) const {
    const std::vector<TrendReport::Session> &sessions = m_report->sessions();
    const TrendReport::Session &session = sessions[sessions.size() - 1 - size_t(row)];
    switch (col) {
    case 0:
        return StampTime::minuteText(session.start);
    case 1:
        return QString::number(session.games);
    case 2:
        return QString::number(qint64(session.all.darts));
    case 3:
        return rateOrDash(session.all);
    }
    return {};
}

QString frmTrends::trendCell(int row, int col) const {
    const TrendReport::Row &line = m_report->rows()[size_t(row)];
    switch (col) {
    case 0:
        return TargetReport::targetText(line.series);
    case 1:
        return line.now ? StatsText::percent(*line.now) : Dash;
    case 2:
        return rateOrDash(line.last);
    case 3:
        return rateOrDash(line.before);
    case 4:
        return line.last.empty() || line.before.empty()
                   ? Dash
                   : StatsText::change(line.before.rate(), line.last.rate());
    case 5:
        return TrendReport::verdictText(line.verdict);
    }
    return {};
}
