#pragma once

#include "entry/drillcard.h"

#include <QFrame>
#include <QStringList>

#include <array>

class QLabel;
class QLineEdit;

// The this-time card: a ruled table of 21 entry fields with their headings, total and average.
class ThisTimeFrame : public QFrame {
    Q_OBJECT
public:
    static constexpr int FieldCount = 21;

    explicit ThisTimeFrame(QWidget *parent = nullptr);

    QLineEdit *txt(int index) const { return m_txt.at(size_t(index)); }
    // The 21 field texts, in target order.
    QStringList texts() const;
    // The index of an entry field, or -1 for any other object.
    int txtIndex(const QObject *object) const;
    QLabel *lbl(int index) const { return m_lbl.at(size_t(index)); }
    // The heading of a field that has the focus stands out in red.
    void markHeading(int index, bool marked);
    // A running drill: the row heading reads DRILL, the chosen headings stand out and only the
    // chosen fields take entries. A drill that is not running shows the card as it was.
    void showDrill(const DrillCard &drill);
    void showResults(const QString &total, const QString &average);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void showResult(QLabel *label, const QString &name, const QString &value);
    QLabel *addLabel(const QString &name, const QString &caption, const QRect &twips,
                     const QFont &font);

    std::array<QLineEdit *, FieldCount> m_txt{};
    std::array<QLabel *, 24> m_lbl{};
    DrillCard m_drill;
    QLabel *m_lblTotal = nullptr;
    QLabel *m_lblAverage = nullptr;
};
