#include "app/apppaths.h"
#include "app/mdlmain.h"
#include "ui/graph/frmgraph.h"
#include "ui/graph/picturebox.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

const QString Section = QStringLiteral("WINDOW");
const QString Key = QStringLiteral("GRAPH");
const QStringList Placeholder = QStringList{QStringLiteral("(NO DATA)")} + QStringList(24);

QStringList game(const QMap<int, QString> &cells) {
    QStringList row(25);
    for (auto it = cells.cbegin(); it != cells.cend(); ++it)
        row[it.key()] = it.value();
    return row;
}

QCheckBox *series(const frmGraph &window, int index) {
    return window.findChild<QCheckBox *>(QStringLiteral("chkColor(%1)").arg(index));
}

QStringList scaleCaptions(const frmGraph &window) {
    QStringList captions;
    while (auto *label =
               window.findChild<QLabel *>(QStringLiteral("lblScale(%1)").arg(captions.size() + 1)))
        captions.append(label->text());
    return captions;
}

const QImage &picture(const frmGraph &window, const char *name) {
    return window.findChild<PictureBox *>(name)->image();
}

// Where a label draws its text, in its parent's coordinates.
QRect textBox(const QLabel *label) {
    return label->fontMetrics()
        .boundingRect(label->rect(), int(label->alignment()), label->text())
        .translated(label->pos());
}

// Every scale label shows whole left of the chart, clear of the next one up.
void verifyScaleLabelsFit(const frmGraph &window) {
    const auto *strip = window.findChild<QWidget *>("picScale");
    const QRect room(0, 0, window.findChild<QWidget *>("picGraph")->x() - strip->x(),
                     strip->height());
    QRect below;
    for (int i = 1;
         const auto *label = window.findChild<QLabel *>(QStringLiteral("lblScale(%1)").arg(i));
         ++i) {
        const QRect box = textBox(label);
        QVERIFY2(room.contains(box) && !box.intersects(below), qPrintable(label->text()));
        below = box;
    }
}

} // namespace

class tst_frmGraph : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void captionsFit_data();
    void captionsFit();
    void noDataDrawsNothing();
    void oldestGameOnTheLeftAndBoardRates();
    void clicksRedrawOnlyWhenVisibleAndOnceForAll();
    void frozenScaleSurvivesSeriesChanges();

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

    QTest::newRow("series 2 and AVG off, CLOSE") << "" << QList<int>{2, 23} << "CLOSE"
                                                 << "1011111111111111111110";
    QTest::newRow("21 characters, Esc") << "111111111111111111110" << QList<int>{} << "Esc"
                                        << "1111111111111111111100";
    QTest::newRow("10, close box") << "10" << QList<int>{} << "box"
                                   << "1000000000000000000000";
    QTest::newRow("too long") << "00000000000000000000011101" << QList<int>{} << "box"
                              << "0000000000000000000001";
    QTest::newRow("other characters") << "2x1 yA" << QList<int>{} << "box"
                                      << "0010000000000000000000";
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
        window.findChild<QPushButton *>("cmdClose")->click();
    else if (closedBy == "Esc")
        QTest::keyClick(&window, Qt::Key_Escape);
    else
        window.close();

    QVERIFY(!window.isVisible());
    QCOMPARE(mdlMain::ReadSetting(Section, Key, QStringLiteral("missing")), written);
}

void tst_frmGraph::captionsFit_data() {
    QTest::addColumn<QStringList>("values"); // of series 1, one game each
    QTest::addColumn<QString>("captions");
    QTest::newRow("mode B") << QStringList{"3", "0"} << "1 2 3 4";
    QTest::newRow("up to 10") << QStringList{"10"} << "1 2 3 4 5 6 7 8 9 10 11";
    QTest::newRow("up to 99") << QStringList{"99", "0"} << "10 20 30 40 50 60 70 80 90";
    QTest::newRow("hundreds: every 5th line")
        << QStringList{"500"} << "50 100 150 200 250 300 350 400 450 500";
    QTest::newRow("above 1000") << QStringList{"1010"}
                                << "100 200 300 400 500 600 700 800 900 1000";
}

