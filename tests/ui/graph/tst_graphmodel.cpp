#include "app/mdlmain.h"
#include "ui/graph/boardmap.h"
#include "ui/graph/chartscale.h"
#include "ui/graph/graphdata.h"
#include "ui/graph/graphseries.h"

#include <QTest>

#include <cfloat>
#include <cmath>
#include <set>

namespace {

// One recent-table row per cell text of `column`, newest first, as the grid hands them over.
QList<QStringList> rowsWithColumn(int column, const QStringList &cells) {
    QList<QStringList> rows;
    for (const QString &text : cells) {
        QStringList row(GraphData::Columns);
        row[0] = QStringLiteral("03/07 21:04");
        row[column] = text;
        rows.append(row);
    }
    return rows;
}

} // namespace

class tst_GraphModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void graphDataOldestFirstWithoutPlaceholders();
    void graphDataCellsAreExactlyTwentyFive();
    void seriesSelectionFromText_data();
    void seriesSelectionFromText();
    void hitRate_data();
    void hitRate();
    void colourStep_data();
    void colourStep();
    void fieldColourReadsTheGivenScale();
    void segmentTargetIsTheBoardOrder();
    void wedgeEndPoints_data();
    void wedgeEndPoints();
    void wedgesCloseTheCircle();
    void gridValues_data();
    void gridValues();
    void gridStaysSmallForHugeMaxima();
    void graphMaxCountsOnlyShownSeries();
};

void tst_GraphModel::graphDataOldestFirstWithoutPlaceholders() {
    QList<QStringList> rows = rowsWithColumn(1, {"9", "5", "1"});
    rows.insert(1, QStringList{QStringLiteral("(NO DATA)")});
    rows.append(QStringList{QStringLiteral("(NO DATA)")});
    const GraphData data(rows);
    QCOMPARE(data.rowCount(), 3);
    QCOMPARE(data.cell(0, 1), "1");
    QCOMPARE(data.cell(2, 1), "9");

    QVERIFY(GraphData({QStringList{QStringLiteral("(NO DATA)")}, QStringList()}).rowCount() == 1);
    QVERIFY(GraphData(QList<QStringList>()).isEmpty());
}

void tst_GraphModel::graphDataCellsAreExactlyTwentyFive() {
    QStringList longRow;
    for (int i = 0; i < 30; ++i)
        longRow.append(QString::number(i));
    const GraphData data({QStringList{QStringLiteral("x"), QStringLiteral("7x")}, longRow});
    QCOMPARE(data.cell(1, 1), "7x");
    QCOMPARE(data.value(1, 1), 7.0);
    QCOMPARE(data.cell(1, 24), QString()); // padded
    QCOMPARE(data.value(1, 21), 0.0);
    QCOMPARE(data.cell(0, 24), "24");
    QCOMPARE(data.cell(0, 25), QString()); // cut off
    QCOMPARE(data.cell(2, 1), QString());  // past the last row
}

void tst_GraphModel::seriesSelectionFromText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");

    QTest::newRow("default") << GraphSeries::defaultSettingsText() << "1111111111111111111111";
    QTest::newRow("series 2 and AVG off") << "1011111111111111111110"
                                          << "1011111111111111111110";
    QTest::newRow("21 characters: last sets bull and AVG") << "111111111111111111110"
                                                           << "1111111111111111111100";
    QTest::newRow("21 characters ending on") << "011111111111111111111"
                                             << "0111111111111111111111";
    QTest::newRow("two characters") << "10"
                                    << "1000000000000000000000";
    QTest::newRow("empty") << ""
                           << "0000000000000000000000";
    QTest::newRow("too long: last is AVG") << "00000000000000000000011101"
                                           << "0000000000000000000001";
    QTest::newRow("other characters") << "2x1 yA"
                                      << "0010000000000000000000";
}

void tst_GraphModel::seriesSelectionFromText() {
    QFETCH(QString, text);
    QFETCH(QString, written);
    QCOMPARE(GraphSeries::selectionToText(GraphSeries::selectionFromText(text)), written);
}

