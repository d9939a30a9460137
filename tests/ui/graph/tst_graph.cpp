#include "settings/apppaths.h"
#include "settings/settings.h"
#include "ui/graph/boardmap.h"
#include "ui/graph/boardpainter.h"
#include "ui/graph/chartpainter.h"
#include "ui/graph/chartscale.h"
#include "ui/graph/frmgraph.h"
#include "ui/graph/graphdata.h"
#include "ui/graph/graphseries.h"
#include "ui/graph/handedover.h"
#include "ui/graph/picturebox.h"

#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <ranges>

namespace {

const QColor Grid(160, 160, 160);

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
        ChartPainter(image, data, scale, Qt::white)
            .DrawGraph(shown, topSeries, ChartScale::gridValues(graphMax), Grid);
    }
    QPointF at(double row, double value) const { return scale.toPixels(row, value, image.size()); }
};

// Clicks on the window's boxes of those names, "chkColor(5)" or "chkAll" say.
void click(const frmGraph &window, std::initializer_list<const char *> boxes) {
    for (const char *box : boxes)
        window.findChild<QCheckBox *>(box)->click();
}

// The texts of the labels name(first), name(first + 1)..., each in brackets where it is not whole
// inside its room or comes within two pixels of the one before. A label's room is itself, a scale
// label's the part of its strip left of the chart.
QString shownWhole(const frmGraph &window, const char *name = "lblScale", int first = 1) {
    const auto *strip = window.findChild<QWidget *>("picScale");
    const QRect scaleRoom(0, 0, window.findChild<QWidget *>("picGraph")->x() - strip->x(),
                          strip->height());
    QStringList texts;
    QRect previous;
    for (int i = first;
         const auto *label = window.findChild<QLabel *>(QStringLiteral("%1(%2)").arg(name).arg(i));
         ++i) {
        const QRect text = label->fontMetrics()
                               .boundingRect(label->rect(), int(label->alignment()), label->text())
                               .translated(label->pos());
        const bool whole =
            (label->parent() == strip ? scaleRoom : label->geometry()).contains(text) &&
            !text.adjusted(-2, 0, 0, 0).intersects(previous);
        texts.append(whole ? label->text() : '[' + label->text() + ']');
        previous = text;
    }
    return texts.join(u' ');
}

} // namespace

class tst_Graph : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();

    void fieldColourStep_data();
    void fieldColourStep();
    void handEditedValues();
    void boardOrderFieldsRadiiAndRim();
    void chartLinesPointsEdgesAndCrowds();
    void captionsFit_data();
    void captionsFit();
    void windowDrawsRedrawsAndKnowsNoData();

private:
    QTemporaryDir m_dir;
    const FileSystemObject m_files;
    Settings m_settings{m_files};
};

void tst_Graph::initTestCase() {
    QVERIFY(m_dir.isValid());
    AppPaths::overrideForTests(m_dir.path(), QStringLiteral("Dartrail"));
    m_settings.PlayMode = Mode::B;
}

void tst_Graph::fieldColourStep_data() {
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QStringList>("cells"); // of the bull, one game each
    QTest::addColumn<int>("step");
    QTest::newRow("B 50: empty counts as 0") << Mode::B << QStringList{"3", ""} << 5;
    QTest::newRow("A all empty") << Mode::A << QStringList{"", ""} << 0;
    QTest::newRow("A 200 stays at the top") << Mode::A << QStringList{"1", ""} << 9;
}

void tst_Graph::fieldColourStep() {
    QFETCH(Mode, mode);
    QFETCH(QStringList, cells);
    QFETCH(int, step);
    const HandedOver shown = games({{21, cells}}, int(cells.size()));
    const GraphData data = shown.data();
    QCOMPARE(BoardMap::colourStep(BoardMap::HitRate(data, 21, mode)), step);
}

