#include "ui/graph/graphseries.h"

namespace {

constexpr std::array<QRgb, GraphSeries::Count> Colours = {
    qRgb(255, 128, 128), qRgb(255, 192, 128), qRgb(255, 255, 128), qRgb(128, 255, 128),
    qRgb(128, 255, 255), qRgb(128, 128, 255), qRgb(255, 128, 255), qRgb(255, 0, 0),
    qRgb(255, 128, 0),   qRgb(255, 255, 0),   qRgb(0, 255, 0),     qRgb(0, 255, 255),
    qRgb(0, 0, 255),     qRgb(255, 0, 255),   qRgb(128, 0, 0),     qRgb(192, 64, 0),
    qRgb(192, 192, 0),   qRgb(0, 192, 0),     qRgb(0, 192, 192),   qRgb(0, 0, 192),
    qRgb(192, 0, 192),   qRgb(0, 0, 0)};

int slot(qint16 index) {
    return index == GraphSeries::Average ? GraphSeries::Count - 1 : index - 1;
}

} // namespace

namespace GraphSeries {

QString caption(qint16 index) {
    if (index == Bull)
        return QStringLiteral("BULL");
    if (index == Average)
        return QStringLiteral("AVG");
    return QString::number(index);
}

QColor colour(qint16 index) {
    return QColor(Colours.at(slot(index)));
}

QString defaultSettingsText() {
    return QString(Count, u'1');
}

Selection selectionFromText(const QString &text) {
    Selection selection{};
    for (int i = 0; i < Count - 1; ++i)
        selection[i] = i < text.size() && text[i] == u'1';
    selection[Count - 1] = text.endsWith(u'1');
    return selection;
}

QString selectionToText(const Selection &selection) {
    QString text;
    for (bool shown : selection)
        text += shown ? u'1' : u'0';
    return text;
}

} // namespace GraphSeries
