#include "ui/graph/frmgraph.h"

#include "entry/numbertext.h"
#include "platform/checkboxstyle.h"
#include "platform/colourpair.h"
#include "platform/fontfit.h"
#include "platform/screencentre.h"
#include "platform/twips.h"
#include "settings/settings.h"
#include "ui/fonts.h"
#include "ui/graph/boardmap.h"
#include "ui/graph/boardpainter.h"
#include "ui/graph/chartpainter.h"
#include "ui/graph/graphseries.h"
#include "ui/graph/picturebox.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace {

const QString SettingsSection = QStringLiteral("WINDOW");
const QString SettingsKey = QStringLiteral("GRAPH");

constexpr double BoxPointSize = 8.25;
constexpr double BoardPointSize = 9;
// Room either side of a legend number, so that neighbours never run together.
constexpr int LegendMargin = 2;

struct SeriesPlace {
    int boxLeft;
    int boxTop;
    int keyLeft;
    int keyTop;
};

SeriesPlace placeOf(qint16 series) {
    if (series == GraphSeries::Bull)
        return {5760, 3600, 6360, 3660};
    if (series == GraphSeries::Average)
        return {5760, 3840, 6360, 3900};
    const int column = (series - 1) / 5;
    const int row = (series - 1) % 5;
    return {240 + 1380 * column, 3540 + 240 * row, 840 + 1380 * column, 3600 + 240 * row};
}

// Left and top in twips of the numbers 1 to 20 around the board.
constexpr std::array<QPoint, 20> TargetNumberPlaces = {
    QPoint(2100, 150),  QPoint(2580, 3060), QPoint(1560, 3360), QPoint(2880, 780),
    QPoint(1020, 150),  QPoint(3150, 1710), QPoint(480, 3060),  QPoint(-60, 2220),
    QPoint(180, 720),   QPoint(3120, 2220), QPoint(-120, 1710), QPoint(540, 360),
    QPoint(3120, 1200), QPoint(-60, 1200),  QPoint(2880, 2700), QPoint(120, 2700),
    QPoint(2160, 3300), QPoint(2580, 420),  QPoint(960, 3300),  QPoint(1560, 60)};

QString indexed(const QString &name, int index) {
    return QStringLiteral("%1(%2)").arg(name).arg(index);
}

QLabel *colourKey(const QString &name, const QRect &geometry, QWidget *parent) {
    auto *key = new QLabel(parent);
    key->setObjectName(name);
    key->setGeometry(geometry);
    key->setFrameShape(QFrame::Box);
    key->setAutoFillBackground(true);
    return key;
}

void paintBack(QLabel *label, const QColor &colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour);
    label->setPalette(palette);
}

// A box whose caption is cut with the font in use is widened, at most to the room it has; a
// caption still too wide is narrowed.
void fitCaption(QCheckBox *box, int room) {
    box->ensurePolished(); // the style's indicator and spacing
    room = std::max(box->width(), room);
    const int besideText = box->sizeHint().width() - FontFit::textWidth(box->font(), box->text());
    box->setFont(FontFit::narrowedToFit(box->font(), box->text(), room - besideText));
    box->resize(std::clamp(box->sizeHint().width(), box->width(), room), box->height());
}

} // namespace