void tst_GraphModel::hitRate_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<double>("rate");

    QTest::newRow("B 3 3 3") << mdlMain::ModeB << QStringList{"3", "3", "3"} << 100.0;
    QTest::newRow("B 0 0") << mdlMain::ModeB << QStringList{"0", "0"} << 0.0;
    QTest::newRow("B empty counts as a game") << mdlMain::ModeB << QStringList{"3", ""} << 50.0;
    QTest::newRow("A 2 2 2") << mdlMain::ModeA << QStringList{"2", "2", "2"} << 50.0;
    QTest::newRow("A 1 1") << mdlMain::ModeA << QStringList{"1", "1"} << 100.0;
    QTest::newRow("A all zero") << mdlMain::ModeA << QStringList{"0", "0"} << 0.0;
    QTest::newRow("A all empty") << mdlMain::ModeA << QStringList{"", ""} << 0.0;
    QTest::newRow("A 1 and empty") << mdlMain::ModeA << QStringList{"1", ""} << 200.0;
    QTest::newRow("A text and leading numbers")
        << mdlMain::ModeA << QStringList{"abc", "4x"} << 50.0;
    QTest::newRow("A negative") << mdlMain::ModeA << QStringList{"-4"} << -25.0;
    QTest::newRow("B negative") << mdlMain::ModeB << QStringList{"-3"} << -100.0;
}

void tst_GraphModel::hitRate() {
    QFETCH(int, mode);
    QFETCH(QStringList, cells);
    QFETCH(double, rate);
    const GraphData data(rowsWithColumn(21, cells));
    QCOMPARE(BoardMap::HitRate(data, 21, mode), rate);
    QCOMPARE(BoardMap::HitRate(GraphData(), 21, mode), 0.0);
}

void tst_GraphModel::colourStep_data() {
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("step");

    QTest::newRow("0") << 0.0 << 0;
    QTest::newRow("9.99") << 9.99 << 0;
    QTest::newRow("10") << 10.0 << 1;
    QTest::newRow("50") << 50.0 << 5;
    QTest::newRow("89.99") << 89.99 << 8;
    QTest::newRow("90") << 90.0 << 9;
    QTest::newRow("200") << 200.0 << 9;
    QTest::newRow("infinite") << HUGE_VAL << 9;
    QTest::newRow("just negative") << -0.01 << -1;
    QTest::newRow("not a number") << std::nan("") << -1;
}

void tst_GraphModel::colourStep() {
    QFETCH(double, rate);
    QFETCH(int, step);
    QCOMPARE(BoardMap::colourStep(rate), step);
}

void tst_GraphModel::fieldColourReadsTheGivenScale() {
    BoardMap::Scale scale = BoardMap::defaultScale();
    QCOMPARE(scale[0], QColor(255, 0, 0));
    QCOMPARE(scale[5], QColor(220, 255, 220));
    QCOMPARE(scale[9], QColor(0, 255, 0));
    scale[5] = QColor(1, 2, 3);
    QCOMPARE(BoardMap::fieldColour(55, scale), QColor(1, 2, 3));
    QCOMPARE(BoardMap::fieldColour(-1, scale), QColor(2, 0, 0));
}

void tst_GraphModel::segmentTargetIsTheBoardOrder() {
    QCOMPARE(BoardMap::SegmentTarget(0), 6);
    QCOMPARE(BoardMap::SegmentTarget(5), 20);
    QCOMPARE(BoardMap::SegmentTarget(10), 11);
    QCOMPARE(BoardMap::SegmentTarget(15), 3);
    QCOMPARE(BoardMap::SegmentTarget(20), 21);
    std::set<int> targets;
    for (int position = 0; position < BoardMap::Positions; ++position)
        targets.insert(BoardMap::SegmentTarget(position));
    QCOMPARE(int(targets.size()), 21);
    QCOMPARE(*targets.begin(), 1);
    QCOMPARE(*targets.rbegin(), 21);
}

