#include "app/apppaths.h"
#include "app/mdlmain.h"
#include "platform/gridmodel.h"
#include "ui/graph/boardmap.h"
#include "ui/graph/boardpainter.h"
#include "ui/graph/chartpainter.h"
#include "ui/graph/chartscale.h"
#include "ui/graph/frmgraph.h"
#include "ui/graph/graphdata.h"
#include "ui/graph/graphseries.h"
#include "ui/graph/picturebox.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <ranges>

namespace {

const QString Section = QStringLiteral("WINDOW");
const QString Key = QStringLiteral("GRAPH");
const QStringList Placeholder = QStringList{QStringLiteral("(NO DATA)")} + QStringList(24);
const QColor Grid(160, 160, 160);

// The rows as the recent grid hands them over.
GridRows handedOver(const QList<QStringList> &rows) {
    GridModel grid;
    grid.setCols(GraphData::Columns);
    grid.setRows(int(rows.size()));
    QList<int> all;
    for (int row = 0; row < rows.size(); ++row) {
        for (int col = 0; col < rows[row].size(); ++col)
            grid.setText(row, col, rows[row][col]);
        all.append(row);
    }
    return grid.copyRows(all);
}

// Recent-table rows with the given cells per column listed oldest first, handed over newest
// first as the grid does. A column's cells repeat to fill `count` games.
GridRows games(const QMap<int, QStringList> &cells, int count = 3) {
    QList<QStringList> rows;
    for (int game = count - 1; game >= 0; --game) {
        rows.append(QStringList(GraphData::Columns));
        for (auto it = cells.cbegin(); it != cells.cend(); ++it)
            rows.last()[it.key()] = it.value()[game % it.value().size()];
    }
    return handedOver(rows);
}

QPoint pixelOf(const QPointF &at) {
    return QPoint(int(std::floor(at.x())), int(std::floor(at.y())));
}

// Aliased lines may fall one pixel either side of their ideal course.
bool nearby(const QImage &image, const QPointF &at, const QColor &colour) {
    return std::ranges::any_of(std::views::iota(0, 9), [&](int d) {
        return image.pixelColor(pixelOf(at) + QPoint(d % 3 - 1, d / 3 - 1)) == colour;
    });
}

// A chart drawn on a blank picture the size of the window's.
struct Chart {
    ChartScale scale;
    QImage image{449, 221, QImage::Format_RGB32};

    Chart(const GraphData &data, float graphMax, const ChartPainter::ShownSeries &shown,
          qint16 topSeries = -1) {
        scale.setGraphMax(graphMax);
        scale.setRows(data.rowCount());
        image.fill(Qt::white);
        ChartPainter(image, data, scale)
            .DrawGraph(shown, topSeries, ChartScale::gridValues(graphMax), Grid);
    }
    QPointF at(double row, double value) const { return scale.toPixels(row, value, image.size()); }
};

// A click on the window's box of that name, "chkColor(5)" or "chkAll" say.
void click(const frmGraph &window, const char *box) {
    window.findChild<QCheckBox *>(box)->click();
}

// The texts of the labels name(first), name(first + 1)..., each in brackets where it is not
// whole inside the room (by default its own label) or comes within two pixels of the one before.
QString shownWhole(const frmGraph &window, const char *name, int first, const QRect &room = {}) {
    QStringList texts;
    QRect previous;
    for (int i = first;
         const auto *label = window.findChild<QLabel *>(QStringLiteral("%1(%2)").arg(name).arg(i));
         ++i) {
        const QRect text = label->fontMetrics()
                               .boundingRect(label->rect(), int(label->alignment()), label->text())
                               .translated(label->pos());
        const bool whole = (room.isNull() ? label->geometry() : room).contains(text) &&
                           !text.adjusted(-2, 0, 0, 0).intersects(previous);
        texts.append(whole ? label->text() : '[' + label->text() + ']');
        previous = text;
    }
    return texts.join(u' ');
}

// The scale labels from the bottom up; the chart covers the right end of their strip.
QString scale(const frmGraph &window) {
    const auto *strip = window.findChild<QWidget *>("picScale");
    const int room = window.findChild<QWidget *>("picGraph")->x() - strip->x();
    return shownWhole(window, "lblScale", 1, QRect(0, 0, room, strip->height()));
}

} // namespace