void tst_Graph::handEditedValues() {
    // Only shown series count; the cell 1e999 lies beyond single precision, yet its grid stays
    // bounded.
    const HandedOver shown = games({{1, {"-9", "7.5x", "2"}}, {2, {"", "1e999", ""}}});
    const GraphData data = shown.data();
    QCOMPARE(ChartScale::graphMax(data, {1}), 7.5f);
    QCOMPARE(ChartScale::graphMax(data, {1, 2}), FLT_MAX);
    QVERIFY(ChartScale::gridValues(FLT_MAX).size() <= ChartScale::MaxGridLines);

    // Series 1 to 21 from the first characters of the setting, the average from the last; only
    // "1" is on.
    for (const auto &[stored, read] :
         {std::pair{"00000000000000000000011100", "0000000000000000000000"},
          {"2x1 yA1", "0010001000000000000001"}})
        QCOMPARE(GraphSeries::selectionToText(GraphSeries::selectionFromText(stored)), read);
}

void tst_Graph::boardOrderFieldsRadiiAndRim() {
    QImage image(247, 325, QImage::Format_RGB32);
    image.fill(Qt::white);
    BoardPainter::FieldColours colours;
    QList<qint16> order;
    for (int position = 0; position < BoardMap::Positions; ++position) {
        colours[position] = QColor(10 * position, 255 - 10 * position, 100);
        order.append(BoardMap::SegmentTarget(position));
    }
    // Counter-clockwise from 3 o'clock, then the bull.
    QCOMPARE(order, (QList<qint16>{6, 13, 4, 18, 1, 20, 5, 12, 9,  14, 11,
                                   8, 16, 7, 19, 3, 17, 2, 15, 10, 21}));
    BoardPainter::DrawBoard(image, colours, Qt::white);
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
    const HandedOver lines = games(
        {{1, {"3", "3", ""}}, {5, {"", "4", ""}}, {8, {"3", "", "5"}}, {9, {"", "-1e999", "1"}}});
    const GraphData data = lines.data();
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
    const Chart zeros(games({{1, {"0", "", "", "0"}}, {2, {"", "0", "0", ""}}}, 4).data(), 3,
                      {{1, dot}, {2, line}});
    const int bottom = image.height() - 1, last = image.width() - 1;
    for (QPoint at : {QPoint(0, bottom - 2), QPoint(2, bottom), QPoint(last, bottom - 2)})
        QCOMPARE(zeros.image.pixelColor(at), dot);
    const auto linePixels = std::ranges::count_if(std::views::iota(0, image.height()), [&](int y) {
        return zeros.image.pixelColor(image.width() / 2, y) == line;
    });
    QCOMPARE(linePixels, 2); // the whole pen

    // One game spans the scale 0 to 1: its values are points at the left edge.
    const Chart one(games({{1, {"0"}}}, 1).data(), 0, {{1, dot}});
    QCOMPARE(one.image.pixelColor(0, bottom - 2), dot);

    // Far more games than pixel columns: every column still spans the lowest to the highest value
    // and no further.
    const Chart crowd(games({{1, {"9", "1", "2", "3", "1", "2", "3"}}}, 5000).data(), 9,
                      {{1, Qt::red}});
    for (int x = 2; x < crowd.image.width() - 2; ++x)
        for (double value : {1.0, 5.0, 9.0, 9.8})
            QCOMPARE(nearby(crowd.image, QPointF(x, crowd.at(0, value).y()), Qt::red), value < 9.5);
}

void tst_Graph::captionsFit_data() {
    QTest::addColumn<QStringList>("values"); // of series 1, one game each
    QTest::addColumn<QString>("captions");
    QTest::newRow("37: by fives") << QStringList{"37"} << "5 10 15 20 25 30 35";
    QTest::newRow("mode A up to 99") << QStringList{"99", "0"} << "10 20 30 40 50 60 70 80 90";
    // Lines closer than a label's height are labelled every 2nd, 5th or 10th time.
    QTest::newRow("1010") << QStringList{"1010"} << "100 200 300 400 500 600 700 800 900 1000";
}

