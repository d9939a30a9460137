#include "app/mdlmain.h"
#include "ui/graph/boardmap.h"
#include "ui/graph/boardpainter.h"
#include "ui/graph/chartpainter.h"
#include "ui/graph/chartscale.h"
#include "ui/graph/graphdata.h"

#include <QTest>
#include <QtMath>

#include <cfloat>

namespace {

const QColor Background(Qt::white);
const QColor Grid(160, 160, 160);

// Recent-table rows with the given cells per column listed oldest first, handed over newest
// first as the grid does. A column's cells repeat to fill `count` games.
QList<QStringList> games(const QMap<int, QStringList> &cells, int count = 3) {
    QList<QStringList> rows;
    for (int game = count - 1; game >= 0; --game) {
        rows.append(QStringList(GraphData::Columns));
        for (auto it = cells.cbegin(); it != cells.cend(); ++it)
            rows.last()[it.key()] = it.value()[game % it.value().size()];
    }
    return rows;
}

QPoint pixelOf(const QPointF &at) {
    return QPoint(int(std::floor(at.x())), int(std::floor(at.y())));
}

// Aliased lines may fall one pixel either side of their ideal course.
bool nearby(const QImage &image, const QPointF &at, const QColor &colour) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (image.pixelColor(pixelOf(at) + QPoint(dx, dy)) == colour)
                return true;
        }
    }
    return false;
}

// A chart drawn on a blank picture the size of the window's.
struct Chart {
    ChartScale scale;
    QImage image{449, 221, QImage::Format_RGB32};

    Chart(const GraphData &data, float graphMax, const ChartPainter::ShownSeries &shown,
          qint16 topSeries = -1) {
        scale.setGraphMax(graphMax);
        scale.setRows(data.rowCount());
        image.fill(Background);
        ChartPainter(image, data, scale)
            .DrawGraph(shown, topSeries, ChartScale::gridValues(graphMax), Grid);
    }
    QPointF at(double row, double value) const { return scale.toPixels(row, value, image.size()); }
};

} // namespace

class tst_Graph : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hitRate_data();
    void hitRate();
    void colourStep_data();
    void colourStep();
    void boardOrderAndWedgeEnds();
    void gridValues_data();
    void gridValues();
    void graphMaxCountsOnlyShownSeries();
    void boardFieldsRadiiAndRim();
    void chartLinesPointsGapsAndGrid();
    void edgeValuesShowWhole();
    void topSeriesIsDrawnLast();
    void crowdedSeriesKeepsItsRange();
};

void tst_Graph::hitRate_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<double>("rate");

    QTest::newRow("B 3 3 3") << mdlMain::ModeB << QStringList{"3", "3", "3"} << 100.0;
    QTest::newRow("B empty counts as 0") << mdlMain::ModeB << QStringList{"3", ""} << 50.0;
    QTest::newRow("A 2 2 2") << mdlMain::ModeA << QStringList{"2", "2", "2"} << 50.0;
    QTest::newRow("A all empty") << mdlMain::ModeA << QStringList{"", ""} << 0.0;
    QTest::newRow("A 1 and empty") << mdlMain::ModeA << QStringList{"1", ""} << 200.0;
    QTest::newRow("A negative") << mdlMain::ModeA << QStringList{"-4"} << -25.0;
}

void tst_Graph::hitRate() {
    QFETCH(int, mode);
    QFETCH(QStringList, cells);
    QFETCH(double, rate);
    QCOMPARE(BoardMap::HitRate(GraphData(games({{21, cells}}, cells.size())), 21, mode), rate);
}

void tst_Graph::colourStep_data() {
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("step");

    QTest::newRow("9.99") << 9.99 << 0;
    QTest::newRow("10") << 10.0 << 1;
    QTest::newRow("90") << 90.0 << 9;
    QTest::newRow("200") << 200.0 << 9;
    QTest::newRow("negative") << -0.01 << -1;
    QTest::newRow("no number") << std::nan("") << -1;
}

void tst_Graph::colourStep() {
    QFETCH(double, rate);
    QFETCH(int, step);
    QCOMPARE(BoardMap::colourStep(rate), step);
    if (step < 0)
        QCOMPARE(BoardMap::fieldColour(rate, BoardMap::defaultScale()), QColor(2, 0, 0));
}

