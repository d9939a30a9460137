#include "entry/filtertext.h"
#include "entry/textwidth.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class tst_FilterText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void filter_data();
    void filter();
    void printableAsciiRoundTripsThroughWide();
    void lineEditRewrittenOnlyWhenChanged();
};

void tst_FilterText::filter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("charClass");
    QTest::addColumn<int>("caseMode");
    QTest::addColumn<int>("widthMode");
    QTest::addColumn<QString>("allowed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("expectedCaret");

    // The entry fields' call: digits, no case change, narrow.
    QTest::newRow("digits untouched") << "12" << 1 << 30 << 0 << 1 << ""
                                      << "12" << 1;
    QTest::newRow("letter before caret") << "1a2" << 2 << 30 << 0 << 1 << ""
                                         << "12" << 1;
    QTest::newRow("letter after caret") << "1a2" << 1 << 30 << 0 << 1 << ""
                                        << "12" << 0;
    QTest::newRow("full-width two") << u"\uFF12"_qs << 1 << 30 << 0 << 1 << ""
                                    << "2" << 1;
    QTest::newRow("pasted long text") << "x1,y2-z3.4 and more text here" << 29 << 30 << 0 << 1 << ""
                                      << "1234" << 4;
    QTest::newRow("caret before removed start") << "ab1" << 0 << 30 << 0 << 1 << ""
                                                << "1" << -1;
    QTest::newRow("ideographic space narrowed") << u"\uFF21\u3000b"_qs << 3 << 0 << 0 << 1 << ""
                                                << "A b" << 3;
    QTest::newRow("class 0") << "a,B-c.9 !?\u00e9" << 0 << 0 << 0 << 0 << ""
                             << "a,B-c.9 " << -1;
    QTest::newRow("class 10") << "ab 1,.Z" << 7 << 10 << 0 << 0 << ""
                              << "ab Z" << 4;
    QTest::newRow("class 20") << u"a\u3042\\\u303F\u303Eb"_qs << 6 << 20 << 0 << 0 << ""
                              << u"a\\\u303Fb"_qs << 4;
    QTest::newRow("class 31") << "-1.5,2e" << 7 << 31 << 0 << 0 << ""
                              << "-1.52" << 5;
    QTest::newRow("class 32") << "1,234.5-x" << 9 << 32 << 0 << 0 << ""
                              << "1,234.5-" << 8;
    QTest::newRow("class 40") << u"a\u3042\u6F22\\\uFF76"_qs << 5 << 40 << 0 << 0 << ""
                              << u"\u3042\u6F22"_qs << 2;
    QTest::newRow("class 40 surrogate pair")
        << u"\U0002000Bx"_qs << 3 << 40 << 0 << 0 << "" << u"\U0002000B"_qs << 2;
    QTest::newRow("class 99") << "abcabc" << 3 << 99 << 0 << 0 << "ca"
                              << "acac" << 1;
    QTest::newRow("unknown class keeps all") << "any!" << 4 << 5 << 0 << 0 << ""
                                             << "any!" << 4;
    QTest::newRow("lower") << "AbC" << 3 << 0 << 1 << 0 << ""
                           << "abc" << 3;
    QTest::newRow("upper") << "aBc" << 3 << 0 << 2 << 0 << ""
                           << "ABC" << 3;
    QTest::newRow("other case mode") << "aB" << 2 << 0 << 3 << 0 << ""
                                     << "aB" << 2;
    QTest::newRow("wide with yen")
        << "A1 \\" << 4 << 7 << 0 << 2 << "" << u"\uFF21\uFF11\u3000\uFFE5"_qs << 4;
    QTest::newRow("wide half-width katakana")
        << u"\uFF76"_qs << 1 << 40 << 0 << 2 << "" << u"\u30AB"_qs << 1;
    QTest::newRow("wide then wide only")
        << "a\\" << 2 << 40 << 0 << 2 << "" << u"\uFF41\uFFE5"_qs << 2;
    QTest::newRow("narrow yen") << u"\uFFE5\uFF3C"_qs << 2 << 20 << 0 << 1 << ""
                                << "\\\\" << 2;
}

void tst_FilterText::filter() {
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(int, charClass);
    QFETCH(int, caseMode);
    QFETCH(int, widthMode);
    QFETCH(QString, allowed);
    QFETCH(QString, expected);
    QFETCH(int, expectedCaret);

    const FilteredText result = filterText(text, caret, charClass, caseMode, widthMode, allowed);
    QCOMPARE(result.text, expected);
    QCOMPARE(result.caret, expectedCaret);
}

void tst_FilterText::printableAsciiRoundTripsThroughWide() {
    for (char16_t c = u' '; c <= u'~'; ++c) {
        const QString wide = TextWidth::toWide(QString(QChar(c)));
        QVERIFY2(TextWidth::isWide(wide[0].unicode()), qPrintable(QString(QChar(c))));
        QCOMPARE(TextWidth::toNarrow(wide), QString(QChar(c)));
    }
}

void tst_FilterText::lineEditRewrittenOnlyWhenChanged() {
    QLineEdit edit;
    // As the entry fields do: every change, the program's own writes included, is filtered.
    connect(&edit, &QLineEdit::textChanged, &edit, [&edit] { FilterText(&edit, 30, 0, 1); });
    QSignalSpy changes(&edit, &QLineEdit::textChanged);

    edit.setText(u"7a\uFF18b"_qs);
    QCOMPARE(edit.text(), "78");
    QCOMPARE(changes.size(), 2); // the typed text, then the cleaned one; no further nesting

    edit.setCursorPosition(1);
    changes.clear();
    FilterText(&edit, 30, 0, 1);
    QCOMPARE(changes.size(), 0);
    QCOMPARE(edit.cursorPosition(), 1);
}

QTEST_MAIN(tst_FilterText)
#include "tst_filtertext.moc"
