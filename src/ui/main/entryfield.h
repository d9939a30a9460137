#pragma once

#include <QLineEdit>

// An entry field of the card. Entered by Tab, Enter or a shortcut it keeps its text and caret
// as they are, as a click does: the card's rules, not the toolkit, decide what gets selected.
class EntryField : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent *event) override;
};
