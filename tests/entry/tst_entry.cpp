#include "entry/filtertext.h"
#include "entry/numbertext.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

// The number texts and the entry fields' filter. Texts no field can hold are the fuzz targets'
// concern; the card's rules and totals are read off the window by the main window's test.
class tst_Entry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void numberTexts();
    void filterOnLineEdit();
};

void tst_Entry::numberTexts() {
    using NumberText::Pattern;
    // Halves go away from zero; 1.005 lies below the half in binary, but rounds as written.
    QCOMPARE(NumberText::format(2.25, Pattern::OneDecimal), "2.3");
    QCOMPARE(NumberText::format(-2.25, Pattern::OneDecimal), "-2.3");
    QCOMPARE(NumberText::format(1.005, Pattern::TwoDecimals), "1.01");

    QList<double> values;
    for (const QString text : {"07", "2.75x", "4e", "abc", "-"})
        values.append(NumberText::leadingValue(text));
    QCOMPARE(values, QList<double>({7, 2.75, 4, 0, 0}));
}

void tst_Entry::filterOnLineEdit() {
    QLineEdit edit;
    connect(&edit, &QLineEdit::textChanged, &edit, [&edit] { FilterText(&edit, 30, 0, 1); });
    QSignalSpy changes(&edit, &QLineEdit::textChanged);

    edit.setText(u"7a\uFF18b"_qs);
    QCOMPARE(edit.text(), "78");
    QCOMPARE(changes.size(), 2); // the raw text, then the cleaned one nested; nothing more

    edit.setCursorPosition(1);
    edit.insert("x9y"); // the caret keeps its distance from the end
    QCOMPARE(edit.text(), "798");
    QCOMPARE(edit.cursorPosition(), 2);
    edit.insert("5"); // a clean edit is not written back, so it stays undoable
    QCOMPARE(edit.text(), "7958");
    edit.undo();
    QCOMPARE(edit.text(), "798");
}

QTEST_MAIN(tst_Entry)
#include "tst_entry.moc"
