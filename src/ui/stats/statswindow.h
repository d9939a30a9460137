#pragma once

#include <QString>

class QDialog;
class QLabel;
class QWidget;

// What the statistics windows share: their frame, and the line that counts the games they
// could not place in time.
namespace StatsWindow {

// A fixed-border modal frame with the program's caption and font.
void setUp(QDialog *window, const QString &caption);
// A label of the window's font, named.
QLabel *label(const QString &name, const QString &text, QWidget *parent);
// "2 LINES WITHOUT A DATE IGNORED", or the empty text.
QString undatedText(int undated);

} // namespace StatsWindow
