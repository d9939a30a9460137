#include "ui/main/thistimeframe.h"

#include "platform/colourpair.h"
#include "platform/fontfit.h"
#include "platform/twips.h"
#include "ui/fonts.h"
#include "ui/main/entryfield.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>

namespace {

const QFont ResultFont = Fonts::gothic(14.25, true);
// Amber behind a drill's chosen headings; their text is made to read on it.
const QColor DrillMark(255, 196, 0);

struct Rule {
    int x1, y1, x2, y2;
};

// The rules of the card, in twips: three horizontal lines, the column dividers, the edges and
// the diagonal of the empty top-left cell.
std::vector<Rule> cardRules() {
    std::vector<Rule> rules{{120, 0, 12960, 0}, {120, 300, 12960, 300}, {120, 660, 12960, 660}};
    for (int k = 0; k <= 21; ++k)
        rules.push_back({1440 + 480 * k, 0, 1440 + 480 * k, 660});
    rules.push_back({12180, 0, 12180, 660});
    rules.push_back({120, 0, 120, 660});
    rules.push_back({12960, 0, 12960, 660});
    rules.push_back({120, 0, 1440, 300});
    return rules;
}

} // namespace

ThisTimeFrame::ThisTimeFrame(QWidget *parent)
    : QFrame(parent) {
    setObjectName(QStringLiteral("fraThisTime"));
    setFrameShape(QFrame::NoFrame);

    for (int i = 0; i < 20; ++i)
        m_lbl[size_t(i)] = addLabel(QStringLiteral("lbl(%1)").arg(i), QString::number(i + 1),
                                    QRect(1440 + 480 * i, 60, 495, 255), Fonts::gothic(12, true));
    const QFont headingFont = Fonts::proportionalGothic(11.25, true);
    m_lbl[20] = addLabel(QStringLiteral("lbl(20)"), QStringLiteral("Bull"),
                         QRect(11040, 60, 495, 255), headingFont);
    m_lbl[21] = addLabel(QStringLiteral("lbl(21)"), QStringLiteral("Total"),
                         QRect(11520, 60, 675, 255), headingFont);
    m_lbl[22] = addLabel(QStringLiteral("lbl(22)"), QStringLiteral("THIS TIME"),
                         QRect(120, 360, 1335, 255), Fonts::gothic(11.25));
    m_lbl[23] = addLabel(QStringLiteral("lbl(23)"), QStringLiteral("AVG"),
                         QRect(12180, 60, 795, 255), headingFont);

    for (int i = 0; i < FieldCount; ++i) {
        auto *field = new EntryField(this);
        field->setObjectName(QStringLiteral("txt(%1)").arg(i));
        field->setAccessibleName(i < 20 ? QStringLiteral("TARGET %1").arg(i + 1)
                                        : QStringLiteral("BULL"));
        field->setGeometry(Twips::rect(1500 + 480 * i, 360, 375, 255));
        field->setFont(Fonts::gothic(14.25, true));
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setMaxLength(1);
        field->setTextMargins(0, 0, 0, 0);
        m_txt[size_t(i)] = field;
    }

    m_lblTotal = addLabel(QStringLiteral("lblTotal_ThisTime"), QString(),
                          QRect(11520, 360, 675, 255), ResultFont);
    m_lblAverage = addLabel(QStringLiteral("lblAVG_ThisTime"), QString(),
                            QRect(12180, 360, 795, 255), ResultFont);
    showResults(QStringLiteral("0"), QStringLiteral("0"));
}

void ThisTimeFrame::markHeading(int index, bool marked) {
    QLabel *heading = lbl(index);
    const bool chosen = m_drill.chosen(index);
    heading->setAutoFillBackground(chosen);
    if (chosen)
        ColourPair::set(heading, DrillMark, marked ? QColor(Qt::red) : QColor(Qt::black));
    else if (marked)
        ColourPair::set(heading, palette().color(QPalette::Window), Qt::red);
    else
        heading->setPalette(QPalette()); // the card's colours again
}

void ThisTimeFrame::showDrill(const DrillCard &drill) {
    m_drill = drill;
    m_lbl[22]->setText(drill.running() ? QStringLiteral("DRILL") : QStringLiteral("THIS TIME"));
    for (int i = 0; i < FieldCount; ++i) {
        txt(i)->setEnabled(!drill.running() || drill.chosen(i));
        markHeading(i, txt(i)->hasFocus());
    }
}

void ThisTimeFrame::showResults(const QString &total, const QString &average) {
    showResult(m_lblTotal, m_lbl[21]->text(), total);
    showResult(m_lblAverage, m_lbl[23]->text(), average);
}

void ThisTimeFrame::showResult(QLabel *label, const QString &name, const QString &value) {
    label->setFont(FontFit::narrowedToFit(ResultFont, value, label->width()));
    label->setText(value);
    // A screen reader announces the value with the column it stands in, not a bare number.
    label->setAccessibleName(name + u' ' + value);
}

QStringList ThisTimeFrame::texts() const {
    QStringList texts;
    for (const QLineEdit *field : m_txt)
        texts.append(field->text());
    return texts;
}

int ThisTimeFrame::txtIndex(const QObject *object) const {
    const auto found = std::find(m_txt.begin(), m_txt.end(), object);
    return found == m_txt.end() ? -1 : int(found - m_txt.begin());
}

QLabel *ThisTimeFrame::addLabel(const QString &name, const QString &caption, const QRect &twips,
                                const QFont &font) {
    auto *label = new QLabel(caption, this);
    label->setObjectName(name);
    label->setGeometry(Twips::rect(twips.x(), twips.y(), twips.width(), twips.height()));
    label->setFont(FontFit::narrowedToFit(font, caption, label->width()));
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

void ThisTimeFrame::paintEvent(QPaintEvent *event) {
    QFrame::paintEvent(event);
    static const std::vector<Rule> rules = cardRules();
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (const Rule &rule : rules)
        painter.drawLine(Twips::toPixels(rule.x1), Twips::toPixels(rule.y1),
                         Twips::toPixels(rule.x2), Twips::toPixels(rule.y2));
}