class tst_Graph : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();

    void fieldColourStep_data();
    void fieldColourStep();
    void graphMaxCountsOnlyShownSeries();
    void boardOrderFieldsRadiiAndRim();
    void chartLinesPointsEdgesAndCrowds();

    void seriesFromHandEditedSettings();
    void captionsFit_data();
    void captionsFit();
    void windowDrawsRedrawsAndKnowsNoData();

private:
    QTemporaryDir m_dir;
};

void tst_Graph::initTestCase() {
    QVERIFY(m_dir.isValid());
    AppPaths::overrideForTests(m_dir.path(), QStringLiteral("Dartrail"));
}

void tst_Graph::init() {
    QFile::remove(AppPaths::settingsFile());
    mdlMain::PlayMode = mdlMain::ModeB;
}

void tst_Graph::fieldColourStep_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("cells"); // of the bull, one game each
    QTest::addColumn<int>("step");
    QTest::newRow("B 50: empty counts as 0") << mdlMain::ModeB << QStringList{"3", ""} << 5;
    QTest::newRow("A all empty") << mdlMain::ModeA << QStringList{"", ""} << 0;
    QTest::newRow("A 10") << mdlMain::ModeA << QStringList{"10"} << 1;
    QTest::newRow("A 200 stays at the top") << mdlMain::ModeA << QStringList{"1", ""} << 9;
}

void tst_Graph::fieldColourStep() {
    QFETCH(int, mode);
    QFETCH(QStringList, cells);
    QFETCH(int, step);
    const GraphData data(games({{21, cells}}, int(cells.size())));
    QCOMPARE(BoardMap::colourStep(BoardMap::HitRate(data, 21, mode)), step);
}

void tst_Graph::graphMaxCountsOnlyShownSeries() {
    // The AVG cell 1e999 lies beyond single precision; its grid must still stay bounded.
    const GraphData data(games({{1, {"-9", "7.5x", "2"}}, {23, {"", "1e999", ""}}}));
    QCOMPARE(ChartScale::graphMax(data, {1}), 7.5f);
    QCOMPARE(ChartScale::graphMax(data, {1, 23}), FLT_MAX);
    QVERIFY(ChartScale::gridValues(FLT_MAX).size() <= ChartScale::MaxGridLines);
}

void tst_Graph::boardOrderFieldsRadiiAndRim() {
    // Counter-clockwise from 3 o'clock, then the bull.
    const auto order =
        std::views::iota(0, BoardMap::Positions) | std::views::transform(BoardMap::SegmentTarget);
    QCOMPARE(
        QList<qint16>(order.begin(), order.end()),
        (QList<qint16>{6, 13, 4, 18, 1, 20, 5, 12, 9, 14, 11, 8, 16, 7, 19, 3, 17, 2, 15, 10, 21}));

    QImage image(247, 325, QImage::Format_RGB32);
    image.fill(Qt::white);
    BoardPainter::FieldColours colours;
    for (int position = 0; position < BoardMap::Positions; ++position)
        colours[position] = QColor(10 * position, 255 - 10 * position, 100);
    BoardPainter::DrawBoard(image, colours);
    const auto polar = [](double a, double r) {
        return BoardMap::Centre + QLineF::fromPolar(r, a).p2();
    };
    QCOMPARE(image.pixelColor(BoardMap::Centre), colours[20]);
    for (int position = 0; position < BoardMap::Wedges; ++position) {
        QCOMPARE(image.pixelColor(pixelOf(polar(18 * position, 60))), colours[position]);
        QVERIFY(nearby(image, polar(18 * position + 9, 60), Qt::black)); // radius
        QVERIFY(nearby(image, polar(18 * position, 100), Qt::black));    // rim
    }
}

