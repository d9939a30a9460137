#include "app/apppaths.h"
#include "app/mdlmain.h"
#include "ui/graph/frmgraph.h"
#include "ui/graph/picturebox.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cfloat>
#include <cmath>

namespace {

const QString Section = QStringLiteral("WINDOW");
const QString Key = QStringLiteral("GRAPH");

QStringList game(const QMap<int, QString> &cells) {
    QStringList row(25);
    row[0] = QStringLiteral("03/07 21:04");
    for (auto it = cells.cbegin(); it != cells.cend(); ++it)
        row[it.key()] = it.value();
    return row;
}

QStringList placeholder() {
    QStringList row(25);
    row[0] = QStringLiteral("(NO DATA)");
    return row;
}

QCheckBox *box(const frmGraph &window, const QString &name) {
    return window.findChild<QCheckBox *>(name);
}

QCheckBox *series(const frmGraph &window, int index) {
    return box(window, QStringLiteral("chkColor(%1)").arg(index));
}

QStringList scaleCaptions(const frmGraph &window) {
    QStringList captions;
    for (int n = 1;; ++n) {
        const auto *label = window.findChild<QLabel *>(QStringLiteral("lblScale(%1)").arg(n));
        if (!label)
            return captions;
        captions.append(label->text());
    }
}

const QImage &picture(const frmGraph &window, const QString &name) {
    return window.findChild<PictureBox *>(name)->image();
}

} // namespace

class tst_frmGraph : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void windowShape();
    void noDataDrawsNothing();
    void oldestGameOnTheLeft();
    void boardShowsHitRates();
    void clicksRedrawOnlyWhenVisibleAndOnceForAll();
    void frozenScaleSurvivesSeriesChanges();
    void handEditedValuesDrawWithinBounds();

private:
    QTemporaryDir m_dir;
};

void tst_frmGraph::initTestCase() {
    QVERIFY(m_dir.isValid());
    AppPaths::overrideForTests(m_dir.path(), QStringLiteral("Dartrail"));
}

void tst_frmGraph::init() {
    QFile::remove(AppPaths::settingsFile());
    mdlMain::PlayMode = mdlMain::ModeB;
}

void tst_frmGraph::settingsRoundTrip_data() {
    QTest::addColumn<QString>("stored"); // empty: no settings file
    QTest::addColumn<QList<int>>("switchedOff");
    QTest::addColumn<QString>("closedBy");
    QTest::addColumn<QString>("written");

    QTest::newRow("default, series 2 and AVG off, CLOSE") << "" << QList<int>{2, 23} << "CLOSE"
                                                          << "1011111111111111111110";
    QTest::newRow("21 characters, Esc") << "111111111111111111110" << QList<int>{} << "Esc"
                                        << "1111111111111111111100";
    QTest::newRow("10, close box") << "10" << QList<int>{} << "close box"
                                   << "1000000000000000000000";
    QTest::newRow("junk, CLOSE") << "x1y" << QList<int>{} << "CLOSE"
                                 << "0100000000000000000000";
}

void tst_frmGraph::settingsRoundTrip() {
    QFETCH(QString, stored);
    QFETCH(QList<int>, switchedOff);
    QFETCH(QString, closedBy);
    QFETCH(QString, written);
    if (!stored.isEmpty())
        mdlMain::WriteSetting(Section, Key, stored);

    frmGraph window({game({{1, "2"}}), game({{1, "3"}})});
    window.show();
    for (int index : switchedOff)
        series(window, index)->click();
    if (closedBy == "CLOSE")
        window.findChild<QPushButton *>(QStringLiteral("cmdClose"))->click();
    else if (closedBy == "Esc")
        QTest::keyClick(&window, Qt::Key_Escape);
    else
        window.close();

    QVERIFY(!window.isVisible());
    QCOMPARE(mdlMain::ReadSetting(Section, Key, QStringLiteral("missing")), written);
}

