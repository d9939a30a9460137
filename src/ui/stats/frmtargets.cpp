#include "ui/stats/frmtargets.h"

#include "platform/screencentre.h"
#include "settings/settings.h"
#include "stats/statstext.h"
#include "ui/fonts.h"
#include "ui/stats/drillsbox.h"
#include "ui/stats/statstable.h"
#include "ui/stats/statswindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString SettingsSection = QStringLiteral("TARGETS");
const QString SettingsKey = QStringLiteral("PERIOD");
const QString Dash = QString(QChar(0x2014));

const QString Footer =
    QStringLiteral("RANGE 95 %: YOUR TRUE HIT RATE LIES IN IT 19 TIMES OUT OF 20.\n"
                   "CHANCE WORST: HOW LIKELY THE TARGET IS YOUR WEAKEST.\n"
                   "WEAK / STRONG: SURELY BELOW / ABOVE YOUR RATE OVER ALL TARGETS.\n"
                   "NOT SURE: TOO FEW DARTS YET TO TELL.");

QString periodCaption(int days) {
    return days > 0 ? QStringLiteral("%1 DAYS").arg(days) : QStringLiteral("ALL");
}

} // namespace

frmTargets::frmTargets(const StoredGames &recent, const Settings &settings,
                       const StoredGames *drills, QWidget *parent)
    : QDialog(parent)
    , m_played(DrillsBox::games(recent, drills, DrillsBox::included(settings), settings.PlayMode)) {
    StatsWindow::setUp(this, QStringLiteral("Dartrail  [Targets]"));

    m_cboPeriod = new QComboBox(this);
    m_cboPeriod->setObjectName(QStringLiteral("cboPeriod"));
    m_cboPeriod->setAccessibleName(QStringLiteral("PERIOD"));
    for (int days : TargetReport::PeriodDays)
        m_cboPeriod->addItem(periodCaption(days), days);
    auto *lblPeriod =
        StatsWindow::label(QStringLiteral("lblPeriod"), QStringLiteral("PERIOD:"), this);
    lblPeriod->setBuddy(m_cboPeriod);

    m_lblFocus = StatsWindow::label(QStringLiteral("lblFocus"), {}, this);
    m_lblFocus->setFont(Fonts::proportionalGothic(12, true));
    auto *lblIgnored = StatsWindow::label(QStringLiteral("lblIgnored"),
                                          StatsWindow::undatedText(m_played.undated()), this);
    lblIgnored->setVisible(m_played.undated() > 0);

    m_table =
        new StatsTable({QStringLiteral("TARGET"), QStringLiteral("DARTS"), QStringLiteral("HITS"),
                        QStringLiteral("HIT %"), QStringLiteral("RANGE 95 %"),
                        QStringLiteral("CHANCE WORST %"), QStringLiteral("VERDICT")},
                       this);
    m_view =
        m_table->createView(QStringLiteral("grdTargets"), QStringLiteral("TARGET REPORT"), this);
    m_view->horizontalHeader()->setSortIndicatorShown(true);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(m_view->horizontalHeader(), &QHeaderView::sectionClicked, this, &frmTargets::sortBy);

    QPushButton *cmdClose = StatsWindow::closeButton(this);

    auto *top = new QHBoxLayout;
    top->addWidget(lblPeriod);
    top->addWidget(m_cboPeriod);
    top->addStretch();
    top->addWidget(
        DrillsBox::create(this, settings, [this, &recent, &settings, drills](bool include) {
            m_played = DrillsBox::games(recent, drills, include, settings.PlayMode);
            showPeriod(m_cboPeriod->currentData().toInt());
        }));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_lblFocus);
    layout->addWidget(lblIgnored);
    layout->addWidget(m_view);
    layout->addWidget(StatsWindow::label(QStringLiteral("lblFooter"), Footer, this));
    layout->addWidget(cmdClose, 0, Qt::AlignRight);

    const int period =
        TargetReport::periodFromText(settings.ReadSetting(SettingsSection, SettingsKey, QString()));
    m_cboPeriod->setCurrentIndex(m_cboPeriod->findData(period));
    showPeriod(period);
    connect(m_cboPeriod, &QComboBox::currentIndexChanged, this, [this, &settings] {
        const int days = m_cboPeriod->currentData().toInt();
        settings.WriteSetting(SettingsSection, SettingsKey, TargetReport::periodText(days));
        showPeriod(days);
    });
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_cboPeriod->setFocus();
}

void frmTargets::showPeriod(int days) {
    m_report.emplace(m_played, days);
    m_lblFocus->setText(m_report->focusLine());
    m_sortColumn = Chance;
    m_ascending = false;
    sortBy(-1);
}

// A click on TARGET, HIT % or CHANCE WORST sorts by it, again the other way; -1 sorts anew.
void frmTargets::sortBy(int column) {
    if (column >= 0 && column != Target && column != Rate && column != Chance)
        column = m_sortColumn; // other headings keep the order
    else if (column == m_sortColumn)
        m_ascending = !m_ascending;
    else if (column >= 0)
        m_ascending = column != Chance;
    if (column >= 0)
        m_sortColumn = column;

    const std::vector<TargetReport::Row> &rows = m_report->rows();
    m_order.resize(TargetReport::AllRow);
    for (int i = 0; i < TargetReport::AllRow; ++i)
        m_order[size_t(i)] = i;
    const auto key = [&](int i) {
        const TargetReport::Row &row = rows[size_t(i)];
        return m_sortColumn == Target ? row.target
               : m_sortColumn == Rate ? (row.tally.empty() ? -1 : row.tally.rate())
                                      : row.chance;
    };
    // Ties stay in target order whichever way.
    std::ranges::stable_sort(
        m_order, [&](int a, int b) { return m_ascending ? key(a) < key(b) : key(a) > key(b); });
    m_order.push_back(TargetReport::AllRow);
    m_view->horizontalHeader()->setSortIndicator(m_sortColumn, m_ascending ? Qt::AscendingOrder
                                                                           : Qt::DescendingOrder);
    m_table->reset(int(m_order.size()), [this](int row, int col) { return cell(row, col); });
    fitView();
}

// Every row in sight: the table is as tall as its 22 rows and as wide as its columns.
void frmTargets::fitView() {
    m_view->resizeColumnsToContents();
    const int frame = 2 * m_view->frameWidth();
    m_view->setFixedSize(m_view->horizontalHeader()->length() + frame,
                         m_view->horizontalHeader()->sizeHint().height() +
                             m_view->verticalHeader()->length() + frame);
}

QString frmTargets::cell(int row, int col) const {
    const TargetReport::Row &line = m_report->rows()[size_t(m_order[size_t(row)])];
    const bool all = line.target == 0;
    const bool data = !line.tally.empty();
    switch (col) {
    case Target:
        return TargetReport::targetText(line.target);
    case Darts:
        return QString::number(qint64(line.tally.darts));
    case Hits:
        return QString::number(qint64(line.tally.hits));
    case Rate:
        return data ? StatsText::percent(line.tally.rate()) : Dash;
    case Range:
        return data ? StatsText::range(line.range) : Dash;
    case Chance:
        return all || !data ? Dash : StatsText::percent(line.chance);
    case VerdictCol:
        return TargetReport::verdictText(line.verdict);
    }
    return {};
}