void tst_Graph::chartLinesPointsEdgesAndCrowds() {
    const QColor joined(255, 0, 0), lone(0, 0, 255), gapped(0, 160, 0);
    // Series 9 runs far off the picture, as a hand-edited file can make it. Series 1, drawn first
    // but asked for on top, covers series 8's first point.
    const GraphData data(games(
        {{1, {"3", "3", ""}}, {5, {"", "4", ""}}, {8, {"3", "", "5"}}, {9, {"", "-1e999", "1"}}}));
    const Chart chart(data, 5, {{1, joined}, {5, lone}, {8, gapped}, {9, Qt::black}}, 1);
    const QImage &image = chart.image;
    QCOMPARE(image.pixelColor(pixelOf(chart.at(0, 3))), joined);
    QVERIFY(nearby(image, chart.at(0.5, 3), joined));

    // An isolated value is an even point of the thick pen; an empty cell ends the line.
    const QPoint point = pixelOf(chart.at(1, 4));
    for (QPoint offset : {QPoint(0, 0), QPoint(2, 0), QPoint(-2, 0), QPoint(0, 2), QPoint(0, -2)})
        QCOMPARE(image.pixelColor(point + offset), lone);
    QCOMPARE(image.pixelColor(pixelOf(chart.at(2, 5)) - QPoint(1, 0)), gapped);
    QVERIFY(!nearby(image, chart.at(1, 4), gapped));

    QVERIFY(nearby(image, chart.at(0.25, 1), Grid)); // the lowest grid line

    // Zeros as points in the first and last games and as a line between them.
    const QColor dot(255, 0, 0), line(0, 0, 255);
    const Chart zeros(GraphData(games({{1, {"0", "", "", "0"}}, {2, {"", "0", "0", ""}}}, 4)), 3,
                      {{1, dot}, {2, line}});
    const int bottom = image.height() - 1, last = image.width() - 1;
    for (QPoint at : {QPoint(0, bottom - 2), QPoint(2, bottom), QPoint(last, bottom - 2)})
        QCOMPARE(zeros.image.pixelColor(at), dot);
    const auto linePixels = std::ranges::count_if(std::views::iota(0, image.height()), [&](int y) {
        return zeros.image.pixelColor(image.width() / 2, y) == line;
    });
    QCOMPARE(linePixels, 2); // the whole pen

    // One game spans the scale 0 to 1: its values are points at the left edge.
    const Chart one(GraphData(games({{1, {"0"}}}, 1)), 0, {{1, dot}});
    QCOMPARE(one.scale.right(), 1.0);
    QCOMPARE(one.image.pixelColor(0, bottom - 2), dot);

    // Far more games than pixel columns: every column still spans the lowest to the highest value.
    const Chart crowd(GraphData(games({{1, {"9", "1", "2", "3", "1", "2", "3"}}}, 5000)), 9,
                      {{1, Qt::red}});
    for (int x = 2; x < crowd.image.width() - 2; ++x) {
        for (double value : {1.0, 5.0, 9.0})
            QVERIFY(nearby(crowd.image, QPointF(x, crowd.at(0, value).y()), Qt::red));
        QVERIFY(!nearby(crowd.image, QPointF(x, crowd.at(0, 9.8).y()), Qt::red));
    }
}

void tst_Graph::seriesFromHandEditedSettings() {
    // Series 1 to 21 from the first characters, the average from the last; only "1" is on.
    for (const auto &[stored, read] :
         {std::pair{"00000000000000000000011100", "0000000000000000000000"},
          {"2x1 yA1", "0010001000000000000001"}})
        QCOMPARE(GraphSeries::selectionToText(GraphSeries::selectionFromText(stored)), read);
}

void tst_Graph::captionsFit_data() {
    QTest::addColumn<QStringList>("values"); // of series 1, one game each
    QTest::addColumn<QString>("captions");
    QTest::newRow("15.7: by twos") << QStringList{"15.7"} << "2 4 6 8 10 12 14";
    QTest::newRow("37: by fives") << QStringList{"37"} << "5 10 15 20 25 30 35";
    QTest::newRow("mode A up to 99") << QStringList{"99", "0"} << "10 20 30 40 50 60 70 80 90";
    // Lines closer than a label's height are labelled every 2nd, 5th or 10th time.
    QTest::newRow("hundreds") << QStringList{"500"} << "50 100 150 200 250 300 350 400 450 500";
    QTest::newRow("1010") << QStringList{"1010"} << "100 200 300 400 500 600 700 800 900 1000";
}

