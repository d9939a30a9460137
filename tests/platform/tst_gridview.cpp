#include "platform/gridview.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

class tst_GridView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cellsSurviveResizingAndRewrites();
    void selectionText_data();
    void selectionText();
    void highlightSettings();
    void focusSignals();

private:
    // A shown view of `rows` rows of 3 columns "r<row>c<col>", the middle column hidden.
    static void fill(GridView &view, int rows);
};

void tst_GridView::fill(GridView &view, int rows) {
    GridModel &grid = view.grid();
    grid.setRows(rows);
    grid.setCols(3);
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < 3; ++col)
            grid.setText(row, col, QStringLiteral("r%1c%2").arg(row).arg(col));
    grid.setColWidth(1, 0);
    view.resize(400, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
}

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
    QVERIFY(!grid.data(grid.index(0, 2)).isValid());
}

void tst_GridView::selectionText_data() {
    QTest::addColumn<QList<int>>("clicks"); // rows clicked; later ones with Shift
    QTest::addColumn<int>("downs");         // then Shift+Down presses
    QTest::addColumn<QString>("expected");

    QTest::newRow("one row, hidden cell included") << QList<int>{2} << 0 << "r2c0\tr2c1\tr2c2";
    QTest::newRow("shift-click range")
        << QList<int>{1, 3} << 0 << "r1c0\tr1c1\tr1c2\rr2c0\tr2c1\tr2c2\rr3c0\tr3c1\tr3c2";
    QTest::newRow("shift-click upwards")
        << QList<int>{3, 2} << 0 << "r2c0\tr2c1\tr2c2\rr3c0\tr3c1\tr3c2";
    QTest::newRow("keyboard extends") << QList<int>{0} << 1 << "r0c0\tr0c1\tr0c2\rr1c0\tr1c1\tr1c2";
}

void tst_GridView::selectionText() {
    QFETCH(QList<int>, clicks);
    QFETCH(int, downs);
    QFETCH(QString, expected);
    GridView view;
    fill(view, 6);
    for (int i = 0; i < clicks.size(); ++i) {
        const QRect cell = view.visualRect(view.grid().index(clicks[i], 2));
        QTest::mouseClick(view.viewport(), Qt::LeftButton,
                          i == 0 ? Qt::NoModifier : Qt::ShiftModifier, cell.center());
    }
    for (int i = 0; i < downs; ++i)
        QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(view.selectionText(), expected);
    QCOMPARE(view.selectedRows().size(), expected.count(u'\r') + 1);
    QVERIFY(view.selectedRows().contains(view.currentIndex().row()));
}

void tst_GridView::highlightSettings() {
    GridView view;
    const QPalette before = view.palette();
    view.setHighlight(GridView::HighlightWithFocus);
    QCOMPARE(view.palette().color(QPalette::Inactive, QPalette::Highlight),
             before.color(QPalette::Active, QPalette::Base));
    view.setHighlight(GridView::HighlightAlways);
    QCOMPARE(view.palette().color(QPalette::Inactive, QPalette::Highlight),
             before.color(QPalette::Active, QPalette::Highlight));
    QCOMPARE(view.palette().color(QPalette::Inactive, QPalette::HighlightedText),
             before.color(QPalette::Active, QPalette::HighlightedText));
}

void tst_GridView::focusSignals() {
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *edit = new QLineEdit(&window);
    auto *view = new GridView(&window);
    layout->addWidget(edit);
    layout->addWidget(view);
    view->grid().setRows(5);
    view->grid().setCols(2);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    QSignalSpy received(view, &GridView::focusReceived);
    QSignalSpy lost(view, &GridView::focusLost);

    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(received.size(), 1);
    QCOMPARE(lost.size(), 0);
    // Gaining the focus by the keyboard makes a row current; it is selected with it.
    QCOMPARE(view->selectedRows(), QList<int>{view->currentIndex().row()});
    edit->setFocus();
    QCOMPARE(lost.size(), 1);
}

QTEST_MAIN(tst_GridView)
#include "tst_gridview.moc"
