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
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (image.pixelColor(pixelOf(at) + QPoint(dx, dy)) == colour)
                return true;
        }
    }
    return false;
}

// Games with the given cells per series, oldest first.
GraphData games(const QMap<int, QStringList> &series, int count = 3) {
    QList<QStringList> rows;
    for (int game = count - 1; game >= 0; --game) { // newest first, as handed over
        QStringList row(GraphData::Columns);
        for (auto it = series.cbegin(); it != series.cend(); ++it)
            row[it.key()] = it.value()[game % it.value().size()];
        rows.append(row);
    }
    return GraphData(rows);
}

QImage chart(const GraphData &data, const ChartScale &scale, const ChartPainter::ShownSeries &shown,
             qint16 topSeries = -1) {
    QImage image(449, 221, QImage::Format_RGB32);
    image.fill(Background);
    ChartPainter(image, data, scale)
        .DrawGraph(shown, topSeries, ChartScale::gridValues(scale.graphMax()), Grid);
    return image;
}

} // namespace

class tst_GraphPainting : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void boardFieldsRadiiAndRim();
    void chartLinesPointsGapsAndGrid();
    void topSeriesIsDrawnLast();
    void crowdedSeriesKeepsItsRange();
};

void tst_GraphPainting::boardFieldsRadiiAndRim() {
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

void tst_GraphPainting::chartLinesPointsGapsAndGrid() {
    const QColor joined(255, 0, 0), lone(0, 0, 255), gapped(0, 160, 0);
    // Series 9 runs far off the picture, as a hand-edited file can make it.
    const GraphData data = games(
        {{1, {"2", "3", ""}}, {5, {"", "4", ""}}, {8, {"3", "", "5"}}, {9, {"", "-1e999", "1"}}});
    ChartScale scale;
    scale.setGraphMax(ChartScale::graphMax(data, {1, 5, 8}));
    scale.setRows(data.rowCount());
    const QImage image = chart(data, scale, {{1, joined}, {5, lone}, {8, gapped}, {9, Qt::black}});
    const auto at = [&](double row, double value) {
        return scale.toPixels(row, value, image.size());
    };

    QVERIFY(nearby(image, at(0.5, 2.5), joined));
    QVERIFY(!nearby(image, at(1.5, 3), joined)); // the empty cell ends the line

    const QPoint point = pixelOf(at(1, 4));
    for (QPoint offset : {QPoint(0, 0), QPoint(2, 0), QPoint(-2, 0), QPoint(0, 2), QPoint(0, -2)})
        QCOMPARE(image.pixelColor(point + offset), lone);
    for (QPoint offset : {QPoint(4, 0), QPoint(0, 4)})
        QVERIFY(image.pixelColor(point + offset) != lone);

    QCOMPARE(image.pixelColor(pixelOf(at(0, 3)) + QPoint(1, 0)), gapped);
    QCOMPARE(image.pixelColor(pixelOf(at(2, 5)) - QPoint(1, 0)), gapped);
    QVERIFY(!nearby(image, at(1, 4), gapped));

    // Dotted grid lines at 1 to 6 in the grid colour.
    const int gridRow = pixelOf(at(0, 1)).y();
    int dots = 0;
    for (int x = 0; x < image.width(); ++x)
        dots += image.pixelColor(x, gridRow) == Grid ? 1 : 0;
    QVERIFY(dots > image.width() / 5 && dots < image.width() * 4 / 5);
}

void tst_GraphPainting::topSeriesIsDrawnLast() {
    const GraphData data =
        games({{1, {"1", "2", "3"}}, {7, {"1", "2", "3"}}, {23, {"1", "2", "3"}}});
    ChartScale scale;
    scale.setGraphMax(3);
    scale.setRows(3);
    const ChartPainter::ShownSeries shown{{1, Qt::red}, {7, Qt::green}, {23, Qt::blue}};
    const QPoint middle = pixelOf(scale.toPixels(1, 2, QSize(449, 221)));
    QCOMPARE(chart(data, scale, shown).pixelColor(middle), QColor(Qt::blue));
    QCOMPARE(chart(data, scale, shown, 7).pixelColor(middle), QColor(Qt::green));
}

void tst_GraphPainting::crowdedSeriesKeepsItsRange() {
    // Far more games than pixel columns: every column still spans the lowest to the highest value.
    const GraphData data = games({{1, {"9", "1", "2", "3", "1", "2", "3"}}}, 5000);
    ChartScale scale;
    scale.setGraphMax(9);
    scale.setRows(data.rowCount());
    const QImage image = chart(data, scale, {{1, Qt::red}});
    for (int x = 2; x < image.width() - 2; ++x) {
        for (double value : {1.0, 5.0, 9.0})
            QVERIFY(nearby(image, QPointF(x, scale.toPixelY(value, image.height())), Qt::red));
        QVERIFY(!nearby(image, QPointF(x, scale.toPixelY(9.8, image.height())), Qt::red));
    }
}

QTEST_MAIN(tst_GraphPainting)
#include "tst_graphpainting.moc"
