#include "history/storedgames.h"
#include "settings/playmode.h"
#include "stats/drillchoice.h"
#include "stats/hitrate.h"
#include "stats/stamptime.h"
#include "stats/statstext.h"
#include "stats/targetreport.h"
#include "stats/trendreport.h"

#include <QTest>

#include <cmath>

using HitRate::Tally;
using Tallies = QList<Tally>;
Q_DECLARE_METATYPE(HitRate::Tally)

namespace {

// A game at a moment with every target the same value.
void addGame(PlayedGames &games, const QByteArray &stamp, int value) {
    std::array<int, PlayedGames::Targets> values;
    values.fill(value);
    games.add(stamp, values);
}

// Games of every target `value`, `minutes` apart from 2024/03/01 00:00:00.
PlayedGames spaced(Mode mode, const QList<int> &minutes, int value) {
    PlayedGames games(mode);
    const QDateTime start(QDate(2024, 3, 1), QTime(0, 0), Qt::UTC);
    for (int minute : minutes)
        addGame(games, start.addSecs(minute * 60).toString(u"yyyy/MM/dd HH:mm:ss").toLatin1(),
                value);
    games.finish();
    return games;
}

} // namespace

// The statistics of the target report and the trends: every formula on the worked examples,
// the reading of stamps, periods, sessions and settings, and the extremes of the counts.
class tst_Stats : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wilson_data();
    void wilson();
    void chanceWorst_data();
    void chanceWorst();
    void stamps_data();
    void stamps();
    void report();
    void sessions_data();
    void sessions();
    void trend();
    void verdicts_data();
    void verdicts();
    void settingsTexts();
};

void tst_Stats::wilson_data() {
    QTest::addColumn<Tally>("tally");
    QTest::addColumn<QString>("range");
    QTest::newRow("0 of 3") << Tally{0, 3} << u"0.0–56.1"_qs;
    QTest::newRow("1 of 3") << Tally{1, 3} << u"6.1–79.2"_qs;
    QTest::newRow("3 of 3") << Tally{3, 3} << u"43.9–100.0"_qs;
    QTest::newRow("3 of 9") << Tally{3, 9} << u"12.1–64.6"_qs;
    QTest::newRow("0 of 30") << Tally{0, 30} << u"0.0–11.4"_qs;
    QTest::newRow("fractional") << Tally{7.5, 21.25} << u"18.7–56.4"_qs;
}

void tst_Stats::wilson() {
    QFETCH(Tally, tally);
    QFETCH(QString, range);
    QCOMPARE(StatsText::range(HitRate::wilson(tally, HitRate::Z95)), range);
}

void tst_Stats::chanceWorst_data() {
    QTest::addColumn<Tallies>("tallies");
    QTest::addColumn<QList<double>>("chances");
    QTest::newRow("0/1 against 1/1") << Tallies{{0, 1}, {1, 1}} << QList<double>{5 / 6.0, 1 / 6.0};
    QTest::newRow("three alike") << Tallies{{10, 30}, {10, 30}, {10, 30}}
                                 << QList<double>{1 / 3.0, 1 / 3.0, 1 / 3.0};
    QTest::newRow("6, 10, 14 of 30")
        << Tallies{{6, 30}, {10, 30}, {14, 30}} << QList<double>{0.866348, 0.124847, 0.008805};
    QTest::newRow("1/3 against 60/180")
        << Tallies{{1, 3}, {60, 180}} << QList<double>{0.410633, 0.589367};
    QTest::newRow("no darts, one target")
        << Tallies{{0, 0}, {2, 9}, {0, 0}} << QList<double>{0, 1, 0};
    // Ten million darts against three: the narrow peak is a point, the wide rate's own
    // distribution decides, P(Beta(2, 3) < 0.3) = 0.3483.
    QTest::newRow("narrow against wide")
        << Tallies{{3e6, 1e7}, {1, 3}} << QList<double>{1 - 0.3483, 0.3483};
    // Two narrow peaks 0.22 standard deviations apart, as good as normal.
    const double below = 0.5 * std::erfc(-5e-5 / std::sqrt(2 * 0.25 / (1e7 + 3)) / std::sqrt(2.0));
    QTest::newRow("two narrow peaks")
        << Tallies{{5e6, 1e7}, {5.0005e6, 1e7}} << QList<double>{below, 1 - below};
    // Both at the edge: P(Beta(1, n+1) < Beta(1, m+1)) = (n + 1) / (n + m + 2).
    QTest::newRow("two peaks at 0")
        << Tallies{{0, 1e7}, {0, 5e6}}
        << QList<double>{(1e7 + 1) / (1.5e7 + 2), (5e6 + 1) / (1.5e7 + 2)};
}