void tst_Graph::boardOrderAndWedgeEnds() {
    // Counter-clockwise from 3 o'clock, then the bull.
    QList<int> targets;
    for (int position = 0; position < BoardMap::Positions; ++position)
        targets.append(BoardMap::SegmentTarget(position));
    QCOMPARE(targets, (QList<int>{6, 13, 4, 18, 1, 20, 5, 12, 9,  14, 11,
                                  8, 16, 7, 19, 3, 17, 2, 15, 10, 21}));

    using Ends = std::pair<QPoint, QPoint>;
    QCOMPARE(BoardMap::wedgeEndPoints(0), Ends(QPoint(219, 136), QPoint(219, 104)));
    QCOMPARE(BoardMap::wedgeEndPoints(5), Ends(QPoint(136, 21), QPoint(104, 21)));
    QCOMPARE(BoardMap::wedgeEndPoints(19).second, BoardMap::wedgeEndPoints(0).first);
}

void tst_Graph::gridValues_data() {
    QTest::addColumn<float>("graphMax");
    QTest::addColumn<QList<double>>("values");

    QTest::newRow("15.7") << 15.7f << QList<double>{2, 4, 6, 8, 10, 12, 14};
    QTest::newRow("37") << 37.0f << QList<double>{5, 10, 15, 20, 25, 30, 35};
    QTest::newRow("1010 widens the step")
        << 1010.0f << QList<double>{100, 200, 300, 400, 500, 600, 700, 800, 900, 1000};
}

void tst_Graph::gridValues() {
    QFETCH(float, graphMax);
    QFETCH(QList<double>, values);
    QCOMPARE(ChartScale::gridValues(graphMax), values);
    QVERIFY(ChartScale::gridValues(FLT_MAX).size() <= ChartScale::MaxGridLines);
}

void tst_Graph::graphMaxCountsOnlyShownSeries() {
    // The AVG cell 1e999 lies beyond single precision.
    const GraphData data(
        games({{1, {"-9", "7.5x", "2"}}, {2, {"", "", "50"}}, {23, {"", "1e999", ""}}}));
    QCOMPARE(ChartScale::graphMax(data, {1}), 7.5f);
    QCOMPARE(ChartScale::graphMax(data, {1, 2}), 50.0f);
    QCOMPARE(ChartScale::graphMax(data, {23}), FLT_MAX);
}

void tst_Graph::boardFieldsRadiiAndRim() {
    QImage image(247, 325, QImage::Format_RGB32);
    image.fill(Background);
    BoardPainter::FieldColours colours;
    for (int position = 0; position < BoardMap::Positions; ++position)
        colours[position] = QColor(10 * position, 255 - 10 * position, 100);
    BoardPainter::DrawBoard(image, colours);

    const auto polar = [](double degrees, double radius) {
        const double a = qDegreesToRadians(degrees);
        return QPointF(120 + radius * std::cos(a), 120 - radius * std::sin(a));
    };
    QCOMPARE(image.pixelColor(120, 120), colours[20]);
    QVERIFY(nearby(image, QPointF(120, 105), Qt::black)); // bull outline
    for (int position = 0; position < BoardMap::Wedges; ++position) {
        QCOMPARE(image.pixelColor(pixelOf(polar(18 * position, 60))), colours[position]);
        const QPointF end = BoardMap::wedgeEndPoints(position).first;
        QVERIFY(nearby(image, QPointF(120, 120) + (end - QPointF(120, 120)) * 0.6, Qt::black));
        QVERIFY(nearby(image, polar(18 * position, 100), Qt::black)); // rim
    }
    QCOMPARE(image.pixelColor(15, 15), Background);
}

