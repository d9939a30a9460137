#include "settings/playmode.h"
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

} // namespace

// The targets a focus drill chooses: each first with its chance of being the weakest,
// reproducible from a starting value, and counted as the trends count.
class tst_DrillChoice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choice();
    void trendCounts();
    void targetsSetting();
};

void tst_DrillChoice::choice() {
    for (int picks : firstPicks(Counts{}, 21000)) // no data: uniform
        QVERIFY2(std::abs(picks - 1000) <= 140, qPrintable(QString::number(picks)));
    Counts counts;
    counts.fill({900, 900});
    counts[0] = {6, 30};
    counts[1] = {10, 30};
    counts[2] = {14, 30};
    const std::array<int, 21> picks = firstPicks(counts, 20000);
    const std::array<double, 3> chances{86.6348, 12.4847, 0.8805};
    for (size_t t = 0; t < chances.size(); ++t)
        QVERIFY2(std::abs(picks[t] / 200.0 - chances[t]) <= 1, qPrintable(QString::number(t)));
    for (quint64 i = 0; i < 200; ++i) {
        std::mt19937_64 random{i};
        const std::vector<int> targets = DrillChoice::choose(Counts{}, 5, random);
        QCOMPARE(std::set<int>(targets.begin(), targets.end()).size(), size_t(5));
        QVERIFY(std::is_sorted(targets.begin(), targets.end()));
    }
}

void tst_DrillChoice::trendCounts() {
    // The trends' NOW, with mode A's zeros, missing values, and gaps that join (exactly 45:00)
    // and split (45:01).
    PlayedGames played(Mode::A);
    const QStringList times{"10:00:00", "10:45:00", "11:30:01", "13:00:00", "13:45:00", "20:00:00"};
    for (int game = 0; game < times.size(); ++game) {
        std::array<int, 21> values;
        for (int t = 0; t < 21; ++t)
            values[size_t(t)] = (game * 7 + t) % 5 - 1;
        played.add(("2024/03/01 " + times[game]).toLatin1(), values);
    }
    played.finish();
    const Counts counts = DrillChoice::trendCounts(played, 45, 0.3);
    const TrendReport report(played, 45, 0.3);
    for (int t = 0; t < 21; ++t)
        QCOMPARE(counts[size_t(t)].rate(), report.rows()[size_t(t)].now.value_or(0));
}

void tst_DrillChoice::targetsSetting() {
    for (const char *odd : {"", "FIVE", "0", "22", "-3", "2.5"})
        QCOMPARE(DrillChoice::targetsFromText(QString::fromLatin1(odd)), 5);
    QCOMPARE(DrillChoice::targetsFromText(u"1"_qs), 1);
    QCOMPARE(DrillChoice::targetsFromText(u" 21 "_qs), 21);
}

QTEST_APPLESS_MAIN(tst_DrillChoice)
#include "tst_drillchoice.moc"