frmGraph::frmGraph(const StoredGames &games, const QList<int> &selectedRows,
                   const Settings &settings, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
    , m_settings(settings) {
    setWindowTitle(QStringLiteral("Dartrail  [Graph]"));
    setFixedSize(Twips::toPixels(11025), Twips::toPixels(5010));

    createChartSide();
    createBoardSide();

    // Below the visible client area: never seen, there only so Esc has a button to press.
    auto *cmdClose = new QPushButton(QStringLiteral("CLOSE"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(Twips::rect(2820, 6660, 1395, 735));
    cmdClose->setAutoDefault(false);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);

    load(games, selectedRows);
}

void frmGraph::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    centreOnScreen(this);
}

void frmGraph::createChartSide() {
    auto *picBack = new QWidget(this);
    picBack->setObjectName(QStringLiteral("picBack"));
    picBack->setGeometry(Twips::rect(60, 60, 7155, 4875));

    m_picScale = new QWidget(picBack);
    m_picScale->setObjectName(QStringLiteral("picScale"));
    m_picScale->setGeometry(Twips::rect(0, 60, 255, 3315));
    m_lblScaleTemplate = new QLabel(m_picScale);
    m_lblScaleTemplate->setObjectName(indexed(QStringLiteral("lblScale"), 0));
    m_lblScaleTemplate->setGeometry(Twips::rect(120, 0, 135, 165));
    m_lblScaleTemplate->setFont(Fonts::proportionalGothic(BoxPointSize));
    m_lblScaleTemplate->hide();

    m_picGraph =
        new PictureBox(Twips::rect(240, 120, 6735, 3315), palette().color(QPalette::Base), picBack);
    m_picGraph->setObjectName(QStringLiteral("picGraph"));
    m_picGraph->setAccessibleName(QStringLiteral("CHART"));
    m_lblNoData = new QLabel(QStringLiteral("(NO DATA)"), m_picGraph);
    m_lblNoData->setObjectName(QStringLiteral("lblNoData"));
    m_lblNoData->setGeometry(Twips::rect(2580, 1380, 1485, 285));
    m_lblNoData->setFont(Fonts::proportionalGothic(14.25, true));
    m_lblNoData->setAlignment(Qt::AlignCenter);
    m_lblNoData->setForegroundRole(QPalette::Text); // on the chart's background
    m_lblNoData->hide();

    createSeriesBoxes(picBack);
}

void frmGraph::createSeriesBoxes(QWidget *picBack) {
    const QFont font = Fonts::proportionalGothic(BoxPointSize);
    for (qint16 series : GraphSeries::Indices) {
        const SeriesPlace place = placeOf(series);
        auto *box = new QCheckBox(GraphSeries::caption(series), picBack);
        box->setObjectName(indexed(QStringLiteral("chkColor"), series));
        box->setGeometry(Twips::rect(place.boxLeft, place.boxTop, 555, 240));
        box->setStyle(CheckBoxStyle::instance()); // the places are narrow
        box->setFont(font);
        fitCaption(box, Twips::toPixels(place.keyLeft - place.boxLeft));
        box->setChecked(true);
        connect(box, &QCheckBox::toggled, this, [this, series] { chkColor_Click(series); });
        m_chkColor[series] = box;
        m_lblColor[series] = colourKey(indexed(QStringLiteral("lblColor"), series),
                                       Twips::rect(place.keyLeft, place.keyTop, 615, 75), picBack);
        m_lblColor[series]->setAccessibleName(QStringLiteral("COLOUR OF ") + box->text());
    }

    m_chkAll = new QCheckBox(QStringLiteral("ALL ON/OFF"), picBack);
    m_chkAll->setObjectName(QStringLiteral("chkAll"));
    m_chkAll->setGeometry(Twips::rect(5760, 4155, 1215, 255));
    m_chkAll->setStyle(CheckBoxStyle::instance());
    m_chkAll->setFont(font);
    fitCaption(m_chkAll, picBack->width() - m_chkAll->x());
    connect(m_chkAll, &QCheckBox::toggled, this, &frmGraph::chkAll_Click);

    m_chkAutoScale = new QCheckBox(QStringLiteral("AUTO SCALE"), picBack);
    m_chkAutoScale->setObjectName(QStringLiteral("chkAutoScale"));
    m_chkAutoScale->setGeometry(Twips::rect(5760, 4500, 1215, 255));
    m_chkAutoScale->setStyle(CheckBoxStyle::instance());
    m_chkAutoScale->setFont(font);
    fitCaption(m_chkAutoScale, picBack->width() - m_chkAutoScale->x());
    m_chkAutoScale->setChecked(true);
    connect(m_chkAutoScale, &QCheckBox::toggled, this, &frmGraph::chkAutoScale_Click);
}

void frmGraph::createBoardSide() {
    m_picBoard =
        new PictureBox(Twips::rect(7260, 60, 3705, 4875), palette().color(QPalette::Window), this);
    m_picBoard->setObjectName(QStringLiteral("picBoard"));
    m_picBoard->setAccessibleName(QStringLiteral("BOARD"));
    const QFont font = Fonts::proportionalGothic(BoardPointSize);

    for (int target = 1; target <= 20; ++target) {
        const QPoint place = TargetNumberPlaces[target - 1];
        auto *number = new QLabel(QString::number(target), m_picBoard);
        number->setObjectName(indexed(QStringLiteral("lbl"), target));
        number->setGeometry(Twips::rect(place.x(), place.y(), 555, 255));
        number->setAlignment(Qt::AlignCenter);
        number->setFont(font);
    }
    for (int step = 0; step < BoardMap::Steps; ++step) {
        m_lblSegmentColor[step] =
            colourKey(indexed(QStringLiteral("lblSegmentColor"), step),
                      Twips::rect(300 + 300 * step, 3900, 315, 195), m_picBoard);
        m_lblSegmentColor[step]->setAccessibleName(
            step < BoardMap::Steps - 1
                ? QStringLiteral("HIT %1 TO %2").arg(10 * step).arg(10 * step + 10)
                : QStringLiteral("HIT 90 AND ABOVE"));
    }
    for (int k = 0; k <= BoardMap::Steps; ++k) {
        auto *legend = new QLabel(QString::number(10 * k), m_picBoard);
        legend->setObjectName(indexed(QStringLiteral("Label1"), k));
        legend->setGeometry(Twips::rect(180 + 300 * k, 4140, 315, 195));
        legend->setAlignment(Qt::AlignCenter);
        legend->setFont(font);
        // "100" is wider than its box: cut, it would run into "90". A box too small for its
        // number grows to the right and down.
        legend->resize(
            std::max(legend->width(), FontFit::textWidth(font, legend->text()) + 2 * LegendMargin),
            std::max(legend->height(), legend->fontMetrics().height()));
    }
}

// Runs while the window is still hidden, so the boxes set here draw nothing by themselves.
void frmGraph::load(const StoredGames &games, const QList<int> &selectedRows) {
    for (qint16 series : GraphSeries::Indices)
        paintBack(m_lblColor[series], GraphSeries::colour(series));
    const BoardMap::Scale scale = BoardMap::defaultScale();
    for (int step = 0; step < BoardMap::Steps; ++step)
        paintBack(m_lblSegmentColor[step], scale[step]);

    const GraphSeries::Selection selection = GraphSeries::selectionFromText(
        m_settings.ReadSetting(SettingsSection, SettingsKey, GraphSeries::defaultSettingsText()));
    for (int i = 0; i < GraphSeries::Count; ++i)
        m_chkColor[GraphSeries::Indices[i]]->setChecked(selection[i]);

    m_data = GraphData(games, selectedRows);
    // The board reads every target, the chart every shown series.
    QList<qint16> read = shownSeries();
    for (int position = 0; position < BoardMap::Positions; ++position)
        read.append(BoardMap::SegmentTarget(position));
    m_data.read(read);
    if (!m_data.isEmpty()) {
        DrawGraph(ChartPainter::NoTopSeries);
        DrawBoard();
    }
    m_lblNoData->setVisible(m_data.isEmpty());
}

void frmGraph::DrawGraph(qint16 TopSeries) {
    const QList<qint16> shown = shownSeries();
    if (m_chkAutoScale->isChecked())
        m_scale.setGraphMax(ChartScale::graphMax(m_data, shown));
    m_scale.setRows(m_data.rowCount());

    ChartPainter::ShownSeries colours;
    QStringList captions;
    for (qint16 series : shown) {
        colours[series] = seriesColour(series);
        captions.append(GraphSeries::caption(series));
    }
    const QList<double> grid = ChartScale::gridValues(m_scale.graphMax());
    // The desktop's application-workspace grey, in a shade that shows on the chart.
    const QColor background = m_picGraph->background();
    const QColor workspace = ColourPair::standingOut(palette().color(QPalette::Dark), background,
                                                     ColourPair::LineContrast);

    m_picGraph->clear();
    ChartPainter(m_picGraph->image(), m_data, m_scale, background)
        .DrawGraph(colours, TopSeries, grid, workspace);
    rebuildScaleLabels(grid);
    m_picGraph->setAccessibleDescription(
        QStringLiteral("%1 games, oldest on the left, values 0 to %2; series %3")
            .arg(m_data.rowCount())
            .arg(NumberText::formatWhole(m_scale.top()))
            .arg(captions.isEmpty() ? QStringLiteral("none")
                                    : captions.join(QStringLiteral(", "))));
    m_picGraph->refresh();
    emit chartDrawn();
}

void frmGraph::rebuildScaleLabels(const QList<double> &values) {
    while (!m_lblScale.isEmpty())
        delete m_lblScale.takeLast();
    // The chart covers the strip's right end: a label must fit in what is left of it.
    const int room = m_picGraph->x() - m_picScale->x();
    const QFont &natural = m_lblScaleTemplate->font();
    QStringList captions;
    QString widest;
    for (double value : values) {
        captions.append(NumberText::formatWhole(value));
        if (FontFit::textWidth(natural, captions.last()) > FontFit::textWidth(natural, widest))
            widest = captions.last();
    }
    const QFont font = FontFit::narrowedToFit(natural, widest, room);
    const QFontMetrics metrics(font);
    // The strip stands higher than the chart by its own offset but shares its vertical scale,
    // so each label's top edge lies that much above its grid line.
    const int height = m_picScale->height();
    const double spacing = values.size() > 1 ? m_scale.toPixelY(values[0], height) -
                                                   m_scale.toPixelY(values[1], height)
                                             : height;
    const qsizetype stride = ChartScale::labelStride(spacing, metrics.height(), values.size());
    for (qsizetype i = stride - 1; i < values.size(); i += stride) {
        const int top = int(std::floor(m_scale.toPixelY(values[i], height)));
        if (top + metrics.height() > height)
            continue; // it would be cut by the strip's bottom edge
        auto *label = new QLabel(captions[i], m_picScale);
        label->setObjectName(indexed(QStringLiteral("lblScale"), int(m_lblScale.size()) + 1));
        label->setFont(font);
        label->adjustSize();
        // At the template's left where it fits, otherwise against the chart's left edge.
        label->move(std::min(m_lblScaleTemplate->x(), room - label->width()), top);
        label->show();
        m_lblScale.append(label);
    }
}

void frmGraph::DrawBoard() {
    BoardMap::Scale scale;
    for (int step = 0; step < BoardMap::Steps; ++step)
        scale[step] = m_lblSegmentColor[step]->palette().color(QPalette::Window);
    BoardPainter::FieldColours colours;
    QStringList rates(BoardMap::Positions); // by target, for screen readers
    for (int position = 0; position < BoardMap::Positions; ++position) {
        const qint16 target = BoardMap::SegmentTarget(position);
        const double rate = BoardMap::HitRate(m_data, target, m_settings.PlayMode);
        colours[position] = BoardMap::fieldColour(rate, scale);
        rates[target - 1] =
            QStringLiteral("%1 %2%").arg(GraphSeries::caption(target),
                                         NumberText::format(rate, NumberText::Pattern::OneDecimal));
    }
    m_picBoard->clear();
    BoardPainter::DrawBoard(m_picBoard->image(), colours, m_picBoard->background());
    m_picBoard->refresh();
    m_picBoard->setAccessibleDescription(QStringLiteral("Hit rate per target: ") +
                                         rates.join(QStringLiteral(", ")));
}

void frmGraph::chkColor_Click(qint16 index) {
    if (!isVisible() || !m_lblNoData->isHidden())
        return;
    DrawGraph(m_chkColor[index]->isChecked() ? index : ChartPainter::NoTopSeries);
}

void frmGraph::chkAll_Click() {
    // The boxes switch silently, so that the chart is drawn once, not once per box.
    for (qint16 series : GraphSeries::Indices) {
        const QSignalBlocker quiet(m_chkColor[series]);
        m_chkColor[series]->setChecked(m_chkAll->isChecked());
    }
    if (m_lblNoData->isHidden())
        DrawGraph(ChartPainter::NoTopSeries);
}

void frmGraph::chkAutoScale_Click() {
    // Switching it off keeps the current scale for all later redraws.
    if (m_lblNoData->isHidden() && m_chkAutoScale->isChecked())
        DrawGraph(ChartPainter::NoTopSeries);
}

void frmGraph::done(int result) {
    GraphSeries::Selection selection{};
    for (int i = 0; i < GraphSeries::Count; ++i)
        selection[i] = m_chkColor[GraphSeries::Indices[i]]->isChecked();
    m_settings.WriteSetting(SettingsSection, SettingsKey, GraphSeries::selectionToText(selection));
    QDialog::done(result);
}

QList<qint16> frmGraph::shownSeries() const {
    QList<qint16> shown;
    for (qint16 series : GraphSeries::Indices) {
        if (m_chkColor[series]->isChecked())
            shown.append(series);
    }
    return shown;
}

QColor frmGraph::seriesColour(qint16 index) const {
    return m_lblColor[index]->palette().color(QPalette::Window);
}