void tst_frmGraph::windowShape() {
    frmGraph window({});
    QCOMPARE(window.windowTitle(), "Dartrail  [Graph]");
    QCOMPARE(window.size(), QSize(735, 334));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(
        !(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(window.findChild<QPushButton *>(QStringLiteral("cmdClose"))->y() >= window.height());
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblColor(21)"))
                 ->palette()
                 .color(QPalette::Window),
             QColor(192, 0, 192));
    QVERIFY(box(window, QStringLiteral("chkAutoScale"))->isChecked());
    QVERIFY(!box(window, QStringLiteral("chkAll"))->isChecked());
}

void tst_frmGraph::noDataDrawsNothing() {
    frmGraph window({placeholder(), placeholder()});
    window.show();
    QVERIFY(window.findChild<QLabel *>(QStringLiteral("lblNoData"))->isVisible());
    QSignalSpy drawn(&window, &frmGraph::chartDrawn);
    series(window, 5)->click();
    box(window, QStringLiteral("chkAll"))->click();
    box(window, QStringLiteral("chkAutoScale"))->click();
    box(window, QStringLiteral("chkAutoScale"))->click();
    QCOMPARE(drawn.count(), 0);
    QVERIFY(series(window, 5)->isChecked()); // the boxes still change
    QVERIFY(scaleCaptions(window).isEmpty());

    const QImage &board = picture(window, QStringLiteral("picBoard"));
    QCOMPARE(board.pixelColor(120, 120), board.pixelColor(0, 0));
}

void tst_frmGraph::oldestGameOnTheLeft() {
    mdlMain::WriteSetting(Section, Key, QStringLiteral("10"));
    // Newest first, as the grid lists them: the oldest game has 3, the newest 1.
    frmGraph window({game({{1, "1"}}), placeholder(), game({{1, "3"}})});
    const QImage &chart = picture(window, QStringLiteral("picGraph"));
    const ChartScale &scale = window.chartScale();
    const QColor colour(255, 128, 128);
    const auto rowAt = [&](double value) {
        return int(std::floor(scale.toPixelY(value, chart.height())));
    };
    QCOMPARE(chart.pixelColor(1, rowAt(3)), colour);
    QVERIFY(chart.pixelColor(1, rowAt(1)) != colour);
    QCOMPARE(chart.pixelColor(chart.width() - 2, rowAt(1)), colour);
}

void tst_frmGraph::boardShowsHitRates() {
    // Mode B: the bull hit every time, target 6 (the 3 o'clock wedge) never, target 20 below zero.
    frmGraph window({game({{21, "3"}, {6, "0"}, {20, "-3"}}), game({{21, "3"}, {6, "0"}})});
    const QImage &board = picture(window, QStringLiteral("picBoard"));
    QCOMPARE(board.pixelColor(120, 120), QColor(0, 255, 0));
    QCOMPARE(board.pixelColor(180, 120), QColor(255, 0, 0));
    QCOMPARE(board.pixelColor(120, 60), QColor(2, 0, 0));
}

void tst_frmGraph::clicksRedrawOnlyWhenVisibleAndOnceForAll() {
    frmGraph window({game({{1, "2"}, {2, "1"}}), game({{1, "3"}})});
    QSignalSpy drawn(&window, &frmGraph::chartDrawn);
    series(window, 3)->click(); // not yet visible
    QCOMPARE(drawn.count(), 0);

    window.show();
    series(window, 3)->click();
    QCOMPARE(drawn.count(), 1);

    QCheckBox *all = box(window, QStringLiteral("chkAll"));
    all->click();
    QCOMPARE(drawn.count(), 2);
    all->click();
    QCOMPARE(drawn.count(), 3);
    for (int index : {1, 20, 21, 23})
        QVERIFY(!series(window, index)->isChecked());
    QCOMPARE(scaleCaptions(window), QStringList{"1"});
}

void tst_frmGraph::frozenScaleSurvivesSeriesChanges() {
    mdlMain::WriteSetting(Section, Key, QStringLiteral("1000000000000000000000"));
    frmGraph window({game({{1, "3"}, {2, "20"}}), game({{1, "1"}, {2, "7"}})});
    window.show();
    const QStringList small{"1", "2", "3", "4"};
    QCOMPARE(scaleCaptions(window), small);

    QCheckBox *autoScale = box(window, QStringLiteral("chkAutoScale"));
    QSignalSpy drawn(&window, &frmGraph::chartDrawn);
    autoScale->click();
    QCOMPARE(drawn.count(), 0);
    series(window, 2)->click();
    series(window, 1)->click();
    QCOMPARE(drawn.count(), 2);
    QCOMPARE(window.chartScale().graphMax(), 3.0f);
    QCOMPARE(scaleCaptions(window), small);

    autoScale->click();
    QCOMPARE(drawn.count(), 3);
    QCOMPARE(window.chartScale().graphMax(), 20.0f);
    QCOMPARE(scaleCaptions(window),
             (QStringList{"2", "4", "6", "8", "10", "12", "14", "16", "18", "20"}));
    QVERIFY(window.findChild<QLabel *>(QStringLiteral("lblScale(0)"))->isHidden());
}

void tst_frmGraph::handEditedValuesDrawWithinBounds() {
    frmGraph window({game({{1, "1e999"}, {2, "-1e999"}, {3, "abc"}, {21, "250"}}),
                     game({{1, "5"}, {2, "7"}, {23, "-2"}})});
    window.show();
    QCOMPARE(window.chartScale().graphMax(), FLT_MAX);
    const QStringList captions = scaleCaptions(window);
    QVERIFY(!captions.isEmpty() && captions.size() <= ChartScale::MaxGridLines);
    QVERIFY(!window.findChild<QLabel *>(QStringLiteral("lblNoData"))->isVisible());
    series(window, 1)->click(); // the other values now set the scale
    box(window, QStringLiteral("chkAutoScale"))->click();
    box(window, QStringLiteral("chkAutoScale"))->click();
    QCOMPARE(window.chartScale().graphMax(), 250.0f);
}

QTEST_MAIN(tst_frmGraph)
#include "tst_frmgraph.moc"
