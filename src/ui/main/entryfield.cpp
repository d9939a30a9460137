#include "ui/main/entryfield.h"

void EntryField::focusInEvent(QFocusEvent *event) {
    const bool hadSelection = hasSelectedText();
    const int caret = cursorPosition();
    QLineEdit::focusInEvent(event);
    if (!hadSelection && hasSelectedText()) {
        deselect();
        setCursorPosition(caret);
    }
}
