#include "ui/graph/chartscale.h"

#include "ui/graph/graphdata.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>

namespace {
constexpr double OffPicture = 1e6;
}

float ChartScale::graphMax(const GraphData &data, const QList<qint16> &shownSeries) {
    float result = 0;
    for (qint16 series : shownSeries) {
        const std::span<const quint8> codes = data.codes(series);
        quint8 highestWhole = 0;
        for (size_t row = 0; row < codes.size(); ++row) {
            if (codes[row] < GraphData::Other) {
                highestWhole = std::max(highestWhole, codes[row]);
            } else if (codes[row] == GraphData::Other) {
                // Values beyond single precision (hand-edited files) count as its largest value.
                result = std::max(result, float(std::clamp(data.value(int(row), series),
                                                           -double(FLT_MAX), double(FLT_MAX))));
            }
        }
        result = std::max(result, float(highestWhole));
    }
    return result;
}

QList<double> ChartScale::gridValues(float graphMax) {
    const double whole = std::trunc(double(graphMax));
    double first = 1;
    double step = 1;
    double last = whole + 1;
    if (whole > 50) {
        step = 10;
        while (whole / step > MaxGridLines)
            step *= 10;
        first = step;
        last = whole;
    } else if (whole > 20) {
        first = step = 5;
        last = whole;
    } else if (whole > 10) {
        first = step = 2;
        last = whole;
    }
    QList<double> values;
    for (int k = 0; first + k * step <= last; ++k)
        values.append(first + k * step);
    return values;
}

qsizetype ChartScale::labelStride(double lineSpacing, int labelHeight, qsizetype lines) {
    constexpr std::array<int, 3> Nice{2, 5, 10};
    qsizetype stride = 1;
    for (qsizetype n = 0, tens = 1; stride * lineSpacing < labelHeight && stride < lines; ++n) {
        stride = Nice[size_t(n % 3)] * tens;
        if (n % 3 == 2)
            tens *= 10;
    }
    return stride;
}

void ChartScale::setGraphMax(float graphMax) {
    m_graphMax = graphMax;
    m_top = double(graphMax) + 1;
}

void ChartScale::setRows(int rows) {
    m_right = rows > 1 ? rows - 1 : 1;
}

QPointF ChartScale::toPixels(double row, double value, const QSize &picture) const {
    return QPointF(toPixelX(row, picture.width()), toPixelY(value, picture.height()));
}

double ChartScale::toPixelX(double row, int pictureWidth) const {
    return Inset + row * (pictureWidth - 2 * Inset) / m_right;
}

double ChartScale::toPixelY(double value, int pictureHeight) const {
    // Far off-picture values (hand-edited files) are held where the painter still copes.
    return std::clamp(Inset + (m_top - value) * (pictureHeight - 2 * Inset) / m_top, -OffPicture,
                      OffPicture);
}

std::vector<int> ChartScale::columnStarts(int rows, int pictureWidth) const {
    std::vector<int> starts;
    int column = 0;
    for (int row = 0; row < rows; ++row) {
        const int at = int(std::floor(toPixelX(row, pictureWidth)));
        if (row == 0 || at != column)
            starts.push_back(row);
        column = at;
    }
    starts.push_back(rows);
    return starts;
}
