#include "history/averagestable.h"

#include "entry/numbertext.h"
#include "history/scorecolumns.h"
#include "platform/gridmodel.h"
#include "settings/playmode.h"

#include <array>

namespace {

using AveragesTable::Windows;
constexpr std::array<const char *, AveragesTable::Rows> Labels{"AVG(3)", "AVG(10)", "AVG(ALL)",
                                                               "HIT(3)", "HIT(10)", "HIT(ALL)"};
constexpr int SumCol = 22;
constexpr int MeanCol = 23;

QString hitText(double percent) {
    const QString text = NumberText::format(percent, NumberText::Pattern::OneDecimal);
    return text == QLatin1String("100.0") ? QStringLiteral("100") : text;
}

} // namespace

namespace AveragesTable {

void setUp(GridModel &grid) {
    ScoreColumns::setUp(grid, Rows, Columns);
    for (int row = 0; row < Rows; ++row)
        grid.setText(row, 0, QString::fromLatin1(Labels[size_t(row)]));
}

int validValue(QByteArrayView text, Mode playMode) {
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (playMode != Mode::A)
        return text.size() == 1 && text[0] >= '0' && text[0] <= '3' ? text[0] - '0' : -1;
    if (text.size() == 1 && digit(text[0]))
        return text[0] - '0';
    if (text.size() == 2 && text[0] != '0' && digit(text[0]) && digit(text[1]))
        return (text[0] - '0') * 10 + text[1] - '0';
    return -1;
}

void calculate(GridModel &averages, const Tallies &tallies, Mode playMode) {
    const bool modeA = playMode == Mode::A;
    const NumberText::Pattern avgPattern = NumberText::averagePattern(playMode);

    for (int target = 1; target <= Targets; ++target) {
        for (int w = 0; w < Windows; ++w) {
            const auto [sum, games] = tallies.m_tallies[size_t(target - 1)][size_t(w)];
            QString avg, hit;
            if (games > 0) {
                avg = NumberText::format(double(sum) / double(games), avgPattern);
                if (!modeA)
                    hit = hitText(double(sum) / (3.0 * double(games)) * 100);
                else if (sum > 0)
                    hit = hitText(double(games) / double(sum) * 100);
            }
            averages.setText(w, target, avg);
            averages.setText(Windows + w, target, hit);
        }
    }

    // Row summaries are made from the texts as shown, rounded as they are.
    for (int row = 0; row < Rows; ++row) {
        double rowSum = 0;
        int rowCount = 0;
        for (int target = 1; target <= Targets; ++target) {
            const QString text = averages.text(row, target);
            if (!text.isEmpty()) {
                rowSum += NumberText::leadingValue(text);
                ++rowCount;
            }
        }
        const bool avgRow = row < Windows;
        const NumberText::Pattern pattern = avgRow ? avgPattern : NumberText::Pattern::OneDecimal;
        averages.setText(row, SumCol,
                         avgRow ? NumberText::format(rowSum, pattern) : QStringLiteral("-"));
        averages.setText(row, MeanCol,
                         rowCount > 0 ? NumberText::format(rowSum / rowCount, pattern) : QString());
    }
}

} // namespace AveragesTable
