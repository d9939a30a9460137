#pragma once

#include <QFrame>

#include <array>

class QButtonGroup;
class QPushButton;

// The button panel: the mode-A keypad, the mode-B keypad at the same place, "SAVE DATA" and
// "GRAPH". The command buttons form one group whose id is the button's index in `cmd`.
class ButtonsFrame : public QFrame {
    Q_OBJECT
public:
    explicit ButtonsFrame(QWidget *parent = nullptr);

    QPushButton *cmd(int index) const { return m_cmd.at(size_t(index)); }
    QPushButton *cmdNum(int digit) const { return m_cmdNum.at(size_t(digit)); }
    QPushButton *cmdBS() const { return m_cmdBS; }
    QPushButton *cmdDEL() const { return m_cmdDEL; }
    QFrame *keypadA() const { return m_fraButtonsA; }
    QFrame *keypadB() const { return m_fraButtonsB; }
    QButtonGroup *cmdGroup() const { return m_cmdGroup; }
    QButtonGroup *cmdNumGroup() const { return m_cmdNumGroup; }

    // Every button that edits the card, in the order their enabled state is set.
    QList<QPushButton *> entryButtons() const;
    // The tab order of the panel's buttons.
    QList<QWidget *> tabOrder() const;

    static constexpr int SaveData = 4;
    static constexpr int Graph = 5;
    static constexpr int Next = 12;

private:
    QPushButton *addButton(QWidget *parent, const QString &name, const QString &caption,
                           const QRect &twips, const QFont &font);

    QFrame *m_fraButtonsA = nullptr;
    QFrame *m_fraButtonsB = nullptr;
    std::array<QPushButton *, 13> m_cmd{};
    std::array<QPushButton *, 10> m_cmdNum{};
    QPushButton *m_cmdBS = nullptr;
    QPushButton *m_cmdDEL = nullptr;
    QButtonGroup *m_cmdGroup = nullptr;
    QButtonGroup *m_cmdNumGroup = nullptr;
};