void tst_GraphModel::wedgeEndPoints_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QPoint>("end");

    QTest::newRow("3 o'clock, target 6") << 0 << QPoint(219, 136) << QPoint(219, 104);
    QTest::newRow("12 o'clock, target 20") << 5 << QPoint(136, 21) << QPoint(104, 21);
    QTest::newRow("9 o'clock, target 11") << 10 << QPoint(21, 104) << QPoint(21, 136);
    QTest::newRow("6 o'clock, target 3") << 15 << QPoint(104, 219) << QPoint(136, 219);
}

void tst_GraphModel::wedgeEndPoints() {
    QFETCH(int, position);
    QFETCH(QPoint, start);
    QFETCH(QPoint, end);
    const auto points = BoardMap::wedgeEndPoints(position);
    QCOMPARE(points.first, start);
    QCOMPARE(points.second, end);
}

void tst_GraphModel::wedgesCloseTheCircle() {
    for (int position = 0; position < BoardMap::Wedges; ++position) {
        const QPoint next = BoardMap::wedgeEndPoints((position + 1) % BoardMap::Wedges).first;
        QCOMPARE(BoardMap::wedgeEndPoints(position).second, next);
    }
}

void tst_GraphModel::gridValues_data() {
    QTest::addColumn<float>("graphMax");
    QTest::addColumn<QList<double>>("values");

    QTest::newRow("mode B 3") << 3.0f << QList<double>{1, 2, 3, 4};
    QTest::newRow("nothing shown") << 0.0f << QList<double>{1};
    QTest::newRow("10 still by ones") << 10.0f << QList<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    QTest::newRow("10.9 cuts to 10") << 10.9f << QList<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    QTest::newRow("15.7") << 15.7f << QList<double>{2, 4, 6, 8, 10, 12, 14};
    QTest::newRow("20") << 20.0f << QList<double>{2, 4, 6, 8, 10, 12, 14, 16, 18, 20};
    QTest::newRow("37") << 37.0f << QList<double>{5, 10, 15, 20, 25, 30, 35};
    QTest::newRow("51") << 51.0f << QList<double>{10, 20, 30, 40, 50};
    QTest::newRow("99") << 99.0f << QList<double>{10, 20, 30, 40, 50, 60, 70, 80, 90};
    QTest::newRow("2010 widens the step")
        << 2010.0f << QList<double>{100,  200,  300,  400,  500,  600,  700,  800,  900,  1000,
                                    1100, 1200, 1300, 1400, 1500, 1600, 1700, 1800, 1900, 2000};
}

void tst_GraphModel::gridValues() {
    QFETCH(float, graphMax);
    QFETCH(QList<double>, values);
    QCOMPARE(ChartScale::gridValues(graphMax), values);
}

void tst_GraphModel::gridStaysSmallForHugeMaxima() {
    QCOMPARE(ChartScale::gridValues(1000).size(), 100);
    const QList<double> values = ChartScale::gridValues(FLT_MAX);
    QVERIFY(!values.isEmpty() && values.size() <= ChartScale::MaxGridLines);
    QVERIFY(values.last() <= FLT_MAX);
    QVERIFY(std::is_sorted(values.begin(), values.end()));
}

void tst_GraphModel::graphMaxCountsOnlyShownSeries() {
    QList<QStringList> rows = rowsWithColumn(1, {"2", "7.5x", "abc", "-9"});
    rows[0][2] = QStringLiteral("50");
    rows[1][23] = QStringLiteral("1e999"); // beyond single precision
    const GraphData data(rows);
    QCOMPARE(ChartScale::graphMax(data, {1}), 7.5f);
    QCOMPARE(ChartScale::graphMax(data, {1, 2}), 50.0f);
    QCOMPARE(ChartScale::graphMax(data, {1, 23}), FLT_MAX);
    QCOMPARE(ChartScale::graphMax(data, {}), 0.0f);
    QCOMPARE(ChartScale::graphMax(GraphData(rowsWithColumn(3, {"-5"})), {3}), 0.0f);
}

QTEST_APPLESS_MAIN(tst_GraphModel)
#include "tst_graphmodel.moc"
