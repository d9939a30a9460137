#include "entry/filtertext.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class tst_FilterText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void filter_data();
    void filter();
    void lineEditRewrittenOnlyWhenChanged();
};

void tst_FilterText::filter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QList<int>>("modes"); // class, case, width; class 99 allows "ca"
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("expectedCaret"); // -1: left where writing the text puts it

    const QList<int> field{30, 0, 1}; // the entry fields' call
    QTest::newRow("letter before caret") << "1a2" << 2 << field << "12" << 1;
    QTest::newRow("full-width two") << u"\uFF12"_qs << 1 << field << "2" << 1;
    QTest::newRow("pasted long text") << "x1,y2-z3.4 and more" << 19 << field << "1234" << 4;
    // A fault the fuzzer found; the classes the program never calls are left to the fuzzer.
    QTest::newRow("20, lone surrogates never pair up")
        << QString::fromUtf16(u"\xD83D\u3042\xDE00x") << 4 << QList{20, 0, 0} << "x" << 1;
}

void tst_FilterText::filter() {
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QList<int>, modes);
    QFETCH(QString, expected);
    QFETCH(int, expectedCaret);

    const FilteredText result = filterText(text, caret, modes[0], modes[1], modes[2], "ca");
    QCOMPARE(result.text, expected);
    QCOMPARE(result.caret, expectedCaret);
}

void tst_FilterText::lineEditRewrittenOnlyWhenChanged() {
    QLineEdit edit;
    connect(&edit, &QLineEdit::textChanged, &edit, [&edit] { FilterText(&edit, 30, 0, 1); });
    QSignalSpy changes(&edit, &QLineEdit::textChanged);

    edit.setText(u"7a\uFF18b"_qs);
    QCOMPARE(edit.text(), "78");
    QCOMPARE(changes.size(), 2); // the raw text, then the cleaned one nested; nothing more

    edit.setCursorPosition(1);
    edit.insert("9"); // a clean edit is not written back, so it stays undoable
    QCOMPARE(edit.text(), "798");
    QCOMPARE(edit.cursorPosition(), 2);
    QVERIFY(edit.isUndoAvailable());

    QLineEdit pasted("ab1");
    pasted.setCursorPosition(0);
    FilterText(&pasted, 30, 0, 1);
    QCOMPARE(pasted.text(), "1");
    QCOMPARE(pasted.cursorPosition(), 1); // no place before the start: left where the write put it
}

QTEST_MAIN(tst_FilterText)
#include "tst_filtertext.moc"
