#include "ui/main/buttonsframe.h"

#include "platform/twips.h"
#include "ui/fonts.h"

#include <QButtonGroup>
#include <QPushButton>

namespace {

QFrame *borderlessFrame(QWidget *parent, const QString &name, const QRect &twips) {
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::NoFrame);
    frame->setGeometry(Twips::rect(twips.x(), twips.y(), twips.width(), twips.height()));
    return frame;
}

} // namespace

ButtonsFrame::ButtonsFrame(QWidget *parent)
    : QFrame(parent)
    , m_cmdGroup(new QButtonGroup(this))
    , m_cmdNumGroup(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("fraButtons"));
    setFrameShape(QFrame::NoFrame);

    m_fraButtonsA = borderlessFrame(this, QStringLiteral("fraButtonsA"), {0, 0, 10455, 1995});
    m_fraButtonsB = borderlessFrame(this, QStringLiteral("fraButtonsB"), {0, 0, 10515, 1935});

    // Digit pad: 7 8 9 / 4 5 6 / 1 2 3 / 0 DEL BS.
    const QFont padFont = Fonts::proportionalGothic(9.75);
    for (int digit = 1; digit <= 9; ++digit) {
        const int row = 2 - (digit - 1) / 3;
        const int column = (digit - 1) % 3;
        m_cmdNum[size_t(digit)] =
            addButton(m_fraButtonsA, QStringLiteral("cmdNum(%1)").arg(digit),
                      QString::number(digit), {840 * column, 495 * row, 720, 420}, padFont);
    }
    m_cmdNum[0] = addButton(m_fraButtonsA, QStringLiteral("cmdNum(0)"), QStringLiteral("0"),
                            {0, 1485, 720, 420}, padFont);
    m_cmdDEL = addButton(m_fraButtonsA, QStringLiteral("cmdDEL"), QStringLiteral("DEL"),
                         {840, 1485, 720, 420}, padFont);
    m_cmdBS = addButton(m_fraButtonsA, QStringLiteral("cmdBS"), QStringLiteral("BS"),
                        {1680, 1485, 720, 420}, padFont);
    for (int digit = 0; digit <= 9; ++digit)
        m_cmdNumGroup->addButton(m_cmdNum[size_t(digit)], digit);

    struct Place {
        int index;
        const char *caption;
        QWidget *parent;
        QRect twips;
        QFont font;
    };
    const QFont large = Fonts::proportionalGothic(45, true);
    const QFont small = Fonts::proportionalGothic(27.75, true);
    const QFont modeB = Fonts::gothic(99.75, true);
    const QFont command = Fonts::proportionalGothic(14.25, true);
    const Place places[] = {
        {0, "0", m_fraButtonsB, {0, 0, 2535, 1905}, modeB},
        {1, "1", m_fraButtonsB, {2640, 0, 2535, 1905}, modeB},
        {2, "2", m_fraButtonsB, {5280, 0, 2535, 1905}, modeB},
        {3, "3", m_fraButtonsB, {7920, 0, 2535, 1905}, modeB},
        {4, "SAVE DATA", this, {10560, 0, 2535, 915}, command},
        {5, "GRAPH", this, {10560, 990, 2535, 915}, command},
        {6, "+1", m_fraButtonsA, {6600, 0, 1935, 1275}, large},
        {7, "-1", m_fraButtonsA, {6600, 1355, 1935, 555}, small},
        {8, "+3", m_fraButtonsA, {4560, 0, 1935, 1275}, large},
        {9, "-3", m_fraButtonsA, {4560, 1355, 1935, 555}, small},
        {10, "+10", m_fraButtonsA, {2520, 0, 1935, 1275}, large},
        {11, "-10", m_fraButtonsA, {2520, 1350, 1935, 555}, small},
        {12, "NEXT", m_fraButtonsA, {8640, 0, 1815, 1905}, small},
    };
    for (const Place &place : places) {
        m_cmd[size_t(place.index)] =
            addButton(place.parent, QStringLiteral("cmd(%1)").arg(place.index),
                      QString::fromLatin1(place.caption), place.twips, place.font);
        m_cmdGroup->addButton(m_cmd[size_t(place.index)], place.index);
    }
    m_cmd[Graph]->setEnabled(false);
}

QPushButton *ButtonsFrame::addButton(QWidget *parent, const QString &name, const QString &caption,
                                     const QRect &twips, const QFont &font) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    button->setGeometry(Twips::rect(twips.x(), twips.y(), twips.width(), twips.height()));
    button->setFont(font);
    // Enter presses the focused button, as Space does. Outside a dialog this makes no button a
    // default one, so Enter in an entry field still only moves on.
    button->setAutoDefault(true);
    return button;
}

QList<QPushButton *> ButtonsFrame::entryButtons() const {
    QList<QPushButton *> buttons{m_cmd[0], m_cmd[1], m_cmd[2], m_cmd[3]};
    for (int index = 6; index <= 12; ++index)
        buttons.append(m_cmd[size_t(index)]);
    for (QPushButton *digit : m_cmdNum)
        buttons.append(digit);
    buttons << m_cmdDEL << m_cmdBS << m_cmd[SaveData];
    return buttons;
}

QList<QWidget *> ButtonsFrame::tabOrder() const {
    QList<QWidget *> order{m_cmd[0], m_cmd[1], m_cmd[2], m_cmd[3]};
    for (int digit : {7, 8, 9, 4, 5, 6, 1, 2, 3, 0})
        order.append(m_cmdNum[size_t(digit)]);
    order << m_cmdDEL << m_cmdBS;
    for (int index : {10, 8, 6, 11, 9, 7, 12, 4, 5})
        order.append(m_cmd[size_t(index)]);
    return order;
}
