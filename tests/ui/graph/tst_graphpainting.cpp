#include "ui/graph/boardmap.h"
#include "ui/graph/boardpainter.h"
#include "ui/graph/chartpainter.h"
#include "ui/graph/chartscale.h"
#include "ui/graph/graphdata.h"

#include <QTest>
#include <QtMath>

namespace {

const QColor Background(Qt::white);
const QColor Grid(160, 160, 160);

// The pixel a point in picture coordinates falls in.
QPoint pixelOf(const QPointF &at) {
    return QPoint(int(std::floor(at.x())), int(std::floor(at.y())));
}

// Aliased lines may fall one pixel either side of their ideal course.
bool nearby(const QImage &image, const QPointF &at, const QColor &colour) {
    const QPoint centre = pixelOf(at);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (image.pixelColor(centre + QPoint(dx, dy)) == colour)
                return true;
        }
    }
    return false;
}

QPointF polar(double degrees, double radius) {
    const double a = qDegreesToRadians(degrees);
    return QPointF(120 + radius * std::cos(a), 120 - radius * std::sin(a));
}

// Three games with the given cells per series, oldest first.
GraphData threeGames(const QMap<int, QStringList> &series) {
    QList<QStringList> rows;
    for (int game = 2; game >= 0; --game) { // newest first, as handed over
        QStringList row(GraphData::Columns);
        for (auto it = series.cbegin(); it != series.cend(); ++it)
            row[it.key()] = it.value()[game];
        rows.append(row);
    }
    return GraphData(rows);
}

} // namespace

class tst_GraphPainting : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void boardFieldsRadiiAndRim();
    void chartLinesPointsAndGaps();
    void topSeriesIsDrawnLast();
    void chartGridIsDotted();
    void crowdedSeriesKeepsItsRange();
};

void tst_GraphPainting::boardFieldsRadiiAndRim() {
    QImage image(247, 325, QImage::Format_RGB32);
    image.fill(Background);
    BoardPainter::FieldColours colours;
    for (int position = 0; position < BoardMap::Positions; ++position)
        colours[position] = QColor(10 * position, 255 - 10 * position, 100);
    BoardPainter::DrawBoard(image, colours);

    QCOMPARE(image.pixelColor(120, 120), colours[20]);
    for (int position : {0, 1, 5, 10, 15, 18, 19})
        QCOMPARE(image.pixelColor(polar(18 * position, 60).toPoint()), colours[position]);

    for (int position = 0; position < BoardMap::Wedges; ++position) {
        const QPointF end = BoardMap::wedgeEndPoints(position).first;
        const QPointF along = QPointF(120, 120) + (end - QPointF(120, 120)) * 0.6;
        QVERIFY2(nearby(image, along, Qt::black), qPrintable(QString::number(position)));
        QVERIFY(nearby(image, polar(18 * position, 100), Qt::black)); // rim
    }
    QVERIFY(nearby(image, QPointF(120, 105), Qt::black)); // bull outline
    QCOMPARE(image.pixelColor(15, 15), Background);
    QCOMPARE(image.pixelColor(120, 240), Background);
}

void tst_GraphPainting::chartLinesPointsAndGaps() {
    const QColor joined(255, 0, 0), lone(0, 0, 255), gapped(0, 160, 0);
    const GraphData data =
        threeGames({{1, {"2", "3", ""}}, {5, {"", "4", ""}}, {8, {"3", "", "5"}}});
    ChartScale scale;
    scale.setGraphMax(ChartScale::graphMax(data, {1, 5, 8}));
    scale.setRows(data.rowCount());
    QCOMPARE(scale.graphMax(), 5.0f);

    QImage image(449, 221, QImage::Format_RGB32);
    image.fill(Background);
    ChartPainter(image, data, scale).DrawGraph({{1, joined}, {5, lone}, {8, gapped}}, -1, {}, Grid);
    const auto at = [&](double row, double value) {
        return scale.toPixels(row, value, image.size());
    };

    QVERIFY(nearby(image, at(0.5, 2.5), joined));
    QVERIFY(nearby(image, at(0.25, 2.25), joined));
    QVERIFY(!nearby(image, at(1.5, 3), joined)); // the empty cell ends the line

    const QPoint point = pixelOf(at(1, 4));
    for (QPoint offset : {QPoint(0, 0), QPoint(2, 0), QPoint(-2, 0), QPoint(0, 2), QPoint(0, -2)})
        QCOMPARE(image.pixelColor(point + offset), lone);
    for (QPoint offset : {QPoint(4, 0), QPoint(-4, 0), QPoint(0, 4), QPoint(0, -4)})
        QCOMPARE(image.pixelColor(point + offset), Background);

    QCOMPARE(image.pixelColor(pixelOf(at(0, 3)) + QPoint(1, 0)), gapped);
    QCOMPARE(image.pixelColor(pixelOf(at(2, 5)) - QPoint(1, 0)), gapped);
    QVERIFY(!nearby(image, at(1, 4), gapped));
}