void tst_Graph::captionsFit() {
    QFETCH(QStringList, values);
    QFETCH(QString, captions);
    m_settings.WriteSetting("WINDOW", "GRAPH", "1000000000000000000000"); // series 1 alone
    const HandedOver shown = games({{1, values}}, int(values.size()));
    frmGraph window(shown.games, shown.rows, m_settings);
    window.show();
    QCOMPARE(shownWhole(window), captions);
    QCOMPARE(shownWhole(window, "Label1", 0), "0 10 20 30 40 50 60 70 80 90 100");
}

void tst_Graph::windowDrawsRedrawsAndKnowsNoData() {
    // Series 1 alone at first. Mode B: the bull always hit, target 6 (the 3 o'clock wedge) never.
    m_settings.WriteSetting("WINDOW", "GRAPH", "1000000000000000000000");
    const HandedOver shown =
        games({{1, {"1", "3"}}, {2, {"7", "20"}}, {21, {"3"}}, {6, {"0", ""}}}, 2);
    frmGraph window(shown.games, shown.rows, m_settings);
    const QImage &chart = window.findChild<PictureBox *>("picGraph")->image();
    for (const auto &[row, value] : {std::pair{0, 1}, {1, 3}}) // the oldest game on the left
        QVERIFY(nearby(chart, window.chartScale().toPixels(row, value, chart.size()),
                       QColor(255, 128, 128)));
    const QImage &board = window.findChild<PictureBox *>("picBoard")->image();
    QCOMPARE(board.pixelColor(BoardMap::Centre), QColor(0, 255, 0));
    QCOMPARE(board.pixelColor(180, 120), QColor(255, 0, 0));

    QSignalSpy drawn(&window, &frmGraph::chartDrawn);
    click(window, {"chkColor(3)"}); // not yet visible: no redraw
    window.show();
    QCOMPARE(shownWhole(window), "1 2 3 4");
    // With AUTO SCALE off the scale stays, whatever the series shown.
    click(window, {"chkAutoScale", "chkColor(2)", "chkColor(1)"});
    QCOMPARE(shownWhole(window), "1 2 3 4");
    click(window, {"chkAutoScale"});
    QCOMPARE(shownWhole(window), "2 4 6 8 10 12 14 16 18 20");

    // ALL ON/OFF redraws once, not once per box; with no series the scale is the lowest.
    click(window, {"chkAll", "chkAll"});
    QCOMPARE(drawn.count(), 5);
    QCOMPARE(shownWhole(window), "1");
    // The close box and Esc alike keep the boxes for the next window.
    window.close();
    QCOMPARE(m_settings.ReadSetting("WINDOW", "GRAPH", {}), "0000000000000000000000");

    // Placeholder rows only: nothing to draw, whatever is clicked.
    const HandedOver placeholders =
        handedOver(QList<QStringList>(2, QStringList{"(NO DATA)"} + QStringList(24)));
    frmGraph empty(placeholders.games, placeholders.rows, m_settings);
    empty.show();
    QVERIFY(empty.findChild<QLabel *>("lblNoData")->isVisible());
    QSignalSpy none(&empty, &frmGraph::chartDrawn);
    click(empty, {"chkColor(5)", "chkAll"});
    QCOMPARE(none.count(), 0);
    QTest::keyClick(&empty, Qt::Key_Escape);
    QCOMPARE(m_settings.ReadSetting("WINDOW", "GRAPH", {}), "1111111111111111111111");
    const QImage &blank = empty.findChild<PictureBox *>("picBoard")->image();
    QCOMPARE(blank.pixelColor(BoardMap::Centre), blank.pixelColor(0, 0));
}

QTEST_MAIN(tst_Graph)
#include "tst_graph.moc"