void tst_Stats::chanceWorst() {
    QFETCH(Tallies, tallies);
    QFETCH(QList<double>, chances);
    const std::vector<double> got = HitRate::chanceWorst(tallies);
    for (qsizetype i = 0; i < chances.size(); ++i)
        QVERIFY2(std::abs(got[size_t(i)] - chances[i]) < 1e-5,
                 qPrintable(QStringLiteral("%1: %2").arg(i).arg(got[size_t(i)], 0, 'f', 8)));
}

void tst_Stats::stamps_data() {
    QTest::addColumn<QByteArray>("stamp");
    QTest::addColumn<QString>("minute"); // empty: not a date-time
    QTest::newRow("leap day") << QByteArray("2024/02/29 00:00:59") << u"2024/02/29 00:00"_qs;
    QTest::newRow("first moment") << QByteArray("0001/01/01 00:00:00") << u"0001/01/01 00:00"_qs;
    QTest::newRow("last moment") << QByteArray("9999/12/31 23:59:59") << u"9999/12/31 23:59"_qs;
    QTest::newRow("no leap day") << QByteArray("2023/02/29 10:00:00") << QString();
    QTest::newRow("century") << QByteArray("1900/02/29 10:00:00") << QString();
    QTest::newRow("month 13") << QByteArray("2024/13/01 10:00:00") << QString();
    QTest::newRow("hour 24") << QByteArray("2024/03/01 24:00:00") << QString();
    QTest::newRow("year 0") << QByteArray("0000/03/01 10:00:00") << QString();
}

void tst_Stats::stamps() {
    QFETCH(QByteArray, stamp);
    QFETCH(QString, minute);
    const std::optional<qint64> seconds = StampTime::seconds(stamp);
    QCOMPARE(seconds.has_value(), !minute.isEmpty());
    if (seconds)
        QCOMPARE(StampTime::minuteText(*seconds), minute);
    // Plain local times, no zone: a day is 86,400 seconds across any clock change.
    QCOMPARE(*StampTime::seconds("2024/03/31 12:00:00") -
                 *StampTime::seconds("2024/03/30 12:00:00"),
             86400);
}

