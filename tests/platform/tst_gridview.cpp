#include "platform/gridview.h"

#include <QTest>

class tst_GridView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cellsSurviveResizingAndRewrites();
    void selectionText();
};

void tst_GridView::cellsSurviveResizingAndRewrites() {
    GridModel grid;
    grid.setRows(3);
    grid.setCols(2);
    const QString eightBit = QString::fromLatin1("\xe9\x01\xff");
    grid.setText(0, 0, eightBit);
    grid.setText(0, 1, QString(300, u'x')); // a two-byte length
    // Many rewrites of one cell make the grid copy its live rows; the others must not move.
    for (int i = 0; i < 5000; ++i)
        grid.setText(1, 0, QString::number(i));
    grid.setCols(3);
    QCOMPARE(grid.text(0, 0) + grid.text(1, 0) + grid.text(1, 2), eightBit + "4999");
    QCOMPARE(grid.text(0, 1), QString(300, u'x'));
    grid.setCols(1);
    grid.setCols(2);
    grid.setRows(0);
    grid.setRows(1);
    QCOMPARE(grid.text(0, 1) + grid.text(0, 0), QString()); // dropped cells do not come back
}

void tst_GridView::selectionText() {
    // Six rows of cells "<row><col>", the middle column hidden.
    GridView view;
    GridModel &grid = view.grid();
    grid.setRows(6);
    grid.setCols(3);
    for (int row = 0; row < 6; ++row)
        for (int col = 0; col < 3; ++col)
            grid.setText(row, col, QStringLiteral("%1%2").arg(row).arg(col));
    grid.setColWidth(1, 0);
    view.resize(400, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    // Clicks the rows, the later ones with Shift; Shift with the keys is the keyboard play test's.
    const auto click = [&](const QList<int> &rows) {
        for (int i = 0; i < rows.size(); ++i)
            QTest::mouseClick(view.viewport(), Qt::LeftButton,
                              i == 0 ? Qt::NoModifier : Qt::ShiftModifier,
                              view.visualRect(grid.index(rows[i], 2)).center());
        return view.selectionText();
    };
    QCOMPARE(click({1, 3}), "10\t11\t12\r20\t21\t22\r30\t31\t32"); // the hidden cells too
    QCOMPARE(click({3, 2}), "20\t21\t22\r30\t31\t32");
    QCOMPARE(view.selectedRows(), QList<int>({2, 3}));
    QCOMPARE(view.currentIndex().row(), 2);
}

QTEST_MAIN(tst_GridView)
#include "tst_gridview.moc"