void tst_frmGraph::captionsFit() {
    QFETCH(QStringList, values);
    QFETCH(QString, captions);
    mdlMain::WriteSetting(Section, Key, QStringLiteral("1000000000000000000000"));
    QList<QStringList> rows;
    for (const QString &value : values)
        rows.append(game({{1, value}}));
    frmGraph window(rows);
    window.show();
    QCOMPARE(scaleCaptions(window).join(u' '), captions);
    verifyScaleLabelsFit(window);

    // The legend numbers inside their boxes, apart from each other.
    QRect left;
    for (int k = 0; k <= 10; ++k) {
        const auto *legend = window.findChild<QLabel *>(QStringLiteral("Label1(%1)").arg(k));
        const QRect box = textBox(legend);
        QVERIFY2(legend->geometry().contains(box), qPrintable(legend->text()));
        QVERIFY2(k == 0 || left.right() + 2 < box.left(), qPrintable(legend->text()));
        left = box;
    }
    // Each box's caption as wide as the room beside its tick, the box left of its colour key.
    for (auto *box : window.findChildren<QCheckBox *>()) {
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        QVERIFY2(room.width() >= box->fontMetrics().boundingRect(box->text()).width(),
                 qPrintable(box->text()));
        const QString key = box->objectName().replace("chkColor", "lblColor");
        if (const auto *colour = window.findChild<QLabel *>(key))
            QVERIFY2(!box->geometry().intersects(colour->geometry()), qPrintable(key));
    }
}

void tst_frmGraph::noDataDrawsNothing() {
    frmGraph window({Placeholder, Placeholder});
    window.show();
    QVERIFY(window.findChild<QLabel *>("lblNoData")->isVisible());

    QSignalSpy drawn(&window, &frmGraph::chartDrawn);
    series(window, 5)->click();
    window.findChild<QCheckBox *>("chkAll")->click();
    QCOMPARE(drawn.count(), 0);
    const QImage &board = picture(window, "picBoard");
    QCOMPARE(board.pixelColor(120, 120), board.pixelColor(0, 0));
}

void tst_frmGraph::oldestGameOnTheLeftAndBoardRates() {
    mdlMain::WriteSetting(Section, Key, QStringLiteral("10"));
    // Newest first, as the grid lists them. Mode B: the bull always hit, target 6 (the 3 o'clock
    // wedge) never.
    frmGraph window(
        {game({{1, "1"}, {21, "3"}, {6, "0"}}), Placeholder, game({{1, "3"}, {21, "3"}})});
    const QImage &chart = picture(window, "picGraph");
    const auto rowAt = [&](double value) {
        return int(std::floor(window.chartScale().toPixelY(value, chart.height())));
    };
    const QColor colour(255, 128, 128);
    QCOMPARE(chart.pixelColor(3, rowAt(3)), colour);
    QVERIFY(chart.pixelColor(3, rowAt(1)) != colour);
    QCOMPARE(chart.pixelColor(chart.width() - 4, rowAt(1)), colour);

    const QImage &board = picture(window, "picBoard");
    QCOMPARE(board.pixelColor(120, 120), QColor(0, 255, 0));
    QCOMPARE(board.pixelColor(180, 120), QColor(255, 0, 0));
}

void tst_frmGraph::clicksRedrawOnlyWhenVisibleAndOnceForAll() {
    frmGraph window({game({{1, "2"}, {2, "1"}}), game({{1, "3"}})});
    QSignalSpy drawn(&window, &frmGraph::chartDrawn);
    series(window, 3)->click(); // not yet visible
    QCOMPARE(drawn.count(), 0);

    window.show();
    series(window, 3)->click();
    QCheckBox *all = window.findChild<QCheckBox *>("chkAll");
    all->click();
    all->click();
    QCOMPARE(drawn.count(), 3);
    QVERIFY(!series(window, 1)->isChecked() && !series(window, 23)->isChecked());
    QCOMPARE(scaleCaptions(window), QStringList{"1"});
}

void tst_frmGraph::frozenScaleSurvivesSeriesChanges() {
    mdlMain::WriteSetting(Section, Key, QStringLiteral("1000000000000000000000"));
    frmGraph window({game({{1, "3"}, {2, "20"}}), game({{1, "1"}, {2, "7"}})});
    window.show();
    const QStringList small{"1", "2", "3", "4"};
    QCOMPARE(scaleCaptions(window), small);

    QCheckBox *autoScale = window.findChild<QCheckBox *>("chkAutoScale");
    QSignalSpy drawn(&window, &frmGraph::chartDrawn);
    autoScale->click();
    series(window, 2)->click();
    series(window, 1)->click();
    QCOMPARE(scaleCaptions(window), small);
    verifyScaleLabelsFit(window);

    autoScale->click();
    QCOMPARE(drawn.count(), 3);
    QCOMPARE(scaleCaptions(window).size(), 10); // 2 to 20
    QVERIFY(window.findChild<QLabel *>("lblScale(0)")->isHidden());
}

QTEST_MAIN(tst_frmGraph)
#include "tst_frmgraph.moc"
