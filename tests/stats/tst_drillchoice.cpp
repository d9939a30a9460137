#include "app/mdlmain.h"
#include "stats/drillchoice.h"
#include "stats/trendreport.h"

#include <QTest>

#include <set>

using Counts = DrillChoice::Counts;

namespace {

// How often each target is drawn first over the starting values 0 to runs − 1, with K = 1.
std::array<int, 21> firstPicks(const Counts &counts, int runs) {
    std::array<int, 21> picks{};
    for (int i = 0; i < runs; ++i) {
        std::mt19937_64 random{quint64(i)};
        ++picks[size_t(DrillChoice::choose(counts, 1, random).front())];
    }
    return picks;
}

QByteArray stamp(int minute) {
    return QStringLiteral("2024/03/01 %1:%2:00")
        .arg(minute / 60, 2, 10, QLatin1Char('0'))
        .arg(minute % 60, 2, 10, QLatin1Char('0'))
        .toLatin1();
}

} // namespace

// The targets a focus drill chooses: fair to each target's chance of being the weakest,
// reproducible from a starting value, and counted as the trends count.
class tst_DrillChoice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void uniformWithoutData();
    void chanceOfBeingWeakest();
    void surelyWeakAlwaysPicked();
    void distinctTargetsInBoardOrder();
    void betaDraw();
    void trendCounts();
    void targetsSetting_data();
    void targetsSetting();
};

void tst_DrillChoice::uniformWithoutData() {
    for (int picks : firstPicks(Counts{}, 21000))
        QVERIFY2(std::abs(picks - 1000) <= 140, qPrintable(QString::number(picks)));
}

void tst_DrillChoice::chanceOfBeingWeakest() {
    // 300 mode-B games in one session: every target 3 hits, but targets 1-3 played in the first
    // ten games only, for 6, 10 and 14 hits of 30 darts.
    PlayedGames played(mdlMain::ModeB);
    for (int g = 0; g < 300; ++g) {
        std::array<int, 21> values;
        values.fill(3);
        values[0] = g < 10 ? (g < 6 ? 1 : 0) : -1;
        values[1] = g < 10 ? 1 : -1;
        values[2] = g < 10 ? (g < 4 ? 2 : 1) : -1;
        played.add(stamp(g / 10), values);
    }
    played.finish();
    const Counts counts = DrillChoice::trendCounts(played, 45, 0.3);
    QCOMPARE(counts[0].hits, 6.0);
    QCOMPARE(counts[2].darts, 30.0);
    QCOMPARE(counts[20].hits, 900.0);
    const std::array<int, 21> picks = firstPicks(counts, 20000);
    QVERIFY(std::abs(picks[0] / 200.0 - 86.6348) <= 1);
    QVERIFY(std::abs(picks[1] / 200.0 - 12.4847) <= 1);
    QVERIFY(std::abs(picks[2] / 200.0 - 0.8805) <= 1);
}

void tst_DrillChoice::surelyWeakAlwaysPicked() {
    Counts counts;
    counts.fill({150, 300});
    counts[20] = {0, 300};
    QCOMPARE(firstPicks(counts, 2000)[20], 2000);
}

void tst_DrillChoice::distinctTargetsInBoardOrder() {
    for (int i = 0; i < 200; ++i) {
        std::mt19937_64 random{quint64(i)};
        const std::vector<int> targets = DrillChoice::choose(Counts{}, 5, random);
        QCOMPARE(std::set<int>(targets.begin(), targets.end()).size(), size_t(5));
        QVERIFY(std::is_sorted(targets.begin(), targets.end()));
    }
    std::mt19937_64 random(7), again(7);
    QCOMPARE(DrillChoice::choose(Counts{}, 5, random), DrillChoice::choose(Counts{}, 5, again));
}

void tst_DrillChoice::betaDraw() {
    std::mt19937_64 random(1);
    constexpr int Draws = 1000000;
    double sum = 0, squares = 0;
    for (int i = 0; i < Draws; ++i) {
        const double x = DrillChoice::betaDraw(2, 5, random);
        sum += x;
        squares += x * x;
    }
    const double mean = sum / Draws;
    const double variance = squares / Draws - mean * mean;
    QVERIFY(std::abs(mean / (2.0 / 7) - 1) < 0.01);
    QVERIFY(std::abs(variance / (10.0 / (49 * 8)) - 1) < 0.01);
}

void tst_DrillChoice::trendCounts() {
    // Mode A: a 0 is no attempt. Two sessions an hour apart: the older weighs 1 − λ.
    PlayedGames played(mdlMain::ModeA);
    std::array<int, 21> values;
    values.fill(2);
    played.add(stamp(0), values);
    values.fill(0);
    values[0] = 4;
    played.add(stamp(60), values);
    played.finish();
    const Counts counts = DrillChoice::trendCounts(played, 45, 0.3);
    QCOMPARE(counts[0].hits, 1 + 0.7);
    QCOMPARE(counts[0].darts, 4 + 0.7 * 2);
    QCOMPARE(counts[1].darts, 0.7 * 2);

    // The same as the trends' NOW, across gaps that join (exactly 45:00) and split (45:01).
    PlayedGames mixed(mdlMain::ModeB);
    for (int game = 0; game < 6; ++game) {
        for (int t = 0; t < 21; ++t)
            values[size_t(t)] = (game * 7 + t) % 5 - 1; // -1 is no value
        mixed.add(QStringLiteral("2024/03/01 %1")
                      .arg(QStringList{"10:00:00", "10:45:00", "11:30:01", "13:00:00", "13:45:00",
                                       "20:00:00"}[game])
                      .toLatin1(),
                  values);
    }
    mixed.finish();
    const Counts weighted = DrillChoice::trendCounts(mixed, 45, 0.3);
    const TrendReport report(mixed, 45, 0.3);
    for (int t = 0; t < 21; ++t)
        QCOMPARE(weighted[size_t(t)].rate(), report.rows()[size_t(t)].now.value_or(0));
}

void tst_DrillChoice::targetsSetting_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("targets");
    for (const char *text : {"", "FIVE", "0", "22", "-3", "2.5"})
        QTest::newRow(text) << QString::fromLatin1(text) << 5;
    QTest::newRow("one") << u"1"_qs << 1;
    QTest::newRow("all") << u" 21 "_qs << 21;
}

void tst_DrillChoice::targetsSetting() {
    QFETCH(QString, text);
    QFETCH(int, targets);
    QCOMPARE(DrillChoice::targetsFromText(text), targets);
}

QTEST_APPLESS_MAIN(tst_DrillChoice)
#include "tst_drillchoice.moc"
