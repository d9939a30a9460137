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
    void seriesSelectionFromText_data();
    void seriesSelectionFromText();
    void hitRate_data();
    void hitRate();
    void colourStep_data();
    void colourStep();
    void boardOrderAndWedgeEnds();
    void gridValues_data();
    void gridValues();
    void graphMaxCountsOnlyShownSeries();
};

void tst_GraphModel::graphDataOldestFirstWithoutPlaceholders() {
    QList<QStringList> rows = rowsWithColumn(1, {"9", "5x", "1"});
    rows.insert(1, QStringList{QStringLiteral("(NO DATA)")});
    rows.append(QStringList(30, QStringLiteral("7")));
    const GraphData data(rows);
    QCOMPARE(data.rowCount(), 4);
    QCOMPARE(data.cell(0, 24), "7");
    QCOMPARE(data.cell(0, 25), QString()); // cells beyond 24 are dropped
    QCOMPARE(data.cell(1, 1), "1");
    QCOMPARE(data.value(2, 1), 5.0);
    QCOMPARE(data.cell(3, 1), "9");
    QVERIFY(GraphData({QStringList{QStringLiteral("(NO DATA)")}}).isEmpty());
}

void tst_GraphModel::seriesSelectionFromText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");

    QTest::newRow("series 2, AVG off") << "1011111111111111111110"
                                       << "1011111111111111111110";
    QTest::newRow("21 characters") << "111111111111111111110"
                                   << "1111111111111111111100";
    QTest::newRow("10") << "10"
                        << "1000000000000000000000";
    QTest::newRow("too long") << "00000000000000000000011101"
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
    QTest::newRow("B empty counts as 0") << mdlMain::ModeB << QStringList{"3", ""} << 50.0;
    QTest::newRow("A 2 2 2") << mdlMain::ModeA << QStringList{"2", "2", "2"} << 50.0;
    QTest::newRow("A all empty") << mdlMain::ModeA << QStringList{"", ""} << 0.0;
    QTest::newRow("A 1 and empty") << mdlMain::ModeA << QStringList{"1", ""} << 200.0;
    QTest::newRow("A text") << mdlMain::ModeA << QStringList{"abc", "4x"} << 50.0;
    QTest::newRow("A negative") << mdlMain::ModeA << QStringList{"-4"} << -25.0;
}

void tst_GraphModel::hitRate() {
    QFETCH(int, mode);
    QFETCH(QStringList, cells);
    QFETCH(double, rate);
    QCOMPARE(BoardMap::HitRate(GraphData(rowsWithColumn(21, cells)), 21, mode), rate);
}

void tst_GraphModel::colourStep_data() {
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("step");

    QTest::newRow("0") << 0.0 << 0;
    QTest::newRow("9.99") << 9.99 << 0;
    QTest::newRow("10") << 10.0 << 1;
    QTest::newRow("89.99") << 89.99 << 8;
    QTest::newRow("90") << 90.0 << 9;
    QTest::newRow("200") << 200.0 << 9;
    QTest::newRow("negative") << -0.01 << -1;
    QTest::newRow("no number") << std::nan("") << -1;
}

void tst_GraphModel::colourStep() {
    QFETCH(double, rate);
    QFETCH(int, step);
    QCOMPARE(BoardMap::colourStep(rate), step);
    if (step < 0)
        QCOMPARE(BoardMap::fieldColour(rate, BoardMap::defaultScale()), QColor(2, 0, 0));
}

void tst_GraphModel::boardOrderAndWedgeEnds() {
    std::set<int> targets;
    for (int position = 0; position < BoardMap::Positions; ++position)
        targets.insert(BoardMap::SegmentTarget(position));
    QCOMPARE(targets.size(), size_t(21));
    QCOMPARE(BoardMap::SegmentTarget(5), 20);
    QCOMPARE(BoardMap::SegmentTarget(20), 21);

    using Ends = std::pair<QPoint, QPoint>;
    QCOMPARE(BoardMap::wedgeEndPoints(0), Ends(QPoint(219, 136), QPoint(219, 104)));
    QCOMPARE(BoardMap::wedgeEndPoints(5), Ends(QPoint(136, 21), QPoint(104, 21)));
    QCOMPARE(BoardMap::wedgeEndPoints(19).second, BoardMap::wedgeEndPoints(0).first);
}

void tst_GraphModel::gridValues_data() {
    QTest::addColumn<float>("graphMax");
    QTest::addColumn<QList<double>>("values");

    QTest::newRow("3") << 3.0f << QList<double>{1, 2, 3, 4};
    QTest::newRow("0") << 0.0f << QList<double>{1};
    QTest::newRow("10.9") << 10.9f << QList<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    QTest::newRow("15.7") << 15.7f << QList<double>{2, 4, 6, 8, 10, 12, 14};
    QTest::newRow("37") << 37.0f << QList<double>{5, 10, 15, 20, 25, 30, 35};
    QTest::newRow("99") << 99.0f << QList<double>{10, 20, 30, 40, 50, 60, 70, 80, 90};
    QTest::newRow("1010 widens the step")
        << 1010.0f << QList<double>{100, 200, 300, 400, 500, 600, 700, 800, 900, 1000};
}

void tst_GraphModel::gridValues() {
    QFETCH(float, graphMax);
    QFETCH(QList<double>, values);
    QCOMPARE(ChartScale::gridValues(graphMax), values);
    QVERIFY(ChartScale::gridValues(FLT_MAX).size() <= ChartScale::MaxGridLines);
}

void tst_GraphModel::graphMaxCountsOnlyShownSeries() {
    QList<QStringList> rows = rowsWithColumn(1, {"2", "7.5x", "-9"});
    rows[0][2] = QStringLiteral("50");
    rows[1][23] = QStringLiteral("1e999"); // beyond single precision
    const GraphData data(rows);
    QCOMPARE(ChartScale::graphMax(data, {1}), 7.5f);
    QCOMPARE(ChartScale::graphMax(data, {1, 2}), 50.0f);
    QCOMPARE(ChartScale::graphMax(data, {23}), FLT_MAX);
}

QTEST_APPLESS_MAIN(tst_GraphModel)
#include "tst_graphmodel.moc"