void tst_GraphPainting::topSeriesIsDrawnLast() {
    QCOMPARE(ChartPainter::drawOrder(-1).size(), 22);
    QCOMPARE(ChartPainter::drawOrder(-1).last(), 23);
    QCOMPARE(ChartPainter::drawOrder(7).last(), 7);

    const GraphData data =
        threeGames({{1, {"1", "2", "3"}}, {7, {"1", "2", "3"}}, {23, {"1", "2", "3"}}});
    ChartScale scale;
    scale.setGraphMax(3);
    scale.setRows(3);
    QImage image(449, 221, QImage::Format_RGB32);
    const ChartPainter::ShownSeries shown{{1, Qt::red}, {7, Qt::green}, {23, Qt::blue}};
    const QPoint middle = pixelOf(scale.toPixels(1, 2, image.size()));

    image.fill(Background);
    ChartPainter(image, data, scale).DrawGraph(shown, -1, {}, Grid);
    QCOMPARE(image.pixelColor(middle), QColor(Qt::blue));
    image.fill(Background);
    ChartPainter(image, data, scale).DrawGraph(shown, 7, {}, Grid);
    QCOMPARE(image.pixelColor(middle), QColor(Qt::green));
}

void tst_GraphPainting::chartGridIsDotted() {
    const GraphData data = threeGames({{1, {"1", "", ""}}});
    ChartScale scale;
    scale.setGraphMax(3);
    scale.setRows(3);
    QImage image(449, 221, QImage::Format_RGB32);
    image.fill(Background);
    ChartPainter(image, data, scale).DrawGraph({}, -1, ChartScale::gridValues(3), Grid);

    for (double value : {1.0, 2.0, 3.0}) {
        const int y = int(scale.toPixelY(value, image.height()));
        int grey = 0;
        for (int x = 0; x < image.width(); ++x)
            grey += image.pixelColor(x, y) == Grid ? 1 : 0;
        QVERIFY2(grey > image.width() / 5 && grey < image.width() * 4 / 5,
                 qPrintable(QString::number(grey)));
    }
    QCOMPARE(image.pixelColor(200, int(scale.toPixelY(1.5, image.height()))), Background);
}

void tst_GraphPainting::crowdedSeriesKeepsItsRange() {
    // Far more games than pixel columns: every column still spans the lowest to the highest value.
    QList<QStringList> rows;
    for (int game = 0; game < 5000; ++game) {
        QStringList row(GraphData::Columns);
        row[1] = QString::number(game % 7 == 0 ? 9 : 1 + game % 3);
        rows.append(row);
    }
    const GraphData data(rows);
    ChartScale scale;
    scale.setGraphMax(9);
    scale.setRows(data.rowCount());
    QImage image(449, 221, QImage::Format_RGB32);
    image.fill(Background);
    ChartPainter(image, data, scale).DrawGraph({{1, Qt::red}}, -1, {}, Grid);

    for (int x = 2; x < image.width() - 2; ++x) {
        for (double value : {1.0, 5.0, 9.0})
            QVERIFY(nearby(image, QPointF(x, scale.toPixelY(value, image.height())), Qt::red));
        QVERIFY(!nearby(image, QPointF(x, scale.toPixelY(9.8, image.height())), Qt::red));
    }
}

QTEST_MAIN(tst_GraphPainting)
#include "tst_graphpainting.moc"