void tst_Stats::report() {
    // Mode A rates per dart: 1, 3, 0 is 2 hits in 4 darts. Out of order, an undated line, a
    // value stored as "05" that is no valid text, and a line the table keeps whole.
    StoredGames recent;
    recent.read("2024/03/02 10:00:00,1,3,0\r\n"
                "2024/03/01 10:00:00,1,05,,,,,,,,,,,,,,,,,,,2,7,7\r\n"
                "2024/03/33 10:00:00,1\r\n",
                Mode::A);
    const PlayedGames fromTable = DrillChoice::played(recent, nullptr, Mode::A);
    QCOMPARE(fromTable.undated(), 1);
    QCOMPARE(int(fromTable.games().size()), 2);
    QCOMPARE(fromTable.games()[0].values[1], PlayedGames::NoValue); // "05", the older game first
    QCOMPARE(fromTable.games()[0].values[20], 2);
    const TargetReport table(fromTable, 0);
    QCOMPARE(table.rows()[0].tally.darts, 2);
    QCOMPARE(table.rows()[1].tally.darts, 3);
    QCOMPARE(table.rows()[2].tally.darts, 0); // a 0 is no attempt
    QCOMPARE(table.rows()[20].tally.hits, 1);
    QCOMPARE(table.rows()[TargetReport::AllRow].tally.rate(), 4 / 7.0);

    // One mode-B game with every target 1: nothing stands out.
    PlayedGames one(Mode::B);
    addGame(one, "2024/03/01 10:00:00", 1);
    const TargetReport even(one, 30);
    const TargetReport::Row &row = even.rows()[6];
    QCOMPARE(QStringList({QString::number(row.tally.darts), QString::number(row.tally.hits),
                          StatsText::percent(row.tally.rate()), StatsText::range(row.range),
                          StatsText::percent(row.chance), TargetReport::verdictText(row.verdict)})
                 .join(u' '),
             u"3 1 33.3 6.1–79.2 4.8 NOT SURE"_qs);
    QCOMPARE(even.focusLine(), "NO CLEAR WEAK SPOT YET");

    // Thirty games: target 7 never hit, the bull half the time, every other target 2 of 3;
    // 7 is surely weak, the bull not surely, nothing strong enough against a rate of 62 %.
    PlayedGames many(Mode::B);
    for (int game = 0; game < 30; ++game) {
        std::array<int, PlayedGames::Targets> values;
        values.fill(2);
        values[6] = 0;
        values[20] = game % 2 ? 3 : 0;
        many.add(
            QStringLiteral("2024/03/01 10:%1:00").arg(game, 2, 10, QLatin1Char('0')).toLatin1(),
            values);
    }
    const TargetReport weak(many, 30);
    QCOMPARE(weak.rows()[6].verdict, TargetReport::Weak);
    QCOMPARE(weak.rows()[20].verdict, TargetReport::NotSure);
    QCOMPARE(weak.rows()[0].verdict, TargetReport::NotSure);
    QCOMPARE(weak.focusLine(), "FOCUS FIRST: 7");

    // All zeros: mode A has no darts anywhere, mode B a rate of 0 that is neither weak nor strong.
    const PlayedGames zerosA = spaced(Mode::A, {0, 5}, 0), zerosB = spaced(Mode::B, {0, 5}, 0);
    const TargetReport reportA(zerosA, 30), reportB(zerosB, 30);
    for (const TargetReport::Row &line : reportA.rows())
        QCOMPARE(line.verdict, line.target ? TargetReport::NoData : TargetReport::NoVerdict);
    for (const TargetReport::Row &line : reportB.rows())
        QVERIFY(line.verdict == TargetReport::NotSure || line.target == 0);
    QCOMPARE(TargetReport(PlayedGames(Mode::B), 30).focusLine(), "NO GAMES YET");

    // The period runs back from the newest game. Days 1, 2 and 31 of March at midnight: 30 days
    // back from the newest reach day 1 exactly, 7 days only the newest.
    const PlayedGames games = spaced(Mode::B, {0, 1440, 43200}, 3);
    QCOMPARE(TargetReport(games, 30).games(), 3);
    QCOMPARE(TargetReport(games, 7).games(), 1);
    QCOMPARE(TargetReport(games, 0).games(), 3);
}

void tst_Stats::sessions_data() {
    QTest::addColumn<QList<int>>("minutes");
    QTest::addColumn<int>("gap");
    QTest::addColumn<QList<int>>("games"); // per session
    QTest::newRow("exactly the gap joins") << QList<int>{0, 45, 90} << 45 << QList<int>{3};
    QTest::newRow("a minute more splits") << QList<int>{0, 46, 50} << 45 << QList<int>{1, 2};
    QTest::newRow("a gap of its own") << QList<int>{0, 46, 50} << 46 << QList<int>{3};
    QTest::newRow("none") << QList<int>{} << 45 << QList<int>{};
}