void tst_Graph::captionsFit() {
    QFETCH(QStringList, values);
    QFETCH(QString, captions);
    frmGraph window(games({{1, values}}, int(values.size())));
    window.show();
    QCOMPARE(scale(window), captions);
    QCOMPARE(shownWhole(window, "Label1", 0), "0 10 20 30 40 50 60 70 80 90 100");

    // Each box's caption as wide as the room beside its tick, the box left of its colour key.
    for (auto *box : window.findChildren<QCheckBox *>()) {
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        const auto *key =
            window.findChild<QLabel *>(box->objectName().replace("chkColor", "lblColor"));
        QVERIFY2(room.width() >= box->fontMetrics().boundingRect(box->text()).width() &&
                     !(key && box->geometry().intersects(key->geometry())),
                 qPrintable(box->text()));
    }
}

void tst_Graph::windowDrawsRedrawsAndKnowsNoData() {
    // Series 1 alone at first. Mode B: the bull always hit, target 6 (the 3 o'clock wedge) never.
    mdlMain::WriteSetting(Section, Key, QStringLiteral("1000000000000000000000"));
    frmGraph window(games({{1, {"1", "3"}}, {2, {"7", "20"}}, {21, {"3"}}, {6, {"0", ""}}}, 2));
    const QImage &chart = window.findChild<PictureBox *>("picGraph")->image();
    const QColor seriesOne(255, 128, 128);
    // The oldest game on the left.
    QVERIFY(nearby(chart, window.chartScale().toPixels(0, 1, chart.size()), seriesOne));
    QVERIFY(nearby(chart, window.chartScale().toPixels(1, 3, chart.size()), seriesOne));
    const QImage &board = window.findChild<PictureBox *>("picBoard")->image();
    QCOMPARE(board.pixelColor(BoardMap::Centre), QColor(0, 255, 0));
    QCOMPARE(board.pixelColor(180, 120), QColor(255, 0, 0));

    QSignalSpy drawn(&window, &frmGraph::chartDrawn);
    click(window, "chkColor(3)"); // not yet visible: no redraw
    window.show();
    QCOMPARE(scale(window), "1 2 3 4");
    // With AUTO SCALE off the scale stays, whatever the series shown.
    click(window, "chkAutoScale");
    click(window, "chkColor(2)");
    click(window, "chkColor(1)");
    QCOMPARE(scale(window), "1 2 3 4");
    click(window, "chkAutoScale");
    QCOMPARE(scale(window), "2 4 6 8 10 12 14 16 18 20");

    // ALL ON/OFF redraws once, not once per box; with no series the scale is the lowest.
    click(window, "chkAll");
    click(window, "chkAll");
    QCOMPARE(drawn.count(), 5);
    QCOMPARE(scale(window), "1");
    // The close box and Esc alike keep the boxes for the next window.
    window.close();
    QCOMPARE(mdlMain::ReadSetting(Section, Key, {}), "0000000000000000000000");

    // Placeholder rows only: nothing to draw, whatever is clicked.
    frmGraph empty(handedOver({Placeholder, Placeholder}));
    empty.show();
    QVERIFY(empty.findChild<QLabel *>("lblNoData")->isVisible());
    QSignalSpy none(&empty, &frmGraph::chartDrawn);
    click(empty, "chkColor(5)");
    click(empty, "chkAll");
    QCOMPARE(none.count(), 0);
    QTest::keyClick(&empty, Qt::Key_Escape);
    QCOMPARE(mdlMain::ReadSetting(Section, Key, {}), "1111111111111111111111");
    const QImage &blank = empty.findChild<PictureBox *>("picBoard")->image();
    QCOMPARE(blank.pixelColor(BoardMap::Centre), blank.pixelColor(0, 0));
}

QTEST_MAIN(tst_Graph)
#include "tst_graph.moc"