void tst_Graph::chartLinesPointsGapsAndGrid() {
    const QColor joined(255, 0, 0), lone(0, 0, 255), gapped(0, 160, 0);
    // Series 9 runs far off the picture, as a hand-edited file can make it.
    const GraphData data(games(
        {{1, {"2", "3", ""}}, {5, {"", "4", ""}}, {8, {"3", "", "5"}}, {9, {"", "-1e999", "1"}}}));
    const Chart chart(data, 5, {{1, joined}, {5, lone}, {8, gapped}, {9, Qt::black}});
    const QImage &image = chart.image;

    QVERIFY(nearby(image, chart.at(0.5, 2.5), joined));
    QVERIFY(!nearby(image, chart.at(1.5, 3), joined)); // the empty cell ends the line

    // An isolated value is a point of the thick pen, not a line.
    const QPoint point = pixelOf(chart.at(1, 4));
    for (QPoint offset : {QPoint(0, 0), QPoint(2, 0), QPoint(-2, 0), QPoint(0, 2), QPoint(0, -2)})
        QCOMPARE(image.pixelColor(point + offset), lone);
    QVERIFY(image.pixelColor(point + QPoint(4, 0)) != lone);
    QCOMPARE(image.pixelColor(pixelOf(chart.at(0, 3)) + QPoint(1, 0)), gapped);
    QCOMPARE(image.pixelColor(pixelOf(chart.at(2, 5)) - QPoint(1, 0)), gapped);
    QVERIFY(!nearby(image, chart.at(1, 4), gapped));

    // Dotted grid lines in the grid colour.
    const int gridRow = pixelOf(chart.at(0, 1)).y();
    int dots = 0;
    for (int x = 0; x < image.width(); ++x)
        dots += image.pixelColor(x, gridRow) == Grid ? 1 : 0;
    QVERIFY(dots > image.width() / 5 && dots < image.width() * 4 / 5);
}

void tst_Graph::edgeValuesShowWhole() {
    // Zeros as points in the first and last games and as a line between them.
    const QColor point(255, 0, 0), line(0, 0, 255);
    const Chart chart(GraphData(games({{1, {"0", "", "", "0"}}, {2, {"", "0", "0", ""}}}, 4)), 3,
                      {{1, point}, {2, line}});
    const QImage &image = chart.image;
    const int bottom = image.height() - 1, last = image.width() - 1;
    for (QPoint at : {QPoint(0, bottom - 2), QPoint(2, bottom), QPoint(last, bottom - 2),
                      QPoint(last - 2, bottom)})
        QCOMPARE(image.pixelColor(at), point);
    int linePixels = 0;
    for (int y = 0; y < image.height(); ++y)
        linePixels += image.pixelColor(image.width() / 2, y) == line ? 1 : 0;
    QCOMPARE(linePixels, 2); // the whole pen

    // One game spans the scale 0 to 1: its values are points at the left edge.
    const Chart one(GraphData(games({{1, {"0"}}}, 1)), 0, {{1, point}});
    QCOMPARE(one.scale.right(), 1.0);
    QCOMPARE(one.image.pixelColor(0, bottom - 2), point);
    QVERIFY(one.image.pixelColor(last, bottom - 2) != point);
}

void tst_Graph::topSeriesIsDrawnLast() {
    const GraphData data(
        games({{1, {"1", "2", "3"}}, {7, {"1", "2", "3"}}, {23, {"1", "2", "3"}}}));
    const ChartPainter::ShownSeries shown{{1, Qt::red}, {7, Qt::green}, {23, Qt::blue}};
    const Chart plain(data, 3, shown), seventhOnTop(data, 3, shown, 7);
    const QPoint middle = pixelOf(plain.at(1, 2));
    QCOMPARE(plain.image.pixelColor(middle), QColor(Qt::blue));
    QCOMPARE(seventhOnTop.image.pixelColor(middle), QColor(Qt::green));
}

void tst_Graph::crowdedSeriesKeepsItsRange() {
    // Far more games than pixel columns: every column still spans the lowest to the highest value.
    const Chart chart(GraphData(games({{1, {"9", "1", "2", "3", "1", "2", "3"}}}, 5000)), 9,
                      {{1, Qt::red}});
    const int height = chart.image.height();
    for (int x = 2; x < chart.image.width() - 2; ++x) {
        for (double value : {1.0, 5.0, 9.0})
            QVERIFY(nearby(chart.image, QPointF(x, chart.scale.toPixelY(value, height)), Qt::red));
        QVERIFY(!nearby(chart.image, QPointF(x, chart.scale.toPixelY(9.8, height)), Qt::red));
    }
}

QTEST_MAIN(tst_Graph)
#include "tst_graph.moc"