void tst_Stats::sessions() {
    QFETCH(QList<int>, minutes);
    QFETCH(int, gap);
    QFETCH(QList<int>, games);
    const PlayedGames played = spaced(Mode::B, minutes, 1);
    const TrendReport report(played, gap, 0.3);
    QList<int> got;
    for (const TrendReport::Session &session : report.sessions())
        got.append(session.games);
    QCOMPARE(got, games);
    // A 45:01 gap splits too.
    PlayedGames seconds(Mode::B);
    addGame(seconds, "2024/03/01 10:00:00", 1);
    addGame(seconds, "2024/03/01 10:45:01", 1);
    seconds.finish();
    QCOMPARE(TrendReport(seconds, 45, 0.3).sessions().size(), 2u);
}

void tst_Stats::trend() {
    TrendReport::Trend trend;
    QList<double> estimates;
    for (const Tally &session : {Tally{9, 30}, Tally{12, 30}, Tally{0, 0}, Tally{20, 45}}) {
        trend.take(session, 0.3);
        estimates.append(*trend.estimate);
    }
    const QList<double> expected{0.300000, 0.358824, 0.358824, 0.413873};
    for (qsizetype i = 0; i < expected.size(); ++i)
        QVERIFY2(std::abs(estimates[i] - expected[i]) < 5e-7, qPrintable(QString::number(i)));
    // λ = 1 forgets all but the session, and a session without darts still keeps E.
    trend.take({}, 1.0);
    QCOMPARE(*trend.estimate, estimates.last());
}

void tst_Stats::verdicts_data() {
    QTest::addColumn<Tally>("last");
    QTest::addColumn<Tally>("before");
    QTest::addColumn<int>("sessions");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("all");
    const auto row = [](const char *name, Tally last, Tally before, int sessions,
                        const QString &target, const QString &all) {
        QTest::newRow(name) << last << before << sessions << target << all;
    };
    row("z 2.108", {30, 90}, {60, 270}, 13, "STEADY", "BETTER");
    row("z 5.021", {45, 90}, {60, 270}, 13, "BETTER", "BETTER");
    row("z -2.307", {10, 90}, {60, 270}, 13, "STEADY", "WORSE");
    row("too few darts", {0, 27}, {0, 300}, 13, "TOO FEW DARTS", "TOO FEW DARTS");
    row("never hit", {0, 90}, {0, 300}, 13, "STEADY", "STEADY");
    row("3 sessions", {45, 90}, {}, 3, "TOO FEW SESSIONS", "TOO FEW SESSIONS");
}

void tst_Stats::verdicts() {
    QFETCH(Tally, last);
    QFETCH(Tally, before);
    QFETCH(int, sessions);
    QFETCH(QString, target);
    QFETCH(QString, all);
    QCOMPARE(TrendReport::verdictText(TrendReport::verdictOf(last, before, sessions, false)),
             target);
    QCOMPARE(TrendReport::verdictText(TrendReport::verdictOf(last, before, sessions, true)), all);
}

void tst_Stats::settingsTexts() {
    for (const QString &odd : {u""_qs, u"abc"_qs, u"-5"_qs, u"1e9"_qs, u"0"_qs, u"1441"_qs})
        QCOMPARE(TrendReport::gapFromText(odd), 45);
    QCOMPARE(TrendReport::gapFromText(u" 1440 "_qs), 1440);
    for (const QString &odd : {u"x"_qs, u"0.01"_qs, u"-0.3"_qs, u"nan"_qs, u"inf"_qs, u"1e300"_qs})
        QCOMPARE(TrendReport::lambdaFromText(odd), 0.3);
    QCOMPARE(TrendReport::lambdaFromText(u"0.05"_qs), 0.05);
    QCOMPARE(TrendReport::seriesFromText(u"bull"_qs), 21);
    QCOMPARE(TrendReport::seriesFromText(u"22"_qs), TrendReport::AllSeries);
    QCOMPARE(TargetReport::periodFromText(u"ALL"_qs), 0);
    QCOMPARE(TargetReport::periodFromText(u"14"_qs), 30);
    QCOMPARE(StatsText::change(0.2222, 0.3333), "+11.1");
}

QTEST_GUILESS_MAIN(tst_Stats)
#include "tst_stats.moc"
